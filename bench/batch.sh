#!/usr/bin/env bash
# The batch part of the benchmark: gateway-cli batch over N simulated
# modules (each a gateway-sim on a pseudo-terminal of its own) in one plan,
# N = 1, 4 and 16, at the module's pace (1000 ms) and at --interval 100. For
# each run: the wall time, gateway-cli's CPU time (user + system) and its
# peak memory (maximum resident set, GNU time). Prints a Markdown table.
# Takes about three minutes.
#   bench/batch.sh [BUILD_DIR]
set -euo pipefail
. "$(dirname "$0")/common.sh" "${1:-}" time bc

printf '[General]\nMASK=255.255.0.0\nSPEED_RS485=8\n[Client_TCP]\nTIMEOUT_TCP=120\n' > "$work/template.TRset"

# run N INTERVAL: prints "wall cpu peak-kB" of one batch.
run() {
    local n=$1 interval=$2 ports=() i
    for ((i = 1; i <= n; ++i)); do
        rm -f "$work/m$i" "$work/m$i.state"
        start_sim --link "$work/m$i" --state "$work/m$i.state" --mac "$(mac "$i")"
        ports+=("$work/m$i")
    done
    wait_links "${ports[@]}"
    local list
    list=$(IFS=,; echo "${ports[*]}")
    "$cli" plan --template "$work/template.TRset" --ports "$list" --ip-from 10.1.0.1 --rtu-id-from 1 > "$work/plan.csv"
    rm -f "$work/report.csv"
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" \
        "$cli" batch "$work/plan.csv" --report "$work/report.csv" --interval "$interval" > /dev/null 2>&1 || true
    local ok
    ok=$(grep -c ',ok,' "$work/report.csv" || true)
    stop_sims
    read -r wall user sys peak < <(tail -n 1 "$work/time")
    echo "$wall $(echo "$user + $sys" | bc -l) $peak $ok"
}

echo "| Modules | Interval | Wall time | vs 1 module | CPU (user+sys) | CPU per module, % of one core | Peak memory | Rows ok |"
echo "|---|---|---|---|---|---|---|---|"
for interval in 1000 100; do
    base=""
    basemem=""
    for n in 1 4 16; do
        read -r wall cpu peak ok < <(run "$n" "$interval")
        [ -n "$base" ] || base=$wall
        [ -n "$basemem" ] || basemem=$peak
        ratio=$(echo "scale=3; $wall / $base" | bc -l)
        percent=$(echo "scale=3; 100 * $cpu / $wall / $n" | bc -l)
        growth=""
        if [ "$n" -gt 1 ]; then
            growth=$(echo "scale=0; ($peak - $basemem) / ($n - 1)" | bc -l)
            growth=" (+$growth kB a module)"
        fi
        printf '| %d | %d ms | %.2f s | %.3fx | %.2f s | %.3f %% | %d kB%s | %d/%d |\n' \
            "$n" "$interval" "$wall" "$ratio" "$cpu" "$percent" "$peak" "$growth" "$ok" "$n"
    done
done
