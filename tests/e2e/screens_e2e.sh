#!/usr/bin/env bash
# End-to-end check of the strip on several monitors and workspaces, on a virtual X server twice
# as wide as one monitor, which RandR splits into two monitors side by side; first without a
# window manager, then with one (openbox, or xfwm4 alone when asked for):
#   a strip on a monitor that is removed while it runs, or that is gone before it starts, comes
#   wholly onto the remaining monitor by the least move, and the stored place stays as it was;
#   a screen that shrinks under the running strip brings it back onto the screen;
#   under the window manager with four workspaces the strip is on every one of them from its
#   first showing, also after "-" and a second start that brings it back, and after it was put
#   on one workspace alone.
#
# Usage: screens_e2e.sh <path to the stackle binary> [openbox|xfwm4]
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

readonly MIN_X=212 MIN_Y=11 # middle of the "-" button, relative to the strip
readonly MAX_RUNTIME=100    # seconds for the whole run, below the test runner's limit
readonly WIDE_W=$((2 * SCREEN_W))
readonly STORED_X=1500 STORED_Y=100     # wholly on the right monitor
readonly KEPT_X=$((SCREEN_W - STRIP_W)) # the least move from there onto the left monitor

take_binary_and_window_manager "$@"
require_tools Xvfb xdotool xwininfo xrandr "$window_manager" wmctrl cmp od
make_program_dir stackle-screens-e2e
ini=$progdir/FILE.INI

show_state() {
    show_app_log
    [[ -n ${DISPLAY:-} ]] && xrandr --listmonitors 2>&1 | sed 's/^/  # /' >&2
    [[ -e $ini ]] && od -c "$ini" | sed 's/^/  | /' >&2
}

# Sets $strip to the viewable strip of the current run, not the splash.
find_strip() {
    local w
    app_running || fail "the program ended before its strip appeared"
    for w in $(xdotool search --onlyvisible --pid "$app_pid" --classname '^stackle$' 2>/dev/null); do
        read_geometry "$w" || continue
        [[ $WIDTH == "$STRIP_W" && $HEIGHT == "$STRIP_H" ]] && ! is_splash "$w" && strip=$w && return 0
    done
    return 1
}
viewable() { xwininfo -id "$strip" 2>/dev/null | grep -q 'Map State: IsViewable'; }
at_place() { read_geometry "$strip" && [[ $X -eq $1 && $Y -eq $2 ]]; }

expect_strip_at() {
    wait_for "$TIMEOUT" find_strip || fail "$3: no viewable strip within $TIMEOUT s"
    wait_for "$TIMEOUT" at_place "$1" "$2" || fail "$3: strip at ${X:-?},${Y:-?}, expected $1,$2"
}

# start_at <x> <y>: a new run whose stored place is x,y.
start_at() {
    printf '[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n[EXE]\r\nXPos=%d\r\nYPos=%d\r\n' "$1" "$2" >"$ini" || fail "could not write FILE.INI"
    cp "$ini" "$work/stored.ini"
    start_app
}
# The run has stored nothing: the place stays the one start_at wrote.
expect_place_kept() { cmp -s "$work/stored.ini" "$ini" || fail "$1: the settings file changed"; }
end_run() {
    end_processes "$app_pid"
    app_pid=""
}

# Two monitors side by side, named left and right.
split_screen() {
    xrandr --setmonitor left "$SCREEN_W/270x$SCREEN_H/203+0+0" screen >/dev/null || fail "xrandr: no left monitor"
    xrandr --setmonitor right "$SCREEN_W/270x$SCREEN_H/203+$SCREEN_W+0" none >/dev/null || fail "xrandr: no right monitor"
}
# One monitor of the whole screen, as the X server has it by itself.
whole_screen() {
    xrandr --delmonitor left >/dev/null || fail "xrandr could not remove the left monitor"
}
# The screen, at the wide size or the size of one monitor.
set_screen_size() { xrandr --output screen --mode "$1" --fb "$1" || fail "xrandr could not make the screen $1"; }

four_workspaces() { [[ $(wmctrl -d 2>/dev/null | wc -l) -eq 4 ]]; }

