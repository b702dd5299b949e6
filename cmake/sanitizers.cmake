# Sanitizer and fuzzing builds.
#
# -DGATEWAY_SANITIZE=ON builds every target of the tree (the libraries, the
# configurator, the simulator, the tests) with AddressSanitizer and
# UndefinedBehaviorSanitizer. Undefined behaviour is fatal, never just
# reported, so a test that runs into it fails. Run the suite of such a build
# with scripts/test.sh (its sanitizer stage) or by hand:
#
#   ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
#   UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
#   LSAN_OPTIONS=suppressions=<source>/cmake/lsan.supp \
#   QT_QPA_PLATFORM=offscreen ctest
#
# -DGATEWAY_FUZZ=ON (clang only, see fuzz/) additionally instruments every
# target for libFuzzer's coverage feedback, so that the fuzz targets in fuzz/
# see the edges of the code they drive; it implies the sanitizers.

option(GATEWAY_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(GATEWAY_FUZZ "Build the libFuzzer targets in fuzz/ (needs clang)" OFF)

if(GATEWAY_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(WARNING "GATEWAY_FUZZ needs clang (CMAKE_CXX_COMPILER=clang++); "
                    "only the corpus replay tests are built")
endif()

set(GATEWAY_SANITIZER_FLAGS
    -fsanitize=address,undefined
    -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)

if(GATEWAY_SANITIZE OR GATEWAY_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        message(FATAL_ERROR "GATEWAY_SANITIZE needs g++ or clang++")
    endif()
    message(STATUS "Building with ${GATEWAY_SANITIZER_FLAGS}")
    add_compile_options(${GATEWAY_SANITIZER_FLAGS})
    add_link_options(-fsanitize=address,undefined)
    # Debug information for readable stacks, whatever the build type.
    add_compile_options(-g)
endif()

if(GATEWAY_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # Coverage instrumentation without libFuzzer's main(): the fuzz targets
    # link -fsanitize=fuzzer themselves, everything else keeps its main().
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
