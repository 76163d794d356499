# Sourced by the end-to-end scripts, which run the program from a scratch program directory on a
# virtual X server. A script may set MAX_RUNTIME (seconds for the whole run, below the test
# runner's limit; see wait_for), and may define show_state again after sourcing this file to
# tell more when it fails.
# shellcheck shell=bash source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"

# For the scripts that source this file:
readonly SCREEN_W=1024 SCREEN_H=768 # the virtual screen
# shellcheck disable=SC2034 # the strip's place on a first start
readonly DEFAULT_X=$((SCREEN_W / 2 - STRIP_W / 2)) DEFAULT_Y=0
# shellcheck disable=SC2034 # the middle of the strip's "X", relative to the strip
readonly STRIP_CLOSE_X=225 STRIP_CLOSE_Y=11
readonly TIMEOUT=15 # seconds for any single thing to happen

binary="" window_manager="" progdir="" app_log="" run=0

step() { echo "--- $*"; }

# fail <message>: says why the run failed, then show_state, and ends the run.
fail() {
    echo "FAIL: $*" >&2
    show_state
    exit 1
}

# show_state: what the program wrote in its last run. A script may define it again.
show_state() { show_app_log; }

show_app_log() {
    ((run > 0)) || return 0
    if [[ -s $app_log ]]; then
        echo "program output (run $run):" >&2
        sed 's/^/  | /' "$app_log" >&2
    else
        echo "program output (run $run): none" >&2
    fi
}

# take_binary <the script's arguments>: sets binary to the one argument, the program to test;
# ends the run with a usage line unless there is exactly one, an executable file.
take_binary() {
    if [[ $# -ne 1 || ! -f $1 || ! -x $1 ]]; then
        echo "usage: $0 <stackle binary>" >&2
        exit 1
    fi
    binary=$1
}

# take_binary_and_window_manager <the script's arguments>: as take_binary, with an optional second
# argument: the window manager of the script's checks under one, openbox (the default) or xfwm4;
# sets window_manager. The checks without a window manager run in the default run only (see
# default_run).
take_binary_and_window_manager() {
    window_manager=${2:-openbox}
    if [[ $# -lt 1 || $# -gt 2 || ! -f $1 || ! -x $1 || ! $window_manager =~ ^(openbox|xfwm4)$ ]]; then
        echo "usage: $0 <stackle binary> [openbox|xfwm4]" >&2
        exit 1
    fi
    binary=$1
}
default_run() { [[ $window_manager == openbox ]]; }

# start_wm: starts the run's window manager; fails the run when it does not come.
start_wm() {
    start_window_manager "$window_manager" "$work/$window_manager.log" "$TIMEOUT" || fail "$window_manager did not start"
}

# copy_program <dir>: makes <dir> a program directory of its own, with a copy of $binary named
# stackle and the blank icon that lies beside $binary.
copy_program() {
    mkdir -p "$1" || fail "could not make $1"
    cp "$binary" "$1/stackle" || fail "could not copy $binary to $1"
    cp "$(dirname "$binary")/empty.ico" "$1/" || fail "empty.ico is not next to $binary"
}

# make_program_dir <name>: sets work, a scratch directory removed at the end (see make_work_dir),
# and progdir, a program directory inside it (see copy_program).
make_program_dir() {
    make_work_dir "$1"
    progdir=$work/program
    copy_program "$progdir"
}

# start_display: a virtual X server of SCREEN_W x SCREEN_H and a private runtime directory, both
# in $work; fails the run when either cannot be had.
start_display() {
    start_xvfb "$work" "${SCREEN_W}x${SCREEN_H}x24" || fail "could not start Xvfb on any display from :90 on"
    use_runtime_dir "$work" || fail "could not make a runtime directory"
}

# start_app [<command>...]: runs the command (by default $progdir/stackle) from outside the program
# directory, in the background; sets app_pid, and app_log to the file that gets its output,
# $work/app<run>.log.
start_app() {
    (($# > 0)) || set -- "$progdir/stackle"
    run=$((run + 1))
    app_log=$work/app$run.log
    (cd / && exec "$@") >"$app_log" 2>&1 &
    app_pid=$!
}

app_running() { kill -0 "$app_pid" 2>/dev/null; }

# expect_app_exit <what>: waits for the program to end after <what>, and fails the run unless it
# ended with exit code 0.
expect_app_exit() {
    local status
    wait_for "$TIMEOUT" eval '! app_running' || fail "the program was still running $TIMEOUT s after $1"
    wait "$app_pid"
    status=$?
    ((status == 0)) || fail "the program ended with exit code $status after $1, expected 0"
    app_pid=""
}

# recorder <dir> <name>: a script <dir>/<name>.sh that, when started, notes "<name>" in $work/starts.
recorder() {
    printf '#!/bin/sh\necho %s >>"%s"\n' "$2" "$work/starts" >"$1/$2.sh" && chmod +x "$1/$2.sh" ||
        fail "could not write $2.sh"
}

# expect_starts <what> <names...>: the recorders have noted exactly these starts, in any order (the
# programs started run side by side), and nothing else; the notes are cleared for the next check.
expect_starts() {
    local what=$1 expected
    shift
    expected=$(printf '%s\n' "$@" | sort)
    wait_for "$TIMEOUT" eval '[[ $(sort "$work/starts" 2>/dev/null) == "$expected" ]]' ||
        fail "$what: the starts noted are \"$(cat "$work/starts" 2>/dev/null)\", expected \"$expected\""
    : >"$work/starts"
}

# on_workspace <n>: the window manager shows workspace n (0 the first).
on_workspace() { [[ $(xdotool get_desktop 2>/dev/null) == "$1" ]]; }
