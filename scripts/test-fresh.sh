#!/usr/bin/env bash
# Runs the README's commands on a minimal Debian 12 with nothing but the
# system and git, in chroots, as a newcomer would type them:
#   root     ./test.sh to the end; ./run.sh until the program is up (first
#            start: only the folders dialog); make demo until my_meteo.txt
#            is written
#   sudo     a user of group sudo (no password): ./run.sh until the program
#            is up, the packages installed through sudo
#   nosudo   a user without sudo: ./test.sh stops at once, in Italian, with
#            the packages to install and how, and fails
# Each case gets its own copy of the base. Usage (as root):
#   test-fresh.sh [root|sudo|nosudo ...]     the cases named, all by default
# The base (debootstrap --variant=minbase + git) is kept as a tarball in
# ${XDG_CACHE_HOME:-$HOME/.cache}/meteo-aprs, beside the downloaded .deb files
# that the copies share. METEO_SKIP_PACKAGES is handed to the copies (see
# install-deps.sh). METEO_FRESH_KEEP=1 keeps the copies for a look, until the
# next run.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -ne 0 ]; then
  echo "test-fresh: servono i permessi di root (debootstrap, chroot, mount)" >&2
  exit 1
fi
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(nosudo sudo root)
for c in "${cases[@]}"; do
  case "$c" in root|sudo|nosudo) ;; *) echo "test-fresh: caso sconosciuto '$c' (root, sudo, nosudo)" >&2; exit 2 ;; esac
done

begin=$(date +%s)
step_start=$begin
say() { echo "[test-fresh $(( $(date +%s) - begin )) s] $*"; }
step() { step_start=$(date +%s); say "$*"; }
took() { say "  ok, $(( $(date +%s) - step_start )) s: $*"; }
fail() { say "FALLITO: $*" >&2; exit 1; }

timeout 900 scripts/install-deps.sh fresh

suite=bookworm
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
cache=${XDG_CACHE_HOME:-$HOME/.cache}/meteo-aprs
debs=$cache/fresh-debs
mkdir -p "$cache" "$debs/partial"

# The archive is the one apt on this machine already uses: its addresses come
# from apt's own index targets, so no host name is written anywhere here.
# shellcheck disable=SC2016 # apt-get expands these fields itself
targets=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages')
mirror=$(awk -v s="$suite" '$2 == s && $3 == "main" { print $1; exit }' <<<"$targets")
[ -n "$mirror" ] || fail "apt su questa macchina non usa l'archivio di $suite (main): nessuno da cui partire"
# The copies get this machine's entries for the release, its updates and its
# security fixes, as the Debian installer would write them.
sources=$(awk -v s="$suite" -v k="$keyring" '$2 ~ "^" s "(-|$)" {
    print "deb [signed-by=" k "] " $1 " " $2 " " $3 }' <<<"$targets" | sort -u)
# apt here may be told to accept Release files past their date (an archive
# frozen at one day); the copies trust the archive the way this machine does.
eval "$(apt-config shell valid_until Acquire::Check-Valid-Until check_date Acquire::Check-Date)"
apt_conf=""
[ -n "${valid_until:-}" ] && apt_conf+="Acquire::Check-Valid-Until \"$valid_until\";"$'\n'
[ -n "${check_date:-}" ] && apt_conf+="Acquire::Check-Date \"$check_date\";"$'\n'

# The tarball's name carries a digest of how it was made: a change here
# makes a new one.
base_recipe="debootstrap --variant=minbase --include=git $suite"$'\n'"$sources"$'\n'"$apt_conf"
key=$(sha256sum <<<"$base_recipe")
base_tar=$cache/debian-$suite-minbase-git-${key:0:10}.tar.gz

# The copies share the .deb folder, and apt locks it: one run at a time.
# Nothing started below inherits the lock (8>&-): were this script killed
# outright, what it left running must not hold up the next run.
exec 8>"$cache/fresh.lock"
if ! flock -n 8; then
  say "un altro test-fresh è in corso, attendo (al massimo 40 minuti)"
  flock -w 2400 8 || fail "l'altro test-fresh non è finito"
fi

