#!/usr/bin/env bash
# Runs every fuzz target of a build for a bounded time.
#   run-fuzzers.sh BUILD_DIR SECONDS          corpus kept in BUILD_DIR/corpus
#   run-fuzzers.sh BUILD_DIR SECONDS --smoke  corpus thrown away afterwards
# The seeds in fuzz/corpus/<target>/ are only read, so they stay small; each
# target has its dictionary fuzz/<target>.dict. A failing input is kept as
# BUILD_DIR/artifacts/<target>-crash-...
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
scratch="$build/corpus"
[ "${3:-}" = "--smoke" ] && scratch=$(mktemp -d) && trap 'rm -rf "$scratch"' EXIT
failed=""
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  mkdir -p "$scratch/$target" "$build/artifacts"
  if ! "$build/fuzz/fuzz_$target" "$scratch/$target" "$seeds" -max_total_time="${2:?seconds per target}" -timeout=10 \
       -rss_limit_mb=2048 -artifact_prefix="$build/artifacts/$target-" -dict="fuzz/$target.dict" >"$build/fuzz_$target.log" 2>&1; then
    echo "fuzz_$target FAILED, see $build/fuzz_$target.log:" >&2
    grep -E 'fails for|ERROR|runtime error|Test unit written' "$build/fuzz_$target.log" | head -5 >&2 || true
    failed="$failed $target"
  fi
done
[ -z "$failed" ] || { echo "fuzz: failed:$failed" >&2; exit 1; }
