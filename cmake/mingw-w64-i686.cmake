# Cross-building the 32-bit Windows program on Linux with Debian's MinGW-w64
# (g++-mingw-w64-i686-posix), against the Qt that scripts/win32-qt.sh builds:
#
#   cmake -S . -B build-win32 -G Ninja \
#       -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
#       -DCMAKE_PREFIX_PATH="$(scripts/win32-qt.sh)"
#
# The tests of such a build run under Wine (tests/wine/run.sh); its 64-bit
# twin is cmake/mingw-w64-x86_64.cmake.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(GATEWAY_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
