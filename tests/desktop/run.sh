#!/usr/bin/env bash
# Runs a command on a desktop of its own: a virtual X screen of the given
# size with a window manager (openbox), as a user's screen has, so that the
# window gets a frame and is placed the way a desktop places it.
#
#   tests/desktop/run.sh WIDTHxHEIGHT COMMAND [ARGUMENT ...]
#
# The screen has 96 dots per inch, as most desktops say they have. The
# command runs with DISPLAY set, Qt on the X11 platform, and
# GATEWAY_DESKTOP_RC naming the window manager's configuration: a command
# that changes it and runs `openbox --reconfigure` changes the desktop (its
# margins, for one, shrink the screen's available area).
set -euo pipefail
. "$(dirname "$0")/../need.sh"
need Xvfb xvfb
need openbox openbox
size=$1
shift
dir=$(mktemp -d "${TMPDIR:-/tmp}/desktop.XXXXXX")
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$dir"
}
trap cleanup EXIT
# Waits for a file to be there and not empty, as long as the process that
# writes it runs (a busy machine may take many seconds to start a server;
# two minutes at most); else shows the log and fails.
wait_for() { # FILE LOG WHAT PID
    for _ in $(seq 2400); do
        [ -s "$1" ] && return
        kill -0 "$4" 2>/dev/null || break
        sleep 0.05
    done
    [ -s "$1" ] && return
    cat "$2" >&2
    echo "desktop: $3 did not start" >&2
    exit 1
}

# The server says its display number on fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 "${size}x24" -dpi 96 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
pids+=($!)
wait_for "$dir/display" "$dir/xvfb.log" Xvfb "$!"
export DISPLAY=:$(head -n1 "$dir/display")

# The window manager runs its start-up command once it manages the screen.
export GATEWAY_DESKTOP_RC=$dir/rc.xml
cp /etc/xdg/openbox/rc.xml "$GATEWAY_DESKTOP_RC"
HOME=$dir openbox --config-file "$GATEWAY_DESKTOP_RC" --startup "sh -c 'echo yes > $dir/managed'" \
    >"$dir/openbox.log" 2>&1 &
pids+=($!)
wait_for "$dir/managed" "$dir/openbox.log" openbox "$!"

QT_QPA_PLATFORM=xcb "$@"
