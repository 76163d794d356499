#!/usr/bin/env bash
# End-to-end check of the strip on a virtual X server without a window manager:
#   first start in a fresh program directory -> settings file created, strip at its default place;
#   drag by the clock row -> strip follows the pointer;
#   "X" -> position stored in the settings file, exit code 0;
#   second start -> strip comes up at the stored place; moved by the window system and closed
#   again -> the new position replaces the old one.
#
# Usage: strip_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

readonly STRIP_NAME="Stackle"
readonly GRIP_X=20 GRIP_Y=12   # the clock text: a bare part that drags the window
readonly UP_X=197 UP_Y=42      # the red UP arrow: group 1 -> group 2
readonly SLOT6_X=68 SLOT6_Y=47 # slot 6, the second button of group 2
readonly CLOCK_AREA=90x16+8+6  # where the clock's yellow text appears, relative to the window
readonly MAX_RUNTIME=100       # seconds for the whole run, below the test runner's limit

take_binary "$@"
require_tools Xvfb xdotool xprop import cmp od
make_program_dir stackle-e2e
ini=$progdir/FILE.INI

show_state() {
    show_app_log
    if [[ -e $ini ]]; then
        echo "FILE.INI is now:" >&2
        od -c "$ini" | sed 's/^/  | /' >&2
    else
        echo "FILE.INI does not exist" >&2
    fi
}

# Sets $strip to the visible window titled exactly "Stackle" that is not the splash.
find_strip() {
    app_running || fail "the program ended before its window appeared"
    find_titled "$STRIP_NAME" && strip=$window
}

no_visible_splash() {
    local w
    for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        is_splash "$w" && return 1
    done
    return 0
}

