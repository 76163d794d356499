#!/usr/bin/env bash
# End-to-end check of a start without a usable session bus, on a virtual X server with an XEmbed
# tray (trayer) and no window manager: the strip takes a click made as soon as it shows, and the
# icon goes to the XEmbed tray at once,
#   with no session bus at all (no DBUS_SESSION_BUS_ADDRESS, nothing at $XDG_RUNTIME_DIR/bus),
#   where libdbus may first start a bus of its own;
#   with a session bus that takes 5 s to answer, as such a start may;
# and "X" still ends the program.
#
# Usage: nobus_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/tray.sh"

readonly MAX_RUNTIME=110 # seconds for the whole run, below the test runner's limit
readonly SHRINK_X=106 SHRINK_Y=14 # the shrink button, relative to the strip
readonly PROMPT_MS=2000 # how soon the strip and the tray must have acted, in milliseconds

take_binary "$@"
require_tools Xvfb xdotool xwininfo trayer sleep
make_program_dir stackle-nobus-e2e

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# within_ms <ms> <command...>: runs the command every 20 ms until it succeeds; fails after <ms>.
within_ms() {
    local deadline=$(($(now_ms) + $1))
    shift
    until "$@"; do
        (($(now_ms) < deadline)) || return 1
        sleep 0.02
    done
}

strip_shown() { find_program_window "$STRIP_W" "$STRIP_H"; }
# shellcheck disable=SC2154 # window: set by find_program_window
shrunk() { read_geometry "$window" && ((HEIGHT < STRIP_H)); }

# expect_prompt_start <what>: the strip shows, a click on its shrink button at once shrinks it,
# and the icon is in trayer's window, each within PROMPT_MS; then "X" ends the program.
expect_prompt_start() {
    write_ini "$progdir" '[Help]\r\nVisible=0\r\n'
    start_app
    wait_for "$TIMEOUT" strip_shown || fail "$1: no strip within $TIMEOUT s"
    xdotool mousemove $((X + SHRINK_X)) $((Y + SHRINK_Y)) click 1 || fail "xdotool could not click"
    within_ms "$PROMPT_MS" shrunk || fail "$1: a click as the strip showed did nothing within $PROMPT_MS ms"
    within_ms "$PROMPT_MS" find_trayer_icon || fail "$1: the icon is not in trayer's window within $PROMPT_MS ms"
    xdotool mousemove $((X + STRIP_CLOSE_X)) $((Y + STRIP_CLOSE_Y)) click 1 || fail "xdotool could not click"
    expect_app_exit "$1, \"X\""
}

step "starting Xvfb and trayer, without a window manager and without a session bus"
start_display
unset DBUS_SESSION_BUS_ADDRESS
start_trayer "$work/trayer.log" "$TIMEOUT" || fail "trayer's window did not appear"
[[ ! -e $XDG_RUNTIME_DIR/bus ]] || fail "a bus is at $XDG_RUNTIME_DIR/bus"

step "no session bus: the strip takes a click at once, the icon is in the XEmbed tray"
expect_prompt_start "no session bus"

step "a session bus that answers after 5 s: the same"
# libdbus runs the program and talks to it as to a bus; it ends without a word after 5 s.
DBUS_SESSION_BUS_ADDRESS="unixexec:path=$(command -v sleep),argv1=5"
export DBUS_SESSION_BUS_ADDRESS
expect_prompt_start "a slow session bus"

echo "PASS"
