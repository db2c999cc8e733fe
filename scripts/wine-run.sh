#!/usr/bin/env bash
# Runs a program of the Windows cross build under Wine, headless and bounded
# in time: wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# Used as the cross-compiling emulator, so test discovery and ctest both go
# through here. METEO_WINE_TIMEOUT (seconds, default 300) bounds one run.
set -euo pipefail

export WINEPREFIX=$1
shift
export WINEDEBUG=-all
# No Mono or Gecko: their installers would want a window and the network.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Console programs only: Wine must never try to open a window.
unset DISPLAY WAYLAND_DISPLAY

if command -v wine >/dev/null 2>&1; then
  wine=wine
elif command -v wine64 >/dev/null 2>&1; then
  wine=wine64
else
  wine=/usr/lib/wine/wine64
fi

# A prefix that does not exist yet (a build run on its own, without
# make test-windows) is made here, once, with its chatter kept away from the
# caller's pipe.
if [ ! -f "$WINEPREFIX/.update-timestamp" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.update-timestamp" ]; then
      timeout -k 10 300 "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# Windows console output ends lines with CR LF; the test tools here expect LF.
timeout -k 10 "${METEO_WINE_TIMEOUT:-300}" "$wine" "$@" </dev/null | tr -d '\r'
