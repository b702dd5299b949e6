#!/usr/bin/env bash
# The Windows program as Windows runs it, under Wine (tests/wine/run.sh):
#
#   check.sh program PROGRAM.exe
#       starts the program, finds its window, closes it as a user would
#       (Alt+F4) and expects a clean exit
#   check.sh installer INSTALLER.exe
#       installs silently (/S) into Program Files, checks the program, its
#       DLLs, the Start-menu entry and the uninstaller, starts the installed
#       program, uninstalls silently and checks that nothing is left
#   check.sh session GATEWAY-SIM TST_COMSESSION.exe
#       starts gateway-sim twice, with links that Wine maps to COM5 and COM6
#       (which drops its device after the fifth query), and runs the session
#       test through them
#
# Needs WINEPREFIX (and what run.sh reads); xdotool for the window checks.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:?}"
export WINEPREFIX
what=$1
shift

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$what" "$@"
fi

fail() { echo "check.sh $what: FAIL: $*" >&2; exit 1; }
note() { echo "check.sh $what: $*"; }

# Starts a program, waits for its window, closes it with Alt+F4 and expects
# exit code 0 within ten seconds.
start_and_quit() {
    local exe=$1 pid win code
    "$here/run.sh" "$exe" &
    pid=$!
    win=$(timeout 60 xdotool search --sync --onlyvisible --name "Конфигуратор Modbus TCP-RTU Version 2.0.1" | head -n1) ||
        { kill "$pid" 2>/dev/null; fail "no window of $exe appeared"; }
    note "window $win: $(xdotool getwindowgeometry "$win" | tr '\n' ' ')"
    sleep 1
    xdotool windowfocus --sync "$win" key --clearmodifiers alt+F4
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        fail "$exe did not quit after Alt+F4"
    fi
    code=0
    wait "$pid" || code=$?
    [ "$code" -eq 0 ] || fail "$exe exited with $code"
    note "$exe started, showed its window and quit with 0"
}

case $what in
program)
    start_and_quit "$1"
    ;;

installer)
    installer=$1
    "$here/run.sh" "$installer" /S
    wineserver -w
    dir="$WINEPREFIX/drive_c/Program Files/Gateway Configurator"
    for f in bin/gateway-configurator.exe bin/Qt5Core.dll bin/Qt5Gui.dll bin/Qt5Widgets.dll \
             bin/Qt5SerialPort.dll bin/platforms/qwindows.dll bin/imageformats/qico.dll \
             bin/styles/qwindowsvistastyle.dll bin/libstdc++-6.dll bin/libgcc_s_dw2-1.dll \
             bin/libwinpthread-1.dll Uninstall.exe; do
        [ -f "$dir/$f" ] || fail "not installed: $f"
    done
    note "installed: $(cd "$dir" && find . -type f | sort | tr '\n' ' ')"
    links=$(find "$WINEPREFIX/drive_c" -path "*Start Menu*" -name "*.lnk" | grep "Gateway Configurator" || true)
    printf '%s\n' "$links" | grep -q "Modbus TCP-RTU Gateway Configurator.lnk" || fail "no Start-menu entry ($links)"
    note "Start-menu entries: $(printf '%s\n' "$links" | sed "s|$WINEPREFIX/drive_c/||" | tr '\n' ' ')"
    # Installed copies, without the build's DLL path: what is beside the
    # program must be enough.
    GATEWAY_WINE_DLLPATH="" GATEWAY_WINE_PLUGINS="" start_and_quit "$dir/bin/gateway-configurator.exe"
    "$here/run.sh" "$dir/Uninstall.exe" /S
    wineserver -w
    # The uninstaller runs from a copy of itself and may end a moment later.
    for _ in $(seq 50); do
        [ -e "$dir" ] || break
        sleep 0.2
    done
    [ ! -e "$dir" ] || fail "left after uninstalling: $(find "$dir" | tr '\n' ' ')"
    links=$(find "$WINEPREFIX/drive_c" -path "*Start Menu*" -name "*.lnk" | grep "Gateway Configurator" || true)
    [ -z "$links" ] || fail "Start-menu entries left: $links"
    note "uninstalled: nothing left"
    ;;

session)
    sim=$1
    tests=$2
    dir=$(dirname "$WINEPREFIX")/wine-session
    rm -rf "$dir"
    mkdir -p "$dir"
    pids=()
    trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; true' EXIT
    "$sim" --link "$WINEPREFIX/dosdevices/com5" --state "$dir/gw5.state" --log "$dir/gw5.log" \
        --quiet --restart-delay 800 &
    pids+=($!)
    "$sim" --link "$WINEPREFIX/dosdevices/com6" --state "$dir/gw6.state" --log "$dir/gw6.log" \
        --quiet --vanish-after 5 --restart-delay 600000 &
    pids+=($!)
    for _ in $(seq 50); do
        [ -L "$WINEPREFIX/dosdevices/com5" ] && [ -L "$WINEPREFIX/dosdevices/com6" ] &&
            [ -s "$dir/gw5.log" ] && [ -s "$dir/gw6.log" ] && break
        sleep 0.1
    done
    [ -L "$WINEPREFIX/dosdevices/com5" ] || fail "gateway-sim did not make its link"
    note "COM5 -> $(readlink "$WINEPREFIX/dosdevices/com5"), COM6 -> $(readlink "$WINEPREFIX/dosdevices/com6")"
    GATEWAY_SESSION_DIR="Z:${dir//\//\\}" "$here/run.sh" "$tests"
    ;;

*)
    fail "unknown check"
    ;;
esac
