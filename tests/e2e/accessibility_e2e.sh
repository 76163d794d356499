#!/usr/bin/env bash
# End-to-end check of what a screen reader sees of the strip, through the real accessibility bus
# (AT-SPI) on a virtual X server, with a private session bus, the bus launcher and the registry:
#   the strip is a frame named Stackle, active once clicked;
#   a slot button is a push button named after its main file, with the full path as its
#   description, and an empty one says so;
#   "A" and "P" are named for what they do; "P" is a check box whose checked state follows a
#   click, reported as an event and when asked;
#   the clock row's buttons and the tabs are named;
#   the press action of a slot button starts its main program, once;
#   the focus moved onto a slot button by the Right key is reported.
#
# Usage: accessibility_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

readonly MAX_RUNTIME=100 # seconds for the whole run, below the test runner's limit
readonly LAUNCHER=/usr/libexec/at-spi-bus-launcher
CLIENT=$(dirname "$0")/accessible_tree.py
readonly CLIENT
readonly PARAM1="Open pop-up files with the main program (slot 1)"

take_binary "$@"
require_tools Xvfb xdotool dbus-daemon dbus-send "$LAUNCHER" /usr/bin/python3
make_program_dir stackle-accessibility-e2e
bus_pid="" launcher_pid=""
trap 'cleanup; end_processes "$launcher_pid" "$bus_pid"' EXIT

show_state() {
    show_app_log
    local log
    for log in "$work"/dbus.log "$work"/launcher.log "$work"/client.log; do
        [[ -s $log ]] && sed "s/^/  ${log##*/} | /" "$log" >&2
    done
}

a11y_bus_owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}

# A session bus of its own, with the accessibility bus launcher on it, and assistive technologies
# switched on as a desktop does it: its org.a11y.Status IsEnabled property, which Qt reads when
# the program starts. The launcher runs without the display, so that it sets no AT_SPI_BUS
# property on the root window: on X11 that alone would switch Qt's bridge on as well.
start_accessibility_bus() {
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus.address" >"$work/dbus.log" 2>&1 &
    bus_pid=$!
    wait_for "$TIMEOUT" test -s "$work/bus.address" || fail "the session bus did not start"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus.address")
    export DBUS_SESSION_BUS_ADDRESS
    env -u DISPLAY GSETTINGS_BACKEND=memory "$LAUNCHER" >"$work/launcher.log" 2>&1 &
    launcher_pid=$!
    wait_for "$TIMEOUT" a11y_bus_owned || fail "the accessibility bus launcher did not take its name"
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
        string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null ||
        fail "could not switch assistive technologies on"
}

client() { /usr/bin/python3 "$CLIENT" "$app_pid" "$@" 2>"$work/client.log"; }

# expect_control <role|name|description|...>: the strip shows a control whose line in the tree
# begins so.
expect_control() {
    grep -Fq -- "$1" <<<"$tree" || fail "no control \"$1\" in the tree:"$'\n'"$tree"
}

# field_of <role> <name> <field>: one field of the control's line (4 states, 5 actions), one item
# a line.
field_of() { grep -F -- "$1|$2|" <<<"$tree" | head -n 1 | cut -d '|' -f "$3" | tr ',' '\n'; }

# The program to start from slot 1 notes each start.
recorder=$progdir/record-start.sh
printf '#!/bin/sh\necho started >>"%s"\n' "$work/starts" >"$recorder" || fail "could not write $recorder"
chmod +x "$recorder" || fail "could not make $recorder executable"
printf '[EXE]\nEXE1=%s\n[Help]\nVisible=0\n' "$recorder" >"$progdir/FILE.INI" || fail "could not write FILE.INI"

start_display
start_accessibility_bus
start_app

step "the names, roles and descriptions a screen reader reads"
tree=$(client tree) || fail "could not read the program's controls"
expect_control "push button|record-start.sh|$recorder|"
expect_control "push button|Empty slot||"
expect_control "frame|Stackle|"
expect_control "push button|Launch all files (slot 1)|"
expect_control "check box|$PARAM1|"
field_of "check box" "$PARAM1" 5 | grep -qx Toggle || fail "\"P\" has no toggle action"
field_of "push button" "record-start.sh" 5 | grep -qx Press || fail "the slot button has no press action"
expect_control "push button|Minimize|"
expect_control "push button|Exit|"
expect_control "push button|Next tab|"
expect_control "page tab|Group2|"

step "\"P\" is unchecked, and checked after a click on it"
field_of "check box" "$PARAM1" 4 | grep -qx checked && fail "\"P\" of slot 1 starts checked"
read -r x y < <(client centre "check box" "$PARAM1") || fail "could not find where \"P\" is"
checked=$(client watch "check box" "$PARAM1" checked xdotool mousemove "$x" "$y" click 1) ||
    fail "a click on \"P\" changed no checked state"
[[ $checked == "true true" ]] || fail "after a click \"P\" reports checked \"$checked\" (event, asked), expected true"

step "the press action of slot 1 starts its main program"
client act "push button" "record-start.sh" Press || fail "could not press the slot button"
wait_for "$TIMEOUT" test -s "$work/starts" || fail "the slot's main program did not start"
sleep 1
[[ $(wc -l <"$work/starts") -eq 1 ]] || fail "the slot's main program started $(wc -l <"$work/starts") times"

step "the strip is the active frame once clicked"
tree=$(client tree) || fail "could not read the program's controls"
field_of frame Stackle 4 | grep -qx active || fail "the strip is not active after a click on it:"$'\n'"$tree"

step "Right moves the focus onto the first slot, and the screen reader hears of it"
strip=$(xdotool search --onlyvisible --name '^Stackle$' 2>/dev/null | head -n 1)
[[ -n $strip ]] && xdotool windowfocus --sync "$strip" || fail "could not give the strip the focus"
focused=$(client watch "push button" "record-start.sh" focused xdotool key Right) ||
    fail "the slot button reported no focus after Right"
[[ $focused == "true true" ]] || fail "after Right the slot button reports focused \"$focused\" (event, asked)"

echo "PASS"
