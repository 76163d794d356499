#!/usr/bin/env bash
# End-to-end check of the tray icon in a status-notifier tray: xfce4-panel with its status tray
# plugin, which is an org.kde.StatusNotifierWatcher, a host and an XEmbed tray in one, on a
# private session bus and a virtual X server without a window manager:
#   "-" while no tray shows the icon leaves the strip on the screen;
#   a panel started after the program gets the icon: registered with the watcher and drawn by
#   the panel, and not in the panel's XEmbed tray as well; "-" hides the strip, and a click on
#   the icon brings it back;
#   when the panel, and the watcher with it, ends and starts again, the icon is registered and
#   drawn again;
#   the menu the icon exports holds "Stackle" (disabled), a separator and "E_xit"; a right click
#   on the icon opens the panel's menu of it, and not the program's own as well, and its "Exit",
#   chosen by its mnemonic, ends the program;
#   Tray Default=1 with the panel running starts with the icon only.
# Asked for xfwm4, it checks the Xfce desktop instead: xfwm4 and Debian's default panel along the
# top, with a pager of four workspaces and the status tray:
#   a start shows the strip on the workspace on view, below the panel, and its icon within
#   moments; one click on the icon brings the strip from another workspace.
#
# Usage: statusnotifier_e2e.sh <path to the stackle binary> [openbox|xfwm4]
# Exit status: 0 passed, 1 failed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/program.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/tray.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/xfce.sh"

readonly MAX_RUNTIME=150 # seconds for the whole run, below the test runner's limit
readonly WATCHER=org.kde.StatusNotifierWatcher
readonly ICON_RED=FF3030 # the red of the program's icon

take_binary_and_window_manager "$@"
require_tools Xvfb xdotool xwininfo xprop xfce4-panel dbus-daemon gdbus import convert cmp
default_run || require_tools "$window_manager" wmctrl
make_program_dir stackle-statusnotifier-e2e
trap xfce_cleanup EXIT

watcher_running() {
    gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.NameHasOwner \
        "$WATCHER" 2>/dev/null | grep -q true
}
start_panel() {
    start_xfce_panel
    wait_for "$TIMEOUT" watcher_running || fail "the panel's status tray started no watcher"
}
stop_panel() {
    stop_xfce_panel
    wait_for "$TIMEOUT" eval '! watcher_running' || fail "the watcher stayed on the bus after the panel ended"
}

# The panel's status tray, whose one icon is the program's (see find_status_tray).
find_icon() { find_status_tray; }

# The watcher lists an icon of the program's run.
registered() {
    gdbus call --session -d "$WATCHER" -o /StatusNotifierWatcher -m org.freedesktop.DBus.Properties.Get \
        "$WATCHER" RegisteredStatusNotifierItems 2>/dev/null | grep -q "StatusNotifierItem-$app_pid-"
}
# The status tray shows the icon's picture.
icon_drawn() {
    find_icon && import -window root -crop "$ICON_AREA" "$work/tray.png" 2>/dev/null \
        && convert "$work/tray.png" -format %c histogram:info:- | grep -qi "#$ICON_RED"
}
in_xembed_tray() { xwininfo -tree -id "$panel" 2>/dev/null | grep -q '("stackle" '; }
expect_icon() {
    wait_for "$TIMEOUT" registered || fail "$1: the icon is not registered with the watcher"
    wait_for "$TIMEOUT" icon_drawn || fail "$1: the panel does not draw the icon"
    wait_for "$TIMEOUT" eval '! in_xembed_tray' || fail "$1: the icon is in the panel's XEmbed tray as well"
}

# The panel's menu of the icon: a pop-up menu of the status tray's process (not its tool tip).
host_menu_shown() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^wrapper-2.0$' 2>/dev/null); do
        xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_POPUP_MENU && return 0
    done
    return 1
}

