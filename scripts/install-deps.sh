#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that are missing for a purpose:
#   install-deps.sh run     build and start the program
#   install-deps.sh test    also run the whole test suite
#   install-deps.sh windows cross-build and run the logic tests under Wine
set -euo pipefail

purpose=${1:-run}
packages=(make g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev)
case "$purpose" in
  run) ;;
  test) packages+=(libgtest-dev libgmock-dev locales direwolf clang libclang-rt-dev libbenchmark-dev) ;;
  # googletest: the sources, built for Windows inside the cross build.
  # wine64 alone leaves wine and wineserver out of PATH on Debian 12.
  windows) packages=(make cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine wine64) ;;
  *) echo "install-deps.sh: unknown purpose '$purpose' (run, test, windows)" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installazione dei pacchetti mancanti: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "Mancano i pacchetti ${missing[*]} e servono i permessi di root per installarli." >&2
  echo "Eseguire come root, oppure installare sudo, oppure: apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
# Package names differ a little between Debian and Ubuntu releases: leave out
# what this archive does not offer, and say so.
available=()
for p in "${missing[@]}"; do
  if apt-cache policy "$p" 2>/dev/null | grep -q 'Candidate: [^(]'; then
    available+=("$p")
  else
    echo "Pacchetto non disponibile in questo archivio, saltato: $p" >&2
  fi
done
[ ${#available[@]} -eq 0 ] && exit 0
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${available[@]}"
