#!/usr/bin/env bash
# Installs the Windows program with its installer under Wine, on Xvfb, in a
# fresh prefix, and proves it as a user would meet it:
#   test-windows-program.sh [FOLDER]     (FOLDER as for windows-package.sh)
# - setup.exe /S puts the files, the Start-menu shortcut and the uninstall
#   entry in place;
# - the program started from the shortcut, on a currdat.lst, writes the same
#   bytes as the Linux build (only the time stamp may differ), into a folder
#   whose name has an "à" and a space;
# - the three option dialogs open from the Parametri menu, "Informazioni"
#   from the ? menu (screenshots);
# - setup.exe /S again over the running program closes it cleanly, keeps
#   every data file and starts it again in the data folder;
# - a first start without config.kwt shows the folders dialog with the real
#   drives, and folders chosen with the keyboard are saved as CP1252;
# - uninstall.exe /S removes the program and leaves the user's data.
# Screenshots of each window and the measured figures stay in FOLDER/wine-test,
# beside the floor: a bare Qt Widgets window (bench/floor) started the same way.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m -- "${1:-build-package}")

scripts/install-deps.sh windows-program
scripts/windows-package.sh "$out"
version=$(sed -n 's/^project(meteo-aprs VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

t=$out/wine-test
rm -rf "$t"
mkdir -p "$t/shots"
# Wine links the prefix's Desktop and Documents to $HOME: a home of the
# test's own keeps the installer's desktop shortcut out of the user's.
mkdir -p "$t/home"
export HOME=$t/home
export WINEPREFIX=$t/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

failures=0
fail() { echo "FALLITO: $*" >&2; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }
# expect GOOD BAD COMMAND...: says GOOD when COMMAND succeeds, else fails with BAD.
expect() { local good=$1 bad=$2; shift 2; if "$@"; then ok "$good"; else fail "$bad"; fi; }
step_start=$(date +%s)
say() { echo "== [$(( $(date +%s) - step_start )) s] $*"; }

# Xvfb on a display number of its own choosing, in a session of its own so
# that it and nothing else is stopped at the end.
xvfb_pid=""
cleanup() {
  timeout -k 5 30 "$wineserver" -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill -- "-$xvfb_pid" 2>/dev/null || true; fi
  if [ -n "${linux_pid:-}" ]; then kill -- "-$linux_pid" 2>/dev/null || true; fi
  if [ -n "${floor_pid:-}" ]; then kill -- "-$floor_pid" 2>/dev/null || true; fi
  for pid in "${listeners[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
}
listeners=()
trap cleanup EXIT
exec 5>"$t/xvfb.display"
setsid Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
exec 5>&-
for _ in $(seq 100); do [ -s "$t/xvfb.display" ] && break; sleep 0.1; done
display=$(cat "$t/xvfb.display")
[ -n "$display" ] || { echo "Xvfb non è partito" >&2; exit 1; }
export DISPLAY=:$display

w() { timeout -k 10 "${WINE_CALL_SECONDS:-120}" "$wine" "$@" </dev/null; }
# Polls for a file up to $2 seconds; prints the seconds waited.
wait_for_file() {
  local file=$1 limit=$2 start now
  start=$(date +%s%N)
  while [ ! -s "$file" ]; do
    now=$(date +%s%N)
    [ $(( (now - start) / 1000000 )) -lt $((limit * 1000)) ] || return 1
    sleep 0.02
  done
  now=$(date +%s%N)
  echo $(( (now - start) / 1000000 ))
}
shot() { sleep "${2:-2}"; import -display "$DISPLAY" -window root "$t/shots/$1.png"; }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || true; }

