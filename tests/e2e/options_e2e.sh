#!/usr/bin/env bash
# End-to-end check of the options window on a virtual X server with a window manager (openbox),
# so that the window has a title bar with a close box:
#   "Options" on the clock row -> a window titled "Optional Settings" opens;
#   a heading typed and "&Change Tabs" -> stored and shown on the tab at once;
#   "Show Clock Only (smallest)" -> the strip is 28 pixels high at once;
#   the title bar's close box and "&Exit" -> the window ends, the program goes on;
#   next start -> the tab shows the new heading; UP three times -> the window opens again.
#
# Usage: options_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

readonly OPTIONS_TITLE="Optional Settings"
# Places relative to the strip's client area (its "X" too: STRIP_CLOSE_X, STRIP_CLOSE_Y).
readonly OPTIONS_BUTTON=(166 14) UP_ARROW=(197 42)
readonly TAB_STRIP=225x18+5+81
# Places relative to the options window's client area.
readonly EDIT_TAB0=(86 34) CHANGE_TABS=(63 115) CLOCK_ONLY=(196 171) CLOCK_AND_BUTTONS=(196 130) EXIT=(230 253)

take_binary "$@"
require_tools Xvfb openbox xdotool xprop xwininfo import compare
make_program_dir stackle-options-e2e
ini=$progdir/FILE.INI

show_state() {
    show_app_log
    [[ -e $ini ]] && sed 's/^/  FILE.INI | /' "$ini" >&2
}

strip_shown() { find_titled Stackle && strip=$window; }
options_shown() { find_titled "$OPTIONS_TITLE" && options=$window; }
options_gone() { ! find_titled "$OPTIONS_TITLE"; }

# geometry <window>: sets X, Y, WIDTH and HEIGHT of its client area on the screen, as xwininfo
# reads it: read_geometry (xdotool) counts the frame of a window that the window manager framed
# twice.
geometry() {
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || return 1
    X=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    Y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    WIDTH=$(awk '/Width:/ {print $2}' <<<"$info")
    HEIGHT=$(awk '/Height:/ {print $2}' <<<"$info")
}

# click <window> <x> <y>: a left click at a place relative to the window's client area.
click() {
    geometry "$1" || fail "no geometry for window $1"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1 || fail "xdotool could not click"
}

strip_height_is() { geometry "$strip" && [[ $HEIGHT -eq $1 ]]; }

# tab_picture <file>: the strip's tab strip as it is on the screen now.
tab_picture() {
    local size=${TAB_STRIP%%+*} offset=${TAB_STRIP#*+}
    geometry "$strip" && import -silent -window root -crop "$size+$((X + ${offset%+*}))+$((Y + ${offset#*+}))" "$1" ||
        fail "could not take a picture of the tab strip"
}
same_picture() { [[ $(compare -metric AE "$1" "$2" null: 2>&1) == 0 ]]; }

start_strip() {
    start_app
    wait_for "$TIMEOUT" strip_shown || fail "the strip did not show within $TIMEOUT s"
}

up_three_times() {
    local i
    for i in 1 2 3; do click "$strip" "${UP_ARROW[@]}"; done
}

open_options() {
    "$@"
    wait_for "$TIMEOUT" options_shown || fail "no window titled \"$OPTIONS_TITLE\" opened"
}

# The title bar's close box, at the right end of the frame that the window manager drew.
click_close_box() {
    local extents left right top
    extents=$(xprop -id "$options" _NET_FRAME_EXTENTS) || fail "the options window has no frame"
    IFS=', ' read -r left right top _ <<<"${extents#*= }"
    geometry "$options"
    ((top > 0)) || fail "the options window has no title bar (frame $left,$right,$top)"
    xdotool mousemove $((X + WIDTH + right - 10)) $((Y - top / 2)) click 1 || fail "xdotool could not click"
}

expect_ended() {
    wait_for "$TIMEOUT" options_gone || fail "$1 did not end the options window"
    app_running || fail "$1 ended the program"
}

quit_app() {
    click "$strip" "$STRIP_CLOSE_X" "$STRIP_CLOSE_Y"
    expect_app_exit "\"X\""
}

step "starting Xvfb and openbox"
start_display
start_openbox "$work/openbox.log" "$TIMEOUT" || fail "openbox did not start"

step "the \"Options\" button opens \"$OPTIONS_TITLE\""
start_strip
tab_picture "$work/tabs-before.png"
open_options click "$strip" "${OPTIONS_BUTTON[@]}"

step "a new heading and \"&Change Tabs\""
click "$options" "${EDIT_TAB0[@]}"
xdotool key ctrl+a type Work || fail "xdotool could not type"
click "$options" "${CHANGE_TABS[@]}"
wait_for "$TIMEOUT" grep -q $'^Tab0=Work\r$' "$ini" || fail "the heading was not stored"

step "the title bar's close box ends the window"
click_close_box
expect_ended "the close box"
tab_picture "$work/tabs-changed.png"
same_picture "$work/tabs-before.png" "$work/tabs-changed.png" && fail "the tab strip still shows the old heading"

step "\"Show Clock Only (smallest)\" makes the strip 28 pixels high"
open_options click "$strip" "${OPTIONS_BUTTON[@]}"
click "$options" "${CLOCK_ONLY[@]}"
wait_for "$TIMEOUT" strip_height_is 28 || fail "the strip is $HEIGHT pixels high, expected 28"
grep -q $'^Style=3\r$' "$ini" || fail "style 3 was not stored"
click "$options" "${CLOCK_AND_BUTTONS[@]}"
wait_for "$TIMEOUT" strip_height_is 103 || fail "the strip is $HEIGHT pixels high after style 1, expected 103"

step "\"&Exit\" ends the window"
click "$options" "${EXIT[@]}"
expect_ended "\"&Exit\""
quit_app

step "the next start shows the new heading; UP three times opens the window"
start_strip
tab_picture "$work/tabs-restarted.png"
same_picture "$work/tabs-changed.png" "$work/tabs-restarted.png" ||
    fail "after a restart the tab strip does not show the heading it showed once changed"
open_options up_three_times
click_close_box
expect_ended "the close box"
sleep 0.5
options_gone || fail "the options window opened a second time"
quit_app

echo "PASS"
