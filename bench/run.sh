#!/usr/bin/env bash
# Builds and runs the benchmark headless and prints its table (Markdown),
# preceded by the machine it ran on. Takes about ten minutes: the pace of
# the sequences is measured at their real 1000 ms a step.
#   bench/run.sh [--quick]
# BUILD_DIR chooses the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target gateway-bench >/dev/null
echo "nproc: $(nproc); CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'); date: $(date -Iseconds)"
echo
QT_QPA_PLATFORM=offscreen "$build/bench/gateway-bench" "$@" 2>/dev/null

# The batch of the console program: N simulated modules in one plan.
echo
bench/batch.sh "$build"

# The network check's round trip through the simulated gateway.
echo
bench/bridge.sh "$build"

# A batch of 16 with a network check per row against a batch of one.
echo
bench/batchcheck.sh "$build"

# A survey of 247 units against the line's own time; tune's tries against
# their floors (about six minutes).
echo
bench/survey.sh "$build"
