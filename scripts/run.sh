#!/usr/bin/env bash
# Sets up, builds and runs the configurator with the simulated module.
# The module appears at /tmp/gwsim: type that path in "Порт" and press
# "Cоединиться". Quitting the configurator stops the simulator.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target gateway-configurator gateway-sim

link=/tmp/gwsim
state="${XDG_STATE_HOME:-$HOME/.local/state}/gateway-sim/module.state"
mkdir -p "$(dirname "$state")"
build/sim/gateway-sim --link "$link" --state "$state" --quiet &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done

echo
echo "Simulated module is running. In \"Порт\" type:  $link"
echo "(its parameters are kept in $state)"
echo
build/gateway-configurator "$@"
