#!/usr/bin/env bash
# Draws Stackle's artwork into resources/ with ImageMagick. The PNGs are committed; run this
# only to change them.
set -euo pipefail
cd "$(dirname "$0")/../resources"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# Program icon: three stacked bars on a black tile with a grey rim. Each size is drawn on its
# own pixel grid from the same shape, 32 units square: the rim 1 unit wide with corners of
# radius 5, the bars 22 units wide, 6 high and 1 apart, corners of radius 2, with 5 units beside
# them and 6 above and below. Lengths round to whole pixels, at least one, so that every edge
# but the rounded corners falls on a pixel's edge and the bars stay apart at 16 pixels.
# program_icon <size> <file>
program_icon() {
  local s=$1
  px() { echo $(((s * $1 + 16) / 32)); } # <units> in whole pixels at this size
  local rim radius side bar gap top y n draw=()
  rim=$(px 1) radius=$(px 5) side=$(px 5) bar=$(px 6) gap=$(px 1)
  ((rim > 0)) || rim=1
  ((gap > 0)) || gap=1
  top=$(((s - 3 * bar - 2 * gap) / 2))
  # ImageMagick's coordinates name pixels: a rectangle from a to b fills pixels a to b.
  draw+=(-fill '#808080' -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $radius,$radius")
  draw+=(-fill black -draw "roundrectangle $rim,$rim $((s - 1 - rim)),$((s - 1 - rim)) $((radius - rim)),$((radius - rim))")
  y=$top
  for n in '#ffd800' '#ff3030' '#30e030'; do
    draw+=(-fill "$n" -draw "roundrectangle $side,$y $((s - 1 - side)),$((y + bar - 1)) $(px 2),$(px 2)")
    y=$((y + bar + gap))
  done
  convert -size "${s}x$s" xc:none "${draw[@]}" -define png:exclude-chunks=date,time "PNG32:$2"
}

mkdir -p icons
for size in 16 22 24 32 48 64 128 256; do
  program_icon "$size" "icons/stackle-$size.png"
done
cp icons/stackle-32.png stackle.png # the program's own copy, for its windows and tray icon

# The same shape for the icon theme's scalable size.
cat >icons/stackle.svg <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <rect x="0.5" y="0.5" width="31" height="31" rx="5" fill="#000000" stroke="#808080" stroke-width="1"/>
  <rect x="5" y="6" width="22" height="6" rx="2" fill="#ffd800"/>
  <rect x="5" y="13" width="22" height="6" rx="2" fill="#ff3030"/>
  <rect x="5" y="20" width="22" height="6" rx="2" fill="#30e030"/>
</svg>
SVG

# Red arrows for stepping through the tabs.
convert -size 16x16 xc:none -fill red -stroke '#800000' -draw 'polygon 8,2 14,12 2,12' arrow-up.png
convert -size 16x16 xc:none -fill red -stroke '#800000' -draw 'polygon 2,3 14,3 8,13' arrow-down.png

# Help: a question mark in a blue disc.
convert -size 16x16 xc:none -fill '#0040c0' -draw 'circle 7.5,7.5 7.5,0.5' \
  -fill white -font "$font" -pointsize 12 -gravity center -annotate +0+0 '?' help.png

# Shrink and expand: a hand with its finger pointing up, and pointing down.
convert -size 11x13 xc:none -fill '#ffe0b0' -stroke black \
  -draw 'rectangle 4,0 6,6' -draw 'roundrectangle 1,5 9,12 2,2' hand-up.png
convert hand-up.png -flip hand-down.png

# The blank slot: a dashed outline around the word "none", as an icon file.
convert -size 32x32 xc:none -fill none -stroke '#707070' -strokewidth 1 \
  -draw 'stroke-dasharray 3 2 roundrectangle 1,1 30,30 4,4' \
  -stroke none -fill '#505050' -font "$font" -pointsize 9 -gravity center -annotate +0+0 'none' \
  -define icon:auto-resize=32 empty.ico
