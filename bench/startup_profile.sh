#!/usr/bin/env bash
# Where the strip's start-up goes: the instructions each part of it runs, counted by callgrind
# from exec until the strip is mapped, on a virtual X server without a window manager, for a
# second start with empty slots; beside them the same parts of the baseline window (one line of
# text and a tray icon), where it has them. Instruction counts are the same from run to run,
# where times on a busy machine are not.
#
# Usage: bench/startup_profile.sh <build-dir>
# Exit status: 0 when measured, 1 on error.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/../scripts/xvfb.sh"

die() {
    echo "startup_profile.sh: $*" >&2
    exit 1
}

[[ $# -eq 1 ]] || die "usage: $0 <build-dir>"
build=$(cd "$1" && pwd) || die "no build directory $1"
for f in "$build/bin/stackle" "$build/bin/baseline_window" "$build/bin/startup_timer"; do
    [[ -x $f ]] || die "$f is missing: build first (make build)"
done
require_tools Xvfb valgrind callgrind_annotate

start_xvfb_session stackle-profile 1024x768x24 # sets work
mkdir "$work/program" && cp "$build/bin/stackle" "$build/bin/empty.ico" "$build/bin/baseline_window" "$work/program/" ||
    exit 1
printf '[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n' >"$work/program/FILE.INI" # a second start

# profile <name> <program> [args]: startup_timer ends the program once its window is mapped, and
# callgrind writes its counts then; the inclusive counts go to <name>.txt.
profile() {
    local name=$1
    shift
    (cd "$work/program" && "$build/bin/startup_timer" -t 120 -s "${STRIP_W}x${STRIP_H}" \
        "$(command -v valgrind)" --tool=callgrind --callgrind-out-file="$work/$name.out" "$@") >/dev/null 2>&1
    [[ -s $work/$name.out ]] || die "callgrind wrote nothing for $name"
    callgrind_annotate --inclusive=yes --threshold=100 "$work/$name.out" >"$work/$name.txt" 2>/dev/null ||
        die "callgrind_annotate failed"
}
profile strip ./stackle
profile baseline ./baseline_window --text --tray

# count <name> <function>...: the inclusive count of each function, added up; a function called
# recursively is counted at its outermost call. "PROGRAM TOTALS" counts everything.
count() {
    local name=$1 function total=0 n
    shift
    for function in "$@"; do
        n=$(grep -F "$function" "$work/$name.txt" | head -n 1 | awk '{ gsub(",", "", $1); print $1 }')
        total=$((total + ${n:-0}))
    done
    echo "$total"
}
all=$(count strip "PROGRAM TOTALS")
# row <label> <function>...: one line of the table.
row() {
    local label=$1 n b
    shift
    n=$(count strip "$@")
    b=$(count baseline "$@")
    awk -v label="$label" -v n="$n" -v b="$b" -v all="$all" \
        'BEGIN { printf "%-46s %12d %6.1f%%  %12s\n", label, n, 100 * n / all, b ? b : "-" }'
}

echo "where the strip's start-up goes: instructions from exec until the strip is mapped (callgrind)"
printf '%-46s %12s %7s  %12s\n' part strip share baseline
row "all" "PROGRAM TOTALS"
row "  loading the program and its libraries" ":_dl_start "
row "  Qt's application object" ":QApplication::QApplication("
row "  one strip per program directory" ":platform::UnixSingleInstance::UnixSingleInstance(" ":platform::UnixSingleInstance::Claim("
row "  the fonts it carries, registered" ":QFontDatabase::addApplicationFontFromData("
row "  splash, built and shown" ":TFormSplash::TFormSplash(" ":TFormSplash::showNow("
row "  Qt's font database, wherever first needed" ":QFontDatabasePrivate::ensureFontDatabase("
row "  tray icon and strip" ":TStackle::TStackle("
row "    strip's form (Designer file)" ":Ui_TForm1::setupUi("
row "    launch slots' widgets" ":TLaunchSlots::TLaunchSlots("
row "    start-up sequence (FormCreate)" ":TForm1::FormCreate("
row "      settings file reads and writes" ":profile::ReadString(" ":profile::WriteString("
row "      slots' files, lists and icons" ":TSlotCommands::SetUp("
row "      tab headings" ":widgets::TTabStrip::AddHeading("
row "  notification-area icon" ":QSystemTrayIcon::QSystemTrayIcon(" ":QSystemTrayIcon::setVisible(" \
    ":platform::LinuxNotificationArea::NotifyIcon("
