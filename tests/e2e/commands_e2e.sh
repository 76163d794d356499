#!/usr/bin/env bash
# End-to-end check of the commands a desktop's keys or a terminal hand to the strip, on a virtual X
# server with a window manager (openbox), the slots' files being scripts that note each start:
#   a command with no strip running starts one, which then acts;
#   --launch N and --launch-all N start what a click on the button or the "A" starts, and the
#   command ends at once with status 0;
#   --toggle takes the strip off the screen, --show brings it back, --group G
#   shows group G, --notes opens the notes window;
#   --help and --version print and change nothing; a bad slot number prints one line and ends
#   with status 2, changing nothing;
#   an argument that is no command brings the strip back as a second start does.
#
# Usage: commands_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/tray.sh"

readonly MAX_RUNTIME=110 # seconds for the whole run, below the test runner's limit
readonly SLOT1_X=24 SLOT1_Y=46 # the first button of the group on view, relative to the strip
readonly QUICK_MS=2000 # the longest a command to a running strip may take

take_binary "$@"
require_tools Xvfb xdotool xprop xwininfo openbox
make_program_dir stackle-commands-e2e
recorder "$progdir" main
recorder "$progdir" listed
recorder "$progdir" five
write_ini "$progdir" "[Help]\r\nVisible=0\r\n[EXE]\r\nEXE1=$progdir/main.sh\r\nEXE5=$progdir/five.sh\r\n"
printf 'listed.sh    *%s\r\n' "$progdir/listed.sh" >"$progdir/flist1.dll"

# run_command <expected status> <arguments...>: runs the program with the arguments and waits for it;
# sets out and err to what it printed; fails unless it ended with that status within QUICK_MS.
run_command() {
    local expected=$1 status started elapsed
    shift
    started=$(date +%s%N)
    "$progdir/stackle" "$@" >"$work/out" 2>"$work/err"
    status=$?
    elapsed=$((($(date +%s%N) - started) / 1000000))
    out=$(cat "$work/out") err=$(cat "$work/err")
    ((status == expected)) || fail "stackle $*: status $status, expected $expected (stderr: $err)"
    ((elapsed <= QUICK_MS)) || fail "stackle $* took $elapsed ms"
}

iconic() { xprop -id "$strip" WM_STATE 2>/dev/null | grep -q Iconic; }
expect_shown() { wait_for "$TIMEOUT" eval 'strip_viewable && ! iconic' || fail "$1: the strip is not on screen"; }
expect_hidden() { wait_for "$TIMEOUT" eval '! strip_viewable || iconic' || fail "$1: the strip is still on screen"; }

start_display
start_openbox "$work/openbox.log" "$TIMEOUT" || fail "openbox did not start"

step "a command with no strip running starts one, which then acts"
start_app "$progdir/stackle" --launch 1
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "stackle --launch 1 with no strip running"
expect_starts "--launch 1 with no strip running" main

step "--launch and --launch-all act on the running strip and end at once"
run_command 0 --launch 1
expect_starts "--launch 1" main
run_command 0 --launch-all=1
expect_starts "--launch-all 1" main listed

step "--toggle takes the strip away; --show brings it back"
run_command 0 --toggle
expect_hidden "--toggle"
run_command 0 --show
expect_shown "--show"

step "--group 2 shows group 2"
run_command 0 --toggle
expect_hidden "--toggle"
run_command 0 --group 2
expect_shown "--group 2"
read_geometry "$strip" || fail "could not read the strip's place"
xdotool mousemove $((X + SLOT1_X)) $((Y + SLOT1_Y)) click 1 || fail "could not click the first button"
expect_starts "a click on the first button of group 2" five
run_command 0 --group 1

step "--notes opens the notes window"
run_command 0 --notes
wait_for "$TIMEOUT" find_titled Notes || fail "no notes window appeared"
xdotool windowactivate --sync "$window" key Escape || fail "could not close the notes window"
wait_for "$TIMEOUT" eval '! viewable "$window"' || fail "the notes window stayed"

step "--help and --version print and change nothing"
run_command 0 --help
grep -q -- '--launch N' <<<"$out" || fail "--help printed: $out"
run_command 0 --version
[[ $out == "Stackle 2.0" ]] || fail "--version printed: $out"

step "a bad slot number prints one line and ends with status 2, changing nothing"
run_command 2 --launch 13
[[ -n $err && $(wc -l <<<"$err") -eq 1 && -z $out ]] || fail "stackle --launch 13 printed \"$out\" and \"$err\""
sleep 0.5
[[ ! -s $work/starts ]] || fail "a bad command started $(cat "$work/starts")"
expect_shown "after a bad command"

step "an argument that is no command brings the strip back as a second start does"
run_command 0 --toggle
expect_hidden "--toggle"
run_command 0 --frobnicate /etc/hostname -geometry +0+0
expect_shown "a start with arguments that are no commands"
at_place "$DEFAULT_X" "$DEFAULT_Y" || fail "the strip came back at $X,$Y"

click_at "$STRIP_CLOSE_X" "$STRIP_CLOSE_Y"
expect_app_exit "\"X\""
echo PASS
