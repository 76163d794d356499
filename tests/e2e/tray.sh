# Sourced by the end-to-end scripts of the tray icon, after program.sh: the strip of the run, as
# it leaves the screen for a tray and comes back, the program's own menu, and the settings file.
# shellcheck shell=bash

readonly MIN_X=212 MIN_Y=11 # middle of the "-" button, relative to the strip

# Every log of the run, the programs' runs and the tray host's among them, and the windows.
show_state() {
    local log
    for log in "$work"/*.log; do
        [[ -s $log ]] || continue
        echo "$(basename "$log"):" >&2
        sed 's/^/  | /' "$log" >&2
    done
    [[ -n ${DISPLAY:-} ]] && xwininfo -root -tree 2>/dev/null | sed 's/^/  # /' >&2
}

# middle_of <a window's line of xwininfo -tree>: sets ICON_X and ICON_Y to the middle of that
# window, and ICON_AREA to its geometry on the screen (WxH+X+Y).
middle_of() {
    local geometry size offset
    # "   0x400010 "Stackle": ("stackle" "Stackle")  22x30+0+0  +1+737": size, then the absolute place.
    geometry=$(grep -oE '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+ +\+-?[0-9]+\+-?[0-9]+' <<<"$1") || return 1
    size=${geometry%%+*} offset=${geometry##* }
    offset=${offset#+}
    ICON_X=$((${offset%%+*} + ${size%x*} / 2)) ICON_Y=$((${offset#*+} + ${size#*x} / 2))
    ICON_AREA=$size+$offset
}
# find_trayer_icon: sets ICON_X and ICON_Y to the middle of the program's icon inside trayer's
# window (see middle_of); fails when it is not there.
find_trayer_icon() {
    local line
    find_tray_panel || return 1
    # shellcheck disable=SC2154 # panel: set by find_tray_panel
    line=$(xwininfo -tree -id "$panel" 2>/dev/null | grep '("stackle" ' | head -n 1) || return 1
    [[ -n $line ]] && middle_of "$line"
}
# click_icon <button>: clicks the program's icon, where the script's find_icon finds it.
click_icon() {
    find_icon || fail "the icon is not in the tray"
    xdotool mousemove "$ICON_X" "$ICON_Y" click "$1" || fail "xdotool could not click the icon"
}

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Sets $strip to the viewable strip of the run: a program window of the strip's width that is
# neither the splash nor inside the tray host. With a window manager the strip's own window is
# the one asked for, not the manager's frame.
find_strip() {
    local w width
    app_running || fail "the program ended before its strip appeared"
    for w in $(xdotool search --onlyvisible --classname '^stackle$' 2>/dev/null); do
        [[ $(xdotool getwindowpid "$w" 2>/dev/null) == "$app_pid" ]] || continue
        width=$(xwininfo -id "$w" 2>/dev/null | sed -n 's/^ *Width: //p')
        [[ $width == "$STRIP_W" ]] || continue
        is_splash "$w" && continue
        strip=$w
        return 0
    done
    return 1
}
strip_viewable() { [[ -n ${strip:-} ]] && viewable "$strip"; }

at_place() { read_geometry "$strip" && [[ $X -eq $1 && $Y -eq $2 ]]; }

expect_strip_at() {
    wait_for "$TIMEOUT" find_strip || fail "$3: no viewable strip within $TIMEOUT s"
    wait_for "$TIMEOUT" at_place "$1" "$2" || fail "$3: strip at ${X:-?},${Y:-?}, expected $1,$2"
}
expect_strip_gone() {
    wait_for "$TIMEOUT" eval '! strip_viewable' || fail "$1: the strip is still viewable"
}
# No strip of the run becomes viewable within a second.
expect_no_strip() {
    sleep 1
    ! find_strip || fail "$1: a strip is viewable"
}
click_at() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1 || fail "xdotool could not click"; }

# A visible window of the program that is neither the strip, nor the help window the first start
# opens, nor inside the tray host's window $panel: the program's own menu.
menu_shown() {
    local w tray_windows
    tray_windows=$(xwininfo -tree -id "$panel" 2>/dev/null)
    for w in $(xdotool search --onlyvisible --classname '^stackle$' 2>/dev/null); do
        [[ $w == "$strip" || $(xdotool getwindowname "$w" 2>/dev/null) == Help ]] && continue
        grep -qi "$(printf '0x%x' "$w")" <<<"$tray_windows" && continue
        return 0
    done
    return 1
}

# expect_start_in_tray <what>: with Tray Default=1 a new run shows the icon only (the script's
# expect_icon), and a click on it shows the strip at its stored place.
expect_start_in_tray() {
    write_ini "$progdir" '[Help]\r\nVisible=0\r\n[Tray]\r\nDefault=1\r\n[EXE]\r\nXPos=50\r\nYPos=60\r\n'
    start_app
    expect_icon "$1"
    expect_no_strip "$1"
    click_icon 1
    expect_strip_at 50 60 "$1, after a click on the icon"
}

# expect_click_brings_from_workspace <x> <y>: with the strip taken off every workspace but the
# third, one click on the icon brings it to the workspace on view, at x,y.
expect_click_brings_from_workspace() {
    wmctrl -i -r "$strip" -b remove,sticky || fail "wmctrl could not take the strip off every workspace"
    wmctrl -i -r "$strip" -t 2 || fail "wmctrl could not put the strip on workspace 2"
    expect_strip_gone "with the strip on workspace 2 alone"
    click_icon 1
    expect_strip_at "$1" "$2" "after one click on the icon"
    on_workspace 0 || fail "the click took the view to workspace $(xdotool get_desktop) instead of bringing the strip"
}

# write_ini <program dir> <printf format>; expect_ini <program dir> <printf format> <what>
write_ini() { printf "$2" >"$1/FILE.INI" || fail "could not write ${1##*/}/FILE.INI"; }
expect_ini() {
    printf "$2" >"$work/expected.ini"
    cmp -s "$work/expected.ini" "$1/FILE.INI" || fail "$3: ${1##*/}/FILE.INI holds $(od -c "$1/FILE.INI")"
}
