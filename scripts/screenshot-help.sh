#!/usr/bin/env bash
# Takes the README's picture of the help window as the first start opens it, below the strip:
# the real program under Xvfb, the part of the screen that holds both windows.
# Usage: scripts/screenshot-help.sh [build-dir] [output.png]
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
build=${1:-build}
out=${2:-docs/help.png}

work=$(mktemp -d)
cleanup() { kill "${app:-}" "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
start_xvfb "$work" 1024x768x24
use_runtime_dir "$work"

cp "$build/bin/stackle" "$build/bin/empty.ico" "$work/"
"$work/stackle" & app=$!
help=$(xdotool search --sync --onlyvisible --name '^Help$' | head -n 1)
sleep 1.5 # let the clock tick once
eval "$(xdotool getwindowgeometry --shell "$help")"
# From the top of the screen, where the strip is, down to the help window's bottom edge.
import -window root -crop "${WIDTH}x$((Y + HEIGHT))+${X}+0" +repage "$out"
echo "wrote $out"
