# Sourced by the scripts that run the strip on a virtual X server.
# shellcheck shell=bash

# The strip's size in pixels, in its default view style.
# shellcheck disable=SC2034 # for the scripts that source this file
readonly STRIP_W=236 STRIP_H=104

# What cleanup ends and removes: the scripts keep the ids of what they start here.
work="" xvfb_pid="" wm_pid="" wm_bus_pid="" trayer_pid="" app_pid="" other_pid=""

# require_tools <tool>...: ends the script unless every tool is installed.
require_tools() {
    local tool
    for tool; do
        if ! command -v "$tool" >/dev/null; then
            echo "${0##*/}: $tool is not installed (scripts/install-deps.sh installs it)" >&2
            exit 1
        fi
    done
}

# make_work_dir <name>: sets work, a new temporary directory named after <name>, and has cleanup
# run when the script exits, however it exits.
make_work_dir() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX") || exit 1
    trap cleanup EXIT
    trap 'exit 1' INT TERM HUP
}

# end_processes <pid>...: ends each of these processes that still runs and waits until it has
# gone; empty ids are skipped.
end_processes() {
    local pid
    for pid; do
        if [[ -n $pid ]] && kill "$pid" 2>/dev/null; then
            wait "$pid" 2>/dev/null || true
        fi
    done
}

# cleanup: run when the script exits. Ends whatever still runs of the program (app_pid), another
# program (other_pid), the tray host (trayer_pid), the window manager (wm_pid) and its own session
# bus (wm_bus_pid), and the X server (xvfb_pid), and removes $work, with any folder in it that a
# test left unwritable.
# shellcheck disable=SC2317 # run by the trap
cleanup() {
    end_processes "$app_pid" "$other_pid" "$trayer_pid" "$wm_pid" "$wm_bus_pid" "$xvfb_pid"
    if [[ -n $work ]]; then
        chmod -R u+w "$work" 2>/dev/null || true
        rm -rf "$work"
    fi
}

# start_xvfb <work-dir> <WxHxD>: starts Xvfb on the first free display from :90 on, sets
# xvfb_pid and exports DISPLAY. -displayfd makes the server report the number once it accepts
# connections, and only a server that owns the display gets that far, so two runs racing for
# the same number cannot end up sharing one server. -noreset: by default the server resets
# when its last client leaves, and a program started during that reset cannot connect.
start_xvfb() {
    local work=$1 screen=$2 n deadline ready=$1/xvfb.ready
    for ((n = 90; n < 190; n++)); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        : >"$ready"
        Xvfb ":$n" -screen 0 "$screen" -nolisten tcp -noreset -displayfd 3 3>"$ready" >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        deadline=$((SECONDS + 15))
        while [[ ! -s $ready ]] && kill -0 "$xvfb_pid" 2>/dev/null && ((SECONDS < deadline)); do
            sleep 0.05
        done
        if [[ -s $ready ]]; then
            export DISPLAY=:$n
            return 0
        fi
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        xvfb_pid=""
    done
    cat "$work/xvfb.log" >&2
    return 1
}

# Qt wants a private runtime directory; a desktop session would have one.
use_runtime_dir() {
    mkdir -m 700 "$1/xdg-runtime" && export XDG_RUNTIME_DIR=$1/xdg-runtime QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY SESSION_MANAGER
}

