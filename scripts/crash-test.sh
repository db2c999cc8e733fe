#!/usr/bin/env bash
# The real program killed at every file operation of a tick (strace's fault
# injection), then started again for one tick; after each kill every file must
# be whole and hold what the ticks before it wrote. Three ticks: an ordinary
# minute, the midnight (summary row, new store, new log) and one with a KISS
# send pending. Usage: crash-test.sh BUILD_FOLDER
set -euo pipefail
program=$(realpath "${1:-build}/meteo-aprs")
sample=$(realpath "$(dirname "$0")/../demo/station/currdat.lst")
work=$(mktemp -d /tmp/crash-test.XXXXXX)
group=""
listener=""
cleanup() {
  [ -n "$group" ] && kill -9 -- "-$group" 2>/dev/null
  [ -n "$listener" ] && kill "$listener" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export LC_ALL=C QT_QPA_PLATFORM=offscreen
# Kill points: every call that creates, changes, syncs or names a file. A
# read changes nothing: a kill there is the kill at the next call.
inject=(openat write fsync fdatasync close rename renameat renameat2 ftruncate unlink unlinkat)

# The program's clock is the local time: a zone whose local time is now the
# wall time wanted sets it without touching the system's clock.
zone_for() {
  local off=$(( $(date +%s) - $(date -u -d "$1" +%s) )) sign=+
  (( off < 0 )) && { sign=-; off=$(( -off )); }
  printf 'CRT%s%d:%02d:%02d' "$sign" $((off / 3600)) $((off / 60 % 60)) $((off % 60))
}
# A day whose midnight is within 12 hours of now, so every zone stays in range.
day=$(date -u -d "@$(( $(date +%s) + 43200 ))" +%F)
eve=$(date -u -d "$day -1 day" +%F)
ymd() { date -u -d "$1" +%Y%m%d; }

# currdat.lst with outdoor temperature, relative pressure and outdoor humidity.
reading() {
  local t p h
  read -r t p h <<<"$1"
  awk -v t="$t" -v p="$p" -v h="$h" '/^\[/ { s = $0 }
    s ~ /outdoor_temperature/ && /^deg_C=/ { $0 = "deg_C=\"" t "\"\r" }
    s ~ /pressure_relative/ && /^hpa=/ { $0 = "hpa=\"" p "\"\r" }
    s ~ /outdoor_humidity/ && /^percent=/ { $0 = "percent=\"" h "\"\r" }
    { print }' "$sample" >"$dir/st/currdat.lst"
}
# Starts the program in its own session at the wall time given, with a prefix.
launch() {
  local when=$1; shift
  (cd "$dir/wd" && TZ=$(zone_for "$when") exec setsid "$@" "$program" >>"$work/program.log" 2>&1) &
  group=$!
  disown
}
# The session, or the shell about to start it.
stop() { kill -9 -- "-$group" "$group" 2>/dev/null || true; wait_for gone; group=""; }
wait_for() {
  local end=$(( SECONDS + 60 ))
  until "$@"; do (( SECONDS < end )) || return 1; sleep 0.05; done
}
# Ended, or ended and not yet reaped.
gone() { local state; state=$(ps -o stat= -p "$group") || return 0; [[ $state == Z* ]]; }
# A log row's time and outdoor humidity: what tells the rows of a test apart.
keys() { [ -f "$1" ] && awk -F' *; *' 'NR > 1 { printf "%s/%s ", $2, $8 }' "$1"; return 0; }
# The tick at wall time $1 wrote its log row (key $2), and the listener got
# $3 reports (or more).
ticked() {
  [[ " $(keys "$dir/out/$(ymd "$1").txt")" == *" $2 "* ]] && (( $(find "$dir/frames" -type f ! -name '*.tmp' | wc -l) >= $3 ))
}

losses=0
loss() { echo "PERDITA ($scenario, $point): $*"; losses=$(( losses + 1 )); }
# The rules every file follows: CP1252 (none of its five unused bytes), CR LF
# after every line, no NUL, no temporary file left.
check_whole() {
  local f bad unended
  for f in "$dir"/out/*; do
    case "$f" in *.tmp) loss "$(basename "$f") rimasto"; continue ;; esac
    bad=$(grep -caP '[\x00\x81\x8d\x8f\x90\x9d]|\r(?!$)' "$f" || true)
    unended=$(grep -cavP '\r$' "$f" || true)
    if [ "$bad" != 0 ] || [ "$unended" != 0 ] \
       || { [ -s "$f" ] && [ "$(tail -c1 "$f" | od -An -tx1)" != " 0a" ]; }; then
      loss "$(basename "$f") non integro"
    fi
  done
}
# A file of one number a line: the numbers, equal as numbers to those given.
check_numbers() {
  local got
  got=$(tr -d '\r' <"$1" | awk '{ printf "%s%g", (NR > 1 ? " " : ""), $1 }')
  [ "$got" = "$2" ] || loss "$(basename "$1"): '$got' invece di '$2'"
}
# The log: its header, then rows with exactly these keys; a key ending in ?
# (the tick that was killed) may be missing, never doubled.
check_log() {
  local f=$1 got want1 want2; shift
  [[ "$(head -1 "$f")" == "Data ;"* ]] || loss "$(basename "$f") senza intestazione"
  got=$(keys "$f"); want1=$(printf '%s ' "$@" | sed 's/?//g'); want2=$(printf '%s ' "$@" | sed 's/[^ ]*? //g')
  [ "$got" = "$want1" ] || [ "$got" = "$want2" ] || loss "$(basename "$f"): righe '$got' invece di '$want1'"
}
# my_meteo.txt: the time stamp of the restart's minute, then an APRS weather line.
check_weather_file() {
  local lines
  lines=$(tr -d '\r' <"$dir/out/my_meteo.txt")
  [[ "$lines" =~ ^[A-Z][a-z]{2}\ [0-9]{2}\ [0-9]{4}\ $1$'\n'[0-9.]{3}/[0-9.]{3}g[^$'\n']*$ ]] \
    || loss "my_meteo.txt: '$lines'"
}

# One scenario: a tick at $prep_at with reading R1, then for every kill point
# a tick at $kill_at with R2 killed there, then a tick at $restart_at with R3.
run_scenario() {
  scenario=$1
  dir=$work/$scenario
  mkdir -p "$dir"/{st,out,wd,frames}
  printf '1\r\n1\r\n%s\r\n%s\r\n' "$dir/st" "$dir/out" >"$dir/wd/config.kwt"
  if [ -n "$send" ]; then
    printf '%s\r\n' nominativo=IZ1ABC-13 latitudine=45.508300 longitudine=9.166700 percorso=WIDE2-1 kiss=1 \
      kiss_host=127.0.0.1 "kiss_porta=$port" kiss_intervallo=10 aprsis=0 aprsis_server=localhost \
      aprsis_porta=14580 aprsis_passcode=12345 aprsis_intervallo=10 >"$dir/wd/invio.kwt"
  fi
  local frames=0 paths=(-P "$dir/out" -P "$dir/out/my_meteo.txt" -P "$dir/out/VENTO.TXT" -P "$dir/wd/invio.kwt" -P invio.kwt)
  local d name
  for d in "$eve" "$day"; do
    for name in "MM$(date -u -d "$d" +%y%m%d).kwt" "MM$(date -u -d "$d" +%Y%m).TXT" "$(ymd "$d").txt"; do
      paths+=(-P "$dir/out/$name" -P "$dir/out/$name.tmp")
    done
  done
  [ -n "$send" ] && frames=1
  reading "$R1"; launch "$prep_at"
  wait_for ticked "$prep_at" "$prep_key" "$frames" || { echo "crash-test: il primo tick ($scenario) non ha scritto"; exit 1; }
  stop
  cp -a "$dir" "$dir.before"
  restore() { rm -rf "$dir"; cp -a "$dir.before" "$dir"; }

  # How many of each call the tick makes, up to reading invio.kwt, its last file.
  reading "$R2"
  rm -f "$work/dry.log"
  launch "$kill_at" strace -f -qq -o "$work/dry.log" "${paths[@]}" -e trace="$(IFS=,; echo "${inject[*]}"),newfstatat,stat"
  wait_for grep -qs 'invio\.kwt' "$work/dry.log" || { echo "crash-test: il tick non arriva a invio.kwt"; exit 1; }
  stop
  local s n count before=$kills
  for s in "${inject[@]}"; do
    count=$(grep -cE "^[0-9]+ +$s\(" "$work/dry.log" || true)
    for (( n = 1; n <= count; n++ )); do
      point="$s n. $n"
      restore
      reading "$R2"
      launch "$kill_at" strace -f -qq -o /dev/null "${paths[@]}" -e trace="$s" -e inject="$s:signal=KILL:when=$n"
      wait_for gone || { loss "non raggiunto"; stop; continue; }
      stop
      reading "$R3"
      launch "$restart_at"; wait_for ticked "$restart_at" "$restart_key" $(( frames + ${send:-0} )) || loss "nessun tick dopo il riavvio"
      stop
      kills=$(( kills + 1 ))
      check_whole
      check_weather_file "${restart_at: -8:5}"
      check_expected
    done
  done
  echo "$scenario: $(( kills - before )) kill points"
}

kills=0
R_COLD="10.0 1010.0 60" R_WARM="15.0 1020.0 84"

send=""
prep_at="$day 00:07:20" kill_at="$day 00:08:20" restart_at="$day 00:09:20"
prep_key=00:07/60 restart_key=00:09/84 R1=$R_COLD R2=$R_WARM R3=$R_WARM
check_expected() {
  check_numbers "$dir/out/MM$(date -u -d "$day" +%y%m%d).kwt" "10 15 1010 1020"
  check_log "$dir/out/$(ymd "$day").txt" 00:07/60 00:08/84? 00:09/84
  [ "$(wc -l <"$dir/out/VENTO.TXT")" = 4 ] || loss "VENTO.TXT vuoto dopo il riavvio"
}
run_scenario minuto

# The midnight: yesterday's store from the file (the program starts at 00:00),
# one summary row for the ended day, also when the restart comes only after
# the minute 00:00.
prep_at="$eve 23:59:20" kill_at="$day 00:00:15" restart_at="$day 00:01:25"
prep_key=23:59/60 restart_key=00:01/70 R1=$R_COLD R2=$R_WARM R3="15.0 1020.0 70"
check_expected() {
  local summary rows
  summary=$dir/out/MM$(date -u -d "$day" +%Y%m).TXT
  check_numbers "$dir/out/MM$(date -u -d "$eve" +%y%m%d).kwt" "10 10 1010 1010"
  check_numbers "$dir/out/MM$(date -u -d "$day" +%y%m%d).kwt" "15 15 1020 1020"
  check_log "$dir/out/$(ymd "$eve").txt" 23:59/60
  check_log "$dir/out/$(ymd "$day").txt" 00:00/84? 00:01/70
  [[ "$(head -1 "$summary")" == "DATA ;"* ]] || loss "riepilogo senza intestazione"
  rows=$(grep -a "^$(date -u -d "$day" +%d/%b/%Y) ;" "$summary" | tr -d '\r' | awk -F';' '{ printf "%g %g %g %g;", $2, $3, $4, $5 }')
  [ "$rows" = "10 10 1010 1010;" ] || loss "riepilogo: '$rows'"
}
run_scenario mezzanotte

# A report pending for a KISS TNC: the listener keeps each connection's bytes.
python3 -c '
import os, socket, sys
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(8)
with open(sys.argv[1] + "/port.new", "w") as f: f.write(str(s.getsockname()[1]))
os.rename(sys.argv[1] + "/port.new", sys.argv[1] + "/port")
n = 0
while True:
    c, _ = s.accept(); data = b""
    while (b := c.recv(4096)): data += b
    n += 1; frames = os.path.join(sys.argv[1], "invio", "frames")
    open(os.path.join(frames, "%d.tmp" % n), "wb").write(data)
    os.rename(os.path.join(frames, "%d.tmp" % n), os.path.join(frames, "%d" % n))
' "$work" &
listener=$!
wait_for test -f "$work/port"
port=$(cat "$work/port") send=1
prep_at="$day 00:20:20" kill_at="$day 00:21:20" restart_at="$day 00:22:20"
prep_key=00:20/60 restart_key=00:22/84 R1=$R_COLD R2=$R_WARM R3=$R_WARM
check_expected() {
  check_numbers "$dir/out/MM$(date -u -d "$day" +%y%m%d).kwt" "10 15 1010 1020"
  check_log "$dir/out/$(ymd "$day").txt" 00:20/60 00:21/84? 00:22/84
  # Each reading on the air once: the first at 60 % humidity, the second at 84 %.
  local first second
  first=$(grep -lar h60 "$dir/frames" | wc -l || true) second=$(grep -lar h84 "$dir/frames" | wc -l || true)
  [ "$first $second" = "1 1" ] || loss "rapporti inviati: $first della prima lettura, $second della seconda"
}
run_scenario invio

echo "$kills kill points, $losses losses"
(( losses == 0 && kills > 0 ))
