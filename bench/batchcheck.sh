#!/usr/bin/env bash
# A batch with a network check per row: gateway-cli batch over N simulated
# modules, each a gateway-sim on a pseudo-terminal of its own whose network
# side listens on 127.0.0.1 with a field device on its line, each row of the
# plan with a check column (1:hr:0:2) and a via column (its module's port).
# Every check starts as its module is read back, in the batch's own event
# loop, beside the serial work of the other rows: 16 rows should take little
# longer than one (goal: at most 1.15 times). For N = 1 and 16, at
# --interval 100 and at the module's pace (1000 ms): the wall time (the
# median of RUNS), the ratio to one module, gateway-cli's CPU time, the rows
# ok and the checks ok. Prints a Markdown table; takes about two minutes.
#   bench/batchcheck.sh [BUILD_DIR] [RUNS]
set -euo pipefail
runs=${2:-3}
. "$(dirname "$0")/common.sh" "${1:-}" time bc

# run N INTERVAL: prints "wall cpu rows-ok checks-ok" of one batch.
run() {
    local n=$1 interval=$2 i tcp
    read -r -a tcp < <(free_ports "$n")
    printf 'port,timeout_response,check,via\n' > "$work/plan.csv"
    local links=()
    for ((i = 1; i <= n; ++i)); do
        rm -f "$work/m$i" "$work/m$i.state"
        printf 'timeout_response=500\n' > "$work/m$i.state"
        start_sim --link "$work/m$i" --state "$work/m$i.state" --restart-delay 300 --mac "$(mac "$i")" \
            --tcp-listen "127.0.0.1:${tcp[i - 1]}" --field 1@9600/none/1
        printf '%s,600,1:hr:0:2,127.0.0.1:%s\n' "$work/m$i" "${tcp[i - 1]}" >> "$work/plan.csv"
        links+=("$work/m$i")
    done
    wait_links "${links[@]}"
    rm -f "$work/report.csv"
    /usr/bin/time -f '%e %U %S' -o "$work/time" \
        "$cli" batch "$work/plan.csv" --report "$work/report.csv" --interval "$interval" > /dev/null 2>&1 || true
    stop_sims
    local ok checks
    read -r ok checks < <(python3 -c '
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1])))
print(sum(r["result"] == "ok" for r in rows), sum(r["check_result"] == "ok" for r in rows))' "$work/report.csv")
    read -r wall user sys < <(tail -n 1 "$work/time")
    echo "$wall $(echo "$user + $sys" | bc -l) $ok $checks"
}

# median RUNS N INTERVAL: the run with the median wall time, as run prints it.
median() {
    local k
    for ((k = 0; k < runs; ++k)); do run "$2" "$3"; done | sort -n | sed -n "$(((runs + 1) / 2))p"
}

echo "| Modules | Interval | Wall time (median of $runs) | vs 1 module | CPU (user+sys) | Rows ok | Checks ok |"
echo "|---|---|---|---|---|---|---|"
for interval in 100 1000; do
    base=""
    for n in 1 16; do
        read -r wall cpu ok checks < <(median "$runs" "$n" "$interval")
        [ -n "$base" ] || base=$wall
        printf '| %d | %d ms | %.2f s | %.3fx | %.2f s | %d/%d | %d/%d |\n' "$n" "$interval" "$wall" \
            "$(echo "scale=3; $wall / $base" | bc -l)" "$cpu" "$ok" "$n" "$checks" "$n"
    done
done
