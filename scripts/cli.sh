#!/usr/bin/env bash
# Sets up and builds gateway-cli and the simulated module, starts the module
# at /tmp/gwsim (the same module, with the same kept parameters, as
# scripts/run.sh starts for the window) and runs gateway-cli with the
# arguments given, for example:
#   scripts/cli.sh scan /tmp/gwsim
#   scripts/cli.sh write /tmp/gwsim --set ip=192.168.0.20
# Paths in the arguments are the caller's: the program runs where it is
# started.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target gateway-cli gateway-sim >/dev/null

link=/tmp/gwsim
state="${XDG_STATE_HOME:-$HOME/.local/state}/gateway-sim/module.state"
mkdir -p "$(dirname "$state")"
"$root/build/sim/gateway-sim" --link "$link" --state "$state" --quiet >/dev/null &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done

status=0
"$root/build/cli/gateway-cli" "$@" || status=$?
exit "$status"
