#!/usr/bin/env bash
# End-to-end check of installing Stackle for one user, in a temporary home:
#   make install PREFIX=... AUTOSTART=1 -> the program stripped, its blank icon, the licence of
#   its fonts, the menu entry, the icon in each size of the user's icon theme and the autostart
#   entry, nothing else;
#   the menu entry's Exec line starts the installed strip on a virtual X server;
#   neither the program directory nor the user's folder can be written -> the strip runs, and
#   says so in one line on standard error and in a message box;
#   make uninstall -> exactly what was there before, and the settings the run stored.
#
# Usage: install_e2e.sh <path to the stackle binary in its build directory>
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
readonly SOURCE

take_binary "$@"
require_tools Xvfb xdotool make cmp strip
build=$(cd "$(dirname "$binary")/.." && pwd)
make_work_dir stackle-install
chmod 755 "$work"
root=$work/root # the temporary home and prefix
prefix="$root/my apps/stackle"

# Every file below the temporary home and prefix, one a line.
files() { (cd "$root" && find . -type f -print | sort); }

installing() {
    env HOME="$root/home" XDG_DATA_HOME="$root/home/data" XDG_CONFIG_HOME="$root/config" \
        make -s -C "$SOURCE" "$@" INSTALL_BUILD="$build" PREFIX="$prefix" >"$work/make.log" 2>&1 ||
        { cat "$work/make.log" >&2; fail "make $1 failed"; }
}

# The program's visible window of the strip's size (the splash shows before it); sets X and Y.
find_strip() { find_program_window "$STRIP_W" "$STRIP_H"; }

mkdir -m 755 "$root" || fail "could not make $root"
mkdir -p "$root/home" "$root/config" || fail "could not make the temporary home"
echo "a file of the user's" >"$root/home/notes.txt"
before=$(files)

step "make install AUTOSTART=1"
installing install AUTOSTART=1
icons=()
for size in 16 22 24 32 48 64 128 256; do
    icons+=("./home/data/icons/hicolor/${size}x$size/apps/stackle.png")
done
expected=$(printf '%s\n' "$before" ./config/autostart/stackle.desktop ./home/data/applications/stackle.desktop \
    "${icons[@]}" ./home/data/icons/hicolor/scalable/apps/stackle.svg "./my apps/stackle/.stackle-installed" \
    "./my apps/stackle/empty.ico" "./my apps/stackle/stackle" "./my apps/stackle/DejaVu-fonts-LICENSE.txt" | sort)
[[ $(files) == "$expected" ]] || fail "installed: $(files)"
strip -o "$work/stripped" "$binary" || fail "could not strip a copy of $binary"
cmp -s "$work/stripped" "$prefix/stackle" || fail "the installed program is not the built one, stripped"
menu=$root/home/data/applications/stackle.desktop
grep -qx 'Icon=stackle' "$menu" || fail "the menu entry names no icon"
cmp -s "$SOURCE/resources/fonts/LICENSE" "$prefix/DejaVu-fonts-LICENSE.txt" || fail "the fonts' licence is not installed"
cmp -s "$menu" "$root/config/autostart/stackle.desktop" || fail "the autostart entry differs from the menu entry"

step "the menu entry's Exec line starts the installed strip"
exec_line=$(sed -n 's/^Exec=//p' "$menu")
[[ $exec_line == \"*\" ]] || fail "Exec is not quoted: $exec_line"
program=${exec_line:1:-1}
[[ $program == "$prefix/stackle" ]] || fail "Exec names $program"
start_display
start_app "$program"
wait_for "$TIMEOUT" find_strip || fail "the installed strip did not appear"
[[ ! -s $app_log ]] || fail "the strip said something on a writable program directory"
xdotool mousemove $((X + STRIP_CLOSE_X)) $((Y + STRIP_CLOSE_Y)) click 1 || fail "could not click \"X\""
expect_app_exit "\"X\""
[[ -f $prefix/FILE.INI ]] || fail "the strip stored no settings beside itself"

step "neither the program directory nor the user's folder can be written"
chmod 555 "$prefix"
mkdir -m 555 "$work/config" || fail "could not make a read-only configuration folder"
as_user=(env XDG_CONFIG_HOME="$work/config")
if ((EUID == 0)); then # root writes anywhere: run as nobody, with a runtime folder of its own
    mkdir -m 700 "$work/nobody" && chown nobody "$work/nobody"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups "${as_user[@]}" XDG_RUNTIME_DIR="$work/nobody"
        HOME=/nonexistent)
fi
start_app "${as_user[@]}" "$program"
wait_for "$TIMEOUT" find_strip || fail "the strip did not run where it can store nothing"
lines=$(grep -c "$work/config/stackle/ can be written, so nothing you set will be stored" "$app_log")
[[ $lines -eq 1 ]] || fail "standard error holds $lines such lines"
box_shown() { [[ $(windows_titled Stackle | wc -l) -eq 2 ]]; }
wait_for "$TIMEOUT" box_shown || fail "no message box besides the strip says so"
end_processes "$app_pid"
app_pid=""
chmod 755 "$prefix"

step "make uninstall"
installing uninstall
expected=$(printf '%s\n' "$before" "./my apps/stackle/FILE.INI" | sort)
[[ $(files) == "$expected" ]] || fail "left after uninstall: $(files)"
[[ ! -e $root/home/data && ! -e $root/config/autostart ]] || fail "uninstall left folders it made"

echo PASS
