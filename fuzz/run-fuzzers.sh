#!/usr/bin/env bash
# Runs every fuzz target of a build for a bounded time.
#   run-fuzzers.sh BUILD_DIR SECONDS          corpus kept in BUILD_DIR/corpus
#   run-fuzzers.sh BUILD_DIR SECONDS --smoke  corpus thrown away afterwards
# The seeds in fuzz/corpus/<target>/ are only read: what a run discovers goes
# into a scratch corpus, so the repository's seeds stay small. A failing input
# is kept as BUILD_DIR/artifacts/<target>-crash-... and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
seconds=${2:?seconds per target}
smoke=${3:-}

mkdir -p "$build/artifacts"
if [ "$smoke" = "--smoke" ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
else
  scratch="$build/corpus"
fi

failed=()
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  binary="$build/fuzz/fuzz_$target"
  [ -x "$binary" ] || { echo "fuzz: $binary missing" >&2; failed+=("$target"); continue; }
  mkdir -p "$scratch/$target"
  log="$build/fuzz_$target.log"
  dict=()
  [ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
  echo "fuzz_$target: ${seconds} s"
  if "$binary" "$scratch/$target" "$seeds" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 "${dict[@]}" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    # A run that found no new coverage prints no "cov:" line; sed, unlike
    # grep, does not fail on that, and it reads the whole log (no pipe cut short).
    cov=$(sed -n 's/.*\(cov: [0-9]*\).*/\1/p' "$log")
    cov=${cov##*$'\n'}
    files=$(find "$scratch/$target" -type f | wc -l)
    echo "  ok: $runs inputs ($rate/s), $cov, corpus $files files"
  else
    echo "  FAILED, see $log:" >&2
    reasons=$(grep -E 'FUZZ_CHECK|ERROR|runtime error|Test unit written' "$log" || true)
    sed -n 1,5p <<<"$reasons" >&2
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]}" >&2
  exit 1
fi
