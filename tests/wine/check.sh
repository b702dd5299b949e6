#!/usr/bin/env bash
# The Windows program as Windows runs it, under Wine (tests/wine/run.sh):
#
#   check.sh program PROGRAM.exe
#       starts the program, finds its window, closes it as a user would
#       (Alt+F4) and expects a clean exit
#   check.sh installer INSTALLER.exe
#       installs silently (/S) into Program Files; checks the program, its
#       DLLs, the licences, the uninstaller, and the Start-menu entry and
#       desktop shortcut; starts the program from its Start-menu entry with
#       nothing but what was installed, and checks that it runs in the
#       user's Documents; uninstalls silently and checks that nothing is left
#   check.sh zip ZIP
#       unpacks the portable zip into a folder of its own, checks the same
#       files and starts the program from there with nothing but them
#   check.sh scaled INSTALLER.exe GATEWAY-SIM
#       on a desktop of 1920 x 1080 (tests/desktop/run.sh), installs the
#       program and starts it at 96 and at 144 dots per inch (100 % and 150 %):
#       at 96 its window is 550 x 785; at 144 it lies on the screen, and the
#       write button, below the screen's edge at the designed size, is reached
#       with the keyboard and starts a write to gateway-sim on COM5, whose
#       refusal of the empty form the window shows in a box
#   check.sh cli ZIP GATEWAY-SIM
#       gateway-cli.exe from the portable zip through COM5-COM7 (two modules
#       and a silent one): find, a scan, a Modbus TCP check through COM5's
#       module over the loopback and a survey of its line, a write with its
#       reboot, read-back and a check through the module at its new speed,
#       and a batch whose plan,
#       named in Cyrillic in a Cyrillic folder, a Russian-locale spreadsheet
#       saved (Windows-1251, semicolons), with its report written as that
#       spreadsheet opens it
#   check.sh session GATEWAY-SIM TST_COMSESSION.exe
#       starts gateway-sim three times, with links that Wine maps to COM5,
#       COM6 (which drops its device after the fifth query) and COM7 (which
#       drops it after the eighth, with the faults of the pty shim: a failed
#       read, then a pulled adapter's errors), and runs the session test
#       through them
#
# Needs WINEPREFIX and WINEARCH (and what run.sh reads); xdotool for the
# window checks, xwininfo (x11-utils) for the window's size, unzip and
# python3: a program missing fails the check, named (../need.sh). WINEARCH
# (win32 or win64, the build's) picks the loader (loader.sh) and the list of
# shipped files (../windows_files.sh). Where the loader cannot run on this
# machine, exits with 77 (skipped) and says why.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:?}"
export WINEPREFIX
. "$here/loader.sh"
. "$here/../windows_files.sh"
. "$here/../need.sh"
wine_check_loader
need wineserver wine
need xdotool xdotool
# xdotool matches the Cyrillic window title only in a UTF-8 locale.
export LC_ALL=C.UTF-8
# The Windows program runs on Windows' own window platform; a platform named
# for the host's Qt (a desktop runner's) would be handed on to it.
unset QT_QPA_PLATFORM
what=$1
shift

if [ -z "${DISPLAY:-}" ]; then
    need xvfb-run xvfb
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$what" "$@"
fi

fail() { echo "check.sh $what: FAIL: $*" >&2; exit 1; }
note() { echo "check.sh $what: $*"; }

title="Конфигуратор Modbus TCP-RTU Version 2.0.1"
link_name="Modbus TCP-RTU Gateway Configurator.lnk"
# The program's folder holds what is shipped, and the notice names the Qt
# sources it was built from and each program and DLL shipped
# (../windows_files.sh).
check_tree() {
    windows_check_tree "$WINEARCH" "$1" || fail "the program's folder is not as shipped (above)"
    note "in place: $(cd "$1" && find . -type f | sort | tr '\n' ' ')"
}

# Runs a command (run.sh and its arguments) in the background and waits for
# the program's window: sets $pid (the command's), $win and $win_pid (the
# process of the window).
open_window() {
    "$here/run.sh" "$@" &
    pid=$!
    local deadline=$((SECONDS + 60))
    # Asked again and again rather than with --sync: xdotool ends on an X error
    # when a window it looks at goes meanwhile, as Wine's own passing windows do.
    until win=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1) && [ -n "$win" ]; do
        [ "$SECONDS" -lt "$deadline" ] || { kill "$pid" 2>/dev/null; fail "no window appeared ($*)"; }
        sleep 0.2
    done
    win_pid=$(xdotool getwindowpid "$win")
    note "window $win of process $win_pid: $(xdotool getwindowgeometry "$win" | tr '\n' ' ')"
}

