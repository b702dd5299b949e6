# Installation and packages (included from the top CMakeLists.txt).
#
#   cmake --install BUILD [--prefix DIR]
#       bin/gateway-configurator, bin/gateway-sim,
#       share/applications/gateway-configurator.desktop,
#       share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/gateway-configurator.png,
#       share/icons/hicolor/scalable/apps/gateway-configurator.svg
#   cd BUILD && cpack
#       Linux: a Debian package whose dependencies dpkg-shlibdeps finds
#       (dpkg-dev); Windows: an NSIS installer,
#       gateway-configurator-2.0.1-win32.exe, that puts the program with
#       its DLLs (cmake/windows-runtime.cmake) into bin\ of the folder
#       chosen, with a Start-menu entry and an uninstaller.
#
# The PNG icons are committed renders of images/icon.svg
# (images/render-icon.sh writes them together with the Windows .ico).

include(GNUInstallDirs)

install(TARGETS gateway-configurator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET gateway-sim)
    install(TARGETS gateway-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/windows-runtime.cmake)
    install(FILES ${GATEWAY_QT_DLLS} ${GATEWAY_RUNTIME_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR})
    foreach(plugin ${GATEWAY_QT_PLUGINS})
        get_filename_component(dir ${plugin} DIRECTORY)
        install(FILES ${GATEWAY_QT_PLUGIN_DIR}/${plugin} DESTINATION ${CMAKE_INSTALL_BINDIR}/${dir})
    endforeach()
endif()

if(UNIX AND NOT APPLE)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/gateway-configurator.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size 16 32 48 256)
        install(FILES ${PROJECT_SOURCE_DIR}/images/hicolor/${size}x${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME gateway-configurator.png)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/images/icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME gateway-configurator.svg)
endif()

# ---- CPack ----
set(CPACK_PACKAGE_NAME gateway-configurator)
set(CPACK_PACKAGE_VENDOR "Gateway Configurator Project")
set(CPACK_PACKAGE_CONTACT "Gateway Configurator Project <gateway-configurator@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configurator of Modbus TCP-RTU gateway modules")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads and writes the parameters of a Modbus TCP-RTU gateway module over a serial port (RS-485 adapter), and keeps them in settings files. Includes gateway-sim, a simulated module on a pseudo-terminal.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Gateway Configurator")
set(CPACK_PACKAGE_EXECUTABLES "gateway-configurator" "Modbus TCP-RTU Gateway Configurator")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR NSIS)
    set(CPACK_NSIS_DISPLAY_NAME "Modbus TCP-RTU Gateway Configurator")
    set(CPACK_NSIS_PACKAGE_NAME "Modbus TCP-RTU Gateway Configurator")
    # Installer, uninstaller and the Programs entry show the program icon.
    set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/images/TesmarRTUTCP.ico")
    set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/images/TesmarRTUTCP.ico")
    set(CPACK_NSIS_INSTALLED_ICON_NAME "${CMAKE_INSTALL_BINDIR}\\\\gateway-configurator.exe")
    # Start menu shortcut (CPACK_PACKAGE_EXECUTABLES above) and one on the
    # desktop, both to bin\gateway-configurator.exe.
    set(CPACK_NSIS_EXECUTABLES_DIRECTORY ${CMAKE_INSTALL_BINDIR})
    set(CPACK_CREATE_DESKTOP_LINKS gateway-configurator)
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    set(CPACK_NSIS_MODIFY_PATH OFF)
elseif(UNIX AND NOT APPLE)
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
    set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # The Qt, C++ and C libraries, found by dpkg-shlibdeps (dpkg-dev), and
    # the face with the metrics of the window's "Times New Roman".
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
endif()

include(CPack)
