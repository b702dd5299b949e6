#!/usr/bin/env bash
# Finding the devices on a line, against the line's own time: a survey of
# 247 units through the simulated gateway, three of them present, set
# against the sum of what the RS-485 line itself takes (each absent unit:
# its request's frame time and the module's timeout_response before its
# 0x0B; each present one: its request's and reply's frame times); then
# tune, each try set against its floor (the changed settings written and
# the three read back at the module's pace, the restart, the survey's line
# time), and the whole for a device at a rare setting. Prints Markdown
# tables; takes about four minutes.
#   bench/survey.sh [BUILD_DIR]
set -euo pipefail
. "$(dirname "$0")/common.sh" "${1:-}"
# The simulated module's restart (gateway-sim --restart-delay) and pace.
restart_ms=300
interval=100

# start STATE FIELD...: the simulated module at a port of its own, kept
# across its restarts.
start() {
    local state=$1 fields=() f
    shift
    port=$(free_ports 1)
    printf '%b' "$state" > "$work/module.state"
    rm -f "$work/sim.log"
    for f in "$@"; do fields+=(--field "$f"); done
    start_sim --link "$work/tty" --state "$work/module.state" --log "$work/sim.log" \
        --restart-delay "$restart_ms" --tcp-listen "127.0.0.1:$port" "${fields[@]}"
    listening_port "$work/sim.log" > /dev/null
}

# survey TIMEOUT_RESPONSE SPEED: one row of the survey's table.
survey() {
    local response=$1 speed=$2
    start "speed=$speed\ntimeout_response=$response\n" "17@$speed/none/1" "100@$speed/none/1" "200@$speed/none/1"
    "$cli" survey "127.0.0.1:$port" --json > "$work/survey.json"
    stop_sims
    python3 - "$work/survey.json" "$response" "$speed" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
response, speed = int(sys.argv[2]), int(sys.argv[3])
frame = lambda n: n * 11 * 1000 / speed            # ms for n characters
request, reply = 1 + 5 + 2, 1 + 2 + 2 + 2            # unit, PDU, CRC; one register
found = len(doc["found"])
absent = doc["units_asked"] - found
floor = absent * (frame(request) + response) + found * frame(request + reply)
print("| %d | %d ms | %d of %d | %s | %.1f s | %.1f s | **%.3f** | %.1f ms |" % (
    speed, response, found, doc["units_asked"], ", ".join(str(f["unit"]) for f in doc["found"]),
    floor / 1000, doc["ms"] / 1000, doc["ms"] / floor, (doc["ms"] - floor) / doc["units_asked"]))
PY
}

# tune FIELD SEARCH...: the tries' table, and the whole against the floors.
tune() {
    local field=$1
    shift
    start "speed=9600\nparity=none\nstop_bits=1\ntimeout_response=100\n" "$field"
    local t0 t1
    t0=$(date +%s%N)
    "$cli" tune "$work/tty" --via "127.0.0.1:$port" --units 1-8 --interval "$interval" --json "$@" > "$work/tune.json"
    t1=$(date +%s%N)
    stop_sims
    python3 - "$work/tune.json" "$interval" "$restart_ms" "$(( (t1 - t0) / 1000000 ))" "$field" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
interval, restart, whole, field = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
response = 100
total_floor = total = 0.0
rows = []
for i, t in enumerate(doc["tried"], 1):
    speed = int(t["speed"])
    frame = lambda n: n * 11 * 1000 / speed
    request, reply = 8, 7
    found = len(t["found"])
    survey = (t["units_asked"] - found) * (frame(request) + response) + found * frame(request + reply)
    written = len(t["written"])
    # The changes and the three read back, each at the pace, and the restart.
    serial = (written + 3) * interval + restart if written else 0
    floor = serial + survey
    total_floor += floor
    total += t["ms"]
    rows.append("| %d | %s/%s/%s | %d | %.2f s | %.2f s | %.2f |" % (
        i, t["speed"], t["parity"], t["stop_bits"], written, floor / 1000, t["ms"] / 1000, t["ms"] / floor))
print("Device %s; %d tries, result %s, final %s/%s/%s:\n" % (
    field, len(doc["tried"]), doc["result"], doc["final"]["speed"], doc["final"]["parity"], doc["final"]["stop_bits"]))
print("| Try | Setting | Written | Floor | Took | Ratio |")
print("|---|---|---|---|---|---|")
for r in rows:
    print(r)
print("\nTries: %.1f s against their floors' %.1f s (**%.2f**); the whole command %.1f s (with the module read first)\n" % (
    total / 1000, total_floor / 1000, total / total_floor, whole / 1000))
PY
}

echo "| Speed | timeout_response | Found of asked | Units | Line's own time | Survey took | Ratio | Above the line, per unit |"
echo "|---|---|---|---|---|---|---|---|"
survey 100 9600
survey 100 115200
survey 250 9600
echo
tune "5@38400/even/1" --speeds 19200,38400 --parities none,even --stop-bits 1
tune "5@2400/odd/2"
