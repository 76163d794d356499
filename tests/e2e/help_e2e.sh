#!/usr/bin/env bash
# End-to-end check of the help window on a virtual X server without a window manager:
#   first start in a fresh program directory -> a window titled "Help" opens by itself, centred
#   across the screen, its top one pixel below the strip's bottom edge, showing the yellow memo;
#   a click on the picture's clock -> the memo gives way to the explanation;
#   "Exit" in the help window -> the help window goes, the strip keeps running;
#   "?" twice on the strip -> exactly one help window;
#   second start -> no help window opens by itself.
#
# Usage: help_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
source "$(dirname "$0")/../../scripts/xvfb.sh"

readonly STRIP_W=236 STRIP_H=104
readonly SCREEN_W=1024 SCREEN_H=768
readonly HELP_X=$(((SCREEN_W - 500) / 2)) # centred by its outer width of 500
readonly STRIP_CLOSE_X=225 STRIP_CLOSE_Y=11 # the strip's "X", relative to the strip
readonly STRIP_HELP_X=220 STRIP_HELP_Y=69   # the strip's "?" button
readonly EXIT_X=29 EXIT_Y=13                # the help window's "Exit" button
readonly MOCK_CLOCK_X=250 MOCK_CLOCK_Y=10   # the clock of the strip's picture
readonly MEMO_X=150 MEMO_Y=300              # a point inside the memo, below its text's first lines
readonly TIMEOUT=15
readonly MAX_RUNTIME=100

fail() {
    echo "FAIL: $*" >&2
    if [[ -n ${work:-} && -s $work/app$run.log ]]; then
        echo "program output (run $run):" >&2
        sed 's/^/  | /' "$work/app$run.log" >&2
    fi
    exit 1
}
step() { echo "--- $*"; }

if [[ $# -ne 1 || ! -x $1 ]]; then
    echo "usage: $0 <stackle binary>" >&2
    exit 1
fi
binary=$1

source "$(dirname "$0")/program.sh"
require_tools Xvfb xdotool xprop import
make_program_dir stackle-help-e2e

# Prints the visible windows titled exactly $1 (xdotool matches names ignoring case).
windows_named() {
    local w
    for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        [[ $(xdotool getwindowname "$w" 2>/dev/null) == "$1" ]] || continue
        xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_SPLASH && continue
        echo "$w"
    done
}

find_strip() { strip=$(windows_named Stackle | head -n 1) && [[ -n $strip ]]; }
find_help() { help=$(windows_named Help | head -n 1) && [[ -n $help ]]; }
help_count() { windows_named Help | wc -l; }
no_help() { [[ $(help_count) -eq 0 ]]; }

# geometry <window> <prefix>: sets <prefix>X, <prefix>Y, <prefix>W and <prefix>H.
geometry() {
    local out X Y WIDTH HEIGHT
    out=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
    eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=-?[0-9]+$' <<<"$out")"
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

step "starting Xvfb"
start_xvfb "$work" "${SCREEN_W}x${SCREEN_H}x24" || fail "could not start Xvfb"
use_runtime_dir "$work" || fail "could not make a runtime directory"
cp "$binary" "$progdir/stackle" || fail "could not copy $binary"
cp "$(dirname "$binary")/empty.ico" "$progdir/" || fail "empty.ico is not next to $binary"

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
wait_for "$TIMEOUT" eval '! app_running' || fail "the program still runs after \"X\""
wait "$app_pid" || fail "the program ended with exit code $?"
app_pid=""

step "second start: no help window"
start_app
wait_for "$TIMEOUT" find_strip || fail "no strip within $TIMEOUT s of the second start"
sleep 1.5
no_help || fail "the second start opened a help window"
geometry "$strip" S || fail "could not read the strip's geometry"
click_at $((SX + STRIP_CLOSE_X)) $((SY + STRIP_CLOSE_Y))
wait_for "$TIMEOUT" eval '! app_running' || fail "the program still runs after \"X\""
app_pid=""

echo "PASS"