# The clock row shows yellow text once the clock has ticked.
clock_shown() {
    local size=${CLOCK_AREA%%+*} off=${CLOCK_AREA#*+} pixels
    pixels=$(import -silent -window root -crop "$size+$((X + ${off%+*}))+$((Y + ${off#*+}))" \
        -depth 8 txt:- 2>/dev/null) && grep -qi '#FFFF00' <<<"$pixels"
}

at_place() { read_geometry "$strip" && [[ $X -eq $1 && $Y -eq $2 ]]; }

expect_place() {
    if ! wait_for "$TIMEOUT" at_place "$1" "$2"; then
        fail "$3: window at ${X:-?},${Y:-?}, expected $1,$2"
    fi
}

expect_strip() {
    wait_for "$TIMEOUT" find_strip || fail "no visible window named \"$STRIP_NAME\" within $TIMEOUT s"
    read_geometry "$strip" || fail "xdotool could not read the geometry of window $strip"
    [[ $WIDTH -eq $STRIP_W && $HEIGHT -eq $STRIP_H ]] ||
        fail "window is ${WIDTH}x${HEIGHT}, expected ${STRIP_W}x${STRIP_H}"
    [[ $X -eq $1 && $Y -eq $2 ]] || fail "window came up at $X,$Y, expected $1,$2"
    wait_for "$TIMEOUT" no_visible_splash || fail "the splash window is still shown beside the strip"
}

# expect_ini <description> <printf format of the expected bytes>
expect_ini() {
    local expected=$work/expected.ini
    # shellcheck disable=SC2059
    printf "$2" >"$expected"
    [[ -e $ini ]] || fail "$1: FILE.INI does not exist in the program directory"
    if ! cmp -s "$expected" "$ini"; then
        echo "expected FILE.INI:" >&2
        od -c "$expected" | sed 's/^/  | /' >&2
        fail "$1: FILE.INI does not hold the expected bytes"
    fi
}

click_close() {
    xdotool mousemove $((X + STRIP_CLOSE_X)) $((Y + STRIP_CLOSE_Y)) click 1 || fail "xdotool could not click"
}

# Another visible window of the program beside the strip: a pop-up menu or a dialog.
other_window_shown() { xdotool search --onlyvisible --classname '^stackle$' 2>/dev/null | grep -qv "^$strip\$"; }
file_dialog_shown() { xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1; }

open_slot6_menu() {
    xdotool mousemove $((X + SLOT6_X)) $((Y + SLOT6_Y)) mousedown 3 || fail "xdotool could not press the right button"
    wait_for "$TIMEOUT" other_window_shown || fail "no pop-up menu opened on the right press"
    xdotool mouseup 3
}

readonly BASE_INI='[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n'

step "starting Xvfb"
start_display
echo "display $DISPLAY"

step "first start in an empty program directory"
start_app
expect_strip "$DEFAULT_X" "$DEFAULT_Y"
expect_ini "first start" "$BASE_INI"

step "dragging the strip by its clock text"
wait_for "$TIMEOUT" clock_shown || fail "the clock shows no text $TIMEOUT s after the start"
drag_to_x=100 drag_to_y=50
grip_x=$((X + GRIP_X)) grip_y=$((Y + GRIP_Y))
xdotool mousemove "$grip_x" "$grip_y" mousedown 1 \
    mousemove $((grip_x + 5)) $((grip_y + 5)) \
    mousemove $((drag_to_x + GRIP_X)) $((drag_to_y + GRIP_Y)) mouseup 1 ||
    fail "xdotool could not drag"
expect_place "$drag_to_x" "$drag_to_y" "after the drag"

step "closing with \"X\""
click_close
expect_app_exit "the click on \"X\""
expect_ini "after \"X\"" "${BASE_INI}[EXE]\\r\\nXPos=${drag_to_x}\\r\\nYPos=${drag_to_y}\\r\\n"

step "second start: at the stored place"
start_app
expect_strip "$drag_to_x" "$drag_to_y"
expect_ini "second start" "${BASE_INI}[EXE]\\r\\nXPos=${drag_to_x}\\r\\nYPos=${drag_to_y}\\r\\n"

step "moving the strip by the window system, closing with \"X\""
xdotool windowmove "$strip" 300 200 || fail "xdotool could not move the window"
expect_place 300 200 "after xdotool windowmove"
click_close
expect_app_exit "the click on \"X\""
expect_ini "after the second \"X\"" "${BASE_INI}[EXE]\\r\\nXPos=300\\r\\nYPos=200\\r\\n"

step "adding a pop-up file to slot 6 through the real file dialog"
# A pop-up file that leaves a mark when it runs, with a blank in its name.
entry="$progdir/mark it.sh"
printf '#!/bin/sh\ntouch "%s"\n' "$work/marked" >"$entry" && chmod +x "$entry" || fail "could not write $entry"
start_app
expect_strip 300 200
xdotool mousemove $((X + UP_X)) $((Y + UP_Y)) click 1 || fail "xdotool could not click the UP arrow"
open_slot6_menu
xdotool key a || fail "xdotool could not choose the menu item"
wait_for "$TIMEOUT" file_dialog_shown || fail "the file dialog did not open"
xdotool type --delay 20 "$entry" && xdotool key Return || fail "xdotool could not type into the file dialog"
wait_for "$TIMEOUT" test -s "$progdir/flist6.dll" || fail "flist6.dll was not written"
expected_list="mark it.sh    *$entry\r\n"
printf "$expected_list" >"$work/expected.list"
cmp -s "$work/expected.list" "$progdir/flist6.dll" ||
    fail "flist6.dll holds $(od -c "$progdir/flist6.dll"), expected $expected_list"
click_close
expect_app_exit "the click on \"X\""

step "after a restart, the entry in slot 6's menu starts its file"
start_app
expect_strip 300 200
xdotool mousemove $((X + UP_X)) $((Y + UP_Y)) click 1 || fail "xdotool could not click the UP arrow"
open_slot6_menu
xdotool key Down Down Down Down Down Return || fail "xdotool could not choose the entry"
wait_for "$TIMEOUT" test -e "$work/marked" || fail "choosing the entry did not start $entry"
click_close
expect_app_exit "the click on \"X\""

echo "PASS"
