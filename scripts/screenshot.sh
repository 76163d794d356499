#!/usr/bin/env bash
# Takes the README's picture of the strip: the real program under Xvfb.
# Usage: scripts/screenshot.sh [build-dir] [output.png]
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
build=${1:-build}
out=${2:-docs/screenshot.png}

work=$(mktemp -d)
cleanup() { kill "${app:-}" "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
start_xvfb "$work" 1024x768x24
use_runtime_dir "$work"

cp "$build/bin/stackle" "$build/bin/empty.ico" "$work/"
printf '[Help]\r\nVisible=0\r\n' >"$work/FILE.INI" # the strip alone, without the first start's help
"$work/stackle" & app=$!
window=$(xdotool search --sync --onlyvisible --classname '^stackle$' | head -n 1)
sleep 1.5 # let the clock tick once
import -window "$window" "$out"
echo "wrote $out"
