#!/usr/bin/env bash
# End-to-end check of the make targets a new user meets, in a fresh clone of this repository on
# a virtual X server without a window manager:
#   make run -> builds the program and no test, benchmark or other binary, and shows the strip
#   started from run/, a folder git ignores;
#   the strip moved and closed with "X" -> its place stored in run/FILE.INI;
#   make clean, make run -> the build is gone and made anew, the strip comes up at the stored
#   place;
#   make install PREFIX=... -> a build of its own, of the Release type, of the program alone, the
#   test build left alone; the program stripped, the icon in every size of the icon theme and a
#   scalable one;
#   make uninstall while the installed strip runs -> refused in one line, nothing removed; once
#   it has quit -> removed.
#
# The clone is of what is committed (HEAD of this repository). Its builds compile without
# optimisation or debugging information, and a compile seen before, in the same or the other
# build folder of the clone, takes the object and dependency files it made then: the build after
# make clean and make install's build of its own compile what the first build compiled, only for
# another folder or with other optimisation flags, which the compiles here override. Three full
# builds would take this run past any sensible time; what this checks is what the make targets
# build, run, keep and install, not what the compiler makes of it.
#
# Usage: clone_e2e.sh
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
readonly SOURCE
readonly BUILD_TIMEOUT=900 # seconds for one build of the program, on two busy cores
readonly MOVED_X=300 MOVED_Y=200

require_tools Xvfb xdotool make git cmp readelf identify
make_work_dir stackle-clone
clone=$(cd "$work" && pwd -P)/clone # as the kernel names the programs run from it
make_log=$work/make.log
# The make targets run as they would from a user's shell, not as part of the make that runs
# these tests, whose variables (BUILD, WERROR, ...) would otherwise reach them.
unset MAKEFLAGS MFLAGS MAKELEVEL

show_state() {
    if [[ -s $make_log ]]; then
        echo "make's output, its last lines:" >&2
        tail -n 40 "$make_log" | sed 's/^/  | /' >&2
    fi
    [[ -f $clone/run/FILE.INI ]] && { echo "run/FILE.INI:" >&2; sed 's/^/  | /' "$clone/run/FILE.INI" >&2; }
    return 0
}

# The compiler command the clone's builds go through (see above).
export CMAKE_CXX_COMPILER_LAUNCHER=$SOURCE/tests/e2e/compile_unoptimised.sh COMPILE_CACHE=$work/compiled

# make_in_clone <target>...: runs make in the clone in the background, in a process group of its
# own, its output in make_log; sets make_pid.
make_pid=""
make_in_clone() {
    (cd "$clone" && exec setsid nice make "$@") >"$make_log" 2>&1 &
    make_pid=$!
}
# Whatever still runs of a make in the clone, its builds and the strip it started, ends with the
# run.
end_make() { [[ -z $make_pid ]] || kill -- -"$make_pid" 2>/dev/null; }
trap 'end_make; cleanup' EXIT

# The strip's window, once it shows; fails the run when make ends before.
find_strip() {
    kill -0 "$make_pid" 2>/dev/null || fail "make run ended before the strip showed"
    find_program_window "$STRIP_W" "$STRIP_H"
}

# expect_strip_from <program>: waits while make builds until the strip shows, and makes sure
# it is <program> that runs it; sets window, X, Y and other_pid.
expect_strip_from() {
    local deadline=$((SECONDS + BUILD_TIMEOUT))
    until find_strip; do
        ((SECONDS < deadline)) || fail "no strip $BUILD_TIMEOUT s after make run"
        sleep 0.2
    done
    other_pid=$(xdotool getwindowpid "$window") || fail "the strip's window names no process"
    [[ $(readlink "/proc/$other_pid/exe") == "$1" ]] ||
        fail "the strip runs $(readlink "/proc/$other_pid/exe"), expected $1"
}

make_ended() { ! kill -0 "$make_pid" 2>/dev/null; }

# close_strip <what>: clicks the strip's "X" and waits for make run to end with status 0.
close_strip() {
    xdotool mousemove $((X + STRIP_CLOSE_X)) $((Y + STRIP_CLOSE_Y)) click 1 || fail "could not click \"X\""
    wait_for "$TIMEOUT" make_ended || fail "make run still runs after \"X\" $1"
    wait "$make_pid" || fail "make run ended with status $? after \"X\" $1"
    make_pid="" other_pid=""
}

# The files a build put where the program is built, one a line.
built() { (cd "$clone/$1/bin" && find . -type f -print | sort); }
only_the_program() {
    local made
    made=$(built "$1")
    [[ $made == $'./empty.ico\n./stackle' ]] || fail "$1/bin holds more than the program: ${made//$'\n'/ }"
    made=$(cd "$clone/$1" && find . -type f -name '*_test' -print)
    [[ -z $made ]] || fail "$1 holds test binaries: ${made//$'\n'/ }"
}

