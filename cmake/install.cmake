# Installation and packages (included from the top CMakeLists.txt).
#
#   cmake --install BUILD [--prefix DIR]
#       bin/gateway-configurator, bin/gateway-cli, bin/gateway-sim,
#       share/man/man1/{gateway-configurator,gateway-cli,gateway-sim}.1.gz,
#       share/doc/gateway-configurator/{copyright,changelog.gz},
#       share/applications/gateway-configurator.desktop,
#       share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/gateway-configurator.png,
#       share/icons/hicolor/scalable/apps/gateway-configurator.svg
#   cd BUILD && cpack
#       Linux: a Debian package whose dependencies dpkg-shlibdeps finds
#       (dpkg-dev), as lintian wants it, its maintainer
#       GATEWAY_PACKAGE_MAINTAINER; Windows: an NSIS installer,
#       gateway-configurator-2.0.1-win32.exe, that puts the program with
#       its DLLs (cmake/windows-runtime.cmake) into bin\ of the folder
#       chosen and the licences into licenses\, with a Start-menu entry, a
#       desktop shortcut (both starting the program in the user's Documents)
#       and an uninstaller; and the same tree as a portable zip,
#       gateway-configurator-2.0.1-win32.zip. A 64-bit build makes
#       ...-win64.exe (a 64-bit installer, into Program Files, not its
#       "(x86)" twin) and ...-win64.zip. Their name, without the extension,
#       is GATEWAY_PACKAGE_FILE_NAME, which the tests take too.
#
# The PNG icons are committed renders of images/icon.svg
# (images/render-icon.sh writes them together with the Windows .ico).

include(GNUInstallDirs)

