#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# The Windows resources check (MinGW windres, icoutils), the Qt 6 build, and
# the package stage (dpkg-shlibdeps, desktop-file-validate, debootstrap).
scripts/deps.sh binutils-mingw-w64-i686 icoutils \
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev \
    dpkg-dev desktop-file-utils debootstrap
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 300

# ---- Sanitizer stage --------------------------------------------------------
# The whole suite again, built with AddressSanitizer and UndefinedBehavior-
# Sanitizer (-DGATEWAY_SANITIZE=ON, cmake/sanitizers.cmake) in build-asan,
# leak checking at every exit. cmake/lsan.supp suppresses only leaks of
# system libraries. The reports go to files so that those of child
# processes (the simulator) are seen as well: any report fails the stage.
# SKIP_SANITIZE=1 skips it.
if [ "${SKIP_SANITIZE:-0}" != 1 ]; then
    cd "$root"
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGATEWAY_SANITIZE=ON >/dev/null
    cmake --build build-asan
    reports=$root/build-asan/sanitizer-reports
    rm -rf "$reports"
    mkdir -p "$reports"
    status=0
    (cd build-asan &&
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:log_path=$reports/asan \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan \
        LSAN_OPTIONS=suppressions=$root/cmake/lsan.supp:print_suppressions=0 \
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 600) || status=$?
    for f in "$reports"/*; do
        [ -e "$f" ] || continue
        echo "---- sanitizer report $f"
        cat "$f"
        status=1
    done
    if [ "$status" -ne 0 ]; then
        echo "sanitizer stage failed"
        exit 1
    fi
fi

# ---- Qt 6 stage -------------------------------------------------------------
# The same sources and the whole suite built with Qt 6 (-DGATEWAY_QT6=ON).
cd "$root"
cmake -S . -B build-qt6 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGATEWAY_QT6=ON >/dev/null
cmake --build build-qt6
(cd build-qt6 && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 300)

# ---- Package stage ----------------------------------------------------------
# The Debian package of the default (Qt 5) build, installed on a clean
# Debian 12 and started there (tests/check_package.sh).
cd "$root"
tests/check_package.sh build
