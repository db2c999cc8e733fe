#!/usr/bin/env bash
# Cross-builds the logic library and its tests for 64-bit Windows and runs
# the tests under Wine: test-windows.sh [BUILD_FOLDER] [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-windows}
jobs=${2:-$(nproc 2>/dev/null || echo 2)}
prefix="$PWD/$build/wineprefix"
wine_run=scripts/wine-run.sh

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DMETEO_BUILD_GUI=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null

# The server runs from before the build (test discovery already runs the
# tests) until the end, and is stopped whatever happens in between.
trap '"$wine_run" "$prefix" --stop' EXIT
"$wine_run" "$prefix" --start

cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
