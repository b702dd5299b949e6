#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/, runs each for SECONDS
# (default 60) and merges the inputs that reach new code into the committed
# corpus in fuzz/corpus/<target>/ (run fuzz_replay_* or the test suite
# afterwards, and commit the corpus; keep it under 200 files a target). Inputs that crash or break an
# invariant are kept in build-fuzz/fuzz-work/<target>/artifacts/ and make
# the script fail.
# Usage: fuzz/run.sh [SECONDS [TARGET...]]   TARGET: reply simcommand settings plan
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(reply simcommand settings plan)

scripts/deps.sh clang libclang-rt-14-dev
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DGATEWAY_FUZZ=ON >/dev/null
cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/cmake/lsan.supp:print_suppressions=0
export QT_QPA_PLATFORM=offscreen

failed=()
for t in "${targets[@]}"; do
    fuzzer=$root/build-fuzz/fuzz/fuzz_$t
    committed=$root/fuzz/corpus/$t
    work=$root/build-fuzz/fuzz-work/$t
    mkdir -p "$work/corpus" "$work/artifacts"
    echo "== fuzz_$t: ${seconds}s"
    # New inputs go to the working corpus (the first directory); the
    # committed one is only read.
    if ! "$fuzzer" "$work/corpus" "$committed" -max_total_time="$seconds" -max_len=1024 \
            -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$work/artifacts/" > "$work/log" 2>&1; then
        failed+=("$t")
        tail -n 60 "$work/log"
    fi
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb))' \
        "$work/log" || true
    # Into the committed corpus only inputs that reach new edges (hit counts
    # left aside, which would keep hundreds of near-copies); the working
    # corpus keeps everything for the next run on this machine.
    before=$(find "$committed" -type f | wc -l)
    "$fuzzer" -merge=1 -use_counters=0 "$committed" "$work/corpus" > "$work/merge.log" 2>&1
    after=$(find "$committed" -type f | wc -l)
    echo "   corpus/$t: $before -> $after files"
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: crashes or broken invariants in: ${failed[*]}"
    ls -l build-fuzz/fuzz-work/*/artifacts/
    exit 1
fi
echo "fuzz: no crash"
