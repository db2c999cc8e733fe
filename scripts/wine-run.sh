#!/usr/bin/env bash
# Runs programs of the Windows cross build under Wine, headless and bounded
# in time, in a prefix of their own (never the user's ~/.wine):
#   wine-run.sh PREFIX PROGRAM.exe [ARGS...]  run one program (the build's
#                                             cross-compiling emulator, so
#                                             test discovery and ctest come here)
#   wine-run.sh PREFIX --start                make the prefix, start its server
#   wine-run.sh PREFIX --stop                 stop the server and its programs
# METEO_WINE_TIMEOUT (seconds, default 120) bounds one program run.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "uso: wine-run.sh PREFIX (PROGRAMMA.exe [ARGOMENTI...] | --start | --stop)" >&2
  exit 2
fi
# Wine wants the prefix as an absolute path.
WINEPREFIX=$(realpath -m -- "$1")
export WINEPREFIX
shift
export WINEDEBUG=-all
# No Mono or Gecko: their installers would want a window and the network.
# No menu builder: it would put Wine's menus and file types into $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Console programs only: Wine must never try to open a window.
unset DISPLAY WAYLAND_DISPLAY

# Debian 12 keeps the 64-bit loader and server out of PATH unless the
# "wine" package is installed beside "wine64".
wine=$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

# Every call below has its input and output away from the caller: a server
# started holding the caller's pipe would keep ctest waiting for it.
quietly() { "$@" </dev/null >/dev/null 2>&1; }

init_prefix() {
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.update-timestamp" ]; then
      quietly timeout -k 10 300 "$wine" wineboot -i
    fi
  ) 9>"$WINEPREFIX.lock"
}

case "$1" in
  --start)
    mkdir -p "$WINEPREFIX"
    quietly timeout -k 5 60 "$wineserver" -p
    # Also on a prefix that exists: wineboot starts Wine's own services
    # here, where they hold no one's pipe. Started later by the first test
    # program, they would hold its output open as long as the server lives.
    quietly timeout -k 10 300 "$wine" wineboot -i
    [ -f "$WINEPREFIX/.update-timestamp" ] || { echo "wine-run.sh: prefisso Wine non creato: $WINEPREFIX" >&2; exit 1; }
    ;;
  --stop)
    quietly timeout -k 5 60 "$wineserver" -k || true
    ;;
  *)
    # A build run on its own, without make test-windows, may find no prefix.
    [ -f "$WINEPREFIX/.update-timestamp" ] || init_prefix
    # Windows console output ends lines with CR LF; the tools here want LF.
    timeout -k 10 "${METEO_WINE_TIMEOUT:-120}" "$wine" "$@" </dev/null | tr -d '\r'
    ;;
esac
