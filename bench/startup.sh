#!/usr/bin/env bash
# Start-up benchmark: the strip against the least Qt Widgets program that shows a window like it
# (one line of text) with an icon in the notification area, on a virtual X server without a
# window manager ("bare") and with one and a tray host ("openbox": openbox and trayer).
#
# For each program: the time from exec until its window is mapped, its peak memory (max RSS) and
# what it read until then, all measured by startup_timer. The programs run in turn, after one
# warm-up run each, and the medians are compared.
#
#   baseline    the yardstick: a bare window showing one line of text, with a tray icon
#   floor       the baseline preceded by the strip's own splash, shown as the strip shows it
#               while it is built (bench/splash_floor.cpp)
#   form        the splash followed by the strip's own form, without the program: every control
#               of the strip in its fonts and pictures, but no settings, slots, clock or menus;
#               what Qt charges for the controls the strip is made of (bench/form_floor.cpp)
#
# and the strip on four program directories:
#
#   stackle     a second start with empty slots
#   icons       twelve slots holding programs, a script, a launcher, documents, a picture and
#               icon files, each with a short pop-up list
#   long-list   one slot whose pop-up list has 100,000 lines
#   big-ini     a settings file of 50 MB; also counts how often the start-up reads it (from
#               what the program read) and whether it rewrote it
#
# Usage: bench/startup.sh <build-dir> [runs]      (runs: default 11, or $RUNS)
# Exit status: 0 when measured, 1 on error; the verdicts say whether each goal is met.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/../scripts/xvfb.sh"

readonly SCREEN=1024x768x24
readonly TIME_GOAL=1.10          # the strip's time against the baseline's
readonly MEMORY_GOAL=1.05        # the strip's peak memory against the baseline's
readonly ICONS_MEMORY_GOAL=1.10  # the same with twelve slots in use
readonly LONG_LIST_MS=500        # the strip with a 100,000-line list: mapped within
readonly LONG_LIST_KIB=81920     # ... and peaking under 80 MiB
readonly LIST_LINES=100000
readonly BIG_INI_MIB=50

die() {
    echo "startup.sh: $*" >&2
    exit 1
}

