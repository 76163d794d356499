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
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

readonly NOTES_W=559 NOTES_H=321
readonly N_X=195 N_Y=13        # the yellow "N", relative to the strip
readonly MEMO_X=200 MEMO_Y=100 # inside the memo, relative to the notes window
readonly LABEL2_X=480 LABEL2_Y=44
readonly EXIT_X=57 EXIT_Y=297

take_binary "$@"
require_tools Xvfb xdotool cmp od
make_program_dir stackle-notes-e2e

show_state() {
    local f
    show_app_log
    for f in "$progdir"/note*.dat "$progdir/FILE.INI"; do
        [[ -e $f ]] && { echo "$(basename "$f"):" >&2; od -c "$f" | sed 's/^/  | /' >&2; }
    done
}

# find_window <exact name>: sets window to the visible window of that name that is no splash;
# fails the run when the program has ended.
find_window() {
    app_running || fail "the program ended"
    find_titled "$1"
}
no_notes_window() { ! find_window Notes; }

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
    notes=$window
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
start_display
printf 'first line\r\nsecond' >"$progdir/note1.dat"

step "the strip's \"N\" opens the notes window"
start_app
wait_for "$TIMEOUT" find_window Stackle || fail "the strip did not appear"
strip=$window
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
xdotool mousemove $((SX + STRIP_CLOSE_X)) $((SY + STRIP_CLOSE_Y)) click 1 || fail "xdotool could not click \"X\""
expect_app_exit "the strip's \"X\""
echo "PASS"
