#!/usr/bin/env bash
# Start-up benchmark: the strip against a bare Qt Widgets window of the same title and size,
# and against the same window showing one line of text.
# For each program: time from exec until its window is mapped, and its peak memory (max RSS),
# both measured by startup_timer on a virtual X server without a window manager.
#
# Usage: bench/startup.sh <build-dir> [runs]      (runs: default 11, or $RUNS)
# The programs run in turn, after one warm-up run each; the medians are compared.
# Exit status: 0 when measured, 1 on error; the verdicts say whether the ratios are within
# the goal.
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

# The programs start from copies in the same directory, so file system and page cache treat
# them alike. The strip keeps its settings file there: every start after the warm-up is a
# second start.
mkdir "$work/program" || exit 1
cp "$build/bin/stackle" "$build/bin/empty.ico" "$build/bin/baseline_window" "$work/program/" || exit 1

# A second program directory whose twelve slots hold files of every kind that has an icon:
# programs, a script, a launcher, a document, a picture and an icon file.
mkdir "$work/icons" "$work/files" || exit 1
cp "$build/bin/stackle" "$build/bin/empty.ico" "$work/icons/" || exit 1
cp /bin/true "$work/files/program" && cp /bin/sleep "$work/files/other program" &&
    printf '#!/bin/sh\n' >"$work/files/script" && chmod +x "$work/files/script" &&
    printf '[Desktop Entry]\nType=Application\nName=Tool\nExec=true\nIcon=utilities-terminal\n' >"$work/files/tool.desktop" &&
    echo notes >"$work/files/notes.txt" && echo '<html></html>' >"$work/files/page.html" &&
    convert -size 64x48 xc:orange "$work/files/picture.png" && cp "$build/bin/empty.ico" "$work/files/blank.ico" || exit 1
{
    printf '[EXE]\r\n'
    n=0
    for file in program "other program" script tool.desktop notes.txt page.html picture.png blank.ico \
        program script notes.txt picture.png; do
        n=$((n + 1))
        printf 'EXE%d=%s\r\n' "$n" "$work/files/$file"
    done
} >"$work/icons/FILE.INI"

# measure <directory> <program> [args]: prints "ms kib" of one run.
measure() {
    local out dir=$1
    shift
    out=$(cd "$dir" && "$timer" -t 10 -n Stackle -s "$STRIP_SIZE" "./$@") ||
        die "measuring $* failed"
    [[ $out =~ ^ms=([0-9.]+)\ maxrss_kib=([0-9]+)$ ]] || die "unexpected output from startup_timer: $out"
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The contestants, run in turn: the strip with empty slots and with twelve icons, the bare
# window, and the bare window showing one line of text (which shows what drawing any text at
# all costs: the font database).
names=(stackle stackle-icons baseline text-baseline)
commands=("program stackle" "icons stackle" "program baseline_window" "program baseline_window --text")

echo "display $DISPLAY, $runs runs each after one warm-up run"
for k in "${!names[@]}"; do
    # shellcheck disable=SC2086 # the commands are split into program and arguments on purpose
    measure "$work"/${commands[k]} >/dev/null
    : >"$work/${names[k]}.txt"
done
for ((i = 1; i <= runs; i++)); do
    line=$(printf 'run %2d' "$i")
    for k in "${!names[@]}"; do
        # shellcheck disable=SC2086
        result=$(measure "$work"/${commands[k]}) || exit 1
        echo "$result" >>"$work/${names[k]}.txt"
        read -r ms kib <<<"$result"
        line+=$(printf '   %s %7s ms %6s KiB' "${names[k]}" "$ms" "$kib")
    done
    echo "$line"
done

# verdict <label> <unit> <column> <contestant> <against> <goal>: the medians of two
# contestants and their ratio against the goal.
verdict() {
    local s b
    s=$(cut -d' ' -f"$3" "$work/$4.txt" | median)
    b=$(cut -d' ' -f"$3" "$work/$5.txt" | median)
    awk -v label="$1" -v unit="$2" -v s="$s" -v b="$b" -v name="$4" -v against="$5" -v limit="$6" 'BEGIN {
        ratio = s / b
        value = (unit == "ms") ? "%9.2f" : "%9d"
        printf "%-13s %-13s " value " %s   %-13s " value " %s   ratio %.3f  %s %.2f\n",
               label, name, s, unit, against, b, unit, ratio, (ratio <= limit) ? "within" : "over", limit
    }'
}

echo "medians:"
for against in baseline text-baseline; do
    verdict "start-up time" ms 1 stackle "$against" "$LIMIT"
    verdict "peak memory" KiB 2 stackle "$against" "$LIMIT"
done
verdict "start-up time" ms 1 stackle-icons stackle 1.25
verdict "peak memory" KiB 2 stackle-icons stackle 1.25
