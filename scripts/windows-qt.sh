#!/usr/bin/env bash
# Builds a static Qt for 64-bit Windows (mingw-w64) from Debian's own source
# package of the installed Qt, into a cache folder outside the repository,
# only when it is not there yet:
#   windows-qt.sh            build if missing, then print the folder
#   windows-qt.sh --path     only print the folder it is (or would be) in
# The folder's name carries the Qt version and a digest of the configure
# options below, so a change of options builds a new Qt beside the old one.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

cache=${XDG_CACHE_HOME:-$HOME/.cache}/meteo-aprs
toolchain=$root/cmake/mingw-w64-toolchain.cmake

# Only what the program uses: Widgets, and the network module for sending
# reports straight to a TNC or APRS-IS (plain TCP, so no TLS). Two traps of
# 6.4.2: FEATURE_opengl=OFF alone leaves dynamic OpenGL on and
# qwindowswindow.cpp fails to compile (INPUT_opengl=no avoids it); direct2d
# off with directwrite3 on fails to link. Debian's repack has no
# 3rdparty/wintab, so tablet input must be off; every library comes from
# Qt's bundled copies, none from the build machine.
qt_options=(
  -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_pkg_config=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=ON -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
  -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_freetype=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
  -DFEATURE_jpeg=OFF
  -DFEATURE_openssl=OFF -DFEATURE_brotli=OFF -DFEATURE_gssapi=OFF -DFEATURE_libproxy=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
)

qt_deb_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
qt_version=${qt_deb_version%%+*}
key=$( { printf '%s\n' "$qt_deb_version" "${qt_options[@]}"; cat "$toolchain"; } | sha256sum)
prefix=$cache/qt-${qt_version:-unknown}-mingw64-static-${key:0:10}

if [ "${1:-}" = "--path" ]; then
  echo "$prefix"
  exit 0
fi
# The marker is written last: a folder without it is an interrupted build.
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

scripts/install-deps.sh windows-qt >&2
qt_deb_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_version=${qt_deb_version%%+*}
key=$( { printf '%s\n' "$qt_deb_version" "${qt_options[@]}"; cat "$toolchain"; } | sha256sum)
prefix=$cache/qt-${qt_version}-mingw64-static-${key:0:10}

start=$(date +%s)
say() { echo "[windows-qt $(( $(date +%s) - start )) s] $*" >&2; }
work=$cache/qt-work
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

# The source package comes from the same archive apt already uses: its
# addresses are read from apt's own index targets and turned into deb-src
# entries of a private list, so the machine's sources stay as they are.
say "sorgenti di qt6-base $qt_deb_version"
apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/parts" "$apt_dir/archives/partial"
# shellcheck disable=SC2016 # apt-get expands these fields itself
targets=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages')
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
signed=""
[ -f "$keyring" ] && signed="[signed-by=$keyring] "
sort -u <<<"$targets" | while read -r uri suite component; do
  [ -n "$uri" ] && echo "deb-src ${signed}$uri $suite $component"
done >"$apt_dir/sources.list"
[ -s "$apt_dir/sources.list" ] || { echo "windows-qt: apt non ha sorgenti configurate" >&2; exit 1; }
apt_private=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
             -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache::Archives=$apt_dir/archives"
             -o "APT::Sandbox::User=root")
timeout 600 apt-get -qq "${apt_private[@]}" update
(cd "$work" && timeout 1200 apt-get -qq "${apt_private[@]}" source "qt6-base=$qt_deb_version" >/dev/null)
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -n "$src" ] || { echo "windows-qt: sorgenti di qt6-base non trovati" >&2; exit 1; }

say "configurazione"
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  "${qt_options[@]}" >"$work/configure.log" 2>&1 \
  || { tail -40 "$work/configure.log" >&2; exit 1; }
say "compilazione (decine di minuti su due core)"
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
cmake --build "$work/build" -j "$jobs" >"$work/build.log" 2>&1 \
  || { tail -40 "$work/build.log" >&2; exit 1; }
say "installazione"
rm -rf "$prefix"
cmake --install "$work/build" >/dev/null
# Statically linked Qt is LGPL: the licence texts go with the build, and
# from there into every package of the program.
mkdir -p "$prefix/licenses"
cp "$src"/LICENSES/* "$prefix/licenses/" 2>/dev/null || true
echo "qt6-base $qt_deb_version (Debian source package), configured with: ${qt_options[*]}" \
  >"$prefix/licenses/BUILD-INFO.txt"
touch "$prefix/.complete"
say "pronto: $prefix"
echo "$prefix"
