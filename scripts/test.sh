#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$(date +%s)
# The tests look windows up by their Cyrillic titles and compare texts: they
# need a UTF-8 locale, whatever the caller's (often none at all).
export LC_ALL=C.UTF-8
# Prints how long the test command has run, after a stage.
stage_done() { echo "==== $1 done at $(($(date +%s) - started)) s"; }

# One build folder configured, built and its tests run:
#   suite DIR TIMEOUT [CMAKE-OPTION ...] [-- CTEST-OPTION ...]
# $after_build, when set, names a command run in DIR between the build and
# the tests. A compiler warning in the project's own sources fails the build
# (-Wall -Wextra, cmake/warnings.cmake).
suite() {
    local dir=$root/$1 timeout=$2
    shift 2
    local cmake_options=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        cmake_options+=("$1")
        shift
    done
    [ $# -eq 0 ] || shift
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGATEWAY_WARNINGS_AS_ERRORS=ON \
        "${cmake_options[@]}" >/dev/null
    cmake --build "$dir"
    [ -z "${after_build:-}" ] || (cd "$dir" && $after_build)
    # Each test names its platform itself (offscreen; the real one under Wine).
    (cd "$dir" && ctest --output-on-failure -j2 --timeout "$timeout" "$@")
}

# The Windows resources check (MinGW windres, icoutils), the Qt 6 build, and
# the package stage (dpkg-shlibdeps, desktop-file-validate, debootstrap).
# The Windows stage: MinGW-w64, NSIS, Wine (32-bit) with Xvfb and xdotool,
# and a 32-bit C compiler for Wine's pty shim. The window on a desktop:
# Xvfb with the window manager openbox.
scripts/deps.sh binutils-mingw-w64-i686 icoutils \
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev \
    dpkg-dev desktop-file-utils debootstrap \
    g++-mingw-w64-i686-posix mingw-w64-i686-dev nsis wine wine32 xvfb xauth xdotool \
    gcc-multilib perl python3 xz-utils unzip openbox

# Qt for Windows is built once into a cache outside the tree (about 26
# minutes on two cores). When it is missing, its build starts now, at the
# lowest priority, so that it fills the time the suites below spend waiting
# for the simulated module; the Windows stage waits for it.
mkdir -p build-logs
qt_win32_log=$root/build-logs/win32-qt.log
qt_win32_pid=""
if [ "${SKIP_WINDOWS:-0}" != 1 ]; then
    # In a process group of its own, so that the whole build can be stopped.
    setsid nice -n 19 scripts/win32-qt.sh > "$qt_win32_log" 2>&1 &
    qt_win32_pid=$!
fi
# Whatever ends the test command (a failed stage, Ctrl+C) ends that build too.
stop_qt_win32() {
    if [ -n "$qt_win32_pid" ] && kill -0 "$qt_win32_pid" 2>/dev/null; then
        echo "stopping the build of Qt for Windows"
        kill -TERM -- "-$qt_win32_pid" 2>/dev/null || true
    fi
}
trap stop_qt_win32 EXIT
trap 'exit 130' INT TERM

suite build 300
stage_done "main build and suite"

# The whole session at the real pace runs in the main build only; the
# sanitizer stage runs every other test (each reply and sequence path, the
# fault matrix included), the Qt 6 stage all but the fault matrix too.
real_pace='^tst_endtoend$'
fault_matrix='^tst_faults_'

# ---- Sanitizer stage --------------------------------------------------------
# The whole suite again, built with AddressSanitizer and UndefinedBehavior-
# Sanitizer (-DGATEWAY_SANITIZE=ON, cmake/sanitizers.cmake) in build-asan,
# leak checking at every exit. cmake/lsan.supp suppresses only leaks of
# system libraries. The reports go to files so that those of child
# processes (the simulator) are seen as well: any report fails the stage.
# SKIP_SANITIZE=1 skips it.
if [ "${SKIP_SANITIZE:-0}" != 1 ]; then
    reports=$root/build-asan/sanitizer-reports
    rm -rf "$reports"
    mkdir -p "$reports"
    status=0
    # QT_XCB_GL_INTEGRATION=none: the desktop tests' X11 platform would load
    # Mesa's OpenGL integration, which is unloaded before the leak check and
    # leaves its allocations without a name; the program draws no OpenGL.
    QT_XCB_GL_INTEGRATION=none \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:log_path=$reports/asan \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan \
    LSAN_OPTIONS=suppressions=$root/cmake/lsan.supp:print_suppressions=0 \
        suite build-asan 600 -DGATEWAY_SANITIZE=ON -- -E "$real_pace" || status=$?
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
    stage_done "sanitizer stage"
fi

# ---- Qt 6 stage -------------------------------------------------------------
# The same sources and the whole suite built with Qt 6 (-DGATEWAY_QT6=ON).
suite build-qt6 300 -DGATEWAY_QT6=ON -- -E "$real_pace|$fault_matrix"
stage_done "Qt 6 stage"

# ---- Windows stage ----------------------------------------------------------
# The 32-bit Windows program cross-built with MinGW-w64 against the Qt that
# scripts/win32-qt.sh builds once into a cache outside the tree, its NSIS
# installer and portable zip, the program's resources and manifest, that
# nothing shipped needs more than Windows 7, and under Wine: the tests that
# need no serial device, the program started and closed, the installer's
# round trip, the program run from the zip, and a session through COM ports
# with the Linux gateway-sim behind them.
# SKIP_WINDOWS=1 skips it.
if [ "${SKIP_WINDOWS:-0}" != 1 ]; then
    cd "$root"
    stage_started=$(date +%s)
    if ! wait "$qt_win32_pid"; then
        cat "$qt_win32_log"
        echo "windows stage: building Qt for Windows failed"
        exit 1
    fi
    qt_win32=$(tail -n1 "$qt_win32_log")
    grep '^win32-qt:' "$qt_win32_log" || true
    echo "windows stage: Qt for Windows at $qt_win32, waited $(($(date +%s) - stage_started)) s for it"
    # (Run from an && list, where set -e does not act: each step gates the next.)
    package_win32() {
        cpack >/dev/null &&
            ls -l gateway-configurator-*-win32.exe gateway-configurator-*-win32.zip &&
            "$root/tests/check_windows_rc.sh" "$root" gateway-configurator.exe &&
            rm -rf shipped && unzip -q gateway-configurator-*-win32.zip -d shipped &&
            "$root/tests/check_windows_imports.sh" shipped
    }
    after_build=package_win32 suite build-win32 300 -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" -DCMAKE_PREFIX_PATH="$qt_win32" \
        -DGATEWAY_SIM_PROGRAM="$root/build/sim/gateway-sim"
    stage_done "Windows stage"
fi

# ---- Package stage ----------------------------------------------------------
# The Debian package of the default (Qt 5) build, installed on a clean
# Debian 12 and started there (tests/check_package.sh).
cd "$root"
tests/check_package.sh build
stage_done "package stage"
