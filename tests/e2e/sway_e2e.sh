#!/usr/bin/env bash
# End-to-end check of the strip under sway, a Wayland compositor that tiles windows, through
# Xwayland: a headless sway session of its own, run by a user made for the test (sway refuses to
# run as root) in a mount namespace of its own, so that Xwayland's display clashes with nothing:
#   a start shows the strip at its stored place, as the screen itself (grim) shows it, through
#   Xwayland also when the environment asks Qt for Wayland;
#   the strip stays above a floating window moved over it, and shows on another workspace;
#   dragged by its clock it moves, and "X" stores the new place;
#   the first start's help window floats at its own size instead of being tiled, and so does the
#   options window.
# Mouse input goes through Xwayland (xdotool): a headless sway has no pointer of its own.
#
# Usage: sway_e2e.sh <path to the stackle binary>
# Exit status: 0 passed, 1 failed, 77 skipped (not run as root).
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

readonly MAX_RUNTIME=100 # seconds for the whole run, below the test runner's limit
readonly STORED_X=300 STORED_Y=200
readonly CLOCK_X=20 CLOCK_Y=10   # a bare part of the strip, relative to it
readonly OPTIONS_X=166 OPTIONS_Y=14 # the strip's "Options" button

take_binary "$@"
if [[ $(id -u) -ne 0 ]]; then
    echo "${0##*/}: skipped: making the user that runs sway needs root" >&2
    exit 77
fi
require_tools sway Xwayland swaymsg grim xmessage xdotool xwininfo import compare useradd userdel setpriv unshare python3
make_program_dir stackle-sway-e2e
chmod 755 "$work" || fail "could not open $work to the session's user"
user=stackle-sway-$$ sway_pid="" launches=0
trap sway_cleanup EXIT

show_state() {
    show_app_log
    [[ -s $work/sway.log ]] && tail -n 20 "$work/sway.log" | sed 's/^/  sway | /' >&2
}

# sway_cleanup: ends the session and whatever of its user still runs, removes the user, then
# what cleanup does.
# shellcheck disable=SC2317 # run by the trap
sway_cleanup() {
    local pid
    end_processes "$sway_pid"
    if id "$user" >/dev/null 2>&1; then
        for pid in $(ps -u "$user" -o pid= 2>/dev/null); do
            kill "$pid" 2>/dev/null
        done
        sleep 0.2
        userdel "$user" 2>/dev/null
    fi
    cleanup
}

# as_user <command...>: runs the command as the session's user, with the session's runtime
# directory, sway's socket and its Wayland display.
as_user() {
    setpriv --reuid="$user" --regid="$user" --init-groups env HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
        SWAYSOCK="$SWAYSOCK" WAYLAND_DISPLAY="$WAYLAND_OF_SESSION" "$@"
}
sway_command() { as_user swaymsg "$@" >/dev/null; }

# x <command...>: runs an X client in the session, on its Xwayland, which lets in its user only.
x() { as_user env DISPLAY="$DISPLAY_OF_SESSION" "$@"; }

start_sway() {
    useradd --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin --user-group "$user" ||
        fail "could not make the user $user"
    mkdir -m 700 "$work/run" "$work/home" && chown "$user:" "$work/run" "$work/home" "$progdir" ||
        fail "could not make the session's folders"
    cat >"$work/config" <<EOF || fail "could not write sway's configuration"
output HEADLESS-1 resolution ${SCREEN_W}x$SCREEN_H position 0 0
xwayland enable
for_window [class="Xmessage"] floating enable
EOF
    # A tmpfs of its own for the X sockets; the user is the one sway runs as.
    unshare --mount --propagation private bash -c "mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix &&
        exec setpriv --reuid='$user' --regid='$user' --init-groups env -i PATH=/usr/bin:/bin HOME='$work/home' \
            XDG_RUNTIME_DIR='$work/run' WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
            sway -c '$work/config'" >"$work/sway.log" 2>&1 &
    sway_pid=$!
    wait_for "$TIMEOUT" eval 'compgen -G "$work/run/sway-ipc.*.sock" >/dev/null' || fail "sway did not start"
    SWAYSOCK=$(compgen -G "$work/run/sway-ipc.*.sock")
    WAYLAND_OF_SESSION=$(basename "$(compgen -G "$work/run/wayland-*[0-9]")")
}

