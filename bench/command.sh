#!/usr/bin/env bash
# Command benchmark: how long a command to the running strip takes, from exec of stackle with the
# command until it has ended with the strip's answer, on a virtual X server without a window
# manager. Measured for --show (the strip is on screen already) and --launch of an empty slot,
# neither of which changes what the next run finds; the medians and the slowest runs are
# reported against the goal.
#
# Usage: bench/command.sh <build-dir> [runs]      (runs: default 21, or $RUNS)
# Exit status: 0 when measured, 1 on error; the verdict says whether the goal is met.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/../scripts/xvfb.sh"

readonly GOAL_MS=50 # the median round trip of a command

die() {
    echo "command.sh: $*" >&2
    exit 1
}

[[ $# -ge 1 && $# -le 2 ]] || die "usage: $0 <build-dir> [runs]"
build=$(cd "$1" && pwd) || die "no build directory $1"
runs=${2:-${RUNS:-21}}
[[ $runs =~ ^[1-9][0-9]*$ ]] || die "runs must be a positive number, not '$runs'"
[[ -x $build/bin/stackle ]] || die "$build/bin/stackle is missing: build first (make build)"
require_tools Xvfb xdotool

start_xvfb_session stackle-command-bench 1024x768x24 # sets work
mkdir -p "$work/program" && cp "$build/bin/stackle" "$build/bin/empty.ico" "$work/program/" || die "could not copy the program"
printf '[Help]\r\nVisible=0\r\n' >"$work/program/FILE.INI"
"$work/program/stackle" >"$work/strip.log" 2>&1 &
app_pid=$!
strip_shown() { [[ -n $(xdotool search --onlyvisible --classname '^stackle$' 2>/dev/null) ]]; }
wait_for 15 strip_shown || die "the strip did not appear"

# measure <arguments...>: prints the milliseconds of each run, one a line.
measure() {
    local i started
    for ((i = 0; i <= runs; i++)); do
        started=$(date +%s%N)
        "$work/program/stackle" "$@" >/dev/null 2>&1 || die "stackle $* failed"
        # The first run warms the caches and is not counted.
        ((i > 0)) && echo $((($(date +%s%N) - started) / 1000))
    done
}
# report <name> <microseconds, one a line>: the median and the slowest, in ms.
report() {
    sort -n | awk -v name="$1" -v goal="$GOAL_MS" '
        { t[NR] = $1 }
        END {
            median = t[int((NR + 1) / 2)] / 1000
            printf "command %-12s median %6.2f ms, slowest %6.2f ms (%d runs; goal: median within %d ms): %s\n",
                name, median, t[NR] / 1000, NR, goal, median <= goal ? "met" : "NOT MET"
        }'
}

measure --show | report "--show"
measure --launch 2 | report "--launch 2"
end_processes "$app_pid"
