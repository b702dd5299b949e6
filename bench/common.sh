# What the console program's bench scripts share; each sources it after
# `set -euo pipefail`:
#   . "$(dirname "$0")/common.sh" "${1:-}" PACKAGE...
# It goes to the project root, installs the PACKAGEs it is given besides
# python3, builds gateway-cli and gateway-sim in the build folder named
# (default: BUILD_DIR, else build), and sets cli and sim to them and work to
# a folder of its own. At exit every simulator started by start_sim is
# stopped and the folder removed.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${1:-${BUILD_DIR:-build}}
shift || true
scripts/deps.sh python3 "$@" >&2
cmake --build "$build" --target gateway-cli gateway-sim >/dev/null
cli=$build/cli/gateway-cli
sim=$build/sim/gateway-sim

work=$(mktemp -d)
sims=()
stop_sims() {
    [ ${#sims[@]} -eq 0 ] || kill "${sims[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    sims=()
}
trap 'stop_sims; rm -rf "$work"' EXIT

# start_sim OPTION...: a simulated module in the background (its stdout
# line dropped), stopped by stop_sims.
start_sim() {
    "$sim" --quiet "$@" > /dev/null &
    sims+=($!)
}

# N ports of 127.0.0.1 that nothing listens at, the system's picks, let go
# at once: given to the simulated modules, so that each keeps its port
# across its restart.
free_ports() {
    python3 -c '
import socket, sys
held = [socket.socket() for _ in range(int(sys.argv[1]))]
for s in held:
    s.bind(("127.0.0.1", 0))
print(" ".join(str(s.getsockname()[1]) for s in held))' "${1:-1}"
}

# listening_port LOG: the port of the network side that the simulator's log
# names (its TCP-LISTEN line), once it does; fails after five seconds.
listening_port() {
    local port
    for _ in $(seq 100); do
        port=$(sed -n 's/^[0-9.]* TCP-LISTEN 127\.0\.0\.1:\([0-9]*\) .*/\1/p' "$1" 2>/dev/null | tail -n 1 || true)
        [ -n "$port" ] && { echo "$port"; return; }
        sleep 0.05
    done
    echo "bench: gateway-sim did not listen (log $1)" >&2
    return 1
}

# wait_links PATH...: until each simulator's link is there.
wait_links() {
    local p
    for p; do
        while [ ! -L "$p" ]; do sleep 0.05; done
    done
}

# mac N: the MAC address of the Nth simulated module of a run.
mac() {
    printf '02:00:00:00:%02x:%02x' $(($1 / 256)) $(($1 % 256))
}
