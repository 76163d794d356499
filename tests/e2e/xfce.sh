# Sourced by the end-to-end scripts that run parts of the Xfce desktop, after program.sh: a
# session bus of their own with the panel's settings, and xfce4-panel.
# shellcheck shell=bash

readonly PANEL_TIMEOUT=30 # without a window manager the panel waits 5 s for one before it shows
bus_pid="" panel_pid=""

# xfce_cleanup: what cleanup does, then the panel and the session bus go too. For the trap on EXIT.
# shellcheck disable=SC2317 # run by the trap
xfce_cleanup() {
    end_processes "$app_pid" "$panel_pid"
    cleanup
    end_processes "$bus_pid"
}

# start_session_bus <panel>: a session of its own, on a bus it exports: the panel's settings (read
# by xfconfd, which the bus starts) and every file the desktop libraries write live in $work; no
# accessibility bus, no settings daemon. The panel is "tray", one panel along the bottom edge with
# the status tray alone, or "desktop", Debian's default panel of Xfce along the top, 26 pixels
# high, with the window buttons, a pager of the workspaces and the status tray. configver keeps
# the panel from asking which layout to start with.
start_session_bus() {
    local position size plugins ids="" i
    case $1 in
    tray) position="p=8;x=0;y=0" size=32 plugins='
    <property name="plugin-1" type="string" value="systray"/>' ;;
    desktop) position="p=6;x=0;y=0" size=26 plugins='
    <property name="plugin-1" type="string" value="tasklist"><property name="grouping" type="uint" value="1"/></property>
    <property name="plugin-2" type="string" value="separator"><property name="expand" type="bool" value="true"/></property>
    <property name="plugin-3" type="string" value="pager"/>
    <property name="plugin-4" type="string" value="systray"><property name="square-icons" type="bool" value="true"/></property>' ;;
    *) fail "no panel layout $1" ;;
    esac
    for ((i = 1; i <= $(grep -c '"plugin-' <<<"$plugins"); i++)); do
        ids+=$'\n'"        <value type=\"int\" value=\"$i\"/>"
    done
    export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data
    export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory
    mkdir -p "$HOME" "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml" || fail "could not make the session's folders"
    cat >"$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml" <<EOF || fail "could not write the panel's settings"
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="$position"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="$size"/>
      <property name="plugin-ids" type="array">$ids
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">$plugins
  </property>
</channel>
EOF
    dbus-daemon --session --nofork --address="unix:path=$work/bus" >"$work/bus.log" 2>&1 &
    bus_pid=$!
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus
    wait_for "$TIMEOUT" test -S "$work/bus" || fail "the session bus did not start"
}

# find_status_tray: sets panel to the panel's window, and ICON_X, ICON_Y and ICON_AREA to the
# middle and the geometry of its status tray (see middle_of in tray.sh); fails while there is
# none.
find_status_tray() {
    local w line
    panel=""
    for w in $(xdotool search --classname '^xfce4-panel$' 2>/dev/null); do
        [[ $(xwininfo -id "$w" 2>/dev/null | sed -n 's/^ *Width: //p') == "$SCREEN_W" ]] && panel=$w
    done
    [[ -n $panel ]] || return 1
    line=$(xwininfo -tree -id "$panel" 2>/dev/null | grep '("wrapper-2.0" ' | head -n 1)
    [[ -n $line ]] && middle_of "$line"
}

# start_xfce_panel: starts xfce4-panel, sets panel_pid, and waits until its status tray shows.
start_xfce_panel() {
    xfce4-panel >>"$work/panel.log" 2>&1 &
    panel_pid=$!
    wait_for "$PANEL_TIMEOUT" find_status_tray || fail "the panel's status tray did not appear"
}
stop_xfce_panel() {
    end_processes "$panel_pid"
    panel_pid=""
}
