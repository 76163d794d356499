#!/usr/bin/env bash
# Start-up benchmark: the strip against a bare Qt Widgets window of the same title and size.
# For each program: time from exec until its window is mapped, and its peak memory (max RSS),
# both measured by startup_timer on a virtual X server without a window manager.
#
# Usage: bench/startup.sh <build-dir> [runs]      (runs: default 11, or $RUNS)
# The two programs run alternately, after one warm-up run each; the medians are compared.
# Exit status: 0 when both ratios (stackle / baseline) are within the limit, 1 otherwise or on
# error.
set -uo pipefail
source "$(dirname "$0")/../scripts/xvfb.sh"

readonly LIMIT=1.15
readonly SCREEN=1024x768x24
readonly STRIP_SIZE=236x104

die() {
    echo "startup.sh: $*" >&2
    exit 1
}

[[ $# -ge 1 && $# -le 2 ]] || die "usage: $0 <build-dir> [runs]"
build=$(cd "$1" && pwd) || die "no build directory $1"
runs=${2:-${RUNS:-11}}
[[ $runs =~ ^[1-9][0-9]*$ ]] || die "runs must be a positive number, not '$runs'"

timer=$build/bin/startup_timer
for f in "$build/bin/stackle" "$build/bin/baseline_window" "$timer"; do
    [[ -x $f ]] || die "$f is missing: build first (make build)"
done
command -v Xvfb >/dev/null || die "Xvfb is not installed (scripts/install-deps.sh installs it)"

work=$(mktemp -d "${TMPDIR:-/tmp}/stackle-bench.XXXXXX") || exit 1
xvfb_pid=""
# shellcheck disable=SC2317 # run by the trap
cleanup() {
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

start_xvfb "$work" "$SCREEN" || die "could not start Xvfb on any display from :90 on"
use_runtime_dir "$work" || exit 1

# Both programs start from copies in the same directory, so file system and page cache treat
# them alike. The strip keeps its settings file there: every start after the warm-up is a
# second start.
mkdir "$work/program" || exit 1
cp "$build/bin/stackle" "$build/bin/baseline_window" "$work/program/" || exit 1

# measure <program>: prints "ms kib" of one run.
measure() {
    local out
    out=$(cd "$work/program" && "$timer" -t 10 -n Stackle -s "$STRIP_SIZE" "./$1") ||
        die "measuring $1 failed"
    [[ $out =~ ^ms=([0-9.]+)\ maxrss_kib=([0-9]+)$ ]] || die "unexpected output from startup_timer: $out"
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "display $DISPLAY, $runs runs each after one warm-up run"
measure stackle >/dev/null
measure baseline_window >/dev/null
: >"$work/stackle.txt"
: >"$work/baseline.txt"
for ((i = 1; i <= runs; i++)); do
    s=$(measure stackle) || exit 1
    b=$(measure baseline_window) || exit 1
    read -r sm sk <<<"$s"
    read -r bm bk <<<"$b"
    echo "$sm $sk" >>"$work/stackle.txt"
    echo "$bm $bk" >>"$work/baseline.txt"
    printf 'run %2d  stackle %8s ms %7s KiB   baseline %8s ms %7s KiB\n' "$i" "$sm" "$sk" "$bm" "$bk"
done

s_ms=$(cut -d' ' -f1 "$work/stackle.txt" | median)
s_kib=$(cut -d' ' -f2 "$work/stackle.txt" | median)
b_ms=$(cut -d' ' -f1 "$work/baseline.txt" | median)
b_kib=$(cut -d' ' -f2 "$work/baseline.txt" | median)

# verdict <label> <unit> <stackle> <baseline>: prints the line; fails when over the limit.
verdict() {
    awk -v label="$1" -v unit="$2" -v s="$3" -v b="$4" -v limit="$LIMIT" 'BEGIN {
        ratio = s / b
        value = (unit == "ms") ? "%9.2f" : "%9d"
        printf "%-13s stackle " value " %s   baseline " value " %s   ratio %.3f  %s %.2f\n",
               label, s, unit, b, unit, ratio, (ratio <= limit) ? "within" : "OVER", limit
        exit !(ratio <= limit)
    }'
}

echo "medians:"
status=0
verdict "start-up time" ms "$s_ms" "$b_ms" || status=1
verdict "peak memory" KiB "$s_kib" "$b_kib" || status=1
exit $status
