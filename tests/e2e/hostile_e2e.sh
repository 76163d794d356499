#!/usr/bin/env bash
# End-to-end check of the strip against what a user may throw at it, on a virtual X server
# without a window manager:
#   Qt's own command-line options (-geometry, -reverse, -title, -style) change nothing;
#   hints show when the pointer rests on a slot while another program's window has the focus;
#   "X" then stores the strip's own place.
#
# Usage: hostile_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
source "$(dirname "$0")/../../scripts/xvfb.sh"

readonly STRIP_W=236 STRIP_H=104 SCREEN_W=1024 SCREEN_H=768
readonly DEFAULT_X=$((SCREEN_W / 2 - STRIP_W / 2))
readonly CLOSE_X=225 CLOSE_Y=11 # the "X" of the clock row, relative to the window
readonly SLOT1_X=24 SLOT1_Y=46  # the first launch slot's button
readonly TIMEOUT=15

binary=${1:?usage: $0 <stackle binary>}
work=$(mktemp -d "${TMPDIR:-/tmp}/stackle-hostile.XXXXXX") || exit 1
progdir=$work/program
xvfb_pid="" app_pid="" other_pid=""

cleanup() {
    for pid in $app_pid $other_pid $xvfb_pid; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -s $work/app.log ]] && sed 's/^/  | /' "$work/app.log" >&2
    exit 1
}

# The program's visible windows other than the strip: pop-ups such as a hint.
others() { xdotool search --onlyvisible --classname '^stackle$' 2>/dev/null | grep -v "^$strip\$"; }

# Sets strip to the program's visible window of the strip's size (the splash shows before it).
find_strip() { find_program_window "$STRIP_W" "$STRIP_H" && strip=$window; }

mkdir -p "$progdir" && cp "$binary" "$progdir/stackle" && cp "$(dirname "$binary")/empty.ico" "$progdir/" ||
    fail "could not set up the program directory"
printf '[Help]\r\nVisible=0\r\n' >"$progdir/FILE.INI"
start_xvfb "$work" "${SCREEN_W}x${SCREEN_H}x24" || fail "could not start Xvfb"
use_runtime_dir "$work" || fail "could not make a runtime directory"

echo "--- Qt's own options change nothing"
"$progdir/stackle" -geometry +10+10 -reverse -title Hacked -style fusion >"$work/app.log" 2>&1 &
app_pid=$!
wait_for "$TIMEOUT" find_strip || fail "no strip appeared"
eval "$(xdotool getwindowgeometry --shell "$strip")"
[[ $X -eq $DEFAULT_X && $Y -eq 0 ]] || fail "the strip came up at $X,$Y, not at its own place $DEFAULT_X,0"
[[ $WIDTH -eq $STRIP_W && $HEIGHT -eq $STRIP_H ]] || fail "the strip is ${WIDTH}x$HEIGHT"
name=$(xdotool getwindowname "$strip")
[[ $name == Stackle ]] || fail "the strip is titled \"$name\""

echo "--- a hint shows while another program has the focus"
xmessage -geometry +500+400 "another program" 2>/dev/null &
other_pid=$!
other_window() { other=$(xdotool search --onlyvisible --name '^xmessage$' 2>/dev/null | head -n 1); [[ -n $other ]]; }
wait_for "$TIMEOUT" other_window || fail "the other program's window did not appear"
xdotool windowfocus --sync "$other" || fail "could not give the other window the focus"
xdotool mousemove $((X + SLOT1_X)) $((Y + SLOT1_Y)) || fail "could not move the pointer"
wait_for "$TIMEOUT" others >/dev/null || fail "no hint appeared over the first slot while another window had the focus"

echo "--- \"X\" stores the strip's own place"
xdotool mousemove $((X + CLOSE_X)) $((Y + CLOSE_Y)) click 1 || fail "could not click \"X\""
wait_for "$TIMEOUT" eval '! kill -0 $app_pid 2>/dev/null' || fail "the program did not end"
wait "$app_pid" || fail "the program ended with a failure"
app_pid=""
grep -q "XPos=$DEFAULT_X" "$progdir/FILE.INI" || fail "FILE.INI holds $(cat "$progdir/FILE.INI")"

echo PASS