[[ $# -ge 1 && $# -le 2 ]] || die "usage: $0 <build-dir> [runs]"
build=$(cd "$1" && pwd) || die "no build directory $1"
runs=${2:-${RUNS:-11}}
[[ $runs =~ ^[1-9][0-9]*$ ]] || die "runs must be a positive number, not '$runs'"

timer=$build/bin/startup_timer
for f in "$build/bin/stackle" "$build/bin/baseline_window" "$build/bin/splash_floor" "$build/bin/form_floor" "$timer"; do
    [[ -x $f ]] || die "$f is missing: build first (make build)"
done
require_tools Xvfb openbox trayer xprop xdotool convert

start_xvfb_session stackle-bench "$SCREEN" # sets work

start_desktop() {
    start_openbox "$work/openbox.log" 10 || die "openbox did not start"
    start_trayer "$work/trayer.log" 10 || die "trayer did not start"
}
stop_desktop() {
    end_processes "$trayer_pid" "$wm_pid"
    trayer_pid="" wm_pid=""
}

# ---- The program directories. Every program starts from a copy in its own directory, so file
# system and page cache treat them alike; each strip keeps its settings there, so every start
# after the warm-up is a second start.
program_dir() {
    mkdir "$work/$1" && cp "$build/bin/stackle" "$build/bin/empty.ico" "$work/$1/" || exit 1
}
crlf() { printf '%s\r\n' "$@"; }

mkdir "$work/baseline" "$work/floor" "$work/form" && cp "$build/bin/baseline_window" "$work/baseline/" &&
    cp "$build/bin/splash_floor" "$work/floor/" && cp "$build/bin/form_floor" "$work/form/" || exit 1
program_dir stackle

# Twelve slots holding files of every kind that has an icon.
program_dir icons
mkdir "$work/files" || exit 1
cp /bin/true "$work/files/program" && cp /bin/sleep "$work/files/other program" &&
    printf '#!/bin/sh\n' >"$work/files/script" && chmod +x "$work/files/script" &&
    printf '[Desktop Entry]\nType=Application\nName=Tool\nExec=true\nIcon=utilities-terminal\n' >"$work/files/tool.desktop" &&
    echo notes >"$work/files/notes.txt" && echo '<html></html>' >"$work/files/page.html" &&
    convert -size 64x48 xc:orange "$work/files/picture.png" && cp "$build/bin/empty.ico" "$work/files/blank.ico" || exit 1
{
    crlf '[EXE]'
    n=0
    for file in program "other program" script tool.desktop notes.txt page.html picture.png blank.ico \
        program script notes.txt picture.png; do
        n=$((n + 1))
        crlf "EXE$n=$work/files/$file"
        crlf "notes.txt    *$work/files/notes.txt" "page.html    *$work/files/page.html" >"$work/icons/flist$n.dll"
    done
} >"$work/icons/FILE.INI"

# One slot with a long pop-up list.
program_dir long-list
awk -v n="$LIST_LINES" 'BEGIN { for (i = 1; i <= n; i++) printf "file%06d.txt    */home/user/documents/file%06d.txt\r\n", i, i }' \
    >"$work/long-list/flist2.dll" || exit 1

# A settings file of 50 MB: the keys the strip reads around one large section that it never reads.
program_dir big-ini
{
    crlf '[TABS]' 'Tab0=Work' 'Tab1=Play' 'Tab2=Tools' '[Archive]'
    awk -v mib="$BIG_INI_MIB" 'BEGIN { n = mib * 1048576 / 64; for (i = 1; i <= n; i++) printf "Entry%08d=an archived line of text, kept as it was written%04d\r\n", i, i % 10000 }'
    crlf '[Help]' 'Visible=0' '[Format]' 'Style=1' '[EXE]' "EXE1=$work/files/program"
} >"$work/big-ini/FILE.INI" || exit 1
big_ini_kib=$(($(stat -c %s "$work/big-ini/FILE.INI") / 1024))

names=(baseline floor form stackle icons long-list big-ini)
commands=("baseline_window --text --tray" splash_floor form_floor stackle stackle stackle stackle)

# measure <name>: prints "ms kib read_kib" of one run of that contestant.
measure() {
    local out k
    for k in "${!names[@]}"; do [[ ${names[k]} == "$1" ]] && break; done
    # shellcheck disable=SC2086 # the command is split into program and arguments on purpose
    out=$(cd "$work/$1" && "$timer" -t 30 -n Stackle -s "${STRIP_W}x${STRIP_H}" ./${commands[k]}) || die "measuring $1 failed"
    [[ $out =~ ^ms=([0-9.]+)\ maxrss_kib=([0-9]+)\ read_kib=(-?[0-9]+)$ ]] || die "unexpected output from startup_timer: $out"
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]} ${BASH_REMATCH[3]}"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# column <environment> <name> <column>: the median of one column of a contestant's runs.
column() { cut -d' ' -f"$3" "$work/$1-$2.txt" | median; }
ini_identity() { stat -c '%i %Z %s' "$work/big-ini/FILE.INI"; }

# run_environment <environment>: all contestants in turn, runs times, after a warm-up.
run_environment() {
    local env=$1 i name result line ms kib before
    echo "== $env: $runs runs each after one warm-up run"
    rewrites=0
    for name in "${names[@]}"; do
        measure "$name" >/dev/null
        : >"$work/$env-$name.txt"
    done
    for ((i = 1; i <= runs; i++)); do
        line=$(printf 'run %2d' "$i")
        for name in "${names[@]}"; do
            before=$(ini_identity)
            result=$(measure "$name") || exit 1
            [[ $(ini_identity) == "$before" ]] || rewrites=$((rewrites + 1))
            echo "$result" >>"$work/$env-$name.txt"
            read -r ms kib _ <<<"$result"
            line+=$(printf '  %s %7s ms %6s KiB' "$name" "$ms" "$kib")
        done
        echo "$line"
    done
    eval "rewrites_$env=$rewrites"
}

run_environment bare
start_desktop
run_environment openbox
stop_desktop

# ---- Verdicts.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
verdict() { awk -v v="$1" -v limit="$2" 'BEGIN { print (v <= limit) ? "within" : "over" }'; }

echo
echo "medians (ms: exec until the strip is mapped; KiB: peak resident memory)"
printf '%-9s %-10s %10s %10s %10s\n' environment program ms KiB 'read KiB'
for env in bare openbox; do
    for name in "${names[@]}"; do
        printf '%-9s %-10s %10s %10s %10s\n' "$env" "$name" "$(column $env "$name" 1)" "$(column $env "$name" 2)" \
            "$(column $env "$name" 3)"
    done
done

# compare <environment> <label> <program> <against> <column> [goal | remark]: one line with the
# ratio of the two programs' medians, and the verdict when a goal is given.
compare() {
    local r remark=${6:-}
    r=$(ratio "$(column "$1" "$3" "$5")" "$(column "$1" "$4" "$5")")
    [[ $remark =~ ^[0-9.]+$ ]] && remark="$(verdict "$r" "$remark") $remark"
    printf '%-9s %-40s %7s%s\n' "$1" "$2" "$r" "${remark:+   $remark}"
}

echo
echo "goals"
for env in bare openbox; do
    compare $env "start-up time, strip / baseline" stackle baseline 1 $TIME_GOAL
    compare $env "start-up time, floor / baseline" floor baseline 1 "(the splash alone)"
    compare $env "start-up time, form / baseline" form baseline 1 "(the splash and the strip controls)"
    compare $env "start-up time, strip / floor" stackle floor 1
    compare $env "start-up time, strip / form" stackle form 1
    compare $env "peak memory, strip / baseline" stackle baseline 2 $MEMORY_GOAL
    compare $env "peak memory, floor / baseline" floor baseline 2 "(the splash alone)"
    compare $env "peak memory, form / baseline" form baseline 2 "(the splash and the strip controls)"
    compare $env "peak memory, strip / form" stackle form 2
    compare $env "peak memory, twelve slots / baseline" icons baseline 2 $ICONS_MEMORY_GOAL
    compare $env "start-up time, twelve slots / baseline" icons baseline 1
    v=$(column $env long-list 1)
    printf '%-9s 100,000-line list: mapped after (ms)     %7s   %s %s\n' $env "$v" "$(verdict "$v" $LONG_LIST_MS)" $LONG_LIST_MS
    v=$(column $env long-list 2)
    printf '%-9s 100,000-line list: peak memory (KiB)     %7s   %s %s\n' $env "$v" "$(verdict "$v" $((LONG_LIST_KIB - 1)))" \
        $LONG_LIST_KIB
    # What the strip reads besides its settings file is what it reads with a small one.
    v=$(awk -v big="$(column $env big-ini 3)" -v small="$(column $env stackle 3)" -v file=$big_ini_kib \
        'BEGIN { printf "%.1f", (big - small) / file }')
    printf '%-9s 50 MB settings file: read (times)         %7s\n' $env "$v"
    v=rewrites_$env
    printf '%-9s 50 MB settings file: rewritten (runs)    %7s of %d\n' $env "${!v}" $((runs))
    printf '%-9s 50 MB settings file: mapped after (ms)   %7s\n' $env "$(column $env big-ini 1)"
done
