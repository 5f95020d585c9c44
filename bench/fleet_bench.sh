#!/usr/bin/env bash
# Times `fleet` with four radios on four ports against one `write` to one radio,
# each radio a vrl73m-radiosim throttled to its line rate (9600 baud), the same
# 128-channel image, the write's verification as the engine does it in both.
# Goal: the four-radio run takes at most 1.1 x the one-radio write.
# usage: bench/fleet_bench.sh [BUILD_DIR]
set -euo pipefail
BUILD=${1:-build}
CLI=$BUILD/cli/vrl73m-cli
SIM=$BUILD/radiosim/vrl73m-radiosim
IMAGE_TOOL=$BUILD/bench/vrl_link_bench_image
WORK=$(mktemp -d)
export XDG_DATA_HOME=$WORK/data
PIDS=()
cleanup() {
    for p in "${PIDS[@]}"; do kill -TERM "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
    rm -rf "$WORK"
}
trap cleanup EXIT

"$IMAGE_TOOL" "$WORK/full.dat"
DEVS=()
for n in 0 1 2 3 4; do
    "$SIM" --file "$WORK/full.dat" --throttle --serial "BENCH$n" >"$WORK/dev$n" 2>"$WORK/sim$n.log" &
    PIDS+=($!)
done
for n in 0 1 2 3 4; do
    for _ in $(seq 200); do [ -s "$WORK/dev$n" ] && break; sleep 0.05; done
    DEVS+=("$(head -1 "$WORK/dev$n")")
done
printf 'Unit,Serial,channel.1.1.IdCode\n' >"$WORK/units.csv"
for n in 1 2 3 4; do printf 'Car %d,BENCH%d,90%d\n' "$n" "$n" "$n" >>"$WORK/units.csv"; done

now() { date +%s.%N; }
t0=$(now)
"$CLI" write --port "${DEVS[0]}" "$WORK/full.dat" >/dev/null 2>"$WORK/write.err"
t1=$(now)
"$CLI" fleet "$WORK/full.dat" --units "$WORK/units.csv" --report "$WORK/report.csv" \
    --port "${DEVS[1]}" --port "${DEVS[2]}" --port "${DEVS[3]}" --port "${DEVS[4]}" \
    >"$WORK/fleet.out" 2>"$WORK/fleet.err"
t2=$(now)
programmed=$(grep -c ',programmed,' "$WORK/report.csv" || true)
awk -v a="$t0" -v b="$t1" -v c="$t2" -v n="$programmed" 'BEGIN {
    one = b - a; four = c - b;
    printf "one write %.2f s, fleet of 4 radios %.2f s (%d programmed), ratio %.3f (goal <= 1.1)\n",
           one, four, n, four / one }'