# Every process started here runs in a session of its own; a chroot's
# processes may start sessions of their own too (sudo does), so at the end
# anything whose root is inside the work folder is ended as well, by its id.
session_members() { # SID: the ids of the processes of that session
  local p stat rest sid
  for p in /proc/[0-9]*; do
    read -r stat 2>/dev/null <"$p/stat" || continue
    rest=${stat##*) }
    read -r _ _ _ sid _ <<<"$rest"
    [ "$sid" = "$1" ] && echo "${p#/proc/}"
  done
  return 0
}
inside_work() { # [FOLDER]: the ids of the processes whose root is one of its copies
  local p copy
  for p in /proc/[0-9]*; do
    for copy in "${1:-$work}"/*/; do
      [ "$p/root" -ef "$copy" ] && { echo "${p#/proc/}"; break; }
    done
  done
  return 0
}
end_session() { # SID
  local pids
  kill -TERM -- "-$1" 2>/dev/null || true
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    pids=$(session_members "$1")
    [ -z "$pids" ] && return 0
    sleep 0.5
  done
  kill -KILL -- "-$1" 2>/dev/null || true
  # shellcheck disable=SC2086 # one id a line
  [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
}
mounts_in_work() { # [FOLDER]: what is mounted inside it, deepest first
  local info
  info=$(cat /proc/self/mountinfo)
  awk -v w="${1:-$work}/" 'index($5, w) == 1 { print length($5), $5 }' <<<"$info" | sort -rn | cut -d' ' -f2-
}
cleanup() {
  local rc=$? sid pids m left
  trap - EXIT INT TERM
  for sid in "${sessions[@]}"; do end_session "$sid"; done
  pids=$(inside_work)
  if [ -n "$pids" ]; then
    # shellcheck disable=SC2086 # one id a line
    kill -KILL $pids 2>/dev/null || true
    sleep 1
  fi
  for m in $(mounts_in_work); do
    umount "$m" 2>/dev/null || umount -l "$m" || true
  done
  left=$(mounts_in_work)
  if [ -n "$left" ]; then
    echo "test-fresh: ancora montati (la cartella $work resta):" "$left" >&2
    exit 1
  fi
  pids=$(inside_work)
  if [ -n "$pids" ]; then
    echo "test-fresh: processi ancora vivi nelle copie:" "$pids" >&2
    rc=1
  else
    say "nessun mount e nessun processo rimasti nelle copie"
  fi
  if [ "${METEO_FRESH_KEEP:-0}" = 1 ]; then
    echo "test-fresh: copie tenute in $work"
  else
    # --one-file-system: never into something still mounted, such as /dev.
    rm -rf --one-file-system "$work"
  fi
  say "totale $(( $(date +%s) - begin )) s"
  exit "$rc"
}
# A run ended outright (kill -9, a crash) leaves its folder behind, perhaps
# with things mounted or running in it; with the lock held, every such
# folder is one of those.
for stale in "$cache"/fresh.*/; do
  [ -d "$stale" ] || continue
  stale=${stale%/}
  say "resti di un test-fresh interrotto: $stale"
  pids=$(inside_work "$stale")
  # shellcheck disable=SC2086 # one id a line
  [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
  for m in $(mounts_in_work "$stale"); do umount "$m" 2>/dev/null || umount -l "$m"; done
  [ -z "$(mounts_in_work "$stale")" ] || fail "ancora montati in $stale"
  timeout 600 rm -rf --one-file-system "$stale"
done

work=$(mktemp -d "$cache/fresh.XXXXXX")
# Each step's output, kept until the next run.
logs=$cache/fresh-logs
rm -rf "$logs"
mkdir -p "$logs"
sessions=()

trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A command in a copy, as a user, in a session of its own, bounded in time,
# in the background; its session id is left in $started.
home_of() { if [ "$1" = root ]; then echo /root; else echo "/home/$1"; fi; }
start_in() { # COPY USER SECONDS LOG COMMAND
  local copy=$1 user=$2 seconds=$3 log=$4 command=$5 as=() uid gid groups home
  home=$(home_of "$user")
  if [ "$user" != root ]; then
    uid=$(awk -F: -v u="$user" '$1 == u { print $3 }' "$copy/etc/passwd")
    gid=$(awk -F: -v u="$user" '$1 == u { print $4 }' "$copy/etc/passwd")
    groups=$(awk -F: -v u="$user" -v g="$gid" '$3 == g || ("," $4 ",") ~ ("," u ",") { print $3 }' \
      "$copy/etc/group" | paste -sd,)
    as=(--userspec="$uid:$gid" --groups="$groups")
  fi
  setsid timeout -k 10 "$seconds" chroot "${as[@]}" "$copy" /usr/bin/env -i \
    HOME="$home" USER="$user" LOGNAME="$user" SHELL=/bin/bash TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    METEO_SKIP_PACKAGES="${METEO_SKIP_PACKAGES:-}" \
    /bin/bash -c "cd && $command" </dev/null >"$log" 2>&1 8>&- &
  started=$!
  sessions+=("$started")
}
# The same, waited for; its exit status is returned.
run_in() { # COPY USER SECONDS LOG COMMAND
  local rc=0
  start_in "$@"
  wait "$started" || rc=$?
  end_session "$started"
  return "$rc"
}
indent() { sed 's/^/    /'; }
show_log() { # LOG [LINES]
  echo "---- $1 (ultime ${2:-30} righe)" >&2
  tail -n "${2:-30}" "$1" >&2 || true
  echo "----" >&2
}

# ---- the base: debootstrap once, then from the tarball
if [ ! -f "$base_tar" ]; then
  step "debootstrap --variant=minbase $suite + git (una volta sola, poi dalla cache)"
  base=$work/base
  timeout -k 10 1800 debootstrap --variant=minbase --include=git --keyring="$keyring" \
    "$suite" "$base" "$mirror" >"$logs/debootstrap.log" 2>&1 8>&- \
    || { show_log "$logs/debootstrap.log"; fail "debootstrap"; }
  printf '%s\n' "$sources" >"$base/etc/apt/sources.list"
  [ -z "$apt_conf" ] || printf '%s' "$apt_conf" >"$base/etc/apt/apt.conf.d/50archive-dates"
  # A newcomer's machine has no package lists yet and no .deb files kept.
  rm -rf "$base/var/lib/apt/lists/"* "$base/var/cache/apt/archives/"*.deb
  timeout 600 tar -C "$base" --numeric-owner -czf "$base_tar.part" .
  mv "$base_tar.part" "$base_tar"
  rm -rf --one-file-system "$base"
  took "base in $base_tar ($(du -h "$base_tar" | cut -f1))"
fi

# The commit to test, as a bundle that git in each copy clones.
commit=$(git rev-parse HEAD)
git bundle create "$work/meteo-aprs.bundle" HEAD 2>/dev/null

# A fresh copy of the base with the program's repository cloned in USER's home.
new_copy() { # NAME USER
  local copy=$work/$1 user=$2
  mkdir "$copy"
  timeout 300 tar -C "$copy" --numeric-owner -xzf "$base_tar"
  # The machine's name and name servers, as the installer would have set them.
  cp /etc/resolv.conf /etc/hosts "$copy/etc/"
  mount -t proc proc "$copy/proc"
  mount --bind /dev "$copy/dev"
  mount --bind /dev/pts "$copy/dev/pts"
  mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$copy/dev/shm"
  mount --bind "$debs" "$copy/var/cache/apt/archives"
  [ "$user" = root ] || timeout 60 chroot "$copy" useradd --create-home --shell /bin/bash "$user"
  cp "$work/meteo-aprs.bundle" "$copy/tmp/"
  chmod 644 "$copy/tmp/meteo-aprs.bundle"
  run_in "$copy" "$user" 300 "$logs/$1-clone.log" \
    "git -c advice.detachedHead=false clone -q /tmp/meteo-aprs.bundle meteo-aprs && cd meteo-aprs && git checkout -q $commit" \
    || { show_log "$logs/$1-clone.log"; fail "$1: git clone"; }
}
drop_copy() { # NAME: processes ended, mounts gone, the copy removed
  local m pids
  pids=$(inside_work)
  # shellcheck disable=SC2086 # one id a line
  [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
  for m in $(mounts_in_work); do
    [[ $m == "$work/$1"/* ]] && { umount "$m" 2>/dev/null || umount -l "$m"; }
  done
  if [ "${METEO_FRESH_KEEP:-0}" != 1 ]; then
    step_start=$(date +%s)
    timeout 600 rm -rf --one-file-system "${work:?}/$1"
    took "$1: copia rimossa"
  fi
}

# The id of a process of session SID running PROGRAM (a path as seen here).
running_program() { # SID PROGRAM
  local p
  for p in $(session_members "$1"); do
    [ "/proc/$p/exe" -ef "$2" ] && { echo "$p"; return 0; }
  done
  return 0
}
# ./run.sh in the background until the program is up: its process is running
# and still there 5 s later, having written nothing (a first start waits on
# the folders dialog). Then it is stopped.
run_until_up() { # NAME USER
  local copy=$work/$1 user=$2 home pid log=$logs/$1-run.log
  home=$copy$(home_of "$user")
  start_in "$copy" "$user" 1500 "$log" "cd meteo-aprs && ./run.sh"
  local sid=$started
  pid=""
  while [ -z "$pid" ]; do
    kill -0 "$sid" 2>/dev/null || { show_log "$log"; fail "$1: ./run.sh finito senza avviare il programma"; }
    sleep 1
    pid=$(running_program "$sid" "$home/meteo-aprs/build/meteo-aprs")
  done
  sleep 5
  kill -0 "$pid" 2>/dev/null || { show_log "$log"; fail "$1: il programma si è chiuso da solo"; }
  [ ! -e "$home/meteo-aprs/config.kwt" ] || fail "$1: config.kwt scritto senza che nessuno lo confermasse"
  local headless
  headless=$(cat "$log")
  [[ $headless == *"Nessuno schermo grafico"* ]] || { show_log "$log"; fail "$1: non è partito senza schermo"; }
  end_session "$sid"
}

for c in "${cases[@]}"; do
  case "$c" in
    nosudo)
      step "nosudo: copia nuova, utente senza sudo"
      new_copy nosudo meteo
      took "copia"
      step "nosudo: ./test.sh"
      rc=0
      run_in "$work/nosudo" meteo 120 "$logs/nosudo-test.log" "cd meteo-aprs && ./test.sh" || rc=$?
      out=$(cat "$logs/nosudo-test.log")
      [ "$rc" -ne 0 ] || { show_log "$logs/nosudo-test.log"; fail "nosudo: ./test.sh è finito con successo"; }
      [ "$rc" -lt 124 ] || { show_log "$logs/nosudo-test.log"; fail "nosudo: ./test.sh non si è fermato subito ($rc)"; }
      for want in "Mancano i pacchetti:" "qt6-base-dev" "Eseguire come root:" "apt-get install" "sudo apt-get install"; do
        [[ $out == *"$want"* ]] || { show_log "$logs/nosudo-test.log"; fail "nosudo: manca \"$want\" nel messaggio"; }
      done
      [[ $out != *"Installazione dei pacchetti"* ]] || fail "nosudo: dice di installare senza poterlo fare"
      [ ! -e "$work/nosudo/home/meteo/meteo-aprs/build" ] || fail "nosudo: ha cominciato a compilare"
      indent <"$logs/nosudo-test.log"
      took "uscita $rc, messaggio in italiano"
      drop_copy nosudo
      ;;
    sudo)
      step "sudo: copia nuova, pacchetto sudo, utente nel gruppo sudo senza password"
      new_copy sudo meteo
      run_in "$work/sudo" root 900 "$logs/sudo-sudo.log" \
        "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq sudo >/dev/null" \
        || { show_log "$logs/sudo-sudo.log"; fail "sudo: installazione di sudo"; }
      timeout 60 chroot "$work/sudo" usermod -a -G sudo meteo
      # Every command sudo runs is written to a log of its own: the proof
      # that the packages went in through sudo.
      printf '%s\n' '%sudo ALL=(ALL:ALL) NOPASSWD: ALL' 'Defaults logfile=/var/log/sudo-meteo.log, loglinelen=0' \
        >"$work/sudo/etc/sudoers.d/meteo"
      chmod 440 "$work/sudo/etc/sudoers.d/meteo"
      took "copia"
      step "sudo: ./run.sh fino al programma avviato"
      run_until_up sudo meteo
      sudo_log=$(cat "$work/sudo/var/log/sudo-meteo.log" 2>/dev/null || true)
      [[ $sudo_log == *"meteo : "*"USER=root ; COMMAND=/usr/bin/env DEBIAN_FRONTEND=noninteractive apt-get install"* ]] \
        || { echo "$sudo_log" >&2; fail "sudo: nessun apt-get install passato da sudo"; }
      # shellcheck disable=SC2016 # dpkg-query expands the field itself
      status=$(timeout 60 chroot "$work/sudo" dpkg-query -W -f='${Status}' qt6-base-dev 2>/dev/null || true)
      [ "$status" = "install ok installed" ] || fail "sudo: qt6-base-dev non installato"
      took "programma avviato, pacchetti installati con sudo"
      drop_copy sudo
      ;;
    root)
      step "root: copia nuova"
      new_copy root root
      took "copia"
      step "root: ./test.sh"
      run_in "$work/root" root 2400 "$logs/root-test.log" "cd meteo-aprs && ./test.sh" \
        || { show_log "$logs/root-test.log" 60; fail "root: ./test.sh"; }
      summary=$(grep -E 'tests passed|^  ok: ' "$logs/root-test.log" || true)
      skipped=$(grep -c -- '- .*(Skipped)$' "$logs/root-test.log" || true)
      indent <<<"$summary"$'\n'"($skipped test saltati in tutto, l'elenco in $logs/root-test.log)"
      took "./test.sh"
      step "root: ./run.sh fino al programma avviato"
      run_until_up root root
      took "./run.sh"
      step "root: make demo fino a my_meteo.txt"
      demo=$work/root/root/meteo-aprs/build/demo
      start_in "$work/root" root 600 "$logs/root-demo.log" "cd meteo-aprs && make demo"
      sid=$started
      until [ -s "$demo/output/my_meteo.txt" ]; do
        kill -0 "$sid" 2>/dev/null || { show_log "$logs/root-demo.log"; fail "root: make demo finito senza my_meteo.txt"; }
        sleep 1
      done
      sleep 1
      end_session "$sid"
      indent <"$demo/output/my_meteo.txt"
      took "make demo"
      drop_copy root
      ;;
  esac
done
say "tutto a posto: ${cases[*]}"