# Prints the menu's items as a host reads them: where the icon says its menu is, the layout.
exported_menu() {
    local item menu
    item=$(gdbus call --session -d "$WATCHER" -o /StatusNotifierWatcher -m org.freedesktop.DBus.Properties.Get \
        "$WATCHER" RegisteredStatusNotifierItems | grep -oE "org\.kde\.StatusNotifierItem-$app_pid-[0-9]+")
    menu=$(gdbus call --session -d "$item" -o /StatusNotifierItem -m org.freedesktop.DBus.Properties.Get \
        org.kde.StatusNotifierItem Menu | grep -oE "'/[^']*'" | tr -d "'")
    gdbus call --session -d "$item" -o "$menu" -m com.canonical.dbusmenu.GetLayout -- 0 -1 '[]'
}


check_xfce_desktop() {
    local top
    step "the Xfce desktop: $window_manager, the panel along the top with its pager and status tray"
    start_display
    start_session_bus desktop
    start_wm
    start_panel
    top=$(xprop -root _NET_WORKAREA | grep -oE '[0-9]+' | sed -n 2p)
    ((top > 0)) || fail "the panel keeps no room at the top of the screen"

    step "a start: the strip on the workspace on view below the panel, the icon in the status tray"
    write_ini "$progdir" '[Help]\r\nVisible=0\r\n'
    start_app
    expect_strip_at "$DEFAULT_X" "$top" "start on the Xfce desktop"
    expect_icon "start on the Xfce desktop"

    step "one click on the icon brings the strip from another workspace"
    expect_click_brings_from_workspace "$DEFAULT_X" "$top"
    click_at "$STRIP_CLOSE_X" "$STRIP_CLOSE_Y"
    expect_app_exit "\"X\""
}
if ! default_run; then
    check_xfce_desktop
    echo "PASS"
    exit 0
fi

step "starting Xvfb and a session bus without a tray, and no window manager"
start_display
start_session_bus tray

step "\"-\" while no tray shows the icon leaves the strip on the screen"
start_app
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "first start"
click_at "$MIN_X" "$MIN_Y"
sleep 1
viewable "$strip" || fail "\"-\" hid the strip with no tray to bring it back from"

step "a panel started after the program gets the icon in its status tray"
start_panel
expect_icon "after the panel started"

step "\"-\" hides the strip; a click on the icon in the panel brings it back"
click_at "$MIN_X" "$MIN_Y"
expect_strip_gone "after \"-\""
click_icon 1
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "after a click on the icon"

step "the panel ends and starts again: the icon is registered with the new watcher"
stop_panel
start_panel
expect_icon "after the panel restarted"
click_at "$MIN_X" "$MIN_Y"
expect_strip_gone "after \"-\" with the panel back"
click_icon 1
expect_strip_at "$DEFAULT_X" "$DEFAULT_Y" "after a click on the icon in the restarted panel"

step "the exported menu: \"Stackle\" disabled, a separator, \"E_xit\""
layout=$(exported_menu) || fail "could not read the icon's menu over the bus"
items=$(grep -oE "'label': <'[^']*'>|'type': <'separator'>" <<<"$layout" | tr '\n' ' ')
[[ $items == "'label': <'Stackle'> 'type': <'separator'> 'label': <'E_xit'> " ]] || fail "the menu holds $layout"
grep -q "'enabled': <false>, 'label': <'Stackle'>" <<<"$layout" || fail "\"Stackle\" is not disabled in $layout"

step "a right click opens the panel's menu of the icon, whose Exit ends the program"
click_icon 3
wait_for "$TIMEOUT" host_menu_shown || fail "the panel opened no menu on a right click on the icon"
sleep 1 # past the double-click time, after which the program would open a menu of its own
! menu_shown || fail "the program opened its own menu beside the panel's"
xdotool key x || fail "xdotool could not choose Exit"
expect_app_exit "Exit in the panel's menu"

step "Tray Default=1 with the panel running: only the icon; a click shows the strip"
expect_start_in_tray "start-up in the tray"
click_at "$STRIP_CLOSE_X" "$STRIP_CLOSE_Y"
expect_app_exit "\"X\""

echo "PASS"
