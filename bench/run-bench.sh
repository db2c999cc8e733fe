#!/usr/bin/env bash
# Runs the benchmarks with repetitions in random interleaving (the machine
# may be busy with other work: medians, and drift spread over all of them),
# then prints the ratios the goals are stated in.
# Usage: bench/run-bench.sh [BENCH_BINARY] [REPETITIONS]
set -euo pipefail
binary=${1:-build-bench/bench/meteo_bench}
repetitions=${2:-${BENCH_REPETITIONS:-9}}
out=$(mktemp)
trap 'rm -f "$out"' EXIT

"$binary" --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true 2>&1 | tee "$out"

# Median real time (column 2) and CPU time (column 4) in ns of a benchmark.
median() { awk -v n="$1_median" '$1 == n { print $2 " " $4 }' "$out"; }
ratio() { # NAME_A NAME_B LABEL
  read -r ra ca <<<"$(median "$1")"
  read -r rb cb <<<"$(median "$2")"
  awk -v ra="$ra" -v rb="$rb" -v ca="$ca" -v cb="$cb" -v label="$3" \
    'BEGIN { printf "%s: %.2fx real time, %.2fx CPU time (%.1f / %.1f us real)\n", label, ra / rb, ca / cb, ra / 1000, rb / 1000 }'
}
echo
echo "== ratios of medians ($repetitions repetitions)"
ratio BM_Tick/shm:0 BM_FileSystemFloor/shm:0 "tick / file-system floor, on disk, run apart"
ratio BM_Tick/shm:1 BM_FileSystemFloor/shm:1 "tick / file-system floor, in memory (/dev/shm), run apart"
# The paired runs: a tick and a floor pass in turn, under the same conditions.
paired() { # NAME LABEL
  awk -v n="$1_median" -v label="$2" '$1 == n {
      for (i = 1; i <= NF; ++i) {
        split($i, kv, "=")
        # Counters print 1500 as 1.5k.
        v[kv[1]] = kv[2] ~ /k$/ ? substr(kv[2], 1, length(kv[2]) - 1) * 1000 : kv[2]
      }
      printf "%s: %.2fx (tick %.1f us, floor %.1f us)\n", label, v["ratio"], v["tick_us"], v["floor_us"] }' "$out"
}
paired BM_TickOverFloor/shm:0 "tick / file-system floor, on disk, paired (goal <= 1.5)"
paired BM_TickOverFloor/shm:1 "tick / file-system floor, in memory, paired"
ratio BM_AppendDataLog/1024 BM_AppendDataLog/0 "log row appended at 1 GB / at 0 (goal <= 1.10)"