# wait_for <seconds> <command...>: runs the command every 50 ms until it succeeds. Gives up
# early rather than overrun the whole run's time (MAX_RUNTIME seconds, when the script sets it),
# so that the clean-up always gets to run.
wait_for() {
    local deadline=$((SECONDS + $1))
    ((deadline <= ${MAX_RUNTIME:-deadline})) || deadline=$MAX_RUNTIME
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

# start_xvfb_session <name> <WxHxD>: a temporary work directory ($work, see make_work_dir) with
# a virtual X server and a private runtime directory, both gone when the script exits. Ends the
# script when the server does not start.
start_xvfb_session() {
    make_work_dir "$1"
    if ! start_xvfb "$work" "$2"; then
        echo "$1: could not start Xvfb on any display from :90 on" >&2
        exit 1
    fi
    use_runtime_dir "$work" || exit 1
}

# read_geometry <window>: sets X, Y, WIDTH and HEIGHT from the window's geometry as xdotool reads
# it; fails when it cannot be read.
read_geometry() {
    local out
    out=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
    eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=-?[0-9]+$' <<<"$out")"
}

# is_splash <window>: the window is the splash that shows while the program starts.
is_splash() { xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_SPLASH; }

# windows_titled <title>: prints the visible windows titled exactly <title>, one a line, but not
# the splash, which Qt also names after the application while it has no title of its own.
windows_titled() {
    local w
    for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        # xdotool matches names ignoring case.
        [[ $(xdotool getwindowname "$w" 2>/dev/null) == "$1" ]] || continue
        is_splash "$w" || echo "$w"
    done
}

# find_titled <title>: sets window to the first of those windows; fails when there is none.
find_titled() {
    local all
    all=$(windows_titled "$1")
    window=${all%%$'\n'*}
    [[ -n $window ]]
}

# find_program_window <width> <height>: sets window to a visible window of the program of that
# size, and X, Y, WIDTH and HEIGHT to its geometry; fails when there is none.
find_program_window() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^stackle$' 2>/dev/null); do
        WIDTH="" HEIGHT=""
        read_geometry "$w" || continue
        [[ $WIDTH == "$1" && $HEIGHT == "$2" ]] && window=$w && return 0
    done
    return 1
}

# start_openbox <log> <seconds>: starts the window manager openbox, sets wm_pid, and waits until
# it has announced itself on the root window.
# shellcheck disable=SC2034 # wm_pid and trayer_pid are for the scripts that source this file
start_openbox() {
    openbox --sm-disable >"$1" 2>&1 &
    wm_pid=$!
    wm_announced "$2"
}

# start_xfwm4 <log> <seconds>: starts Xfce's window manager xfwm4 with its default four workspaces
# and without its compositor, sets wm_pid, and waits until it has announced itself. It reads its
# settings through xfconf on the session bus: without one it gets a bus of its own (wm_bus_pid),
# whose settings live in $work.
start_xfwm4() {
    local bus=${DBUS_SESSION_BUS_ADDRESS:-}
    if [[ -z $bus ]]; then
        bus=unix:path=$work/wm-bus
        mkdir -p "$work/wm-home" || return 1
        HOME=$work/wm-home XDG_CONFIG_HOME=$work/wm-home/config XDG_CACHE_HOME=$work/wm-home/cache \
            dbus-daemon --session --nofork --address="$bus" >"$work/wm-bus.log" 2>&1 &
        wm_bus_pid=$!
        wait_for "$2" test -S "$work/wm-bus" || return 1
    fi
    DBUS_SESSION_BUS_ADDRESS=$bus xfwm4 --compositor=off --sm-client-disable >"$1" 2>&1 &
    wm_pid=$!
    wm_announced "$2"
}

# start_window_manager <openbox|xfwm4> <log> <seconds>: starts that window manager (see above).
start_window_manager() {
    case $1 in
    openbox | xfwm4) "start_$1" "$2" "$3" ;;
    *) echo "no window manager $1" >&2 && return 1 ;;
    esac
}

# wm_announced <seconds>: waits until a window manager has announced itself on the root window.
wm_announced() { wait_for "$1" eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'; }

# start_trayer <log> <seconds>: starts the tray host trayer along the bottom left of the screen,
# sets trayer_pid, and waits until its panel window is there.
# shellcheck disable=SC2034
start_trayer() {
    trayer --edge bottom --align left --widthtype pixel --width 120 --heighttype pixel --height 32 >"$1" 2>&1 &
    trayer_pid=$!
    wait_for "$2" find_tray_panel
}

# find_tray_panel: sets panel to trayer's window; fails when there is none.
find_tray_panel() { panel=$(xdotool search --classname '^panel$' 2>/dev/null | head -n 1) && [[ -n $panel ]]; }
