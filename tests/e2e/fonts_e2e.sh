#!/usr/bin/env bash
# End-to-end check that the windows look the same whatever fonts the machine has. The screen of a
# first start (the strip, and the help window below it with its picture of the strip and its
# memo) and the help window's explanation of "A" are captured on a virtual X server
#   with the machine's own fonts,
#   with a private font configuration whose folders hold no DejaVu face, only the URW fonts,
#   with the URW fonts again, three of them posing as DejaVu Sans Condensed, its bold and DejaVu
#   Serif Bold under the names and maker of DejaVu, as another version of DejaVu would
# -> every capture is the same as with the machine's fonts, pixel for pixel. The strip's running
# clock is blanked out, as it may turn to the next minute between two captures.
#
# Usage: fonts_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed; the captures of a failed run are kept, and the path printed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

readonly URW=/usr/share/fonts/opentype/urw-base35
readonly CLOCK=(2 2 97 24)                # corners of the strip's clock, room for any date
readonly MEMO_X=150 MEMO_Y=300           # a point inside the help window's memo
readonly MOCK_A_X=247 MOCK_A_Y=63        # the "A" under the picture's first button
readonly AWAY_X=1000 AWAY_Y=740          # where the pointer rests, over no window
readonly MAX_RUNTIME=110

take_binary "$@"
require_tools Xvfb xdotool import convert compare fc-list
[[ -d $URW ]] || { echo "${0##*/}: $URW is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
make_work_dir stackle-fonts-e2e

# font_config <name> [<match>...]: a configuration of the URW fonts alone, with the machine's
# rules for drawing them, plus the given scan rules; prints its path.
font_config() {
    local file=$work/$1.conf
    mkdir -p "$work/$1-cache"
    {
        echo "<fontconfig><dir>$URW</dir><cachedir>$work/$1-cache</cachedir>"
        echo '<include ignore_missing="yes">/etc/fonts/conf.d</include>'
        printf '%s\n' "${@:2}" '</fontconfig>'
    } >"$file"
    echo "$file"
}
# posing <URW family> <weight test> <families> <styles>: a scan rule that gives the upright URW
# face of that family and weight DejaVu's names, styles and maker.
posing() {
    echo "<match target=\"scan\"><test name=\"family\"><string>$1</string></test>$2"
    echo '<test name="slant"><const>roman</const></test>'
    echo "<edit name=\"family\" mode=\"assign_replace\">$3</edit>"
    echo "<edit name=\"style\" mode=\"assign_replace\">$4</edit>"
    echo '<edit name="foundry" mode="assign"><string>PfEd</string></edit></match>'
}
strings() { printf '<string>%s</string>' "$@"; }
regular='<test name="weight" compare="less"><const>bold</const></test>'
bold='<test name="weight" compare="more_eq"><const>bold</const></test>'
no_dejavu=$(font_config no-dejavu)
condensed=$(strings 'DejaVu Sans' 'DejaVu Sans Condensed')
impostors=$(font_config impostors \
    "$(posing 'Nimbus Sans Narrow' "$regular" "$condensed" "$(strings Condensed Book)")" \
    "$(posing 'Nimbus Sans Narrow' "$bold" "$condensed" "$(strings 'Condensed Bold' Bold)")" \
    "$(posing 'Nimbus Roman' "$bold" "$(strings 'DejaVu Serif')" "$(strings Bold)")")

step "the private configurations hold no DejaVu face of DejaVu's own"
listed() { FONTCONFIG_FILE=$1 fc-list : family file; }
[[ -n $(listed "$no_dejavu") ]] || fail "the configuration without DejaVu lists no font at all"
! listed "$no_dejavu" | grep -qi dejavu || fail "the configuration without DejaVu lists DejaVu"
posers=$(listed "$impostors" | grep -i dejavu)
[[ $(wc -l <<<"$posers") -eq 3 && $posers != *dejavu/* ]] || fail "not three URW faces pose as DejaVu: $posers"

find_strip() { find_titled Stackle && strip=$window; }
find_help() { find_titled Help && help=$window; }
yellow_memo() {
    import -silent -window root -crop "1x1+$((HX + MEMO_X))+$((HY + MEMO_Y))" -depth 8 txt:- | grep -qi '#FFFF00'
}

# capture <file>: the whole screen, the pointer away from every window, with the strip's clock
# blanked out.
capture() {
    local clock="$((SX + CLOCK[0])),$((SY + CLOCK[1])) $((SX + CLOCK[2])),$((SY + CLOCK[3]))"
    xdotool mousemove $AWAY_X $AWAY_Y || fail "xdotool could not move the pointer"
    sleep 0.5
    import -silent -window root png:- | convert - -fill black -draw "rectangle $clock" "$1" ||
        fail "could not capture the screen"
}

# first_start <name> [<font configuration>]: starts the strip from a new program directory, with
# the machine's fonts or those of the configuration, and captures <name>-memo.png, the help
# window as it opens, and <name>-a.png, after a click on the picture's "A".
first_start() {
    local X Y WIDTH HEIGHT
    step "a first start ($1)"
    copy_program "$work/$1"
    if (($# > 1)); then start_app env FONTCONFIG_FILE="$2" "$work/$1/stackle"; else start_app "$work/$1/stackle"; fi
    wait_for "$TIMEOUT" find_strip || fail "no strip within $TIMEOUT s"
    wait_for "$TIMEOUT" find_help || fail "no help window within $TIMEOUT s"
    read_geometry "$strip" || fail "could not read the strip's geometry"
    SX=$X SY=$Y
    read_geometry "$help" || fail "could not read the help window's geometry"
    HX=$X HY=$Y
    wait_for "$TIMEOUT" yellow_memo || fail "the help window's memo does not show"
    capture "$work/$1-memo.png"
    xdotool mousemove $((HX + MOCK_A_X)) $((HY + MOCK_A_Y)) click 1 || fail "could not click the picture's \"A\""
    wait_for "$TIMEOUT" eval '! yellow_memo' || fail "the memo still shows after a click on the picture's \"A\""
    capture "$work/$1-a.png"
    xdotool mousemove $((SX + STRIP_CLOSE_X)) $((SY + STRIP_CLOSE_Y)) click 1 || fail "could not click \"X\""
    expect_app_exit "\"X\""
}

# same_as_machine <name>: both captures of that start are those of the machine's fonts.
same_as_machine() {
    local face differ
    for face in memo a; do
        differ=$(compare -metric AE "$work/machine-$face.png" "$work/$1-$face.png" null: 2>&1)
        [[ $differ == 0 ]] && continue
        kept=$(mktemp -d "${TMPDIR:-/tmp}/stackle-fonts-e2e-failed.XXXXXX") && cp "$work"/*.png "$kept"
        fail "$differ pixels of $1-$face.png differ from machine-$face.png (captures in ${kept:-nowhere})"
    done
}

start_display
first_start machine
first_start no-dejavu "$no_dejavu"
same_as_machine no-dejavu
first_start impostors "$impostors"
same_as_machine impostors

echo "PASS"