# start_sims SIM DIR "PORT NAME OPTION..."...: a gateway-sim behind each COM
# port of the prefix (com5, ...), its state and log in DIR/NAME.*, stopped when
# the script ends; returns once each has made its link and logged its start.
start_sims() {
    local sim=$1 dir=$2 m port name options
    shift 2
    pids=()
    trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; true' EXIT
    for m in "$@"; do
        read -r port name options <<< "$m"
        # shellcheck disable=SC2086
        "$sim" --link "$WINEPREFIX/dosdevices/$port" --state "$dir/$name.state" --log "$dir/$name.log" \
            --quiet $options &
        pids+=($!)
    done
    for m in "$@"; do
        read -r port name _ <<< "$m"
        for _ in $(seq 50); do
            [ -L "$WINEPREFIX/dosdevices/$port" ] && [ -s "$dir/$name.log" ] && break
            sleep 0.1
        done
        [ -L "$WINEPREFIX/dosdevices/$port" ] || fail "gateway-sim did not make its link $port"
        note "$port -> $(readlink "$WINEPREFIX/dosdevices/$port")"
    done
}

# The visible windows of the program whose name matches a pattern (all of
# them without one): their ids, one a line. (--all: without it, xdotool
# takes a window of the process for a match whatever its name.)
windows_shown() { # [PATTERN]
    xdotool search --all --onlyvisible --pid "$win_pid" --name "${1:-.}" 2>/dev/null || true
}

# The names of the program's visible windows, for a message.
window_names() {
    local w names=""
    for w in $(windows_shown); do
        names+="${names:+, }\"$(xdotool getwindowname "$w" 2>/dev/null)\""
    done
    echo "${names:-none}"
}

# Closes the window as a user would (Alt+F4) and expects its process and the
# command to end within ten seconds, the command with 0.
close_window() {
    local code
    sleep 1
    xdotool windowfocus --sync "$win" key --clearmodifiers alt+F4
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || kill -0 "$win_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null || kill -0 "$win_pid" 2>/dev/null; then
        local shown
        shown=$(window_names)
        kill "$pid" 2>/dev/null || true
        fail "the program did not quit after Alt+F4 (its windows then: $shown)"
    fi
    code=0
    wait "$pid" || code=$?
    [ "$code" -eq 0 ] || fail "the program exited with $code"
    note "the program showed its window and quit with 0"
}

case $what in
program)
    open_window "$1"
    close_window
    ;;

installer)
    installer=$1
    "$here/run.sh" "$installer" /S
    wineserver -w
    dir="$WINEPREFIX/drive_c/Program Files/Gateway Configurator"
    [ -f "$dir/Uninstall.exe" ] || fail "no uninstaller"
    check_tree "$dir"
    menu=$(find "$WINEPREFIX/drive_c" -path "*Start Menu*" -name "$link_name")
    desktop=$(find "$WINEPREFIX/drive_c" -path "*/Desktop/*" -name "$link_name")
    [ -n "$menu" ] || fail "no Start-menu entry"
    [ -n "$desktop" ] || fail "no desktop shortcut"
    note "shortcuts: $(printf '%s\n' "$menu" "$desktop" | sed "s|$WINEPREFIX/drive_c/||" | tr '\n' ' ')"
    # The Start-menu entry as Explorer uses it, with the installed files
    # alone (no DLL path from the build): the program must run in the
    # user's Documents, where its file dialogs then open.
    GATEWAY_WINE_DLLPATH="" GATEWAY_WINE_PLUGINS="" open_window start /wait /unix "$menu"
    documents=$(readlink -f "$WINEPREFIX/drive_c/users/$(id -un)/Documents")
    cwd=$(readlink -f "/proc/$win_pid/cwd")
    [ "$cwd" = "$documents" ] || fail "started from the Start menu, the program runs in $cwd, not $documents"
    note "started from the Start menu, the program runs in $cwd"
    close_window
    "$here/run.sh" "$dir/Uninstall.exe" /S
    wineserver -w
    # The uninstaller runs from a copy of itself and may end a moment later.
    for _ in $(seq 50); do
        [ -e "$dir" ] || break
        sleep 0.2
    done
    [ ! -e "$dir" ] || fail "left after uninstalling: $(find "$dir" | tr '\n' ' ')"
    links=$(find "$WINEPREFIX/drive_c" -name "$link_name")
    [ -z "$links" ] || fail "shortcuts left: $links"
    note "uninstalled: nothing left"
    ;;

