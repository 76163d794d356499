#!/usr/bin/env bash
# Takes the README's picture of the strip: the real program under Xvfb.
# Usage: scripts/screenshot.sh [build-dir] [output.png]
set -euo pipefail
build=${1:-build}
out=${2:-docs/screenshot.png}

display=:$((RANDOM % 400 + 200))
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
cleanup() { kill "${app:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

cp "$build/bin/stackle" "$work/"
"$work/stackle" & app=$!
window=$(xdotool search --sync --onlyvisible --name '^Stackle$' | head -n 1)
sleep 1.5 # let the clock tick once
import -window "$window" "$out"
echo "wrote $out"
