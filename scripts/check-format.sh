#!/usr/bin/env bash
# Checks that every tracked C++ file is laid out as .clang-format says, changing nothing.
# Lists the files that differ and exits 1 when there is one, 2 when clang-format cannot check;
# clang-format -i <file> lays a file out. Files may be given instead of all tracked ones.
#
# Usage: scripts/check-format.sh [<file>...]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

command -v clang-format >/dev/null || {
    echo "check-format: clang-format is not installed (scripts/install-deps.sh installs it)" >&2
    exit 2
}
# Other versions lay some constructs out otherwise: their verdict may differ from CI's.
version=$(clang-format --version | grep -oE '[0-9]+\.[0-9]+' | head -1)
[[ ${version%%.*} == 14 ]] || echo "check-format: clang-format $version, not 14 as in CI: differences may be its own" >&2

if [[ $# -gt 0 ]]; then
    files=("$@")
else
    cd "$root"
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi

# clang-format names every place that differs as <file>:<line>:<column>: error: ...; the style
# file is named, so that it also holds for files outside the tree.
report=$(printf '%s\0' "${files[@]}" | xargs -0 clang-format --style="file:$root/.clang-format" --dry-run --Werror 2>&1)
status=$?
mapfile -t differing < <(grep -oE '^[^:]+:[0-9]+:[0-9]+: error: code should be clang-formatted' <<<"$report" \
    | cut -d: -f1 | sort -u)

if [[ ${#differing[@]} -gt 0 ]]; then
    echo "check-format: ${#differing[@]} of ${#files[@]} files are not laid out as .clang-format says:" >&2
    printf '  %s\n' "${differing[@]}" >&2
    echo "check-format: clang-format -i <file> lays one out; clang-format --dry-run <file> shows where." >&2
    exit 1
fi
if [[ $status -ne 0 ]]; then
    # Not a difference: clang-format itself failed (a missing file, a crash).
    echo "$report" >&2
    echo "check-format: clang-format failed" >&2
    exit 2
fi
echo "check-format: all ${#files[@]} files are laid out as .clang-format says."
