#!/usr/bin/env bash
# End-to-end check of the help window on a virtual X server without a window manager:
#   first start in a fresh program directory -> a window titled "Help" opens by itself, centred
#   across the screen, its top one pixel below the strip's bottom edge, showing the yellow memo;
#   a click on the picture's clock -> the memo gives way to the explanation;
#   "Exit" in the help window -> the help window goes, the strip keeps running;
#   "?" twice on the strip -> exactly one help window;
#   second start -> no help window opens by itself;
#   under a window manager (openbox, or xfwm4 alone when asked for) with a panel along the top of
#   the screen, the first start's help window is framed one pixel below the strip, wherever the
#   window manager put the strip (xfwm4 puts it below the panel), its title bar in full view.
#
# Usage: help_e2e.sh <path to the stackle binary> [openbox|xfwm4]
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/tray.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/xfce.sh"

readonly HELP_X=$(((SCREEN_W - 500) / 2)) # centred by its outer width of 500
readonly STRIP_HELP_X=220 STRIP_HELP_Y=69 # the strip's "?" button
readonly EXIT_X=29 EXIT_Y=13              # the help window's "Exit" button
readonly MOCK_CLOCK_X=250 MOCK_CLOCK_Y=10 # the clock of the strip's picture
readonly MEMO_X=150 MEMO_Y=300            # a point inside the memo, below its text's first lines
readonly MAX_RUNTIME=100

take_binary_and_window_manager "$@"
require_tools Xvfb xdotool xprop xwininfo import "$window_manager" xfce4-panel dbus-daemon
make_program_dir stackle-help-e2e
trap xfce_cleanup EXIT

find_strip() { find_titled Stackle && strip=$window; }
# shellcheck disable=SC2034 # help: read by the evals below
find_help() { find_titled Help && help=$window; }
help_count() { windows_titled Help | wc -l; }
no_help() { [[ $(help_count) -eq 0 ]]; }

# geometry <window> <prefix>: sets <prefix>X, <prefix>Y, <prefix>W and <prefix>H.
geometry() {
    local X Y WIDTH HEIGHT
    read_geometry "$1" || return 1
    printf -v "${2}X" %s "$X"
    printf -v "${2}Y" %s "$Y"
    printf -v "${2}W" %s "$WIDTH"
    printf -v "${2}H" %s "$HEIGHT"
}

# pixel_is <x> <y> <#RRGGBB>: the screen shows that colour at x, y.
pixel_is() {
    import -silent -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -qi "$3"
}

click_at() { xdotool mousemove "$1" "$2" click 1 || fail "xdotool could not click at $1,$2"; }

# client_geometry <window> <prefix>: as geometry, for the window's client area as xwininfo reads
# it: xdotool counts the frame of a window that a window manager framed twice.
client_geometry() {
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || return 1
    printf -v "${2}X" %s "$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")"
    printf -v "${2}Y" %s "$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")"
    printf -v "${2}H" %s "$(awk '/Height:/ {print $2}' <<<"$info")"
}
# The help window's frame begins one pixel below the strip.
help_framed_below_strip() {
    local extents
    client_geometry "$strip" S && client_geometry "$help" H || return 1
    extents=$(xprop -id "$help" _NET_FRAME_EXTENTS 2>/dev/null | grep -oE '[0-9]+' | tr '\n' ' ') || return 1
    read -r _ _ FRAME_TOP _ <<<"$extents"
    [[ -n ${FRAME_TOP:-} ]] && ((FRAME_TOP > 0 && HY - FRAME_TOP == SY + SH + 1))
}

check_under_window_manager() {
    step "under $window_manager with a panel along the top: the help is framed below the strip"
    start_session_bus desktop
    start_wm
    start_xfce_panel
    rm -f "$progdir/FILE.INI"
    start_app
    wait_for "$TIMEOUT" find_strip || fail "no strip within $TIMEOUT s"
    wait_for "$TIMEOUT" find_help || fail "no window titled \"Help\" within $TIMEOUT s of the first start"
    wait_for "$TIMEOUT" help_framed_below_strip ||
        fail "the help window's frame begins at $((${HY:-0} - ${FRAME_TOP:-0})), expected $((SY + SH + 1))"
    click_at $((SX + STRIP_CLOSE_X)) $((SY + STRIP_CLOSE_Y))
    expect_app_exit "\"X\""
}

step "starting Xvfb"
start_display
if ! default_run; then
    check_under_window_manager
    echo "PASS"
    exit 0
fi

step "first start: the help opens by itself below the strip"
start_app
wait_for "$TIMEOUT" find_strip || fail "no strip within $TIMEOUT s"
wait_for "$TIMEOUT" find_help || fail "no window titled \"Help\" within $TIMEOUT s of the first start"
geometry "$strip" S || fail "could not read the strip's geometry"
[[ $SW -eq $STRIP_W && $SH -eq $STRIP_H ]] || fail "the strip is ${SW}x${SH}, expected ${STRIP_W}x${STRIP_H}"
wait_for "$TIMEOUT" eval 'geometry "$help" H && [[ $HY -eq $((SY + SH + 1)) ]]' ||
    fail "the help window's top is ${HY:-?}, expected the strip's bottom $((SY + SH)) plus one"
[[ $HX -eq $HELP_X ]] || fail "the help window's left is $HX, expected $HELP_X (centred)"
[[ $(help_count) -eq 1 ]] || fail "$(help_count) help windows on the first start, expected 1"
wait_for "$TIMEOUT" pixel_is $((HX + MEMO_X)) $((HY + MEMO_Y)) '#FFFF00' || fail "the yellow memo does not show"

step "a click on the picture's clock explains it instead of the memo"
click_at $((HX + MOCK_CLOCK_X)) $((HY + MOCK_CLOCK_Y))
wait_for "$TIMEOUT" eval '! pixel_is $((HX + MEMO_X)) $((HY + MEMO_Y)) "#FFFF00"' || fail "the memo still shows"

step "closing the help window leaves the strip running"
click_at $((HX + EXIT_X)) $((HY + EXIT_Y))
wait_for "$TIMEOUT" no_help || fail "the help window is still shown after \"Exit\""
sleep 0.5
app_running || fail "the program ended when the help window was closed"
find_strip || fail "the strip is gone after the help window was closed"

step "\"?\" twice leaves exactly one help window"
click_at $((SX + STRIP_HELP_X)) $((SY + STRIP_HELP_Y))
wait_for "$TIMEOUT" find_help || fail "\"?\" opened no help window"
click_at $((SX + STRIP_HELP_X)) $((SY + STRIP_HELP_Y))
sleep 1
[[ $(help_count) -eq 1 ]] || fail "$(help_count) help windows after pressing \"?\" twice, expected 1"
app_running || fail "the program ended"

step "closing the strip with \"X\""
click_at $((SX + STRIP_CLOSE_X)) $((SY + STRIP_CLOSE_Y))
expect_app_exit "\"X\""

step "second start: no help window"
start_app
wait_for "$TIMEOUT" find_strip || fail "no strip within $TIMEOUT s of the second start"
sleep 1.5
no_help || fail "the second start opened a help window"
geometry "$strip" S || fail "could not read the strip's geometry"
click_at $((SX + STRIP_CLOSE_X)) $((SY + STRIP_CLOSE_Y))
expect_app_exit "\"X\""

check_under_window_manager

echo "PASS"
