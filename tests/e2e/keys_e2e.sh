#!/usr/bin/env bash
# End-to-end check of keys on a virtual X server with a window manager (openbox), the slots' files
# being scripts that note each start:
#   the keys of [Keys] act while another program's window has the focus, also with Num Lock on:
#   SlotN starts slot N, Toggle takes the strip away and brings it back;
#   a second strip whose key the first one holds says so in a message box, and its other key works;
#   the command it was started with acts once the message is answered;
#   the strip's own keys reach it once it has the focus, before its arrow buttons take them (what
#   each key does is the unit tests').
#
# Usage: keys_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/tray.sh"

readonly MAX_RUNTIME=110 # seconds for the whole run, below the test runner's limit

take_binary "$@"
require_tools Xvfb xdotool xprop xwininfo xmessage openbox
make_program_dir stackle-keys-e2e
two=$work/two
iconic() { xprop -id "$strip" WM_STATE 2>/dev/null | grep -q Iconic; }
# The program's visible windows other than the strip: its menus and message boxes.
others() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^stackle$' 2>/dev/null); do
        [[ $w == "$strip" ]] || echo "$w"
    done
}
no_others() { [[ -z $(others) ]]; }

recorder "$progdir" one
recorder "$progdir" two
write_ini "$progdir" "[Help]\r\nVisible=0\r\n[EXE]\r\nEXE1=$progdir/one.sh\r\nEXE2=$progdir/two.sh\r\n\
[Keys]\r\nToggle=Ctrl+Alt+T\r\nSlot1=Ctrl+Alt+1\r\nSlot2=Meta+2\r\n"
copy_program "$two"
recorder "$two" second
write_ini "$two" "[Help]\r\nVisible=0\r\n[EXE]\r\nEXE2=$two/second.sh\r\nXPos=0\r\nYPos=300\r\n\
[Keys]\r\nSlot1=Ctrl+Alt+1\r\nSlot2=Ctrl+Alt+2\r\n"

start_display
start_openbox "$work/openbox.log" "$TIMEOUT" || fail "openbox did not start"
start_app
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "start with keys"
sleep 1
no_others || fail "the keys of a free keyboard were reported as taken"

step "the keys act while another program's window has the focus"
xmessage -geometry +500+400 "another program" 2>/dev/null &
other_pid=$!
other_window() { other=$(xdotool search --onlyvisible --name '^xmessage$' 2>/dev/null | head -n 1) && [[ -n $other ]]; }
wait_for "$TIMEOUT" other_window || fail "the other program's window did not appear"
xdotool windowactivate --sync "$other" || fail "could not give the other window the focus"
xdotool key ctrl+alt+1
expect_starts "Ctrl+Alt+1" one
xdotool key super+2
expect_starts "Meta+2" two
xdotool key Num_Lock ctrl+alt+1 Num_Lock
expect_starts "Ctrl+Alt+1 with Num Lock on" one
xdotool key ctrl+alt+t
wait_for "$TIMEOUT" iconic || fail "Ctrl+Alt+T did not take the strip away"
xdotool key ctrl+alt+t
wait_for "$TIMEOUT" eval 'strip_viewable && ! iconic' || fail "Ctrl+Alt+T did not bring the strip back"

step "a key another program holds is reported; the other key works"
first_pid=$app_pid first_strip=$strip
start_app "$two/stackle" --launch 2
# Sets box to a window of the program's that is neither strip nor the splash.
find_box() {
    local w
    for w in $(others); do
        is_splash "$w" && continue
        read_geometry "$w" && [[ "${WIDTH}x$HEIGHT" != "${STRIP_W}x$STRIP_H" ]] && box=$w && return 0
    done
    return 1
}
wait_for "$TIMEOUT" find_box || fail "no message about the key the first strip holds"
xdotool windowactivate --sync "$box" key Return || fail "could not close the message box"
wait_for "$TIMEOUT" eval '! viewable "$box"' || fail "the message box stayed"
second_pid=$app_pid
expect_starts "the second strip's own --launch 2, once the message is answered" second
xdotool key ctrl+alt+2
expect_starts "the second strip's Ctrl+Alt+2" second
xdotool key ctrl+alt+1
expect_starts "Ctrl+Alt+1, held by the first strip" one
end_processes "$second_pid"
app_pid=$first_pid strip=$first_strip

step "the strip's own keys once it has the focus"
read_geometry "$strip" || fail "could not read the strip's place"
click_at 179 46 # the group page right of the buttons: the strip takes the focus
wait_for "$TIMEOUT" eval '[[ $(xdotool getwindowfocus) == "$strip" ]]' || fail "the strip did not take the focus"
xdotool key Right Return
expect_starts "Right, Return" one

click_at "$STRIP_CLOSE_X" "$STRIP_CLOSE_Y"
expect_app_exit "\"X\""
echo PASS
