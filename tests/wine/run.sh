#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: the emulator of that
# build's tests (cmake/mingw-w64-*.cmake) and of the Wine stage.
#
#   tests/wine/run.sh PROGRAM.exe [ARGUMENT ...]
#
# Environment (cmake/wine.cmake sets it for the tests):
#   WINEPREFIX             the Wine prefix; made on first use
#   WINEARCH               win32 (the default) or win64: the prefix's
#                          architecture, and so Wine's 32-bit loader or
#                          wine64 (loader.sh)
#   GATEWAY_WINE_DLLPATH   colon-separated folders of the DLLs (Qt, MinGW)
#   GATEWAY_WINE_PLUGINS   Qt's plugins folder
#   DISPLAY                an X server; without one the run gets its own Xvfb
#
# Every run has the pty shim (ptymodem.c) preloaded, so that a COM port that
# Wine maps to a pseudo-terminal behaves like a serial line. Where the
# loader cannot run on this machine, exits with 77 (skipped) and says why;
# where Wine cannot make the prefix, fails with what it said.
set -eEuo pipefail
# A step of this script that fails says where, or a run that ends before
# Wine starts the program would fail with nothing said.
trap 'echo "${0##*/}: line $LINENO: \"$BASH_COMMAND\" failed (exit $?)" >&2' ERR
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}"
export WINEPREFIX
. "$here/loader.sh"
. "$here/../need.sh"
wine_check_loader
need wineserver wine
export WINEDEBUG=${WINEDEBUG:--all}
# Wine's standard handles are no Windows console, so Qt would send its log
# and the test results to the debugger channel; this keeps them on the
# terminal.
export QT_FORCE_STDERR_LOGGING=${QT_FORCE_STDERR_LOGGING:-1}
# No Mono or Gecko installer dialogs when the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ -z "${DISPLAY:-}" ]; then
    need xvfb-run xvfb
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

to_windows() { # /a/b -> Z:\a\b
    printf 'Z:%s' "${1//\//\\}"
}

mkdir -p "$WINEPREFIX"
(
    flock 9
    # The shim for each ABI that Wine's processes have here: a 32-bit
    # prefix runs the i386 loader (and 64-bit helpers), a 64-bit one x86-64
    # processes only (no 32-bit compiler needed).
    shim=$WINEPREFIX/ptymodem
    abis=(x86_64-linux-gnu)
    [ "$WINEARCH" = win64 ] || abis+=(i386-linux-gnu)
    for abi in "${abis[@]}"; do
        so=$shim/lib/$abi/ptymodem.so
        if [ ! -f "$so" ] || [ "$here/ptymodem.c" -nt "$so" ]; then
            mkdir -p "${so%/*}"
            flags=()
            [ "$abi" = i386-linux-gnu ] && flags=(-m32)
            gcc "${flags[@]}" -shared -fPIC -O2 -o "$so" "$here/ptymodem.c" -ldl
        fi
    done
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        # What Wine says while it makes the prefix is kept, and shown when
        # it fails.
        boot_log=$WINEPREFIX.boot.log
        if ! "$wine_loader" wineboot -i > "$boot_log" 2>&1; then
            cat "$boot_log" >&2
            echo "run.sh: Wine ($wine_loader, $WINEARCH) could not make the prefix $WINEPREFIX (above: what it said)" >&2
            exit 1
        fi
        wineserver -w
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            cat "$boot_log" >&2
            echo "run.sh: Wine ($wine_loader, $WINEARCH) made no prefix in $WINEPREFIX (above: what it said)" >&2
            exit 1
        fi
        # Wine links the user's Documents, Desktop, ... to the home folder;
        # here they are folders of the prefix, so that what a test saves
        # stays in the prefix and Documents is a folder of its own.
        for d in "$WINEPREFIX"/drive_c/users/*/*; do
            if [ -L "$d" ]; then
                rm "$d"
                mkdir "$d"
            fi
        done
    fi
) 9>"$WINEPREFIX.lock"

path=""
IFS=: read -r -a dirs <<< "${GATEWAY_WINE_DLLPATH:-}"
for d in "${dirs[@]}"; do
    [ -n "$d" ] && path+="${path:+;}$(to_windows "$d")"
done
export WINEPATH="$path${WINEPATH:+;$WINEPATH}"
if [ -n "${GATEWAY_WINE_PLUGINS:-}" ]; then
    export QT_PLUGIN_PATH=$(to_windows "$GATEWAY_WINE_PLUGINS")
fi
# Wine keeps the host's QT_* variables from Windows programs (they are meant
# for the host's Qt) but hands on WINEQT_* as QT_*.
while IFS='=' read -r name _; do
    export "WINE$name=${!name}"
done < <(env | grep -E '^QT_[A-Za-z0-9_]*=' || true)
export LD_PRELOAD="$WINEPREFIX/ptymodem/\$LIB/ptymodem.so${LD_PRELOAD:+:$LD_PRELOAD}"
# A server of our own, started quietly: one started by wine itself would
# write its object dump into the test's output when the display goes away.
wineserver -p5 </dev/null >/dev/null 2>&1 || true
exec "$wine_loader" "$@"
