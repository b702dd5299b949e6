# Tests of a cross-built Windows program run under Wine through
# tests/wine/run.sh, the emulator the toolchain file names. It is told here
# where the DLLs are (Qt's and the MinGW runtime), which Wine prefix to use
# (one inside the build folder), its architecture, the build's (win32: Wine's
# 32-bit loader; win64: wine64), and where Qt's plugins are.
include(${CMAKE_CURRENT_LIST_DIR}/windows-runtime.cmake)
set(dll_dirs ${GATEWAY_QT_BIN_DIR})
foreach(dll ${GATEWAY_RUNTIME_DLLS})
    get_filename_component(dir "${dll}" DIRECTORY)
    list(APPEND dll_dirs ${dir})
endforeach()
list(REMOVE_DUPLICATES dll_dirs)
string(REPLACE ";" ":" dll_path "${dll_dirs}")
list(APPEND GATEWAY_TEST_ENVIRONMENT
    GATEWAY_WINE_DLLPATH=${dll_path}
    GATEWAY_WINE_PLUGINS=${GATEWAY_QT_PLUGIN_DIR}
    WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
    WINEARCH=${GATEWAY_WINDOWS_ARCH})
