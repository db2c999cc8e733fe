#!/usr/bin/env bash
# Makes the program's packages from Linux: windows-package.sh [FOLDER]
#   FOLDER/meteo-aprs.exe                      release, static, stripped, one file
#   FOLDER/meteo-aprs-VERSION-setup.exe        the Windows installer (NSIS)
#   FOLDER/meteo-aprs-VERSION-windows.zip      the same program, to unpack anywhere
#   FOLDER/meteo-aprs-VERSION-sorgenti.zip     the program's source (Qt is LGPL:
#                                              users may relink it)
#   FOLDER/meteo-aprs_VERSION_amd64.deb        the Linux package
# The static Qt comes from scripts/windows-qt.sh (built once, then cached).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$(realpath -m -- "${1:-build-package}")
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

scripts/install-deps.sh windows-package
qt=$(scripts/windows-qt.sh)
version=$(sed -n 's/^project(meteo-aprs VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
qt_deb_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
[ -n "$version" ] || { echo "windows-package: versione non trovata in CMakeLists.txt" >&2; exit 1; }
mkdir -p "$out"

echo "== meteo-aprs.exe (Qt statico da $qt)"
cmake -S . -B "$out/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DMETEO_BUILD_TESTS=OFF >"$out/windows-configure.log" 2>&1 \
  || { tail -30 "$out/windows-configure.log" >&2; exit 1; }
cmake --build "$out/windows" -j "$jobs" --target meteo-aprs
x86_64-w64-mingw32-strip -o "$out/meteo-aprs.exe" "$out/windows/meteo-aprs.exe"
# One file: nothing but Windows' own DLLs may be needed beside it.
imports=$(x86_64-w64-mingw32-objdump -p "$out/meteo-aprs.exe" | sed -n 's/^\s*DLL Name: //p' | sort -u)
allowed='^(api-ms-win-[a-z0-9-]+|shcore|kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|imm32|winmm|ws2_32|uxtheme|dwmapi|version|netapi32|userenv|mpr|shlwapi|uuid|wtsapi32|setupapi|msvcrt|iphlpapi|winhttp|dnsapi|secur32|crypt32|bcrypt|ncrypt|authz|d3d9|d3d11|dxgi|dwrite|d2d1|rpcrt4|winspool\.drv|comctl32)\.dll$'
foreign=$(grep -viE "$allowed" <<<"$imports" || true)
if [ -n "$foreign" ]; then
  echo "windows-package: meteo-aprs.exe chiede DLL che Windows non ha: $foreign" >&2
  exit 1
fi

# The floor the program's start and memory are measured against: a bare Qt
# Widgets window, from the same static Qt and toolchain (not packaged).
cmake -S bench/floor -B "$out/floor-windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >"$out/floor-configure.log" 2>&1 \
  || { tail -30 "$out/floor-configure.log" >&2; exit 1; }
cmake --build "$out/floor-windows" -j "$jobs"
x86_64-w64-mingw32-strip -o "$out/qt-floor.exe" "$out/floor-windows/qt-floor.exe"

echo "== cartella del programma, zip e installatore"
stage=$out/stage/meteo-aprs-$version
rm -rf "$out/stage"
mkdir -p "$stage/licenze"
cp "$out/meteo-aprs.exe" "$stage/"
cp -r "$qt/licenses/." "$stage/licenze/"
# Notepad and the installer read the text in the system's code page; the
# licence's notice closes the LEGGIMI.
{ sed -e "s/@VERSION@/$version/g" -e "s/@QT_VERSION@/${qt_deb_version%%+*}/g" \
      -e "s/@QT_DEB_VERSION@/$qt_deb_version/g" packaging/windows/LEGGIMI.txt.in
  printf '\nAvviso della licenza\n--------------------\n'
  cat packaging/AVVISO-LICENZA.txt
} | iconv -f UTF-8 -t CP1252 | sed 's/$/\r/' >"$stage/LEGGIMI.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
# The installer's pages read UTF-8 (with its byte-order mark) whatever the
# system's code page.
{ printf '\xef\xbb\xbf'; iconv -f CP1252 -t UTF-8 "$stage/LEGGIMI.txt"; } >"$out/stage/LEGGIMI-pagina.txt"
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' packaging/AVVISO-LICENZA.txt; printf '\r\n'; cat "$stage/LICENSE.txt"; } \
  >"$out/stage/LICENZA-pagina.txt"
zip_file=$out/meteo-aprs-$version-windows.zip
rm -f "$zip_file"
(cd "$out/stage" && zip -q -r -X "$zip_file" "meteo-aprs-$version")
size_kb=$(du -sk "$stage" | cut -f1)
setup=$out/meteo-aprs-$version-setup.exe
makensis -V2 -NOCD \
  -DVERSION="$version" -DEXE="$stage/meteo-aprs.exe" -DICON="$root/packaging/meteo-aprs.ico" \
  -DLICENSES="$stage/licenze" -DREADME="$stage/LEGGIMI.txt" -DREADME_PAGE="$out/stage/LEGGIMI-pagina.txt" \
  -DLICENSE="$stage/LICENSE.txt" -DLICENSE_PAGE="$out/stage/LICENZA-pagina.txt" -DOUTFILE="$setup" -DSIZE_KB="$size_kb" \
  packaging/windows/installer.nsi
if git rev-parse --git-dir >/dev/null 2>&1; then
  git archive --format=zip --prefix="meteo-aprs-$version/" -o "$out/meteo-aprs-$version-sorgenti.zip" HEAD
fi

echo "== pacchetto .deb"
cmake -S . -B "$out/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMETEO_BUILD_TESTS=OFF >/dev/null
cmake --build "$out/linux" -j "$jobs" --target meteo-aprs
cmake -S bench/floor -B "$out/floor-linux" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$out/floor-linux" -j "$jobs"
(cd "$out/linux" && cpack -G DEB >/dev/null)
cp "$out/linux/packages/meteo-aprs_${version}_amd64.deb" "$out/"

echo "== pronti in $out:"
for f in meteo-aprs.exe "meteo-aprs-$version-setup.exe" "meteo-aprs-$version-windows.zip" \
         "meteo-aprs-$version-sorgenti.zip" "meteo-aprs_${version}_amd64.deb"; do
  [ -f "$out/$f" ] && printf '  %-36s %6.1f MB\n' "$f" "$(du -k "$out/$f" | cut -f1 | awk '{print $1/1024}')"
done
