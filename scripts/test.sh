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

# Everything the stages run that a new Debian 12 machine (the minbase set,
# a compiler, CMake and git) lacks; the checks name a program that is
# missing all the same (tests/need.sh). The Windows resources check (MinGW
# windres, icoutils), the Qt 6 build, and the package stage (file, which
# CPack runs for dpkg-shlibdeps; desktop-file-validate, lintian,
# debootstrap). The Windows stage: MinGW-w64, NSIS, 7-Zip (it lists the
# installer's files), unzip, python3, Xvfb, xdotool and xwininfo
# (x11-utils); what its route needs besides (Wine, a second compiler) is
# added once the route is known. The window on a desktop: Xvfb with the
# window manager openbox.
scripts/deps.sh binutils-mingw-w64-i686 icoutils \
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-serialbus-dev libgl-dev \
    file dpkg-dev desktop-file-utils lintian debootstrap \
    g++-mingw-w64-i686-posix mingw-w64-i686-dev nsis 7zip xvfb xauth xdotool x11-utils \
    perl python3 xz-utils unzip openbox

mkdir -p build-logs
qt_pid=""
if [ "${SKIP_WINDOWS:-0}" != 1 ]; then
    # ---- The Windows stage's route -----------------------------------------
    # Found by trying (scripts/wine-route.sh says what it tried and found):
    # where this machine runs 32-bit programs and Wine's 32-bit loader, the
    # Wine tests run the shipped 32-bit program (route win32); where it does
    # not, they run a 64-bit build of the same sources under wine64 (route
    # win64), and the 32-bit program, installer and zip are built and
    # checked without Wine. GATEWAY_WINE_ROUTE=win64 (or win32) forces one.
    wine_route=$(scripts/wine-route.sh "$root/build-logs/wine-route")
    echo "windows stage: route $wine_route"
    case $wine_route in
    # Wine's 32-bit half, and a 32-bit C compiler for Wine's pty shim.
    win32) scripts/deps.sh wine wine32 gcc-multilib
           qt_archs=(win32) ;;
    # wine64, and the compiler of the 64-bit build.
    win64) scripts/deps.sh wine wine64 g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
               binutils-mingw-w64-x86-64
           qt_archs=(win64 win32) ;;
    esac

    # Qt for Windows is built once into a cache outside the tree (about 32
    # minutes of processor time for each architecture). When it is missing, its
    # build starts now, at the lowest priority, so that it fills the time
    # the suites below spend waiting for the simulated module; the Windows
    # stage waits for it. On route win64 the 64-bit Qt is built first, so
    # that the Wine tests can run while the 32-bit one is built. Each build
    # writes its log and then its exit status (build-logs/ARCH-qt.status).
    for arch in win32 win64; do
        rm -f "build-logs/$arch-qt.status"
    done
    # In a process group of its own, so that the whole build can be stopped.
    setsid nice -n 19 bash -c 'for arch; do
            scripts/win32-qt.sh "$arch" > "build-logs/$arch-qt.log" 2>&1
            echo $? > "build-logs/$arch-qt.status"
        done' qt-builds "${qt_archs[@]}" &
    qt_pid=$!
fi
# Whatever ends the test command (a failed stage, Ctrl+C) ends that build too.
stop_qt_builds() {
    if [ -n "$qt_pid" ] && kill -0 "$qt_pid" 2>/dev/null; then
        echo "stopping the build of Qt for Windows"
        kill -TERM -- "-$qt_pid" 2>/dev/null || true
    fi
}
trap stop_qt_builds EXIT
trap 'exit 130' INT TERM

# ONLY_WINDOWS=1, for work on the Windows stage: the main build is built
# (its gateway-sim serves the session under Wine) but not tested, and the
# sanitizer, Qt 6 and package stages are skipped.
if [ "${ONLY_WINDOWS:-0}" = 1 ]; then
    SKIP_SANITIZE=1
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$root/build"
    stage_done "main build (ONLY_WINDOWS=1: not tested)"
else
    suite build 300
    stage_done "main build and suite"
fi

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
if [ "${ONLY_WINDOWS:-0}" != 1 ]; then
    suite build-qt6 300 -DGATEWAY_QT6=ON -- -E "$real_pace|$fault_matrix"
    stage_done "Qt 6 stage"
