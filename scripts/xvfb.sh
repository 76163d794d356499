# Sourced by the scripts that run the strip on a virtual X server.
#
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

# start_xvfb_session <name> <WxHxD>: a temporary work directory ($work, named after <name>) with
# a virtual X server and a private runtime directory, both gone when the script exits. Ends the
# script when the server does not start.
start_xvfb_session() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX") || exit 1
    xvfb_pid=""
    trap stop_xvfb_session EXIT
    trap 'exit 1' INT TERM HUP
    if ! start_xvfb "$work" "$2"; then
        echo "$1: could not start Xvfb on any display from :90 on" >&2
        exit 1
    fi
    use_runtime_dir "$work" || exit 1
}

# shellcheck disable=SC2317 # run by the trap
stop_xvfb_session() {
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}

# find_program_window <width> <height>: sets window to a visible window of the program of that
# size, and X, Y, WIDTH and HEIGHT to its geometry; fails when there is none.
find_program_window() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^stackle$' 2>/dev/null); do
        WIDTH="" HEIGHT=""
        eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
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
    wait_for "$2" eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'
}

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
