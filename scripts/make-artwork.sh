#!/usr/bin/env bash
# Draws Stackle's artwork into resources/ with ImageMagick. The PNGs are committed; run this
# only to change them.
set -euo pipefail
cd "$(dirname "$0")/../resources"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# Program icon: three stacked bars on a black tile.
convert -size 32x32 xc:none -fill black -stroke '#808080' -draw 'roundrectangle 0,0 31,31 5,5' \
  -stroke none -fill '#ffd800' -draw 'roundrectangle 5,6 26,11 2,2' \
  -fill '#ff3030' -draw 'roundrectangle 5,13 26,18 2,2' \
  -fill '#30e030' -draw 'roundrectangle 5,20 26,25 2,2' stackle.png

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