say "prefisso Wine nuovo, con un desktop virtuale (le finestre hanno la loro cornice)"
WINE_CALL_SECONDS=300 w wineboot -i >/dev/null 2>&1
w reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
w reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x900 /f >/dev/null 2>&1
# Debian's Wine 8.0 never loads its own fonts (it looks for them beside the
# wrong folder), so the Windows families fall back to the first face
# fontconfig lists, DejaVu Math TeX Gyre, whose GDI line height is four times
# its real one: QLineEdit centres its text on that height and draws it outside
# its box. A Windows machine has the real fonts; here the families are mapped
# onto DejaVu, whose metrics agree.
for family in Tahoma "Segoe UI" Arial "MS Sans Serif" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do
  w reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$family" /d "DejaVu Sans" /f >/dev/null 2>&1
done
for family in "Lucida Console" "Courier New"; do
  w reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$family" /d "DejaVu Sans Mono" /f >/dev/null 2>&1
done
w reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Times New Roman" /d "DejaVu Serif" /f >/dev/null 2>&1
# The desktop is made when Wine's first program starts: start again.
timeout -k 5 30 "$wineserver" -k >/dev/null 2>&1 || true
user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
program_dir=$WINEPREFIX/drive_c/Program\ Files/meteo-aprs
data_dir=$user_dir/AppData/Local/meteo-aprs
start_menu=$user_dir/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/meteo-aprs
shortcut=$start_menu/meteo-aprs.lnk
# Wine names the Startup folder "StartUp".
startup_shortcut() { find "$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs" -maxdepth 2 \
  -ipath '*/startup/meteo-aprs.lnk' 2>/dev/null; }

say "installazione silenziosa"
WINE_CALL_SECONDS=300 w "$out/meteo-aprs-$version-setup.exe" /S >/dev/null 2>&1
for f in meteo-aprs.exe uninstall.exe LEGGIMI.txt licenze; do
  if [ -e "$program_dir/$f" ]; then ok "installato: Program Files\\meteo-aprs\\$f"; else fail "manca $f"; fi
done
cmp -s "$out/meteo-aprs.exe" "$program_dir/meteo-aprs.exe" || fail "meteo-aprs.exe installato diverso da quello costruito"
expect "cartella dei dati creata: AppData\\Local\\meteo-aprs" "manca la cartella dei dati" test -d "$data_dir"
# A shortcut that starts the program in the data folder: its strings hold
# the target and its "Start in" folder.
expect_link() { # PATH OK NOT_IN_DATA MISSING
  if [ -n "$1" ] && [ -f "$1" ]; then
    local link_text
    link_text=$( { strings -a "$1"; strings -a -el "$1"; } | tr -d '\r')
    if grep -qi 'AppData\\Local\\meteo-aprs' <<<"$link_text"; then ok "$2"; else fail "$3"; fi
  else
    fail "$4"
  fi
}
expect_link "$shortcut" "collegamento con 'Da' nella cartella dei dati" \
  "il collegamento non parte nella cartella dei dati" "manca il collegamento nel menu Start"
expect "collegamento sul desktop" "manca il collegamento sul desktop" test -f "$user_dir/Desktop/meteo-aprs.lnk"
expect_link "$(startup_shortcut)" "avvio automatico, nella cartella dei dati" \
  "l'avvio automatico non parte nella cartella dei dati" "manca l'avvio automatico (Esecuzione automatica)"
