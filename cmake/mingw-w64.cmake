# Cross build for 64-bit Windows with Debian's mingw-w64 (make test-windows,
# and chain-loaded by the static Qt's toolchain for the whole program).
# Everything is linked statically so the .exe runs under Wine, or on a bare
# Windows, without the MinGW DLLs beside it.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-toolchain.cmake)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test discovery and ctest run the .exe files through Wine, in a prefix of
# their own inside the build folder so that no one's ~/.wine is touched.
get_filename_component(METEO_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${METEO_WINE_RUN};${CMAKE_BINARY_DIR}/wineprefix")