# launch <command...>: runs the command in the session as sway starts programs, with the
# session's DISPLAY; sets app_pid to its process, app_log to its output, DISPLAY_OF_SESSION.
launch() {
    launches=$((launches + 1))
    local script=$work/home/launch$launches
    run=$launches app_log=$work/home/app$launches.log
    {
        printf '#!/bin/sh\necho "$DISPLAY" >%q\necho "$$" >%q\nexec' "$script.display" "$script.pid"
        printf ' %q' "$@"
        printf ' >%q 2>&1\n' "$app_log"
    } >"$script" && chmod 755 "$script" || fail "could not write $script"
    sway_command exec "$script" || fail "sway could not start $*"
    wait_for "$TIMEOUT" test -s "$script.pid" || fail "sway did not start $*"
    app_pid=$(<"$script.pid") DISPLAY_OF_SESSION=$(<"$script.display")
}

# expect_end <what>: the program, which sway started, ends after <what>.
expect_end() { wait_for "$TIMEOUT" eval '! app_running' || fail "the program was still running $TIMEOUT s after $1"; }

# find_strip: sets strip to the program's viewable strip, and X and Y to its place.
find_strip() {
    local w
    app_running || fail "the program ended before its strip appeared"
    for w in $(x xdotool search --onlyvisible --classname '^stackle$' 2>/dev/null); do
        read_strip_geometry "$w" && [[ $WIDTH == "$STRIP_W" && $HEIGHT == "$STRIP_H" ]] && strip=$w && return 0
    done
    return 1
}
read_strip_geometry() {
    local out
    out=$(x xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
    eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=-?[0-9]+$' <<<"$out")"
}
at_place() { read_strip_geometry "$strip" && [[ $X -eq $1 && $Y -eq $2 ]]; }

# The screen, as sway composes it, shows the strip whole at its place: what grim takes there is
# what the strip's window holds.
strip_on_screen() {
    x import -window "$strip" "$work/home/window.png" 2>/dev/null &&
        as_user grim -g "$X,$Y ${STRIP_W}x$STRIP_H" "$work/home/screen.png" 2>/dev/null &&
        [[ $(compare -metric AE "$work/home/window.png" "$work/home/screen.png" null: 2>&1) == 0 ]]
}
expect_strip_on_screen() { wait_for "$TIMEOUT" strip_on_screen || fail "$1: the screen does not show the strip at $X,$Y"; }

# The colour the screen shows at x, y.
screen_colour() { as_user grim -g "$1,$2 1x1" -t ppm - 2>/dev/null | tail -c 3 | od -An -tx1 | tr -d ' \n'; }

# sway_tree: prints one line per window sway manages: title, then "floating" or "tiled", then
# its width and height.
sway_tree() {
    as_user swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node, floating):
    if node.get("window") is not None or node.get("shell") == "xwayland":
        rect = node["window_rect"]
        print(node["name"], "floating" if floating else "tiled", rect["width"], rect["height"], sep="|")
    for child in node.get("nodes", []):
        walk(child, floating)
    for child in node.get("floating_nodes", []):
        walk(child, True)
walk(json.load(sys.stdin), False)'
}
window_managed() { grep -q "^$1|" <<<"$(sway_tree)"; }
# expect_floating <title>: sway shows the window floating, smaller than the screen.
expect_floating() {
    local kind width height
    wait_for "$TIMEOUT" window_managed "$1" || fail "sway shows no window titled $1"
    IFS='|' read -r _ kind width height < <(grep "^$1|" <<<"$(sway_tree)")
    [[ $kind == floating ]] || fail "the window titled $1 is $kind"
    ((width < SCREEN_W && height < SCREEN_H - 100)) || fail "the window titled $1 is ${width}x$height"
}

