#!/usr/bin/env bash
# Runs every fuzz target of a build for a bounded time.
#   run-fuzzers.sh BUILD_DIR SECONDS          corpus kept in BUILD_DIR/corpus
#   run-fuzzers.sh BUILD_DIR SECONDS --smoke  corpus thrown away afterwards
# The seeds in fuzz/corpus/<target>/ are only read, so they stay small. A
# failing input is kept as BUILD_DIR/artifacts/<target>-crash-...
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
seconds=${2:?seconds per target}
scratch="$build/corpus"
if [ "${3:-}" = "--smoke" ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
fi
mkdir -p "$build/artifacts"
failed=()
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  log="$build/fuzz_$target.log"
  dict=()
  [ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
  mkdir -p "$scratch/$target"
  if "$build/fuzz/fuzz_$target" "$scratch/$target" "$seeds" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 "${dict[@]}" >"$log" 2>&1; then
    echo "fuzz_$target: ok, $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") inputs in ${seconds} s"
  else
    echo "fuzz_$target: FAILED, see $log:" >&2
    grep -E 'FUZZ_CHECK|ERROR|runtime error|Test unit written' "$log" | head -5 >&2 || true
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]}" >&2
  exit 1
fi
