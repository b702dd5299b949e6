# Cross-building the 32-bit Windows program on Linux with Debian's MinGW-w64
# (g++-mingw-w64-i686-posix), against the Qt that scripts/win32-qt.sh builds:
#
#   cmake -S . -B build-win32 -G Ninja \
#       -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
#       -DCMAKE_PREFIX_PATH="$(scripts/win32-qt.sh)"
#
# The tests of such a build run under Wine (tests/wine/run.sh); its 64-bit
# twin is cmake/mingw-w64-x86_64.cmake.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Qt lives outside the MinGW root, in the folder CMAKE_PREFIX_PATH names.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run.sh)
