#!/usr/bin/env bash
# End-to-end check of the tray icon on a virtual X server with a real tray host (trayer, over
# the XEmbed system tray), first without a window manager, then with one (openbox, or xfwm4 alone
# when asked for):
#   the icon sits in the tray host's window for the whole run;
#   "-" takes the strip off the screen (hidden without a window manager, iconified with one),
#   and a click on the icon brings it back at the same place;
#   a right click opens the tray menu, whose "E&xit" ends the program;
#   Tray Default=1 starts with the icon only, or with the strip when no tray host runs;
#   "-" without a window manager and without a tray host leaves the strip on the screen, and the
#   icon appears as soon as a tray host starts;
#   a second start from the same program directory brings the strip back and ends with status 0;
#   one from another directory starts a second strip; a crashed run does not stop the next one;
#   under the window manager, one click on the icon brings the strip from another workspace.
#
# Usage: tray_e2e.sh <path to the stackle binary> [openbox|xfwm4]
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/tray.sh"

readonly MAX_RUNTIME=170 # seconds for the whole run, below the test runner's limit

take_binary_and_window_manager "$@"
require_tools Xvfb xdotool xprop xwininfo trayer "$window_manager" wmctrl cmp
make_program_dir stackle-tray-e2e # progdir: the first program directory
two=$work/two                     # the second one

start_tray_host() { start_trayer "$work/trayer.log" "$TIMEOUT" || fail "trayer's window did not appear"; }
stop_tray_host() {
    end_processes "$trayer_pid"
    trayer_pid=""
    wait_for "$TIMEOUT" eval '! find_tray_panel' || fail "trayer's window stayed"
}

find_icon() { find_trayer_icon; }

expect_icon() { wait_for "$TIMEOUT" find_icon || fail "$1: the icon is not in trayer's window"; }


check_under_window_manager() {
    local wm=$window_manager
    step "with a window manager: \"-\" iconifies, the icon restores in place"
    start_wm
    write_ini "$progdir" "$BASE_INI"
    start_app
    expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "start under $wm"
    expect_icon "start under $wm"
    click_at "$MIN_X" "$MIN_Y"
    expect_strip_gone "after \"-\" under $wm"
    xprop -id "$strip" WM_STATE 2>/dev/null | grep -q 'Iconic' || fail "the strip is not iconified"
    click_icon 1
    expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "after a click on the icon under $wm"

    step "with a window manager: one click on the icon brings the strip from another workspace"
    wmctrl -n 4 || fail "wmctrl could not ask for four workspaces"
    expect_click_brings_from_workspace "$DEFAULT_X" "$DEFAULT_Y"
    click_at "$STRIP_CLOSE_X" "$STRIP_CLOSE_Y"
    expect_app_exit "\"X\" under $wm"

    step "with a window manager, Tray Default=1 starts iconified with the icon"
    expect_start_in_tray "start-up in the tray under $wm"
    click_at "$STRIP_CLOSE_X" "$STRIP_CLOSE_Y"
    expect_app_exit "\"X\" under $wm"
}

step "starting Xvfb and trayer, without a window manager"
start_display
# The XEmbed tray: no session bus, so no StatusNotifierItem watcher either.
unset DBUS_SESSION_BUS_ADDRESS
start_tray_host
copy_program "$two"
readonly BASE_INI='[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n'
if ! default_run; then
    check_under_window_manager
    echo "PASS"
    exit 0
fi

step "first start: the strip and the icon in trayer's window"
start_app
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "first start"
expect_icon "first start"
expect_ini "$progdir" "$BASE_INI" "first start"

step "\"-\" hides the strip; a click on the icon brings it back in place"
click_at "$MIN_X" "$MIN_Y"
expect_strip_gone "after \"-\""
click_icon 1
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "after a click on the icon"

step "a double click on the icon brings it back as well"
click_at "$MIN_X" "$MIN_Y"
expect_strip_gone "after \"-\""
find_icon && xdotool mousemove "$ICON_X" "$ICON_Y" click --repeat 2 --delay 80 1
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "after a double click on the icon"

step "a right double click brings it back too, and opens no menu"
click_at "$MIN_X" "$MIN_Y"
expect_strip_gone "after \"-\""
find_icon && xdotool mousemove "$ICON_X" "$ICON_Y" click --repeat 2 --delay 80 3
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "after a right double click on the icon"
sleep 1
! menu_shown || fail "a right double click opened the menu"

step "a second start from the same directory brings the hidden strip back and ends"
click_at "$MIN_X" "$MIN_Y"
expect_strip_gone "after \"-\""
first_pid=$app_pid first_strip=$strip
start_app
expect_app_exit "a second start"
app_pid=$first_pid strip=$first_strip
wait_for "$TIMEOUT" strip_viewable || fail "the second start did not bring the strip back"
at_place "$DEFAULT_X" "$DEFAULT_Y" || fail "the strip came back at $X,$Y"

step "a start from another directory is a strip of its own"
write_ini "$two" '[Help]\r\nVisible=0\r\n[EXE]\r\nXPos=600\r\nYPos=400\r\n'
first_pid=$app_pid first_strip=$strip
start_app "$two/stackle"
expect_strip_at 600 400 "the second directory's strip"
click_at "$STRIP_CLOSE_X" "$STRIP_CLOSE_Y"
expect_app_exit "\"X\" on the second directory's strip"
app_pid=$first_pid strip=$first_strip
viewable "$strip" || fail "the first strip went away with the second"

step "the tray menu's \"E&xit\" ends the program"
click_icon 3
wait_for "$TIMEOUT" menu_shown || fail "no menu opened on a right click on the icon"
xdotool key x || fail "xdotool could not choose \"E&xit\""
expect_app_exit "\"E&xit\""

step "Tray Default=1: only the icon; a click shows the strip at its stored place"
expect_start_in_tray "start-up in the tray"

step "a run killed on the spot does not stop the next start"
kill -KILL "$app_pid"
wait "$app_pid" 2>/dev/null
app_pid=""
wait_for "$TIMEOUT" eval '! find_icon' || fail "the killed run's icon stayed"
write_ini "$progdir" "$BASE_INI"
start_app
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "the start after a crash"

step "without a tray host \"-\" leaves the strip on the screen; the icon comes with the tray host"
stop_tray_host
click_at "$MIN_X" "$MIN_Y"
sleep 1
viewable "$strip" || fail "\"-\" hid the strip with nothing to bring it back"
start_tray_host
expect_icon "after trayer started"
click_at "$MIN_X" "$MIN_Y"
expect_strip_gone "after \"-\" with the tray host back"
click_icon 1
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "after a click on the icon"
click_at "$STRIP_CLOSE_X" "$STRIP_CLOSE_Y"
expect_app_exit "\"X\""

step "Tray Default=1 without a tray host shows the strip"
stop_tray_host
write_ini "$progdir" '[Help]\r\nVisible=0\r\n[Tray]\r\nDefault=1\r\n'
start_app
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "start-up in the tray without a tray host"
click_at "$STRIP_CLOSE_X" "$STRIP_CLOSE_Y"
expect_app_exit "\"X\""

start_tray_host
check_under_window_manager

echo "PASS"
