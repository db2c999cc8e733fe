#!/usr/bin/env bash
# Whole-program figures, measured from outside the program as a user would
# see them (the program has no options or hooks for this; config.kwt alone
# configures it):
#   - start to the first completed tick (my_meteo.txt written), offscreen;
#   - resident memory (VmRSS, VmHWM) after the first tick and after TICKS;
#   - CPU used while it waits for a missing currdat.lst (100 ms ticks).
# Usage: bench/measure-program.sh [PROGRAM] [PROBE]
#   REPEATS (7) start-ups, TICKS (2, i.e. about 60 s) and IDLE_SECONDS (20)
#   IDLE_REPEATS (3) can be set in the environment.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:-build-bench/meteo-aprs}")
probe=$(realpath "${2:-$(dirname "$program")/bench/meteo_first_tick}")
repeats=${REPEATS:-7}
ticks=${TICKS:-2}
idle_seconds=${IDLE_SECONDS:-20}
idle_repeats=${IDLE_REPEATS:-3}
export QT_QPA_PLATFORM=offscreen

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

# A working folder with config.kwt, a station folder and an output folder.
workdir() { # NAME WITH_CURRDAT
  local w="$root/$1"
  mkdir -p "$w/station" "$w/out"
  [ "$2" = yes ] && cp "$here/../demo/station/currdat.lst" "$w/station/"
  printf '1\r\n1\r\n%s\r\n%s\r\n' "$w/station" "$w/out" > "$w/config.kwt"
  echo "$w"
}

median() { sort -g | awk '{v[NR]=$1} END {if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
field() { sed -n "s/.*$1=\([^ ]*\).*/\1/p"; }

echo "== start to first tick ($repeats starts, offscreen)"
starts=()
for i in $(seq "$repeats"); do
  w=$(workdir "start$i" yes)
  line=$("$probe" ticks "$program" "$w" "$w/out" 1)
  starts+=("$(echo "$line" | field first_tick_ms)")
  rss_first+=("$(echo "$line" | field rss_first_kb)")
done
echo "  runs (ms): ${starts[*]}"
echo "  median: $(printf '%s\n' "${starts[@]}" | median) ms (goal < 150 ms)"
echo "  VmRSS after the first tick, median: $(printf '%s\n' "${rss_first[@]}" | median) kB"

echo "== resident memory after $ticks ticks, and CPU while waiting ($idle_repeats x ${idle_seconds} s), side by side"
w=$(workdir memory yes)
"$probe" ticks "$program" "$w" "$w/out" "$ticks" > "$root/memory.txt" &
memory_pid=$!
idle=()
for i in $(seq "$idle_repeats"); do
  w=$(workdir "idle$i" no)
  line=$("$probe" idle "$program" "$w" "$idle_seconds")
  echo "  waiting: $line"
  idle+=("$(echo "$line" | field core_percent)")
done
echo "  waiting CPU, median: $(printf '%s\n' "${idle[@]}" | median) % of a core (goal < 0.2 %)"
wait "$memory_pid"
line=$(cat "$root/memory.txt")
echo "  $line"
echo "  VmRSS $(($(echo "$line" | field rss_kb) / 1024)) MB, VmHWM $(($(echo "$line" | field hwm_kb) / 1024)) MB (goal < 40 MB)"
