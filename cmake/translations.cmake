# A program's texts in Russian: its .ts files (kept current with
# scripts/translations.sh, lupdate), compiled to .qm by lrelease at build
# time and built into the program as resources (:/translations/NAME.qm,
# which language::choose() loads).
# The cross-build for Windows takes the host's lrelease: Qt for Windows is
# built without its tools, and the .qm is the same for any platform.
find_package(${QT}LinguistTools QUIET)
if(TARGET ${QT}::lrelease)
    set(GATEWAY_LRELEASE ${QT}::lrelease)
else()
    find_program(GATEWAY_LRELEASE NAMES lrelease lrelease-qt5
        HINTS /usr/lib/qt${QT_VERSION_MAJOR}/bin /usr/lib/qt5/bin /usr/lib/qt6/bin NO_CMAKE_FIND_ROOT_PATH)
    if(NOT GATEWAY_LRELEASE)
        message(FATAL_ERROR "lrelease (Qt's translation compiler) not found: scripts/deps.sh installs it")
    endif()
endif()

# gateway_translations(TARGET NAME TS...): the .qm of each TS built into
# what links TARGET, in the resource collection NAME.
function(gateway_translations target name)
    set(qm_files)
    foreach(ts ${ARGN})
        get_filename_component(base ${ts} NAME_WE)
        set(qm ${CMAKE_CURRENT_BINARY_DIR}/${base}.qm)
        add_custom_command(OUTPUT ${qm} COMMAND ${GATEWAY_LRELEASE} -silent ${ts} -qm ${qm}
            DEPENDS ${ts} VERBATIM)
        list(APPEND qm_files ${qm})
    endforeach()
    # The resource collection names the .qm files of the build folder.
    set(qrc ${CMAKE_CURRENT_BINARY_DIR}/${name}.qrc)
    set(qrc_text "<RCC><qresource prefix=\"/translations\">\n")
    foreach(qm ${qm_files})
        get_filename_component(file ${qm} NAME)
        string(APPEND qrc_text "<file alias=\"${file}\">${qm}</file>\n")
    endforeach()
    string(APPEND qrc_text "</qresource></RCC>\n")
    file(GENERATE OUTPUT ${qrc} CONTENT "${qrc_text}")
    # rcc run here, not by AUTORCC, which lists a collection's files before
    # they are built.
    set(qrc_cpp ${CMAKE_CURRENT_BINARY_DIR}/qrc_${name}.cpp)
    add_custom_command(OUTPUT ${qrc_cpp}
        COMMAND ${QT}::rcc --name ${name} ${qrc} -o ${qrc_cpp}
        DEPENDS ${qrc} ${qm_files} VERBATIM)
    # Objects of their own, linked into the program, so that they register
    # themselves before main() runs (as the window's icons do).
    add_library(${name} OBJECT ${qrc_cpp})
    target_link_libraries(${name} PRIVATE ${QT}::Core)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL EXECUTABLE)
        target_sources(${target} PRIVATE $<TARGET_OBJECTS:${name}>)
    else()
        target_sources(${target} INTERFACE $<TARGET_OBJECTS:${name}>)
    endif()
endfunction()