fi

# ---- Windows stage ----------------------------------------------------------
# The Windows program cross-built with MinGW-w64 against the Qt that
# scripts/win32-qt.sh builds once into a cache outside the tree, its NSIS
# installer and portable zip, the program's resources and manifest, that
# nothing shipped needs more than Windows 7, the packages' contents, and
# under Wine: the tests that need no serial device, the program started and
# closed, the installer's round trip, the program run from the zip, a
# session through COM ports with the Linux gateway-sim behind them, and the
# window at 150 %. On route win32 all of it on the shipped 32-bit build; on
# route win64 the Wine tests on the 64-bit build, and the 32-bit one built,
# packaged and checked without Wine.
# SKIP_WINDOWS=1 skips it.
if [ "${SKIP_WINDOWS:-0}" != 1 ]; then
    cd "$root"
    stage_started=$(date +%s)
    # Waits for the build of Qt for ARCH; sets qt_prefix.
    wait_qt() { # ARCH
        local log=$root/build-logs/$1-qt.log status=$root/build-logs/$1-qt.status waited_from
        waited_from=$(date +%s)
        while [ ! -f "$status" ] && kill -0 "$qt_pid" 2>/dev/null; do
            sleep 2
        done
        if [ "$(cat "$status" 2>/dev/null)" != 0 ]; then
            cat "$log"
            echo "windows stage: building Qt for $1 failed"
            exit 1
        fi
        qt_prefix=$(tail -n1 "$log")
        grep '^win32-qt:' "$log" || true
        echo "windows stage: Qt for $1 at $qt_prefix, waited $(($(date +%s) - waited_from)) s for it"
    }
    # Makes the installer and the zip and checks them and the program
    # without running them (run in the build folder, from an && list, where
    # set -e does not act: each step gates the next).
    package_windows() { # ARCH
        local cross=i686-w64-mingw32 name
        [ "$1" = win64 ] && cross=x86_64-w64-mingw32
        { cpack > cpack.log 2>&1 || { cat cpack.log; false; }; } &&
            name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' CPackConfig.cmake) &&
            ls -l "$name.exe" "$name.zip" &&
            WINDRES=$cross-windres "$root/tests/check_windows_rc.sh" "$root" gateway-configurator.exe &&
            rm -rf shipped && unzip -q "$name.zip" -d shipped &&
            OBJDUMP=$cross-objdump "$root/tests/check_windows_imports.sh" shipped &&
            "$root/tests/check_windows_package.sh" "$1" "$name.zip" "$name.exe"
    }
    windows_options=(-DCMAKE_BUILD_TYPE=Release -DGATEWAY_SIM_PROGRAM="$root/build/sim/gateway-sim")
    if [ "$wine_route" = win32 ]; then
        wait_qt win32
        after_build="package_windows win32" suite build-win32 300 "${windows_options[@]}" -DBUILD_TESTING=ON \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" -DCMAKE_PREFIX_PATH="$qt_prefix"
    else
        wait_qt win64
        after_build="package_windows win64" suite build-win64 300 "${windows_options[@]}" \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$qt_prefix"
        # The shipped 32-bit program: built, packaged and checked; its tests
        # are not built, as nothing here can run them.
        wait_qt win32
        echo "windows stage: the 32-bit build, its Wine tests run on the 64-bit build above (route win64)"
        cmake -S "$root" -B build-win32 -G Ninja "${windows_options[@]}" -DBUILD_TESTING=OFF \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" -DCMAKE_PREFIX_PATH="$qt_prefix" >/dev/null
        cmake --build build-win32
        (cd build-win32 && package_windows win32)
    fi
    echo "windows stage: route $wine_route, $(($(date +%s) - stage_started)) s"
    stage_done "Windows stage"
fi

# ---- Package stage ----------------------------------------------------------
# The Debian package of the default (Qt 5) build, installed on a clean
# Debian 12 and started there (tests/check_package.sh).
cd "$root"
if [ "${ONLY_WINDOWS:-0}" != 1 ]; then
    tests/check_package.sh build
    stage_done "package stage"
fi
