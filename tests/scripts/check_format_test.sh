#!/usr/bin/env bash
# scripts/check-format.sh on files of a temporary directory: passes a file laid out as
# .clang-format says, lists and fails one that is not, and fails, without calling it a
# difference, when clang-format cannot read a file.
set -uo pipefail
check="$(dirname "$0")/../../scripts/check-format.sh"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Laid out as the tree is: one-line case labels, {} and a constructor initialiser on its line.
cat >"$dir/Good.cpp" <<'CPP'
struct Point {
    explicit Point(int x)
        : x_(x)
    {
    }
    void Reset() {}
    int x_;
};

int Sign(int value)
{
    switch (value) {
    case 0: return 0;
    default: return value < 0 ? -1 : 1;
    }
}
CPP
# The same with the case labels apart from their statements, and a blank in the empty body.
sed -e 's/    case 0: return 0;/    case 0:\n        return 0;/' -e 's/void Reset() {}/void Reset() { }/' \
    "$dir/Good.cpp" >"$dir/Bad.cpp"

output=$("$check" "$dir/Good.cpp" 2>&1)
[[ $? -eq 0 ]] || fail "a file laid out as .clang-format says is refused: $output"

output=$("$check" "$dir/Good.cpp" "$dir/Bad.cpp" 2>&1)
status=$?
[[ $status -eq 1 ]] || fail "a file laid out otherwise gives exit status $status, not 1"
grep -q "^  $dir/Bad.cpp$" <<<"$output" || fail "the file laid out otherwise is not listed: $output"
grep -q "Good.cpp" <<<"$output" && fail "the file laid out as .clang-format says is listed: $output"

output=$("$check" "$dir/Missing.cpp" 2>&1)
status=$?
[[ $status -eq 2 ]] || fail "a file clang-format cannot read gives exit status $status, not 2: $output"

[[ $failures -eq 0 ]] && echo "check-format: all cases passed"
exit $((failures > 0))