zip)
    need unzip unzip
    dir=$(dirname "$WINEPREFIX")/wine-zip
    rm -rf "$dir"
    mkdir -p "$dir"
    unzip -q "$1" -d "$dir"
    top=$(find "$dir" -mindepth 1 -maxdepth 1)
    [ "$(wc -l <<< "$top")" -eq 1 ] && [ -d "$top" ] || fail "the zip does not hold one folder: $top"
    check_tree "$top"
    GATEWAY_WINE_DLLPATH="" GATEWAY_WINE_PLUGINS="" open_window "$top/bin/gateway-configurator.exe"
    close_window
    ;;

scaled)
    installer=$1
    sim=$2
    need xwininfo x11-utils
    read -r screen_w screen_h < <(xdotool getdisplaygeometry)
    [ "$screen_w" -ge 1920 ] && [ "$screen_h" -eq 1080 ] || fail "the screen is ${screen_w}x$screen_h, not 1920x1080"
    dir="$WINEPREFIX/drive_c/Program Files/Gateway Configurator"
    log=$(dirname "$WINEPREFIX")/wine-scaled.log
    rm -f "$log"
    sim_pid=""
    # The screen's density is the prefix's: the next checks find it as it was.
    trap '[ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null; set_dpi 96; true' EXIT
    # (What reg says is shown only when it fails.)
    set_dpi() {
        local said
        said=$("$here/run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f 2>&1) ||
            { echo "$said" >&2; fail "the prefix's LogPixels could not be set to $1"; }
    }
    # The window's X geometry: x y width height, with the frame or without.
    geometry() { # -frame or nothing
        xwininfo "$@" -id "$win" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                                        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
    }
    # The same once it stays as it is: a window may still be placed, or fit
    # itself to the screen, after it shows.
    settled_geometry() { # -frame or nothing
        local now last=""
        for _ in $(seq 20); do
            sleep 0.5
            now=$(geometry "$@")
            [ "$now" = "$last" ] && break
            last=$now
        done
        echo "$now"
    }
    "$here/run.sh" "$installer" /S
    wineserver -w
    exe="$dir/bin/gateway-configurator.exe"
    [ -f "$exe" ] || fail "not installed"

    set_dpi 96
    GATEWAY_WINE_DLLPATH="" GATEWAY_WINE_PLUGINS="" open_window "$exe"
    read -r x y w h < <(settled_geometry)
    [ "${w}x$h" = 550x785 ] || fail "at 96 dpi the window is ${w}x$h, not 550x785"
    note "at 96 dpi: ${w}x$h at $x,$y"
    close_window

    set_dpi 144
    "$sim" --link "$WINEPREFIX/dosdevices/com5" --log "$log" --quiet &
    sim_pid=$!
    for _ in $(seq 100); do
        [ -L "$WINEPREFIX/dosdevices/com5" ] && [ -s "$log" ] && break
        sleep 0.1
    done
    [ -L "$WINEPREFIX/dosdevices/com5" ] || fail "gateway-sim did not make its link com5"
    GATEWAY_WINE_DLLPATH="" GATEWAY_WINE_PLUGINS="" open_window "$exe"
    read -r x y w h < <(settled_geometry -frame)
    note "at 144 dpi: ${w}x$h at $x,$y with its frame"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$screen_w" ] && [ $((y + h)) -le "$screen_h" ] ||
        fail "at 144 dpi the window (${w}x$h at $x,$y) is not on the ${screen_w}x$screen_h screen"
    # As a user would: a click into the port box (at 150, 54 of the window's
    # own pixels, 1.5 times that on this screen), the port's name into it,
    # Tab to "Cоединиться" and Space; then back with Shift+Tab past the
    # reboot and the factory reset to the write button, which the form
    # scrolls into view, and Space. The keys go once the window has the
    # keyboard, and slowly: Wine takes them in turn.
    xdotool windowactivate --sync "$win"
    xdotool mousemove --window "$win" 225 81 click 1
    for _ in $(seq 50); do
        [ "$(xdotool getwindowfocus)" = "$win" ] && break
        sleep 0.1
    done
    [ "$(xdotool getwindowfocus)" = "$win" ] || fail "the window did not take the keyboard (its windows: $(window_names))"
    sleep 0.5
    xdotool key --delay 200 ctrl+a
    xdotool type --delay 200 COM5
    xdotool key --delay 200 Tab space
    sleep 1
    xdotool key --delay 200 shift+Tab shift+Tab shift+Tab space
    # The write starts from the empty form, whose first value the module
    # refuses; the window then stops the write and says so in a box, which
    # is closed as a user would (Return) before the window is: the program
    # acts on what it shows, whenever the module's reply comes.
    for _ in $(seq 300); do
        grep -q '^[0-9.]* REFUSED ' "$log" && break
        sleep 0.1
    done
    grep -q 'RX "CHANGE MODE TCP:' "$log" || fail "no write reached the module: $(tail -n 5 "$log" | tr '\n' ' ')"
    note "the write button, reached with the keyboard, started a write: $(grep -m1 'RX "CHANGE' "$log")"
    grep -q '^[0-9.]* REFUSED ' "$log" || fail "the module refused nothing: $(tail -n 5 "$log" | tr '\n' ' ')"
    box=""
    for _ in $(seq 300); do
        box=$(windows_shown '^Ошибка' | head -n1)
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || fail "no box says that the write failed (the program's windows: $(window_names))"
    note "the module refused the form's empty first value; the window says so: \"$(xdotool getwindowname "$box")\""
    xdotool windowfocus --sync "$box" key --clearmodifiers Return
    for _ in $(seq 100); do
        [ -z "$(windows_shown '^Ошибка')" ] && break
        sleep 0.1
    done
    [ -z "$(windows_shown '^Ошибка')" ] || fail "the box stayed after Return (the program's windows: $(window_names))"
    close_window
    "$here/run.sh" "$dir/Uninstall.exe" /S
    wineserver -w
    ;;

session)
    sim=$1
    tests=$2
    dir=$(dirname "$WINEPREFIX")/wine-session
    rm -rf "$dir"
    mkdir -p "$dir"
    # The COM ports' links go into the prefix, which run.sh makes.
    [ -f "$WINEPREFIX/system.reg" ] || "$here/run.sh" cmd /c exit
    start_sims "$sim" "$dir" "com5 gw5 --restart-delay 800" \
        "com6 gw6 --vanish-after 5 --restart-delay 600000" "com7 gw7 --vanish-after 8 --restart-delay 600000"
    PTYMODEM_FAULT_LINK=$WINEPREFIX/dosdevices/com7 PTYMODEM_FAULT_READ=3 \
        GATEWAY_SESSION_DIR="Z:${dir//\//\\}" "$here/run.sh" "$tests"
    ;;

