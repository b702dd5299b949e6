#!/usr/bin/env bash
# A long monkey run: thousands of random user actions against the window and
# the simulated module, with the invariants checked after each.
#   scripts/monkey.sh [actions] [seed]
# Without a seed a random one is chosen and printed; pass it again to replay.
# BUILD_DIR chooses the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."

actions=${1:-20000}
seed=${2:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
build=${BUILD_DIR:-build}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target tst_monkey

echo "monkey: $actions actions, seed $seed"
GATEWAY_MONKEY_ACTIONS=$actions GATEWAY_MONKEY_SEED=$seed QT_QPA_PLATFORM=offscreen \
    "$build/tests/tst_monkey" -maxwarnings 0 run 2>&1 | grep -v '^QWARN\|propagateSizeHints'
