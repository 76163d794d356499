#!/usr/bin/env bash
# Takes the README's pictures: the real program under Xvfb.
# Usage: scripts/screenshot.sh [build-dir] [output.png] [strip | help]
#   strip (the default): the strip alone, to docs/screenshot.png by default;
#   help: the first start's help window below the strip, to docs/help.png by default.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/xvfb.sh"
build=${1:-build}
picture=${3:-strip}
case $picture in
strip) out=${2:-docs/screenshot.png} ;;
help) out=${2:-docs/help.png} ;;
*)
    echo "usage: $0 [build-dir] [output.png] [strip | help]" >&2
    exit 1
    ;;
esac

start_xvfb_session stackle-screenshot 1024x768x24 # sets work

cp "$build/bin/stackle" "$build/bin/empty.ico" "$work/"
if [[ $picture == strip ]]; then
    printf '[Help]\r\nVisible=0\r\n' >"$work/FILE.INI" # not a first start: no help window
    "$work/stackle" &
    app_pid=$!
    # the strip, not the splash before it
    wait_for 10 find_program_window "$STRIP_W" "$STRIP_H" || { echo "$0: no strip within 10 s" >&2; exit 1; }
    sleep 1.5 # let the clock tick once
    import -window "$window" "$out"
else
    "$work/stackle" &
    app_pid=$!
    wait_for 10 find_titled Help || { echo "$0: no help window within 10 s" >&2; exit 1; }
    sleep 1.5
    read_geometry "$window"
    # From the top of the screen, where the strip is, down to the help window's bottom edge.
    import -window root -crop "${WIDTH}x$((Y + HEIGHT))+${X}+0" +repage "$out"
fi
echo "wrote $out"
