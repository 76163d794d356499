#!/usr/bin/env bash
# End-to-end check of the Debian package, built in a fresh clone of this repository and installed
# on this machine:
#   make package -> stackle_<version>_<arch>.deb, of the project's VERSION, in which lintian finds
#   no error;
#   apt-get install ./stackle_*.deb -> /usr/bin/stackle; the menu entry and the AppStream data
#   pass their validators;
#   /usr/bin/stackle started by an ordinary user on a virtual X server, "P" of slot 1 clicked,
#   "X" -> the flag stored in that user's ~/.config/stackle/FILE.INI, a folder of theirs alone,
#   and nothing beside the program; the next start shows "P" green;
#   apt-get remove stackle -> nothing the package installed is left, the user's files are.
#
# The package is built as clone_e2e.sh builds: without optimisation (compile_unoptimised.sh),
# which the package's contents do not depend on.
#
# Usage: package_e2e.sh
# Exit status: 0 passed, 1 failed, 77 skipped (not root, or a package stackle is installed
# already, which this test would replace and remove).
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"

SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
readonly SOURCE
readonly BUILD_TIMEOUT=900 # seconds for one build of the program, on two busy cores
readonly P1_X=37 P1_Y=71   # the middle of slot 1's "P", relative to the strip
readonly P1_BOX=6x10 P1_BOX_X=34 P1_BOX_Y=66 # an area inside it
readonly APP_ID=org.example.Stackle

if ((EUID != 0)); then
    echo "package_e2e: installing a package needs root; skipped"
    exit 77
fi
if dpkg-query -W -f='${Status}' stackle 2>/dev/null | grep -q installed; then
    echo "package_e2e: a package stackle is installed already; skipped"
    exit 77
fi
require_tools Xvfb xdotool make git import setpriv lintian desktop-file-validate appstreamcli
make_work_dir stackle-package
chmod 755 "$work"
clone=$work/clone
make_log=$work/make.log
unset MAKEFLAGS MFLAGS MAKELEVEL
export CMAKE_CXX_COMPILER_LAUNCHER=$SOURCE/tests/e2e/compile_unoptimised.sh COMPILE_CACHE=$work/compiled

# apt-get, waiting for another's lock rather than failing.
apt() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"; }
installed=0 # 1 while the package is installed, for the clean-up to remove
trap '((installed)) && apt remove -y -qq stackle >/dev/null 2>&1; cleanup' EXIT

show_state() {
    show_app_log
    [[ -f $home/.config/stackle/FILE.INI ]] && { echo "FILE.INI:" >&2; sed 's/^/  | /' "$home/.config/stackle/FILE.INI" >&2; }
    return 0
}

# The strip of the program as the user runs it.
find_strip() {
    app_running || fail "the program ended"
    find_program_window "$STRIP_W" "$STRIP_H"
}

# The colour of slot 1's "P" shows in its area of the screen.
p1_shows() {
    import -silent -window root -crop "$P1_BOX+$((X + P1_BOX_X))+$((Y + P1_BOX_Y))" -depth 8 txt:- 2>/dev/null |
        grep -qi "$1"
}

step "make package in a fresh clone"
git clone -q "$SOURCE" "$clone" || fail "could not clone $SOURCE"
timeout "$BUILD_TIMEOUT" nice make -C "$clone" package >"$make_log" 2>&1 ||
    { tail -n 40 "$make_log" >&2; fail "make package failed or took more than $BUILD_TIMEOUT s"; }
version=$(sed -n 's/^project(Stackle VERSION \([^ )]*\).*/\1/p' "$clone/CMakeLists.txt")
deb=$clone/stackle_${version}_$(dpkg --print-architecture).deb
[[ -n $version && -f $deb ]] || fail "no $deb; there is: $(cd "$clone" && echo ./*.deb)"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "the package's version is $(dpkg-deb -f "$deb" Version)"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "Depends names no Qt: $(dpkg-deb -f "$deb" Depends)"

step "lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian found errors"; }

step "apt-get install ./$(basename "$deb")"
installed=1
(cd "$clone" && apt install -y -qq "./$(basename "$deb")") >"$make_log" 2>&1 ||
    { cat "$make_log" >&2; fail "apt-get install failed"; }
mapfile -t files < <(dpkg -L stackle)
[[ -x /usr/bin/stackle && -f /usr/share/stackle/empty.ico && -f /usr/share/man/man1/stackle.1.gz ]] ||
    fail "the package did not install the program, its blank icon and its manual page"
desktop-file-validate "/usr/share/applications/$APP_ID.desktop" >&2 || fail "the menu entry is not valid"
appstreamcli validate --no-net "/usr/share/metainfo/$APP_ID.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "the AppStream data is not valid"; }

step "an ordinary user sets a \"P\" and quits with \"X\""
start_display
home=$work/home
{ mkdir -m 755 "$home" && mkdir -m 700 "$work/runtime" && chown nobody "$home" "$work/runtime"; } ||
    fail "could not make the user's home"
as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups
    env -u XDG_CONFIG_HOME HOME="$home" XDG_RUNTIME_DIR="$work/runtime")
start_app "${as_user[@]}" /usr/bin/stackle
wait_for "$TIMEOUT" find_strip || fail "the installed strip did not show"
p1_shows '#FF0000' || fail "\"P\" of slot 1 is not red on the first start"
xdotool mousemove $((X + P1_X)) $((Y + P1_Y)) click 1 || fail "could not click \"P\""
wait_for "$TIMEOUT" p1_shows '#00FF00' || fail "\"P\" of slot 1 did not turn green"
xdotool mousemove $((X + STRIP_CLOSE_X)) $((Y + STRIP_CLOSE_Y)) click 1 || fail "could not click \"X\""
expect_app_exit "\"X\""
! grep -q "cannot be written" "$app_log" || fail "the strip says it stores nothing"
settings=$home/.config/stackle/FILE.INI
grep -q $'^Param1=1\r$' "$settings" || fail "the user's FILE.INI does not hold the flag"
[[ $(stat -c '%a %U' "$home/.config/stackle") == "700 nobody" ]] ||
    fail "the user's folder is $(stat -c '%a %U' "$home/.config/stackle")"
[[ ! -e /usr/bin/FILE.INI ]] || fail "the strip stored its settings beside the program"

step "the next start shows it kept"
start_app "${as_user[@]}" /usr/bin/stackle
wait_for "$TIMEOUT" find_strip || fail "the installed strip did not show again"
wait_for "$TIMEOUT" p1_shows '#00FF00' || fail "\"P\" of slot 1 is not green on the next start"
xdotool mousemove $((X + STRIP_CLOSE_X)) $((Y + STRIP_CLOSE_Y)) click 1 || fail "could not click \"X\""
expect_app_exit "\"X\" on the next start"

step "apt-get remove stackle"
apt remove -y -qq stackle >"$make_log" 2>&1 || { cat "$make_log" >&2; fail "apt-get remove failed"; }
# shellcheck disable=SC2034 # read by the clean-up
installed=0
left=()
for path in "${files[@]}"; do
    # What the package shares with others (/usr, /usr/share/icons, ...) stays while they use it.
    [[ -d $path ]] && [[ -n $(ls -A "$path") ]] && continue
    [[ -e $path ]] && left+=("$path")
done
((${#left[@]} == 0)) || fail "apt-get remove left ${left[*]}"
grep -q $'^Param1=1\r$' "$settings" || fail "apt-get remove touched the user's settings"

echo PASS
