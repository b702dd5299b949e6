# What both Windows toolchain files share (cmake/mingw-w64-i686.cmake and
# cmake/mingw-w64-x86_64.cmake, which set CMAKE_SYSTEM_PROCESSOR and
# GATEWAY_MINGW_TRIPLET first): Debian's MinGW-w64 compilers of POSIX
# threads by their own names, the MinGW root, and Wine to run the tests.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${GATEWAY_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GATEWAY_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${GATEWAY_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GATEWAY_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Qt lives outside the MinGW root, in the folder CMAKE_PREFIX_PATH names.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run.sh)
