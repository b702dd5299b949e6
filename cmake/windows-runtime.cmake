# The DLLs a Windows build of the program needs beside it, the layout Qt's
# own deployment tool makes:
#   GATEWAY_QT_DLLS          Qt5Core, Qt5Gui, Qt5Widgets, Qt5SerialPort, and
#                            Qt5Network and Qt5SerialBus (gateway-cli's Modbus TCP)
#   GATEWAY_QT_PREFIX        the Qt folder (its qt-sources.txt and patches/,
#                            when scripts/win32-qt.sh built it)
#   GATEWAY_QT_PLUGIN_DIR    Qt's plugins folder; of it platforms/qwindows.dll,
#                            styles/qwindowsvistastyle.dll and
#                            imageformats/qico.dll (the window icon is a .ico)
#   GATEWAY_RUNTIME_DLLS     the C++ runtime: MinGW's libgcc_s, libstdc++ and
#                            winpthread, or Visual C++'s
#   GATEWAY_WINDOWS_ARCH     win32 or win64: the packages' and the Wine
#                            prefix's architecture
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(GATEWAY_WINDOWS_ARCH win64)
else()
    set(GATEWAY_WINDOWS_ARCH win32)
endif()
set(GATEWAY_QT_DLLS)
foreach(module Core Gui Widgets SerialPort Network SerialBus)
    get_target_property(dll ${QT}::${module} IMPORTED_LOCATION_RELEASE)
    list(APPEND GATEWAY_QT_DLLS ${dll})
endforeach()
get_filename_component(GATEWAY_QT_BIN_DIR "${dll}" DIRECTORY)
get_filename_component(GATEWAY_QT_PLUGIN_DIR "${GATEWAY_QT_BIN_DIR}/../plugins" ABSOLUTE)
get_filename_component(GATEWAY_QT_PREFIX "${GATEWAY_QT_BIN_DIR}/.." ABSOLUTE)
set(GATEWAY_QT_PLUGINS
    platforms/qwindows.dll
    styles/qwindowsvistastyle.dll
    imageformats/qico.dll)

set(GATEWAY_RUNTIME_DLLS)
if(MSVC)
    # The Visual C++ runtime, as CMake knows it.
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_LIBS_SKIP ON)
    include(InstallRequiredSystemLibraries)
    set(GATEWAY_RUNTIME_DLLS ${CMAKE_INSTALL_SYSTEM_RUNTIME_LIBS})
    return()
endif()
# GCC's runtime unwinds with DWARF-2 tables on i686 and with SEH on x86-64.
if(GATEWAY_WINDOWS_ARCH STREQUAL win64)
    set(GATEWAY_LIBGCC_DLL libgcc_s_seh-1.dll)
else()
    set(GATEWAY_LIBGCC_DLL libgcc_s_dw2-1.dll)
endif()
foreach(name ${GATEWAY_LIBGCC_DLL} libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
        OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${dll}" OR NOT EXISTS "${dll}")
        message(FATAL_ERROR "The MinGW runtime ${name} was not found (${dll})")
    endif()
    list(APPEND GATEWAY_RUNTIME_DLLS ${dll})
endforeach()