cli)
    # gateway-cli.exe as the zip ships it, with nothing else on the paths,
    # through COM5 (a module), COM6 (another, with its own MAC address) and
    # COM7 (silent): find, a scan, a write with its reboot and read-back, and
    # a batch of COM5 and COM6 with its report, in a folder named in Cyrillic,
    # from a plan as a Russian-locale spreadsheet saves "CSV"; the help and a
    # failing scan in Russian.
    zip=$1
    sim=$2
    need unzip unzip
    need python3 python3
    dir=$(dirname "$WINEPREFIX")/wine-cli
    rm -rf "$dir"
    mkdir -p "$dir/Инженер"
    unzip -q "$zip" -d "$dir/unpacked"
    cli=$(find "$dir/unpacked" -name gateway-cli.exe)
    [ -n "$cli" ] || fail "the zip holds no gateway-cli.exe"
    [ -f "$WINEPREFIX/system.reg" ] || "$here/run.sh" cmd /c exit
    # COM5's module also bridges, on the loopback, with a field device on its
    # line at the module's 9600 baud and one at 115200. Its port is one the
    # system picked free and given to it: a port 0 would be picked anew at
    # each restart, and the write --check below comes after one.
    tcp=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    start_sims "$sim" "$dir" "com5 gw5 --restart-delay 800 --mac 02:00:00:00:00:05 --tcp-listen 127.0.0.1:$tcp --field 1@9600/none/1 --field 3@115200/none/1" \
        "com6 gw6 --restart-delay 800 --mac 02:00:00:00:00:06" "com7 gw7 --restart-delay 800 --silent"
    # cli EXPECTED-STATUS ARGUMENT...: runs it, its stdout in $dir/out and
    # stderr in $dir/err; in the environment lang_env adds, when set.
    lang_env=()
    cli() {
        local expected=$1 status=0 pace=(--interval 200)
        shift
        # The network check and survey have no serial pace to set.
        case $1 in check | survey) pace=() ;; esac
        env "${lang_env[@]}" GATEWAY_WINE_DLLPATH="" GATEWAY_WINE_PLUGINS="" "$here/run.sh" "$cli" "$@" "${pace[@]}" \
            >"$dir/out" 2>"$dir/err" || status=$?
        [ "$status" -eq "$expected" ] ||
            fail "gateway-cli $* exited with $status, not $expected: $(cat "$dir/err")"
        note "gateway-cli $*: exit status $status"
    }
    # json EXPRESSION...: the expressions of the JSON document d, printed with
    # blanks between them.
    json() { python3 -c "import json; d=json.load(open('$dir/out')); print($1)"; }

    cli 0 find COM5 COM6 COM7 --json
    [ "$(json 'd["found"], [(p["port"], p["result"], p.get("mac", "")) for p in d["ports"]]')" = \
        "2 [('COM5', 'ok', '02:00:00:00:00:05'), ('COM6', 'ok', '02:00:00:00:00:06'), ('COM7', 'silent', '')]" ] ||
        fail "find: $(cat "$dir/out")"

    cli 0 scan COM5 --json
    [ "$(json 'len(d["parameters"]), d["parameters"]["mac"], d["parameters"]["ip"]')" = \
        "15 02:00:00:00:00:05 192.168.0.1" ] || fail "scan: $(cat "$dir/out")"

    # On a Russian system: Wine takes the language from the Unix locale,
    # made here from Debian's locale sources (locales) into a folder of the
    # check's own (LOCPATH). The help and a scan of the silent module, in
    # Russian and in UTF-8 into the files.
    need localedef libc-bin
    [ -f /usr/share/i18n/locales/ru_RU ] ||
        fail "no /usr/share/i18n/locales/ru_RU: it comes in Debian's package locales (scripts/deps.sh locales)"
    mkdir -p "$dir/locale"
    localedef -i ru_RU -f UTF-8 "$dir/locale/ru_RU.UTF-8" || fail "localedef could not make ru_RU.UTF-8"
    lang_env=(-u LC_ALL -u LC_MESSAGES -u LANGUAGE LOCPATH="$dir/locale" LANG=ru_RU.UTF-8)
    cli 0 --help
    grep -q '^Использование: gateway-cli КОМАНДА' "$dir/out" && grep -q '^Код завершения:' "$dir/out" ||
        fail "--help on a Russian system: $(head -n 3 "$dir/out")"
    cli 3 scan COM7
    # (Line ends as Windows writes them to a file: CR LF.)
    tr -d '\r' < "$dir/err" | grep -qx 'gateway-cli: COM7: silent: нет ответа (сканирование mode)' ||
        fail "a failing scan on a Russian system: $(cat "$dir/err")"
    note "in Russian: --help and a failing scan, in UTF-8 into files"
    lang_env=()

    # The Modbus TCP check through COM5's module (Qt SerialBus and Qt Network
    # under Wine): its device's values, and 0x0B for a unit with no device.
    port=$(sed -n 's/^[0-9.]* TCP-LISTEN 127\.0\.0\.1:\([0-9]*\) .*/\1/p' "$dir/gw5.log" | tail -n1)
    [ "$port" = "$tcp" ] || fail "COM5's module does not listen at $tcp: $(cat "$dir/gw5.log")"
    cli 0 check "127.0.0.1:$port" --read hr:0:2 --read coil:0:3 --json
    [ "$(json 'd["connected"], [(r["values"], r["exception"]) for r in d["requests"]]')" = \
        "True [([1000, 1001], None), ([1, 0, 1], None)]" ] || fail "check: $(cat "$dir/out")"
    cli 1 check "127.0.0.1:$port" --unit 2 --read hr:0:2 --timeout 3000 --json
    [ "$(json 'd["requests"][0]["exception"], d["requests"][0]["exception_name"]')" = \
        "11 Gateway target device failed to respond" ] || fail "check of unit 2: $(cat "$dir/out")"
    grep -q 'TCP-TX .* unit 2 pdu 83 0b' "$dir/gw5.log" || fail "check: the module's 0x0B not in its log"
    # The survey of units 1-4 through it: unit 1 found; unit 3's device, at
    # 115200, not at the module's 9600, and each unit asked once.
    rx=$(grep -c ' TCP-RX ' "$dir/gw5.log")
    cli 0 survey "127.0.0.1:$port" --units 1-4 --json
    [ "$(json 'd["connected"], d["units_asked"], [(f["unit"], f["values"]) for f in d["found"]]')" = \
        "True 4 [(1, [1000])]" ] || fail "survey: $(cat "$dir/out")"
    [ "$(grep -c ' TCP-RX ' "$dir/gw5.log")" -eq $((rx + 4)) ] || fail "survey: not one request per unit"

    # The write ends with a check through the module at its new speed: unit
    # 3's device, at 115200, answers once the module is back.
    cli 0 write COM5 --set ip=10.0.0.55 --set speed=115200 --check hr:0:2 --unit 3 --via "127.0.0.1:$port" --json
    [ "$(json 'd["result"], d["written"], d["after"]["ip"], d["after"]["speed"]')" = \
        "ok ['ip', 'speed'] 10.0.0.55 115200" ] || fail "write: $(cat "$dir/out")"
    [ "$(json 'd["check"]["connected"], d["check"]["requests"][0]["values"]')" = "True [3000, 3001]" ] ||
        fail "write --check: $(cat "$dir/out")"
    grep -q 'RX "reset"' "$dir/gw5.log" && grep -q '^[0-9.]* BACK ' "$dir/gw5.log" ||
        fail "write: no reboot of the module seen in its log"
    grep -qx 'ip=10.0.0.55' "$dir/gw5.state" || fail "write: the module does not hold the address"

    printf '[General]\r\nMASK=255.0.0.0\r\n' > "$dir/Инженер/шаблон.TRset"
    # Windows-1251, semicolons, empty cells at the header's end and an empty
    # row, as the spreadsheet saves them.
    python3 -c 'import sys; open(sys.argv[1], "wb").write(sys.argv[2].encode("cp1251"))' "$dir/Инженер/план.csv" \
        $'port;file;ip;;\r\nCOM5;шаблон.TRset;10.0.0.65;;\r\n;;;;\r\nCOM6;шаблон.TRset;10.0.0.66;;\r\n'
    windows_dir="Z:${dir//\//\\}\\Инженер"
    cli 0 batch "$windows_dir\\план.csv" --report "$windows_dir\\отчёт.csv"
    grep -q 'read as Windows-1251 text' "$dir/err" || fail "batch: the plan not said to be Windows-1251: $(cat "$dir/err")"
    python3 - "$dir/Инженер/отчёт.csv" <<'PY' || fail "batch: the report is not as expected: $(cat "$dir/Инженер/отчёт.csv")"
import csv, sys
data = open(sys.argv[1], "rb").read()
# As the plan was written: a byte order mark (the spreadsheet then reads it
# as UTF-8) and semicolons.
assert data.startswith(b"\xef\xbb\xbf"), data[:20]
rows = list(csv.DictReader(data.decode("utf-8-sig").splitlines(), delimiter=";"))
assert [(r["port"], r["mac"], r["result"], r["ip"], r["mask"], r["ip_before"], r["written"], r["plan"])
        for r in rows] == [
    ("COM5", "02:00:00:00:00:05", "ok", "10.0.0.65", "255.0.0.0", "10.0.0.55", "ip mask", "план.csv"),
    ("COM6", "02:00:00:00:00:06", "ok", "10.0.0.66", "255.0.0.0", "192.168.0.1", "ip mask", "план.csv")], rows
PY
    note "batch: report $(wc -l < "$dir/Инженер/отчёт.csv") lines, both rows ok"
    ;;

*)
    fail "unknown check"
    ;;
esac
