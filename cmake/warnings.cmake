# Compiler warnings for the project's own targets (g++, clang++ and MinGW's
# g++): -Wall -Wextra, and a switch over an enumeration that misses one of
# its enumerators (a new proto::Param, say) is always an error.
#
#   gateway_warnings(TARGET...)          the warnings for these targets
#   gateway_project_targets(VAR)         every target built in the tree
#
# The top-level CMakeLists.txt gives them to every target of the tree at its
# end, so a new target has them without a line of its own.
#
# -DGATEWAY_WARNINGS_AS_ERRORS=ON (the test command sets it) makes any
# warning in the project's own source files an error. Not in others': Qt's
# headers come from its imported targets as system headers (-isystem) and
# warn about nothing; the headers that AUTOUIC and AUTOMOC generate
# (ui_*.h, the *.moc files a source includes) are taken as system headers
# here too; and the sources that AUTOMOC and AUTORCC generate
# (mocs_compilation.cpp, qrc_*.cpp) show their warnings as warnings.

option(GATEWAY_WARNINGS_AS_ERRORS "Make any compiler warning in the project's own sources an error" OFF)

function(gateway_warnings)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        return()
    endif()
    foreach(target ${ARGN})
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror=switch)
        get_target_property(dir ${target} SOURCE_DIR)
        get_target_property(autogen ${target} AUTOGEN_BUILD_DIR)
        if(NOT autogen)
            get_target_property(binary_dir ${target} BINARY_DIR)
            set(autogen ${binary_dir}/${target}_autogen)
        endif()
        # The same folder as AUTOGEN's own -I; named as a system folder too,
        # it is searched as one.
        target_include_directories(${target} SYSTEM PRIVATE ${autogen}/include)
        if(NOT GATEWAY_WARNINGS_AS_ERRORS)
            continue()
        endif()
        if(CMAKE_VERSION VERSION_LESS 3.18)
            # No source properties of another folder: the whole target.
            target_compile_options(${target} PRIVATE -Werror)
            continue()
        endif()
        get_target_property(sources ${target} SOURCES)
        foreach(source ${sources})
            if(source MATCHES "\\.(c|cc|cpp|cxx)$" AND NOT source MATCHES "^\\$<")
                get_filename_component(source ${source} ABSOLUTE BASE_DIR ${dir})
                get_property(options SOURCE ${source} DIRECTORY ${dir} PROPERTY COMPILE_OPTIONS)
                if(NOT "-Werror" IN_LIST options)
                    set_property(SOURCE ${source} DIRECTORY ${dir} APPEND PROPERTY COMPILE_OPTIONS -Werror)
                endif()
            endif()
        endforeach()
    endforeach()
endfunction()

function(gateway_project_targets var)
    set(found)
    set(dirs ${CMAKE_SOURCE_DIR})
    while(dirs)
        list(POP_FRONT dirs dir)
        get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target ${targets})
            get_target_property(type ${target} TYPE)
            if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
                list(APPEND found ${target})
            endif()
        endforeach()
        get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
        list(APPEND dirs ${subdirs})
    endwhile()
    set(${var} ${found} PARENT_SCOPE)
endfunction()