stored_place() {
    grep -q "^XPos=$MOVED_X"$'\r'"\$" "$clone/run/FILE.INI" && grep -q "^YPos=$MOVED_Y"$'\r'"\$" "$clone/run/FILE.INI"
}

step "a fresh clone"
git clone -q "$SOURCE" "$clone" || fail "could not clone $SOURCE"
start_display

step "make run: the program alone, started from run/"
make_in_clone run
expect_strip_from "$clone/run/stackle"
only_the_program build
[[ -z $(git -C "$clone" status --porcelain) ]] || fail "git sees what make run made: $(git -C "$clone" status --porcelain)"

step "the strip moved and closed: its place is stored in run/"
xdotool windowmove "$window" "$MOVED_X" "$MOVED_Y" || fail "could not move the strip"
moved() { read_geometry "$window" && ((X == MOVED_X && Y == MOVED_Y)); }
wait_for "$TIMEOUT" moved || fail "the strip did not move"
close_strip "on the first run"
stored_place || fail "run/FILE.INI does not hold the strip's place"
program_inode=$(stat -c %i "$clone/run/stackle")

step "make clean, make run: the build anew, the strip at its stored place"
(cd "$clone" && make clean) >"$make_log" 2>&1 || fail "make clean failed"
[[ ! -e $clone/build ]] || fail "make clean left the build"
stored_place || fail "make clean touched run/FILE.INI"
make_in_clone run
expect_strip_from "$clone/run/stackle"
only_the_program build
[[ $(stat -c %i "$clone/run/stackle") != "$program_inode" ]] || fail "make run did not put the new program into run/"
cmp -s "$clone/build/bin/stackle" "$clone/run/stackle" || fail "run/stackle is not the program just built"
[[ $X == "$MOVED_X" && $Y == "$MOVED_Y" ]] || fail "the strip came up at $X,$Y, not at its stored place"
close_strip "on the second run"
stored_place || fail "run/FILE.INI lost the strip's place"

step "make install: a Release build of its own, installed stripped, with its icons"
root=$work/root
prefix=$root/opt/stackle
mkdir -p "$root/home" || fail "could not make the temporary home"
as_user=(env HOME="$root/home" XDG_DATA_HOME="$root/home/.local/share" XDG_CONFIG_HOME="$root/home/.config")
test_build=$(stat -c %Y "$clone/build/bin/stackle")
timeout "$BUILD_TIMEOUT" nice "${as_user[@]}" make -C "$clone" install PREFIX="$prefix" >"$make_log" 2>&1 ||
    fail "make install failed or took more than $BUILD_TIMEOUT s"
only_the_program build-release
grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$clone/build-release/CMakeCache.txt" ||
    fail "make install built $(grep '^CMAKE_BUILD_TYPE:' "$clone/build-release/CMakeCache.txt")"
[[ $(stat -c %Y "$clone/build/bin/stackle") == "$test_build" ]] || fail "make install rebuilt the test build"
[[ -x $prefix/stackle ]] || fail "no program in $prefix"
readelf -S --wide "$prefix/stackle" >"$work/sections" || fail "readelf could not read the installed program"
! grep -q -E '\.symtab|\.debug_' "$work/sections" || fail "the installed program is not stripped"
icons=$root/home/.local/share/icons/hicolor
for size in 16 22 24 32 48 64 128 256; do
    icon=$icons/${size}x$size/apps/stackle.png
    [[ -f $icon ]] || fail "no icon of $size pixels"
    [[ $(identify -format '%wx%h' "$icon") == "${size}x$size" ]] ||
        fail "the $size-pixel icon is $(identify -format '%wx%h' "$icon")"
done
grep -q '<svg' "$icons/scalable/apps/stackle.svg" || fail "no scalable icon"

step "make uninstall while the installed strip runs: refused"
start_app "$prefix/stackle"
wait_for "$TIMEOUT" find_program_window "$STRIP_W" "$STRIP_H" || fail "the installed strip did not show"
if "${as_user[@]}" make -s -C "$clone" uninstall PREFIX="$prefix" >"$make_log" 2>&1; then
    fail "make uninstall removed the running program"
fi
said=$(grep -c '^install:' "$make_log")
((said == 1)) || fail "make uninstall said $said lines of its own, expected one"
grep -q "^install: Stackle is running from $prefix" "$make_log" || fail "make uninstall did not say why it refused"
[[ -x $prefix/stackle && -f $icons/48x48/apps/stackle.png ]] || fail "the refused uninstall removed files"

step "make uninstall once it has quit"
xdotool mousemove $((X + STRIP_CLOSE_X)) $((Y + STRIP_CLOSE_Y)) click 1 || fail "could not click \"X\""
expect_app_exit "\"X\" on the installed strip"
"${as_user[@]}" make -C "$clone" uninstall PREFIX="$prefix" >"$make_log" 2>&1 || fail "make uninstall failed"
[[ ! -e $prefix/stackle && ! -e $icons ]] || fail "make uninstall left the program or its icons"

echo PASS