install(TARGETS gateway-configurator gateway-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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

    # licenses\: NOTICE.txt says what is shipped under which terms and where
    # Qt's sources are (scripts/win32-qt.sh describes the Qt it builds in
    # qt-sources.txt and keeps the patches it applies beside it); then the
    # texts, with Windows line ends for Notepad, and the patches as they are.
    set(licenses ${CMAKE_BINARY_DIR}/licenses)
    set(GATEWAY_QT_SOURCES
        "    This build's Qt ${${QT}Core_VERSION} comes from its provider, with its sources.\n")
    if(EXISTS ${GATEWAY_QT_PREFIX}/qt-sources.txt)
        file(READ ${GATEWAY_QT_PREFIX}/qt-sources.txt GATEWAY_QT_SOURCES)
    endif()
    file(GLOB qt_patches ${GATEWAY_QT_PREFIX}/patches/*.patch)
    set(license_texts ${PROJECT_SOURCE_DIR}/LICENSE
        ${PROJECT_SOURCE_DIR}/packaging/licenses/LGPL-3.txt ${PROJECT_SOURCE_DIR}/packaging/licenses/GPL-3.txt)
    if(MSVC)
        set(GATEWAY_RUNTIME_NOTICE "The Visual C++ runtime DLLs beside the program
    Microsoft's redistributable files, under Microsoft's terms for them.")
    else()
        set(GATEWAY_RUNTIME_NOTICE "bin\\${GATEWAY_LIBGCC_DLL}, bin\\libstdc++-6.dll
    The GCC runtime libraries of MinGW-w64: the GNU General Public License,
    version 3 (GPL-3.txt), with the GCC Runtime Library Exception, version
    3.1 (GCC-RUNTIME-LIBRARY-EXCEPTION-3.1.txt), which lets them go with
    programs under other terms.

bin\\libwinpthread-1.dll
    The POSIX threads library of MinGW-w64: MIT-style terms, in
    winpthreads.txt.")
        list(APPEND license_texts ${PROJECT_SOURCE_DIR}/packaging/licenses/GCC-RUNTIME-LIBRARY-EXCEPTION-3.1.txt
            ${PROJECT_SOURCE_DIR}/packaging/licenses/winpthreads.txt)
    endif()
    # Read at configure time: a change of one configures again.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${license_texts} ${qt_patches})
    if(EXISTS ${GATEWAY_QT_PREFIX}/qt-sources.txt)
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${GATEWAY_QT_PREFIX}/qt-sources.txt)
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/packaging/licenses/NOTICE.txt.in ${CMAKE_BINARY_DIR}/NOTICE.txt @ONLY)
    file(REMOVE_RECURSE ${licenses})
    if(qt_patches)
        file(COPY ${qt_patches} DESTINATION ${licenses})
    endif()
    foreach(text ${CMAKE_BINARY_DIR}/NOTICE.txt ${license_texts})
        get_filename_component(name ${text} NAME)
        if(name STREQUAL "LICENSE")
            set(name gateway-configurator.txt)
        endif()
        file(READ ${text} content)
        string(REGEX REPLACE "\r?\n" "\r\n" content "${content}")
        file(WRITE ${licenses}/${name} "${content}")
    endforeach()
    install(DIRECTORY ${licenses}/ DESTINATION licenses)
endif()

if(UNIX AND NOT APPLE)
    # FILE (of the sources) compressed as Debian keeps it, at most and with
    # no name or time in it, into DIR of the build: DIR/NAME.gz, added to
    # `compressed`.
    function(gateway_gzip file dir)
        get_filename_component(name ${file} NAME)
        set(out ${CMAKE_BINARY_DIR}/${dir}/${name})
        add_custom_command(OUTPUT ${out}.gz
            COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${file} ${out}
            COMMAND gzip -9nf ${out}
            DEPENDS ${PROJECT_SOURCE_DIR}/${file} VERBATIM)
        set(compressed ${compressed} ${out}.gz PARENT_SCOPE)
    endfunction()
    foreach(page packaging/gateway-configurator.1 cli/gateway-cli.1 packaging/gateway-sim.1)
        gateway_gzip(${page} man)
    endforeach()
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    gateway_gzip(packaging/changelog doc)
    add_custom_target(compressed_documents ALL DEPENDS ${compressed})

    # The changelog is kept by hand (a package built from sources without
    # their history has it too); its latest entry must be this version.
    file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog latest LIMIT_COUNT 1)
    string(REPLACE "." "\\." version_pattern ${PROJECT_VERSION})
    if(NOT latest MATCHES "^${PROJECT_NAME} \\(${version_pattern}\\) ")
        message(FATAL_ERROR "packaging/changelog: the latest entry, \"${latest}\", is not of version "
            "${PROJECT_VERSION}: add one for it")
    endif()
    # Debian's copyright file, in its machine-readable format, made from
    # LICENSE: its copyright line, and its terms as a field's lines (a
    # blank line there is " .").
    file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
    string(REGEX MATCH "\nCopyright \\(c\\) ([^\n]+)\n" found "${license}")
    set(GATEWAY_COPYRIGHT ${CMAKE_MATCH_1})
    string(FIND "${license}" "Permission is hereby granted" terms_start)
    if(NOT found OR terms_start LESS 0)
        message(FATAL_ERROR "LICENSE: no \"Copyright (c) ...\" line or no terms found for Debian's copyright file")
    endif()
    string(SUBSTRING "${license}" ${terms_start} -1 terms)
    string(STRIP "${terms}" terms)
    string(REPLACE "\n\n" "\n.\n" terms "${terms}")
    string(REPLACE "\n" "\n " GATEWAY_LICENSE_TERMS " ${terms}")
    configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/packaging/changelog)
    install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

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
# Whoever builds the packages for others names themselves here.
set(GATEWAY_PACKAGE_MAINTAINER "Gateway Configurator Project <maintainers@gateway-configurator.example>"
    CACHE STRING "The packages' maintainer, \"Name <address>\"")
set(CPACK_PACKAGE_CONTACT "${GATEWAY_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configurator of Modbus TCP-RTU gateway modules")
# Lines as the Debian package shows them (at most 80 columns).
set(CPACK_PACKAGE_DESCRIPTION "Reads and writes the parameters of a Modbus TCP-RTU gateway module over
a serial port (RS-485 adapter), and keeps them in settings files.
Includes gateway-cli, which does the same from a console for one module
or many at once, and gateway-sim, a simulated module on a pseudo-terminal.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Gateway Configurator")
set(CPACK_PACKAGE_EXECUTABLES "gateway-configurator" "Modbus TCP-RTU Gateway Configurator")
set(CPACK_STRIP_FILES ON)
# The values below reach the packagers as written (NSIS script lines).
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
    set(CPACK_GENERATOR NSIS ZIP)
    # (include(CPack) leaves CPACK_PACKAGE_FILE_NAME set to the source
    # package's name: the tests take the name from GATEWAY_PACKAGE_FILE_NAME.)
    set(GATEWAY_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${GATEWAY_WINDOWS_ARCH})
    set(CPACK_PACKAGE_FILE_NAME ${GATEWAY_PACKAGE_FILE_NAME})
    if(GATEWAY_WINDOWS_ARCH STREQUAL win64)
        # A 64-bit installer, so that it runs where only 64-bit programs
        # do, installing into the 64-bit Program Files. makensis's target
        # goes into the script's header through CPACK_NSIS_DEFINES (the
        # line the template has for it; CMake 3.25's
        # CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS splits "-XTarget amd64-unicode"
        # in two). tests/check_windows_package.sh checks that it is 64-bit.
        # The install root is $PROGRAMFILES (CPack's default for a 64-bit
        # build is $PROGRAMFILES64), which a 64-bit installer reads as the
        # 64-bit Program Files: $PROGRAMFILES64 in the template's InstallDir,
        # which comes before the target, is compiled for the x86 target and
        # gives "Program Files (x86)" at run time, and the installer then
        # takes it for a folder the user chose.
        set(CPACK_NSIS_DEFINES "Target amd64-unicode")
        set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
    endif()
    set(CPACK_NSIS_DISPLAY_NAME "Modbus TCP-RTU Gateway Configurator")
    set(CPACK_NSIS_PACKAGE_NAME "Modbus TCP-RTU Gateway Configurator")
    # The installer shows the program's licence.
    set(CPACK_RESOURCE_FILE_LICENSE ${licenses}/gateway-configurator.txt)
    # Installer, uninstaller and the Programs entry show the program icon.
    set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/images/TesmarRTUTCP.ico")
    set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/images/TesmarRTUTCP.ico")
    set(CPACK_NSIS_INSTALLED_ICON_NAME "${CMAKE_INSTALL_BINDIR}\\gateway-configurator.exe")
    # The Start-menu entry and the desktop shortcut, made here rather than
    # from CPACK_PACKAGE_EXECUTABLES, whose shortcuts start the program in
    # its own folder: these start it in the user's Documents (expanded when
    # the shortcut is used, so for whichever user uses it), where the file
    # dialogs then open, not in Program Files.
    set(CPACK_PACKAGE_EXECUTABLES)
    set(link "Modbus TCP-RTU Gateway Configurator.lnk")
    set(exe "$INSTDIR\\${CMAKE_INSTALL_BINDIR}\\gateway-configurator.exe")
    set(CPACK_NSIS_CREATE_ICONS_EXTRA "
  Push $OUTDIR
  StrCpy $OUTDIR \"%USERPROFILE%\\Documents\"
  CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\${link}\" \"${exe}\"
  CreateShortCut \"$DESKTOP\\${link}\" \"${exe}\"
  Pop $OUTDIR")
    set(CPACK_NSIS_DELETE_ICONS_EXTRA "
  Delete \"$SMPROGRAMS\\$MUI_TEMP\\${link}\"
  Delete \"$DESKTOP\\${link}\"")
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