uninstall_entry=$(w reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\meteo-aprs' 2>/dev/null | tr -d '\r' || true)
if grep -q "DisplayName.*meteo-aprs $version" <<<"$uninstall_entry" && grep -q 'UninstallString' <<<"$uninstall_entry"; then
  ok "voce in Programmi e funzionalità"
else
  fail "manca la voce di disinstallazione"
fi

say "la stazione: currdat.lst, e una cartella di uscita con 'à' e spazio"
station=$WINEPREFIX/drive_c/Heavy\ Weather
output=$WINEPREFIX/drive_c/Città\ meteo
mkdir -p "$station" "$output"
cp demo/station/currdat.lst "$station/"
# config.kwt as the program keeps it: CP1252 ("à" is one byte, E0), CR LF.
printf '1\r\n1\r\nC:\\Heavy Weather\r\nC:\\Citt\xe0 meteo\r\n' >"$data_dir/config.kwt"
# A night that the record kept before this run (the events themselves are
# the window tests'): the record's window shows it, and appends below it.
printf '%s\r\n' "05/12/2026 22:10  Avvio di meteo-aprs, Rel. $version W" \
  "06/12/2026 02:10  Problema: KISS: connessione rifiutata (127.0.0.1:8001), nuovo tentativo tra 30 s" \
  $'06/12/2026 03:05  Problema: Cartella di uscita inesistente: C:\\Citt\xe0 meteo (nessun file scritto)' \
  $'06/12/2026 04:08  Risolto (dal 06/12/2026 03:05 al 06/12/2026 04:07): Cartella di uscita inesistente: C:\\Citt\xe0 meteo (nessun file scritto)' \
  "06/12/2026 06:40  Risolto (dal 06/12/2026 02:10 al 06/12/2026 06:39): KISS: connessione rifiutata (127.0.0.1:8001), nuovo tentativo tra 5 min" \
  "06/12/2026 07:15  Chiusura di meteo-aprs" >"$data_dir/meteo-aprs-eventi.txt"

# Direct sending to a KISS TNC on loopback, a listener standing in for it;
# the Linux build below sends to one of its own, and the frames must agree.
free_port() {
  local port
  for port in $(shuf -i 20000-60000 -n 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return; }
  done
  return 1
}
invio() {
  printf 'nominativo=IZ1ABC-13\r\nlatitudine=45.508300\r\nlongitudine=9.166700\r\npercorso=WIDE2-1\r\n'
  printf 'kiss=1\r\nkiss_host=127.0.0.1\r\nkiss_porta=%s\r\nkiss_intervallo=10\r\n' "$1"
  printf 'aprsis=0\r\naprsis_server=\r\naprsis_porta=14580\r\naprsis_passcode=\r\naprsis_intervallo=10\r\n'
}
listeners=()
listen_kiss() {  # PORT FILE
  setsid timeout 120 nc -l 127.0.0.1 "$1" >"$2" </dev/null 2>/dev/null &
  listeners+=($!)
}
win_port=$(free_port)
invio "$win_port" >"$data_dir/invio.kwt"
listen_kiss "$win_port" "$t/kiss-windows.bin"

say "il pavimento: una finestra Qt Widgets nuda, avviata allo stesso modo"
# The same start as the program's below (wine start, timed from its return
# to the file written 100 ms after the window is up), then the same 3 s
# before its memory is read.
w start /unix "$out/qt-floor.exe" 'C:\pavimento.txt' >/dev/null 2>&1 || true
if floor_wine_ms=$(wait_for_file "$WINEPREFIX/drive_c/pavimento.txt" 90); then
  ok "pavimento sotto Wine pronto dopo $floor_wine_ms ms"
else
  fail "il pavimento non è partito sotto Wine"; floor_wine_ms=""
fi
sleep 3
floor_wine_pid=$(pgrep -f 'qt-floor\.exe' | head -n 1 || true)
floor_wine_rss=""
if [ -n "$floor_wine_pid" ]; then
  floor_wine_rss=$(rss_kb "$floor_wine_pid")
  kill "$floor_wine_pid" 2>/dev/null || true
fi
(exec setsid "$out/floor-linux/qt-floor" "$t/pavimento-linux.txt" >/dev/null 2>&1) &
floor_pid=$!
if floor_linux_ms=$(wait_for_file "$t/pavimento-linux.txt" 30); then ok "pavimento su Linux pronto dopo $floor_linux_ms ms"
else fail "il pavimento per Linux non è partito"; floor_linux_ms=""; fi
sleep 3
floor_linux_rss=$(rss_kb "$floor_pid")
kill -- "-$floor_pid" 2>/dev/null || true
wait "$floor_pid" 2>/dev/null || true
floor_pid=""

say "avvio dal collegamento del menu Start, fino al primo ciclo"
w start /unix "$shortcut" >/dev/null 2>&1 || true
if wine_ms=$(wait_for_file "$output/my_meteo.txt" 90); then
  ok "primo ciclo sotto Wine dopo $wine_ms ms dall'avvio"
else
  fail "nessun my_meteo.txt dopo 90 s"; wine_ms=""
fi
shot windows-main-window 3
wine_pid=$(pgrep -f 'meteo-aprs\.exe' | head -n 1 || true)
wine_rss=""
[ -n "$wine_pid" ] && wine_rss=$(rss_kb "$wine_pid")

say "lo stesso currdat.lst con il programma per Linux"
linux_dir=$t/linux
mkdir -p "$linux_dir/run" "$linux_dir/out"
printf '1\r\n1\r\n%s\r\n%s\r\n' "$station" "$linux_dir/out" >"$linux_dir/run/config.kwt"
linux_port=$(free_port)
invio "$linux_port" >"$linux_dir/run/invio.kwt"
listen_kiss "$linux_port" "$t/kiss-linux.bin"
(cd "$linux_dir/run" && exec setsid "$out/linux/meteo-aprs" >/dev/null 2>&1) &
linux_pid=$!
if linux_ms=$(wait_for_file "$linux_dir/out/my_meteo.txt" 30); then ok "primo ciclo su Linux dopo $linux_ms ms"
else fail "il programma per Linux non ha scritto my_meteo.txt"; linux_ms=""; fi
wait_for_file "$t/kiss-linux.bin" 20 >/dev/null || true
sleep 1
linux_rss=$(awk '/^VmRSS/ {print $2}' "/proc/$linux_pid/status" 2>/dev/null || true)
kill -- "-$linux_pid" 2>/dev/null || true
wait "$linux_pid" 2>/dev/null || true
linux_pid=""

say "confronto byte per byte (solo l'ora può cambiare)"
compare() {
  local name=$1 a=$2 b=$3
  if [ -f "$a" ] && [ -f "$b" ] && cmp -s "$a" "$b"; then ok "$name identico"; else fail "$name diverso"; fi
}
sed -n 2p "$output/my_meteo.txt" >"$t/win-aprs-line"
sed -n 2p "$linux_dir/out/my_meteo.txt" >"$t/linux-aprs-line"
compare "my_meteo.txt (riga dati)" "$t/win-aprs-line" "$t/linux-aprs-line"
compare VENTO.TXT "$output/VENTO.TXT" "$linux_dir/out/VENTO.TXT"
store=$(cd "$linux_dir/out" && ls MM??????.kwt)
compare "$store" "$output/$store" "$linux_dir/out/$store"
log=$(cd "$linux_dir/out" && ls -- [0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9].txt)
# The KISS frame: the same bytes from both builds but for the report's time
# (@DDHHMMz, UTC), and the data line of my_meteo.txt inside it.
wait_for_file "$t/kiss-windows.bin" 20 >/dev/null || true
wait_for_file "$t/kiss-linux.bin" 20 >/dev/null || true
mask_report_time() { LC_ALL=C sed 's/@[0-9]\{6\}z/@DDHHMMz/' "$1"; }
mask_report_time "$t/kiss-windows.bin" >"$t/kiss-windows.masked"
mask_report_time "$t/kiss-linux.bin" >"$t/kiss-linux.masked"
if [ -s "$t/kiss-windows.bin" ]; then
  compare "trama KISS inviata al TNC (come da Linux)" "$t/kiss-windows.masked" "$t/kiss-linux.masked"
  frame_hex=$(od -An -v -tx1 "$t/kiss-windows.bin" | tr -d ' \n')
  line_hex=$(tr -d '\r\n' <"$t/win-aprs-line" | od -An -v -tx1 | tr -d ' \n')
  expect "trama KISS: C0 00 ... C0, con la riga dati di my_meteo.txt" "trama KISS malformata: $frame_hex" \
    test "${frame_hex:0:4}" = c000 -a "${frame_hex: -2}" = c0 -a -n "$(grep -F "5f$line_hex" <<<"$frame_hex" || true)"
else
  fail "nessuna trama KISS ricevuta dal programma per Windows"
fi

mask_time() { sed 's/^\([0-9]\{8\} ; \)[0-9][0-9]:[0-9][0-9]/\1hh:mm/' "$1"; }
mask_time "$output/$log" >"$t/win-log" 2>/dev/null || true
mask_time "$linux_dir/out/$log" >"$t/linux-log"
compare "$log (intestazione e riga)" "$t/win-log" "$t/linux-log"
expect "VENTO.TXT in CP1252 con CR LF" "VENTO.TXT non è CP1252 con CR LF" \
  env LC_ALL=C grep -q $'^Velocit\xe0 \\[km/h\\]\r$' "$output/VENTO.TXT"

say "le finestre delle opzioni, aperte dal menu Parametri con la tastiera"
# Alt takes the menu bar, Right goes to Parametri, Return opens it on its
# first item; each dialog is shot, then closed with Esc (nothing saved).
open_option() {  # DOWNS SHOT
  xdotool key --delay 300 alt Right Return
  for _ in $(seq "$1"); do xdotool key --delay 300 Down; done
  xdotool key --delay 300 Return
  shot "$2" 2
  xdotool key --delay 300 Escape
  sleep 1
}
open_option 0 windows-stringa-aprs
open_option 1 windows-pressione
open_option 2 windows-invio-diretto
# The ? menu, right of Parametri: its one item, then Esc.
xdotool key --delay 300 alt Right Right Return Return
shot windows-informazioni 2
xdotool key --delay 300 Escape
sleep 1
# File › Registro eventi, the second item of the first menu.
xdotool key --delay 300 alt Return Down Return
shot windows-registro-eventi 2
xdotool key --delay 300 Escape
sleep 1

say "aggiornamento: lo stesso setup.exe /S sopra il programma in funzione"
# Every file of the data and output folders as it stands, to compare after.
# The lock and the event record are the program's to change; the record is
# checked on its own.
snapshot() {
  (cd "$1" && find . -type f ! -name meteo-aprs.lock ! -name meteo-aprs-eventi.txt -print0 | sort -z | xargs -0 sha256sum)
}
snapshot "$data_dir" >"$t/data-before"
snapshot "$output" >"$t/output-before"
cp "$output/$log" "$t/log-before"
log_rows=$(wc -l <"$t/log-before")
old_pid=$(pgrep -f 'meteo-aprs\.exe' | head -n 1 || true)
expect "il programma è in funzione prima dell'aggiornamento" "il programma non è in funzione" test -n "$old_pid"
lock=$data_dir/meteo-aprs.lock
expect "meteo-aprs.lock tenuto nella cartella dei dati" "manca meteo-aprs.lock" test -f "$lock"
events=$data_dir/meteo-aprs-eventi.txt
cp "$events" "$t/events-before"
update_start=$(date +%s%N)
WINE_CALL_SECONDS=300 w "$out/meteo-aprs-$version-setup.exe" /S >/dev/null 2>&1 || true
update_ms=$(( ($(date +%s%N) - update_start) / 1000000 ))
expect "aggiornamento terminato in $update_ms ms" "aggiornamento oltre il tempo" test "$update_ms" -lt 120000
cmp -s "$out/meteo-aprs.exe" "$program_dir/meteo-aprs.exe" || fail "meteo-aprs.exe non sostituito"
new_pid=""
for _ in $(seq 300); do
  new_pid=$(pgrep -f 'meteo-aprs\.exe' | head -n 1 || true)
  [ -n "$new_pid" ] && [ "$new_pid" != "$old_pid" ] && [ "$(wc -l <"$output/$log")" -gt "$log_rows" ] && break
  sleep 0.1
done
expect "il programma è di nuovo in funzione e ha fatto un nuovo ciclo" "il programma non è ripartito dopo l'aggiornamento" \
  test -n "$new_pid" -a "$new_pid" != "$old_pid" -a "$(wc -l <"$output/$log")" -gt "$log_rows"
expect "ripartito nella cartella dei dati (meteo-aprs.lock di nuovo lì)" "non ripartito nella cartella dei dati" \
  test -f "$lock"
# A program that ended on the installer's request wrote its closing line;
# one ended by force (after 15 s) could not. Under Wine the old process may
# stay a zombie for a while, so its own end is not looked for.
new_events=$(tail -c +"$(( $(wc -c <"$t/events-before") + 1 ))" "$events" | tr -d '\r' | cut -c19- || true)
expect "il programma si è chiuso su richiesta (registro eventi: chiusura, poi avvio)" \
  "il programma non si è chiuso da sé; righe nuove del registro eventi: $new_events" \
  test "$(head -c "$(wc -c <"$t/events-before")" "$events" | cmp -s - "$t/events-before" && echo same)" = same \
  -a "$(sed -n 1p <<<"$new_events")" = "Chiusura di meteo-aprs" \
  -a "$(sed -n 2p <<<"$new_events" | cut -c1-20)" = "Avvio di meteo-aprs," -a "$update_ms" -lt 15000
shot windows-after-update 2
# The data folder as it was; in the output folder only what a tick
# rewrites or appends: my_meteo.txt's time line and new rows of the log.
snapshot "$data_dir" >"$t/data-after"
compare "cartella dei dati dopo l'aggiornamento" "$t/data-before" "$t/data-after"
changed=$(snapshot "$output" | diff "$t/output-before" - | sed -n 's/^[<>] [0-9a-f]*  \.\///p' | sort -u | tr '\n' ' ' || true)
expect "cartella di uscita identica ma per i file del nuovo ciclo ($changed)" "file cambiati dall'aggiornamento: $changed" \
  test -z "$(tr ' ' '\n' <<<"$changed" | grep -vxF -e my_meteo.txt -e "$log" -e '' || true)"
expect "my_meteo.txt: stessa riga dati dopo l'aggiornamento" "my_meteo.txt cambiato" \
  cmp -s "$t/win-aprs-line" <(sed -n 2p "$output/my_meteo.txt")
expect "$log: le righe di prima intatte, solo righe nuove in coda" "$log riscritto" \
  cmp -s "$t/log-before" <(head -c "$(stat -c %s "$t/log-before")" "$output/$log")

say "primo avvio senza config.kwt: scelta delle cartelle con la tastiera"
timeout -k 5 30 "$wineserver" -k >/dev/null 2>&1 || true
sleep 1
rm -f "$data_dir/config.kwt"
w start /unix "$shortcut" >/dev/null 2>&1 || true
if timeout 60 xdotool search --sync --name 'Configurazione File' >/dev/null 2>&1 \
   || timeout 5 xdotool search --sync --name 'Default - Wine desktop' >/dev/null 2>&1; then
  shot windows-first-start 4
  # Focus starts on the Heavy Weather drive list: End takes the last drive
  # (Z:, Wine's view of /). Three Tabs (its folders, its box) lead to the
  # output drive list, whose first drive is C:; Tab to its folders, which
  # show the working folder's chain: Home and Enter open C:\, type-ahead
  # finds "Città meteo", Enter opens it. Two Tabs (its box) are ESCI, and
  # Space presses it. Z:\ holds no currdat.lst: the warning's focus is on
  # "Torna alle cartelle", Tab takes "Salva comunque".
  xdotool key --delay 300 End Tab Tab Tab Home Tab Home Return
  xdotool type --delay 150 'Cit'
  xdotool key --delay 300 Return Tab Tab
  shot windows-first-start-chosen 2
  xdotool key space
  shot windows-first-start-warning 2
  xdotool key --delay 300 Tab space
  if wait_for_file "$data_dir/config.kwt" 20 >/dev/null; then
    expected=$(printf '1\r\n1\r\nZ:\\\r\nC:\\Citt\xe0 meteo\r\n' | od -An -tx1)
    actual=$(od -An -tx1 <"$data_dir/config.kwt")
    if [ "$expected" = "$actual" ]; then ok "config.kwt scritto in CP1252 con le unità Z:\\ e C:\\ scelte dalla tastiera"
    else fail "config.kwt inatteso:"; od -c "$data_dir/config.kwt" >&2; fi
  else
    fail "ESCI non ha scritto config.kwt"
  fi
  shot windows-after-first-start 3
else
  fail "la finestra Configurazione File non è comparsa"
fi
timeout -k 5 30 "$wineserver" -k >/dev/null 2>&1 || true
sleep 1

say "disinstallazione silenziosa"
# The uninstaller copies itself away and returns at once: wait for it.
WINE_CALL_SECONDS=120 w 'C:\Program Files\meteo-aprs\uninstall.exe' /S >/dev/null 2>&1 || true
for _ in $(seq 120); do [ -e "$program_dir" ] || break; sleep 0.5; done
expect "programma rimosso" "meteo-aprs.exe ancora presente" test ! -e "$program_dir/meteo-aprs.exe"
expect "cartella del programma rimossa" "cartella del programma ancora presente" test ! -e "$program_dir"
expect "collegamenti rimossi" "collegamenti ancora presenti" \
  test ! -e "$start_menu" -a ! -e "$user_dir/Desktop/meteo-aprs.lnk" -a -z "$(startup_shortcut)"
uninstall_entry=$(w reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\meteo-aprs' 2>/dev/null | tr -d '\r' || true)
expect "voce di disinstallazione rimossa" "voce di disinstallazione ancora presente" \
  test -z "$(grep DisplayName <<<"$uninstall_entry" || true)"
expect "dati dell'utente lasciati al loro posto" "la cartella dei dati è stata toccata" test -f "$data_dir/config.kwt"
expect "file di uscita lasciati al loro posto" "file di uscita spariti" test -f "$output/my_meteo.txt"

exe_kb=$(du -k "$out/meteo-aprs.exe" | cut -f1)
ratio() { if [ -n "$1" ] && [ -n "$2" ] && [ "$2" -gt 0 ]; then awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; else echo "?"; fi; }
setup_kb=$(du -k "$out/meteo-aprs-$version-setup.exe" | cut -f1)
{
  echo "misura;windows_wine;linux"
  echo "avvio_primo_ciclo_ms;${wine_ms:-?};${linux_ms:-?}"
  echo "memoria_residente_kB;${wine_rss:-?};${linux_rss:-?}"
  echo "eseguibile_kB;$exe_kb;$(du -k "$out/linux/meteo-aprs" | cut -f1)"
  echo "installatore_kB;$setup_kb;$(du -k "$out/meteo-aprs_${version}_amd64.deb" | cut -f1)"
  echo "pavimento_avvio_ms;${floor_wine_ms:-?};${floor_linux_ms:-?}"
  echo "pavimento_memoria_kB;${floor_wine_rss:-?};${floor_linux_rss:-?}"
  echo "avvio_su_pavimento;$(ratio "${wine_ms:-}" "${floor_wine_ms:-}");$(ratio "${linux_ms:-}" "${floor_linux_ms:-}")"
  echo "memoria_su_pavimento;$(ratio "${wine_rss:-}" "${floor_wine_rss:-}");$(ratio "${linux_rss:-}" "${floor_linux_rss:-}")"
  echo "aggiornamento_ms;${update_ms:-?};"
} | tee "$t/figures.csv"
echo "Schermate in $t/shots"
if [ "$failures" -gt 0 ]; then
  echo "test-windows-program: $failures controlli falliti" >&2
  exit 1
fi
echo "test-windows-program: tutti i controlli superati"
