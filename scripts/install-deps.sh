#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that are missing for a purpose:
#   install-deps.sh run          build and start the program
#   install-deps.sh test         also run the whole test suite
#   install-deps.sh windows      cross-build and run the logic tests under Wine
#   install-deps.sh windows-qt   build the static Qt for Windows
#   install-deps.sh windows-package  the Windows program, its installer, the .deb
#   install-deps.sh windows-program  install and run that program under Wine
#   install-deps.sh fresh        build a minimal Debian and run the README there
# METEO_SKIP_PACKAGES (names separated by spaces) leaves packages out of the
# list: make test-fresh uses it to prove that a missing one is noticed.
set -euo pipefail

purpose=${1:-run}
packages=(make g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev)
# googletest: the sources, built for Windows inside the cross build.
# wine64 alone leaves wine and wineserver out of PATH on Debian 12.
windows=(make cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine wine64)
case "$purpose" in
  run) ;;
  test) packages+=(libgtest-dev libgmock-dev direwolf clang libclang-rt-dev libbenchmark-dev
                   shellcheck strace python3) ;;
  windows) packages=("${windows[@]}") ;;
  windows-qt) packages=(make cmake ninja-build g++-mingw-w64-x86-64-posix dpkg-dev qt6-base-dev
                        qt6-base-dev-tools debian-archive-keyring) ;;
  windows-package) packages+=("${windows[@]}" qt6-base-dev-tools nsis zip dpkg-dev file) ;;
  windows-program) packages=("${windows[@]}" netcat-openbsd xvfb xauth xdotool imagemagick fonts-dejavu-core binutils procps) ;;
  fresh) packages=(debootstrap debian-archive-keyring tar gzip util-linux) ;;
  *) echo "install-deps.sh: scopo sconosciuto '$purpose' (run, test, windows, windows-qt," \
          "windows-package, windows-program, fresh)" >&2; exit 2 ;;
esac
if [ -n "${METEO_SKIP_PACKAGES:-}" ]; then
  kept=()
  for p in "${packages[@]}"; do
    [[ " $METEO_SKIP_PACKAGES " == *" $p "* ]] || kept+=("$p")
  done
  packages=("${kept[@]}")
fi

# Each answer is captured whole before it is matched: under pipefail a
# `cmd | grep` in quiet mode fails with 141 when grep stops reading before cmd ends.
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  as_root=(sudo -n)
elif command -v sudo >/dev/null 2>&1 && [ -t 0 ]; then
  # sudo asks for the user's password on the terminal.
  as_root=(sudo)
else
  {
    echo "Mancano i pacchetti: ${missing[*]}"
    echo "Per installarli servono i permessi di amministratore (root). Eseguire come root:"
    echo "  apt-get update && apt-get install ${missing[*]}"
    echo "oppure, da un utente del gruppo sudo:"
    echo "  sudo apt-get update && sudo apt-get install ${missing[*]}"
  } >&2
  exit 1
fi
echo "Installazione dei pacchetti mancanti: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
# Package names differ a little between Debian and Ubuntu releases: leave out
# what this archive does not offer, and say so.
available=()
for p in "${missing[@]}"; do
  policy=$(apt-cache policy "$p" 2>/dev/null || true)
  if [[ $policy =~ Candidate:\ [^\(] ]]; then
    available+=("$p")
  else
    echo "Pacchetto non disponibile in questo archivio, saltato: $p" >&2
  fi
done
[ ${#available[@]} -eq 0 ] && exit 0
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${available[@]}"
