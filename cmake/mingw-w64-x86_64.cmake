# Cross-building the 64-bit Windows program on Linux with Debian's MinGW-w64
# (g++-mingw-w64-x86-64-posix), against the Qt that `scripts/win32-qt.sh
# win64` builds from the same sources, options and patches as the 32-bit
# one:
#
#   cmake -S . -B build-win64 -G Ninja \
#       -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#       -DCMAKE_PREFIX_PATH="$(scripts/win32-qt.sh win64)"
#
# The test command builds it where this machine cannot run 32-bit programs
# (or GATEWAY_WINE_ROUTE=win64 says so), to run the Wine tests under wine64
# (tests/wine/run.sh, with the prefix's WINEARCH from cmake/wine.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(GATEWAY_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
