#!/usr/bin/env bash
# End-to-end check of the notes window on a virtual X server without a window manager:
#   the strip's "N" opens the modal "Notes" window, centred, with note 1 of the program directory;
#   typing in the memo, renaming note 2 by a double click and Enter, "E&xit" -> note1.dat and the
#   eight names stored, the window gone, the strip still running;
#   opening and leaving it again changes nothing; "X" ends the program.
#
# Usage: notes_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
source "$(dirname "$0")/../../scripts/xvfb.sh"

readonly SCREEN_W=1024 SCREEN_H=768
readonly NOTES_W=559 NOTES_H=321
readonly N_X=195 N_Y=13         # the yellow "N", relative to the strip
readonly CLOSE_X=225 CLOSE_Y=11 # the strip's "X"
readonly MEMO_X=200 MEMO_Y=100  # inside the memo, relative to the notes window
readonly LABEL2_X=480 LABEL2_Y=44
readonly EXIT_X=57 EXIT_Y=297
readonly TIMEOUT=15

fail() {
    echo "FAIL: $*" >&2
    [[ -s $work/app.log ]] && sed 's/^/  | /' "$work/app.log" >&2
    for f in "$progdir"/note*.dat "$progdir/FILE.INI"; do
        [[ -e $f ]] && { echo "$(basename "$f"):" >&2; od -c "$f" | sed 's/^/  | /' >&2; }
    done
    exit 1
}
step() { echo "--- $*"; }

if [[ $# -ne 1 || ! -x $1 ]]; then
    echo "usage: $0 <stackle binary>" >&2
    exit 1
fi
for tool in Xvfb xdotool cmp od; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/stackle-notes-e2e.XXXXXX") || exit 1
progdir=$work/program
mkdir "$progdir" || exit 1
xvfb_pid="" app_pid=""

# Ends the program and the X server, whichever still run, and removes the work folder.
cleanup() {
    local pid
    for pid in $app_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

app_running() { kill -0 "$app_pid" 2>/dev/null; }

# find_window <exact name>: sets $found to the visible window of that name that is no splash.
find_window() {
    local w
    app_running || fail "the program ended"
    for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        [[ $(xdotool getwindowname "$w" 2>/dev/null) == "$1" ]] || continue
        xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_SPLASH && continue
        found=$w
        return 0
    done
    return 1
}
no_notes_window() { ! find_window Notes; }

# Sets X, Y, WIDTH and HEIGHT from a window's geometry.
read_geometry() {
    local out
    out=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
    eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9]+$' <<<"$out")"
}

# expect_file <name> <printf format of the expected bytes>
expect_file() {
    # shellcheck disable=SC2059
    printf "$2" >"$work/expected"
    cmp -s "$work/expected" "$progdir/$1" || fail "$1 does not hold $(od -c "$work/expected")"
}

# Opens the notes window from the strip; sets notes, NX and NY.
open_notes() {
    xdotool mousemove $((SX + N_X)) $((SY + N_Y)) click 1 || fail "xdotool could not click \"N\""
    wait_for "$TIMEOUT" find_window Notes || fail "no window named \"Notes\" after a click on \"N\""
    notes=$found
    read_geometry "$notes" || fail "no geometry of the notes window"
    [[ $WIDTH -eq $NOTES_W && $HEIGHT -eq $NOTES_H ]] || fail "the notes window is ${WIDTH}x${HEIGHT}"
    local cx=$(((SCREEN_W - NOTES_W) / 2)) cy=$(((SCREEN_H - NOTES_H) / 2))
    ((X >= cx - 1 && X <= cx + 1 && Y >= cy - 1 && Y <= cy + 1)) || fail "the notes window is at $X,$Y, not centred"
    NX=$X NY=$Y
}

leave_notes() {
    xdotool mousemove $((NX + EXIT_X)) $((NY + EXIT_Y)) click 1 || fail "xdotool could not click \"E&xit\""
    wait_for "$TIMEOUT" no_notes_window || fail "the notes window is still open after \"E&xit\""
}

step "starting Xvfb"
start_xvfb "$work" "${SCREEN_W}x${SCREEN_H}x24" || fail "could not start Xvfb"
use_runtime_dir "$work" || fail "could not make a runtime directory"
cp "$1" "$progdir/stackle" || fail "could not copy $1"
cp "$(dirname "$1")/empty.ico" "$progdir/" || fail "empty.ico is not next to $1"
printf 'first line\r\nsecond' >"$progdir/note1.dat"

step "the strip's \"N\" opens the notes window"
(cd / && exec "$progdir/stackle") >"$work/app.log" 2>&1 &
app_pid=$!
wait_for "$TIMEOUT" find_window Stackle || fail "the strip did not appear"
strip=$found
read_geometry "$strip" || fail "no geometry of the strip"
SX=$X SY=$Y
open_notes

step "typing in note 1, renaming note 2, \"E&xit\""
xdotool mousemove $((NX + MEMO_X)) $((NY + MEMO_Y)) click 1 key ctrl+End || fail "xdotool could not reach the memo"
xdotool type --delay 20 " typed" || fail "xdotool could not type"
# The double click's first click switches to note 2: note 1 is saved then.
xdotool mousemove $((NX + LABEL2_X)) $((NY + LABEL2_Y)) click --repeat 2 --delay 60 1 || fail "no double click"
wait_for "$TIMEOUT" test -s "$progdir/note1.dat" || fail "note1.dat vanished"
expect_file note1.dat 'first line\r\nsecond typed'
xdotool type --delay 20 "Groceries" && xdotool key Return || fail "xdotool could not type the name"
leave_notes
expect_file note2.dat ''
expect_file FILE.INI '[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n[Notes]\r\nNote1=Note #1\r\nNote2=Groceries\r\nNote3=Note #3\r\nNote4=Note #4\r\nNote5=Note #5\r\nNote6=Note #6\r\nNote7=Note #7\r\nNote8=Note #8\r\n'
app_running || fail "the program ended with the notes window"

step "opening and leaving the notes again changes nothing"
cp "$progdir/FILE.INI" "$work/ini.before"
open_notes
leave_notes
expect_file note1.dat 'first line\r\nsecond typed'
cmp -s "$work/ini.before" "$progdir/FILE.INI" || fail "FILE.INI changed"

step "the strip's \"X\" ends the program"
xdotool mousemove $((SX + CLOSE_X)) $((SY + CLOSE_Y)) click 1 || fail "xdotool could not click \"X\""
wait_for "$TIMEOUT" eval '! app_running' || fail "the program is still running"
wait "$app_pid" || fail "the program ended with a failure"
app_pid=""
echo "PASS"