step "starting a headless sway with Xwayland, as a user of its own"
start_sway

step "a start asking Qt for Wayland shows the strip at its stored place, through Xwayland"
printf '[Help]\r\nVisible=0\r\n[EXE]\r\nXPos=%d\r\nYPos=%d\r\n' "$STORED_X" "$STORED_Y" >"$progdir/FILE.INI" &&
    chown "$user:" "$progdir/FILE.INI" || fail "could not write FILE.INI"
launch env QT_QPA_PLATFORM=wayland "$progdir/stackle"
strip_pid=$app_pid
wait_for "$TIMEOUT" find_strip || fail "no viewable strip within $TIMEOUT s"
wait_for "$TIMEOUT" at_place "$STORED_X" "$STORED_Y" || fail "the strip is at $X,$Y, expected $STORED_X,$STORED_Y"
expect_strip_on_screen "after the start"

step "dragged by its clock the strip moves"
x xdotool mousemove $((X + CLOCK_X)) $((Y + CLOCK_Y)) sleep 0.2 mousedown 1 sleep 0.2 \
    mousemove $((X + CLOCK_X + 30)) $((Y + CLOCK_Y + 20)) sleep 0.1 mousemove $((X + CLOCK_X + 60)) $((Y + CLOCK_Y + 40)) \
    sleep 0.1 mouseup 1 || fail "xdotool could not drag the strip"
wait_for "$TIMEOUT" at_place $((STORED_X + 60)) $((STORED_Y + 40)) || fail "the dragged strip is at $X,$Y"
expect_strip_on_screen "after the drag"

step "a floating window moved over the strip stays below it"
launch xmessage -bg "#00ff00" -geometry 500x300 "over the strip"
wait_for "$TIMEOUT" window_managed xmessage || fail "sway shows no xmessage window"
sway_command "[class=\"Xmessage\"] move absolute position $((X - 100)) $((Y - 50)), focus" || fail "sway could not move the window"
# Its green shows beside the strip, where nothing covers it.
# shellcheck disable=SC2034 # read by the evals below
readonly BESIDE_X=$((X + STRIP_W + 20)) BESIDE_Y=$((Y + STRIP_H + 20))
wait_for "$TIMEOUT" eval '[[ $(screen_colour $BESIDE_X $BESIDE_Y) == 00ff00 ]]' || fail "the floating window is not over the strip's place"
app_pid=$strip_pid
expect_strip_on_screen "under a floating window"

step "the strip shows on another workspace"
sway_command workspace 2 || fail "sway could not switch to workspace 2"
wait_for "$TIMEOUT" eval '[[ $(screen_colour $BESIDE_X $BESIDE_Y) != 00ff00 ]]' || fail "the floating window stayed on view"
expect_strip_on_screen "on workspace 2"

step "\"X\" stores the new place"
# Xwayland stacks the floating window over the strip for its own input, which the test sends.
sway_command '[class="Xmessage"] kill' || fail "sway could not close the floating window"
x xdotool mousemove $((X + STRIP_CLOSE_X)) $((Y + STRIP_CLOSE_Y)) click 1 || fail "xdotool could not click \"X\""
expect_end "\"X\""
grep -q "^XPos=$((STORED_X + 60))"$'\r'"\$" "$progdir/FILE.INI" && grep -q "^YPos=$((STORED_Y + 40))"$'\r'"\$" "$progdir/FILE.INI" ||
    fail "\"X\" stored $(grep -E '^[XY]Pos' "$progdir/FILE.INI" | tr -d '\r' | tr '\n' ' ')"

step "the first start's help window floats at its own size, as the options window does"
rm -f "$progdir/FILE.INI"
launch "$progdir/stackle"
expect_floating Help
wait_for "$TIMEOUT" find_strip || fail "no viewable strip on the first start"
x xdotool mousemove $((X + OPTIONS_X)) $((Y + OPTIONS_Y)) click 1 || fail "xdotool could not click \"Options\""
expect_floating "Optional Settings"

echo "PASS"
