#!/usr/bin/env bash
# Runs window tests that check what an X server shows on a virtual X server of their own, with
# Qt's X11 platform instead of the offscreen one the other window tests use; offscreen those
# tests skip themselves.
#
# Usage: x11_tests.sh <test binary> <gtest filter> [<test binary> <gtest filter>...]
# Exit status: 0 when every binary passed, 1 otherwise.
set -uo pipefail
source "$(dirname "$0")/../../scripts/xvfb.sh"

if [[ $# -lt 2 || $(($# % 2)) -ne 0 ]]; then
    echo "usage: $0 <test binary> <gtest filter> [<test binary> <gtest filter>...]" >&2
    exit 1
fi

start_xvfb_session stackle-x11-tests 1024x768x24
status=0
while (($# > 0)); do
    "$1" --gtest_filter="$2" || status=1
    shift 2
done
exit $status