# expect_viewable_on <what> <workspace>...: switches to each workspace in turn; the strip is
# viewable on every one.
expect_viewable_on() {
    local what=$1 desktop
    shift
    for desktop; do
        xdotool set_desktop "$desktop" || fail "xdotool could not switch to workspace $desktop"
        wait_for "$TIMEOUT" on_workspace "$desktop" || fail "$window_manager did not switch to workspace $desktop"
        sleep 0.2
        viewable || fail "$what: the strip is not viewable on workspace $desktop"
    done
}

check_monitors() {
    step "$1: a strip stored on the right monitor starts there"
    split_screen
    start_at "$STORED_X" "$STORED_Y"
    expect_strip_at "$STORED_X" "$STORED_Y" "start on two monitors"

    step "$1: the right monitor goes while the strip runs"
    xrandr --delmonitor right >/dev/null || fail "xrandr could not remove the right monitor"
    expect_strip_at "$KEPT_X" "$STORED_Y" "after the right monitor went"
    expect_place_kept "after the right monitor went"
    end_run

    step "$1: a start with the stored place on the removed monitor"
    start_at "$STORED_X" "$STORED_Y"
    expect_strip_at "$KEPT_X" "$STORED_Y" "start with the right monitor gone"
    expect_place_kept "start with the right monitor gone"
    end_run

    step "$1: the screen shrinks under the running strip"
    whole_screen
    start_at "$STORED_X" "$STORED_Y"
    expect_strip_at "$STORED_X" "$STORED_Y" "start on the wide screen"
    set_screen_size "$NARROW"
    expect_strip_at "$KEPT_X" "$STORED_Y" "after the screen shrank"
    expect_place_kept "after the screen shrank"
    end_run
    set_screen_size "$WIDE"
}

step "starting Xvfb with a screen for two monitors"
start_xvfb "$work" "${WIDE_W}x${SCREEN_H}x24" || fail "could not start Xvfb"
use_runtime_dir "$work" || fail "could not make a runtime directory"
readonly WIDE=${WIDE_W}x$SCREEN_H NARROW=${SCREEN_W}x$SCREEN_H
xrandr --newmode "$NARROW" 60 "$SCREEN_W" 1100 1200 1300 "$SCREEN_H" 800 810 820 || fail "xrandr: no narrow mode"
xrandr --addmode screen "$NARROW" || fail "xrandr could not add the narrow mode to the screen"

default_run && check_monitors "without a window manager"

start_wm
check_monitors "under $window_manager"

step "under $window_manager: the strip is on each of four workspaces from its first showing"
wmctrl -n 4 || fail "wmctrl could not ask for four workspaces"
wait_for "$TIMEOUT" four_workspaces || fail "$window_manager did not make four workspaces"
start_at 300 200
expect_strip_at 300 200 "start on the first workspace"
expect_viewable_on "after the start" 1 2 3 0

step "under $window_manager: \"-\", then a second start on the third workspace, brings it back on every workspace"
xdotool mousemove $((X + MIN_X)) $((Y + MIN_Y)) click 1 || fail "xdotool could not click \"-\""
wait_for "$TIMEOUT" eval '! viewable' || fail "\"-\" left the strip viewable"
xdotool set_desktop 2 || fail "xdotool could not switch to workspace 2"
wait_for "$TIMEOUT" on_workspace 2 || fail "$window_manager did not switch to workspace 2"
second_start() {
    local first_pid=$app_pid first_strip=$strip
    start_app
    expect_app_exit "a second start"
    app_pid=$first_pid strip=$first_strip
}
second_start
wait_for "$TIMEOUT" viewable || fail "the second start did not bring the strip back on workspace 2"
expect_viewable_on "brought back" 0 3
expect_place_kept "after switching workspaces"

step "under $window_manager: put on the second workspace alone, a second start brings it to the one on view"
wmctrl -i -r "$strip" -b remove,sticky || fail "wmctrl could not take the strip off every workspace"
wmctrl -i -r "$strip" -t 1 || fail "wmctrl could not put the strip on the second workspace"
wait_for "$TIMEOUT" eval '! viewable' || fail "the strip stayed on workspace 3 when put on the second one"
second_start
wait_for "$TIMEOUT" viewable || fail "the second start did not bring the strip to workspace 3"
expect_viewable_on "brought to the workspace on view" 2 0

echo "PASS"
