#!/usr/bin/env bash
# Times a full read, a full write without and with its read-back of a 128-channel
# image (every channel in use) against vrl73m-radiosim throttled to 9600 baud, and
# compares each with the wire time: bytes on the wire (both directions, from the
# trace) x 11 bits / 9600. The verified write is also set against the floors of the
# plain write and the read together.
# usage: bench/link_transfer_bench.sh [BUILD_DIR]
set -euo pipefail
BUILD=${1:-build}
CLI=$BUILD/cli/vrl73m-cli
SIM=$BUILD/radiosim/vrl73m-radiosim
IMAGE_TOOL=$BUILD/bench/vrl_link_bench_image
WORK=$(mktemp -d)
export XDG_DATA_HOME=$WORK/data
SIM_PID=""
cleanup() {
    [ -n "$SIM_PID" ] && kill -TERM "$SIM_PID" 2>/dev/null && wait "$SIM_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

"$IMAGE_TOOL" "$WORK/full.dat"
"$SIM" --file "$WORK/full.dat" --throttle >"$WORK/dev" 2>"$WORK/sim.log" &
SIM_PID=$!
for _ in $(seq 100); do [ -s "$WORK/dev" ] && break; sleep 0.05; done
DEV=$(head -1 "$WORK/dev")

# Bytes on the wire in a trace: the hex pairs on the ">" and "<" lines.
wire_bytes() {
    awk '$1 ~ /^[0-9]+\.[0-9]+$/ { inside = ($2 == ">" || $2 == "<"); first = 3 }
         $1 !~ /^[0-9]+\.[0-9]+$/ { first = 1 }
         inside { for (i = first; i <= NF; i++) if ($i ~ /^[0-9A-F][0-9A-F]$/) n++ }
         END { print n }' "$1"
}

run() {
    local name=$1
    shift
    local start end
    start=$(date +%s.%N)
    "$CLI" "$@" --port "$DEV" --trace "$WORK/$name.trace" >/dev/null 2>"$WORK/$name.err"
    end=$(date +%s.%N)
    local bytes
    bytes=$(wire_bytes "$WORK/$name.trace")
    VERIFY_SECONDS=$(awk -v t0="$start" -v t1="$end" 'BEGIN { printf "%.3f", t1 - t0 }')
    awk -v name="$name" -v t0="$start" -v t1="$end" -v b="$bytes" 'BEGIN {
        elapsed = t1 - t0; floor = b * 11 / 9600; waits = 0.050;
        printf "%-6s %6d bytes  wire floor %6.3f s  + fixed waits %.3f s  measured %6.3f s  ratio %.3f (goal <= 1.05 x floor + waits: %.3f s)\n",
               name, b, floor, waits, elapsed, (elapsed - waits) / floor, 1.05 * floor + waits }'
}

run read read -o "$WORK/back.dat"
run write write "$WORK/full.dat" --no-verify
run verify write "$WORK/full.dat"

# Write + verify against the floors of a plain write and a full read together.
floor_of() { awk -v b="$(wire_bytes "$WORK/$1.trace")" 'BEGIN { printf "%.3f", b * 11 / 9600 }'; }
awk -v r="$(floor_of read)" -v w="$(floor_of write)" -v t="$VERIFY_SECONDS" 'BEGIN {
    printf "write + verify %.3f s against write floor %.3f s + read floor %.3f s = %.3f s: ratio %.3f (goal <= 1.05)\n",
           t, w, r, w + r, t / (w + r) }'
