#!/usr/bin/env bash
# Start benchmark: StartFile against a bare posix_spawn of the same program, as a ratio of the
# median times. Usage: bench/start_file.sh <build-dir>
set -euo pipefail
"$1/bin/start_file_bench" --benchmark_repetitions=9 --benchmark_report_aggregates_only=true |
    tee /dev/stderr | awk '
        /^PosixSpawn\/real_time_median/ { spawn = $2 }
        /^StartFileThroughShell\/real_time_median/ { start = $2 }
        END { printf "StartFile / posix_spawn: %.3f (goal: within 1.2)\n", start / spawn }'
