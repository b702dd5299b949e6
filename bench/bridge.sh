#!/usr/bin/env bash
# The network check's part of the benchmark: gateway-cli check through the
# simulated gateway (gateway-sim's network side on 127.0.0.1, a field device
# at the module's speed) at 9600 and 115200 baud. Each read's round trip is
# set against the floor that no program can beat: the serial frame time of
# the same request and reply on the line, (request + reply bytes) x 11 bits
# / speed, an RTU frame being the unit, the PDU and a CRC of 2 bytes. What is
# above the floor is the programs' own: gateway-cli's (Qt SerialBus, the
# event loop), the loopback's and the simulator's (its timer). Prints a
# Markdown table; takes about half a minute.
#   bench/bridge.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-${BUILD_DIR:-build}}
scripts/deps.sh python3 >&2
cmake --build "$build" --target gateway-cli gateway-sim >/dev/null
cli=$build/cli/gateway-cli
sim=$build/sim/gateway-sim

work=$(mktemp -d)
sim_pid=""
trap '[ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

# run SPEED READ REPEAT: one table row.
run() {
    local speed=$1 read=$2 repeat=$3 port=""
    printf 'speed=%s\n' "$speed" > "$work/module.state"
    rm -f "$work/sim.log"
    "$sim" --link "$work/tty" --state "$work/module.state" --log "$work/sim.log" --quiet \
        --tcp-listen 127.0.0.1:0 --field "1@$speed/none/1" > /dev/null &
    sim_pid=$!
    for _ in $(seq 100); do
        port=$(sed -n 's/^[0-9.]* TCP-LISTEN 127\.0\.0\.1:\([0-9]*\) .*/\1/p' "$work/sim.log" 2>/dev/null || true)
        [ -n "$port" ] && break
        sleep 0.05
    done
    "$cli" check "127.0.0.1:$port" --read "$read" --repeat "$repeat" --json > "$work/check.json"
    kill "$sim_pid"
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
    python3 - "$work/check.json" "$speed" "$read" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
speed = int(sys.argv[2])
r = doc["requests"][0]
bits = r["kind"] in ("coil", "di")
data = (r["count"] + 7) // 8 if bits else 2 * r["count"]
request, reply = 1 + 5 + 2, 1 + 2 + data + 2   # unit, PDU, CRC
floor = (request + reply) * 11 * 1000 / speed
print("| %d | %s | %d + %d | %.2f ms | %.2f ms | %.2f ms | **%.2f ms** | %.2f ms | %d | %.1f ms |" % (
    speed, sys.argv[3], request, reply, floor, r["ms_median"], r["ms_max"],
    r["ms_median"] - floor, r["ms_max"] - floor, r["round_trips"], doc["connect_ms"]))
PY
}

echo "| Speed | Read | Bytes on the line (request + reply) | Floor: frame time | Round trip, median | Round trip, max | Overhead, median | Overhead, max | Round trips | Connect |"
echo "|---|---|---|---|---|---|---|---|---|---|"
run 115200 hr:0:2 500
run 115200 hr:0:125 200
run 9600 hr:0:2 200
run 9600 hr:0:125 20
