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
# Then the time-out: a server that takes each request and never answers,
# each request given up no earlier than --timeout after it arrived, as that
# server times it (the request's arrival, the connection's close).
#   bench/bridge.sh [BUILD_DIR]
set -euo pipefail
. "$(dirname "$0")/common.sh" "${1:-}"

# gateway SPEED OPTION...: the simulated gateway at SPEED in the background;
# sets port to its network side's.
gateway() {
    printf 'speed=%s\n' "$1" > "$work/module.state"
    rm -f "$work/sim.log"
    start_sim --link "$work/tty" --state "$work/module.state" --log "$work/sim.log" --tcp-listen 127.0.0.1:0 "${@:2}"
    port=$(listening_port "$work/sim.log")
}

# run SPEED READ REPEAT: one table row.
run() {
    local speed=$1 read=$2 repeat=$3
    gateway "$speed" --field "1@$speed/none/1"
    "$cli" check "127.0.0.1:$port" --read "$read" --repeat "$repeat" --json > "$work/check.json"
    stop_sims
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

# timeout MS: one row, five requests to a server on 127.0.0.1 that takes
# them and never answers; it times each from the request's arrival to the
# connection's close.
timeout() {
    python3 - "$cli" "$1" <<'PY'
import socket, subprocess, sys, threading, time
cli, asked = sys.argv[1], int(sys.argv[2])
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(1)
waits = []
def serve():
    for _ in range(5):
        conn, _ = server.accept()
        conn.recv(260)
        arrived = time.monotonic()
        while conn.recv(260):
            pass
        waits.append((time.monotonic() - arrived) * 1000)
        conn.close()
thread = threading.Thread(target=serve)
thread.start()
for _ in range(5):
    subprocess.run([cli, "check", "127.0.0.1:%d" % server.getsockname()[1], "--timeout", str(asked)],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
thread.join()
waits.sort()
# The server's own wake-up for the request, a few tenths of a ms on
# loopback, makes it see the wait that much shorter.
print("| %d ms | %d | %.1f ms | %.1f ms | %.1f ms | %+.1f ms | %s |" % (asked, len(waits), waits[0],
      waits[len(waits) // 2], waits[-1], waits[0] - asked, "yes" if waits[0] >= asked - 0.5 else "**no**"))
PY
}

echo
echo "| --timeout | Requests | Given up after, min | median | max | Min less asked | Not early (0.5 ms for the server's wake-up) |"
echo "|---|---|---|---|---|---|---|"
timeout 500
timeout 2000
