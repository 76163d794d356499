#!/usr/bin/env bash
# End-to-end check of installing Stackle for one user, in a temporary home:
#   make install PREFIX=... AUTOSTART=1 -> the program, its blank icon, the menu entry, the icon
#   in the user's icon theme and the autostart entry, nothing else;
#   the menu entry's Exec line starts the installed strip on a virtual X server;
#   a program directory that cannot be written -> one line on standard error, the strip runs;
#   make uninstall -> exactly what was there before, and the settings the run stored.
#
# Usage: install_e2e.sh <path to the stackle binary in its build directory>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
source "$(dirname "$0")/../../scripts/xvfb.sh"

readonly SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
readonly STRIP_W=236 STRIP_H=104
readonly CLOSE_X=225 CLOSE_Y=11 # the strip's "X"
readonly TIMEOUT=15

binary=${1:?usage: $0 <stackle binary>}
build=$(cd "$(dirname "$binary")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/stackle-install.XXXXXX") || exit 1
chmod 755 "$work"
prefix="$work/my apps/stackle"
xvfb_pid="" app_pid=""

cleanup() {
    for pid in $app_pid $xvfb_pid; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -s $work/x/app.log ]] && sed 's/^/  | /' "$work/x/app.log" >&2
    exit 1
}

# Every file below the temporary home and prefix, one a line.
files() { (cd "$work" && find . -path ./x -prune -o -type f -print | sort); }

installing() {
    env HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/config" \
        make -s -C "$SOURCE" "$@" BUILD="$build" PREFIX="$prefix" >"$work/x/make.log" 2>&1 ||
        { cat "$work/x/make.log" >&2; fail "make $1 failed"; }
}

# Sets strip to the program's visible window of the strip's size (the splash shows before it).
find_strip() { find_program_window "$STRIP_W" "$STRIP_H" && strip=$window; }

mkdir -p "$work/home" "$work/config" "$work/x"
echo "a file of the user's" >"$work/home/notes.txt"
before=$(files)

echo "--- make install AUTOSTART=1"
installing install AUTOSTART=1
expected=$(printf '%s\n' "$before" ./config/autostart/stackle.desktop ./home/data/applications/stackle.desktop \
    ./home/data/icons/hicolor/32x32/apps/stackle.png "./my apps/stackle/.stackle-installed" \
    "./my apps/stackle/empty.ico" "./my apps/stackle/stackle" | sort)
[[ $(files) == "$expected" ]] || fail "installed: $(files)"
cmp -s "$binary" "$prefix/stackle" || fail "the installed program is not the built one"
menu=$work/home/data/applications/stackle.desktop
grep -qx 'Icon=stackle' "$menu" || fail "the menu entry names no icon"
cmp -s "$menu" "$work/config/autostart/stackle.desktop" || fail "the autostart entry differs from the menu entry"

echo "--- the menu entry's Exec line starts the installed strip"
exec_line=$(sed -n 's/^Exec=//p' "$menu")
[[ $exec_line == \"*\" ]] || fail "Exec is not quoted: $exec_line"
program=${exec_line:1:-1}
[[ $program == "$prefix/stackle" ]] || fail "Exec names $program"
start_xvfb "$work/x" 1024x768x24 || fail "could not start Xvfb"
use_runtime_dir "$work/x" || fail "could not make a runtime directory"
(cd / && exec "$program") >"$work/x/app.log" 2>&1 &
app_pid=$!
wait_for "$TIMEOUT" find_strip || fail "the installed strip did not appear"
[[ ! -s $work/x/app.log ]] || fail "the strip said something on a writable program directory"
xdotool mousemove $((X + CLOSE_X)) $((Y + CLOSE_Y)) click 1 || fail "could not click \"X\""
wait_for "$TIMEOUT" eval '! kill -0 $app_pid 2>/dev/null' || fail "the strip did not end"
app_pid=""
[[ -f $prefix/FILE.INI ]] || fail "the strip stored no settings beside itself"

echo "--- a program directory that cannot be written"
chmod 555 "$prefix"
as_user=()
if ((EUID == 0)); then # root writes anywhere: run as nobody, with a runtime folder of its own
    mkdir -m 700 "$work/x/nobody" && chown nobody "$work/x/nobody"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env XDG_RUNTIME_DIR="$work/x/nobody" HOME=/nonexistent)
fi
(cd / && exec "${as_user[@]}" "$program") >"$work/x/app.log" 2>&1 &
app_pid=$!
wait_for "$TIMEOUT" find_strip || fail "the strip did not run in a program directory it cannot write"
lines=$(grep -c "cannot be written, so nothing you set will be stored" "$work/x/app.log")
[[ $lines -eq 1 ]] || fail "standard error holds $lines such lines"
grep -q "make install" "$work/x/app.log" || fail "the line does not say how to install"
kill "$app_pid" && wait "$app_pid" 2>/dev/null
app_pid=""
chmod 755 "$prefix"

echo "--- make uninstall"
installing uninstall
expected=$(printf '%s\n' "$before" "./my apps/stackle/FILE.INI" | sort)
[[ $(files) == "$expected" ]] || fail "left after uninstall: $(files)"
[[ ! -e $work/home/data && ! -e $work/config/autostart ]] || fail "uninstall left folders it made"

echo PASS
