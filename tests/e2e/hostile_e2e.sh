#!/usr/bin/env bash
# End-to-end check of the strip against what a user may throw at it, on a virtual X server
# without a window manager:
#   Qt's own command-line options (-geometry, -reverse, -title, -style), and arguments that are
#   no commands of Stackle's, change nothing;
#   hints show when the pointer rests on a slot while another program's window has the focus;
#   "X" then stores the strip's own place.
#
# Usage: hostile_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

readonly SLOT1_X=24 SLOT1_Y=46 # the first launch slot's button

take_binary "$@"
require_tools Xvfb xdotool xmessage
make_program_dir stackle-hostile

# The program's visible windows other than the strip: pop-ups such as a hint.
others() { xdotool search --onlyvisible --classname '^stackle$' 2>/dev/null | grep -v "^$strip\$"; }

# Sets strip to the program's visible window of the strip's size (the splash shows before it).
find_strip() { find_program_window "$STRIP_W" "$STRIP_H" && strip=$window; }

printf '[Help]\r\nVisible=0\r\n' >"$progdir/FILE.INI"
start_display

step "Qt's own options, and arguments that are no commands, change nothing"
start_app "$progdir/stackle" -geometry +10+10 -reverse -title Hacked -style fusion /etc/hostname --frobnicate -
wait_for "$TIMEOUT" find_strip || fail "no strip appeared"
read_geometry "$strip" || fail "could not read the strip's geometry"
[[ $X -eq $DEFAULT_X && $Y -eq $DEFAULT_Y ]] ||
    fail "the strip came up at $X,$Y, not at its own place $DEFAULT_X,$DEFAULT_Y"
[[ $WIDTH -eq $STRIP_W && $HEIGHT -eq $STRIP_H ]] || fail "the strip is ${WIDTH}x$HEIGHT"
name=$(xdotool getwindowname "$strip")
[[ $name == Stackle ]] || fail "the strip is titled \"$name\""

step "a hint shows while another program has the focus"
xmessage -geometry +500+400 "another program" 2>/dev/null &
other_pid=$!
other_window() { other=$(xdotool search --onlyvisible --name '^xmessage$' 2>/dev/null | head -n 1); [[ -n $other ]]; }
wait_for "$TIMEOUT" other_window || fail "the other program's window did not appear"
xdotool windowfocus --sync "$other" || fail "could not give the other window the focus"
xdotool mousemove $((X + SLOT1_X)) $((Y + SLOT1_Y)) || fail "could not move the pointer"
wait_for "$TIMEOUT" others >/dev/null || fail "no hint appeared over the first slot while another window had the focus"

step "\"X\" stores the strip's own place"
xdotool mousemove $((X + STRIP_CLOSE_X)) $((Y + STRIP_CLOSE_Y)) click 1 || fail "could not click \"X\""
expect_app_exit "\"X\""
grep -q "XPos=$DEFAULT_X" "$progdir/FILE.INI" || fail "FILE.INI holds $(cat "$progdir/FILE.INI")"

echo PASS
