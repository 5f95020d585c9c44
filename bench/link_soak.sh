#!/usr/bin/env bash
# Soak of the radio link under line faults. Each of N runs starts vrl73m-radiosim
# (unthrottled) on a full 128-channel image with a random mix of its faults (dropped
# commands, late replies and late ACKs at any command and block, bad checksums,
# NAKs, silent blocks, a hang-up, single bytes changed on the line: a reply's head,
# a written block's number, a fill byte) and runs one random operation of vrl73m-cli
# against it: read, write or checksum.
#   succeeded      exit 0 and the data moved are exactly the radio's (read: the file's
#                  memory equals the radio's; write: the radio's memory afterwards
#                  equals the file's everywhere but in free storage, the unused
#                  index and record blocks no one reads; checksum: the sum of the
#                  radio's memory)
#   failed cleanly exit 2 or 3 with a message, and a failed read wrote no file
#   corrupt        anything else: success with wrong data, a crash, a hang
# Corrupt must be 0.
# usage: bench/link_soak.sh [N] [BUILD_DIR] [SEED]
set -uo pipefail
RUNS=${1:-200}
BUILD=${2:-build}
SEED=${3:-$$}
CLI=$BUILD/cli/vrl73m-cli
SIM=$BUILD/radiosim/vrl73m-radiosim
IMAGE_TOOL=$BUILD/bench/vrl_link_bench_image
for tool in "$CLI" "$SIM" "$IMAGE_TOOL"; do
    [ -x "$tool" ] || { echo "missing $tool (build vrl73m-cli vrl73m-radiosim vrl_link_bench_image)" >&2; exit 1; }
done
WORK=$(mktemp -d)
export XDG_DATA_HOME=$WORK/data HOME=$WORK
SIM_PID=""
stop_sim() {
    if [ -n "$SIM_PID" ]; then
        kill -TERM "$SIM_PID" 2>/dev/null
        wait "$SIM_PID" 2>/dev/null
        SIM_PID=""
    fi
}
trap 'stop_sim; [ -n "${KEEP:-}" ] || rm -rf "$WORK"' EXIT
RANDOM=$SEED

start_sim() {
    rm -f "$WORK/dev"
    "$SIM" "$@" >"$WORK/dev" 2>"$WORK/sim.log" &
    SIM_PID=$!
    for _ in $(seq 200); do
        [ -s "$WORK/dev" ] && break
        sleep 0.02
    done
    DEV=$(head -1 "$WORK/dev")
}
memory_of() { tail -c +51 "$1" | head -c 32768; }
same_memory() { cmp -s <(memory_of "$1") <(memory_of "$2"); }
# Free storage of the benchmark image (directory [3,4] [16,16] [32,55]): blocks 5-6,
# 0x11-0x1F and 0x38-0x4F. A write's read-back leaves it out, so a block number
# changed on the line may leave data there that nothing ever reads.
FREE_BLOCKS=" 5 6 $(seq -s ' ' 17 31) $(seq -s ' ' 56 79) "
kept_memory() {
    memory_of "$1" | od -An -v -tx1 -w256 |
        awk -v free="$FREE_BLOCKS" 'BEGIN { n = split(free, f, " "); for (i = 1; i <= n; i++) skip[f[i]] = 1 }
                                    !((NR - 1) in skip)'
}
same_kept_memory() { cmp -s <(kept_memory "$1") <(kept_memory "$2"); }
memory_sum() { memory_of "$1" | od -An -v -tu1 | awk '{for(i=1;i<=NF;i++)s+=$i} END{printf "%04X\n", s%65536}'; }

# The radio's memory: the benchmark image as a read gives it back (blocks the radio
# does not send hold 0xFF), so a faultless read returns it byte for byte.
"$IMAGE_TOOL" "$WORK/image.dat" || exit 1
start_sim --file "$WORK/image.dat"
"$CLI" read --port "$DEV" -o "$WORK/base.dat" >/dev/null 2>"$WORK/base.err" || {
    echo "clean read failed: $(cat "$WORK/base.err")" >&2
    exit 1
}
stop_sim
BASE_SUM=$(memory_sum "$WORK/base.dat")

# Blocks worth aiming at: block 0 (the directory), fixed blocks, the T blocks,
# channel storage, and the last block.
BLOCKS=(0 1 2 3 7 8 15 16 23 32 40 55 80 81 83 88 95 96 112 127)
pick_block() { echo "${BLOCKS[RANDOM % ${#BLOCKS[@]}]}"; }

runs=0 faults=0 succeeded=0 clean=0 corrupt=0
for run in $(seq "$RUNS"); do
    args=()
    late_commands=""
    n=$((1 + RANDOM % 3))
    late_ms=$((600 + RANDOM % 2400))
    for _ in $(seq "$n"); do
        case $((RANDOM % 12)) in
        0) args+=(--drop-command $((1 + RANDOM % 220)) --drop-count $((1 + RANDOM % 2))) ;;
        1) late_commands+="${late_commands:+,}$((1 + RANDOM % 220)),$((1 + RANDOM % 220))" ;;
        2) args+=(--late-block "$(pick_block)") ;;
        3) args+=(--late-ack-block "$(pick_block)") ;;
        4) args+=(--bad-checksum-block "$(pick_block)") ;;
        5) args+=(--nak-block "$(pick_block)") ;;
        6) args+=(--silent-block "$(pick_block)" --silent-times $((1 + RANDOM % 4))) ;;
        7) if [ $((RANDOM % 4)) -eq 0 ]; then args+=(--hangup-block "$(pick_block)"); else
               args+=(--late-block "$(pick_block)"); fi ;;
        8) args+=(--hit-reply-marker "$(pick_block)") ;;
        9) args+=(--hit-block-number "$(pick_block)") ;;
        10) args+=(--hit-fill "$(pick_block)") ;;
        11) args+=(--hit-request-number "$(pick_block)") ;;
        esac
        faults=$((faults + 1))
    done
    [ -n "$late_commands" ] && args+=(--late-command "$late_commands")
    args+=(--late-ms "$late_ms")
    runs=$((runs + 1))

    op_pick=$((RANDOM % 10))
    rm -f "$WORK/out.dat" "$WORK/saved.dat"
    start_sim --file "$WORK/base.dat" --save "$WORK/saved.dat" "${args[@]}"
    verdict=""
    if [ "$op_pick" -lt 5 ]; then
        op=read
        timeout 300 "$CLI" read --port "$DEV" -o "$WORK/out.dat" >/dev/null 2>"$WORK/err"
        code=$?
        stop_sim
        if [ "$code" -eq 0 ]; then
            same_memory "$WORK/out.dat" "$WORK/base.dat" && verdict=ok || verdict=corrupt
        elif { [ "$code" -eq 2 ] || [ "$code" -eq 3 ]; } && [ ! -e "$WORK/out.dat" ]; then
            verdict=clean
        else
            verdict=corrupt
        fi
    elif [ "$op_pick" -lt 9 ]; then
        op=write
        # New content for the radio: a few bytes of channel records and of a fixed block.
        cp "$WORK/base.dat" "$WORK/new.dat"
        for _ in 1 2 3 4; do
            at=$((0x2000 + RANDOM % 0x1800))
            printf "\\$(printf '%03o' $((RANDOM % 256)))" |
                dd of="$WORK/new.dat" bs=1 seek=$((50 + at)) conv=notrunc status=none
        done
        printf "\\$(printf '%03o' $((RANDOM % 256)))" |
            dd of="$WORK/new.dat" bs=1 seek=$((50 + 0x6100 + RANDOM % 256)) conv=notrunc status=none
        timeout 300 "$CLI" write --port "$DEV" "$WORK/new.dat" >/dev/null 2>"$WORK/err"
        code=$?
        stop_sim
        if [ "$code" -eq 0 ]; then
            [ -s "$WORK/saved.dat" ] && same_kept_memory "$WORK/saved.dat" "$WORK/new.dat" && verdict=ok ||
                verdict=corrupt
        elif [ "$code" -eq 2 ] || [ "$code" -eq 3 ]; then
            verdict=clean
        else
            verdict=corrupt
        fi
    else
        op=checksum
        sum=$(timeout 300 "$CLI" checksum --port "$DEV" 2>"$WORK/err")
        code=$?
        stop_sim
        if [ "$code" -eq 0 ]; then
            [ "$sum" = "$BASE_SUM" ] && verdict=ok || verdict=corrupt
        elif [ "$code" -eq 2 ] || [ "$code" -eq 3 ]; then
            verdict=clean
        else
            verdict=corrupt
        fi
    fi
    case $verdict in
    ok) succeeded=$((succeeded + 1)) ;;
    clean) clean=$((clean + 1)) ;;
    *)
        corrupt=$((corrupt + 1))
        echo "run $run: $op exit $code CORRUPT with faults: ${args[*]}" >&2
        sed 's/^/    /' "$WORK/err" >&2
        ;;
    esac
    [ -n "${VERBOSE:-}" ] && echo "run $run: $op exit $code $verdict: ${args[*]}" >&2
done

echo "runs $runs"
echo "faults $faults"
echo "succeeded $succeeded"
echo "failed cleanly $clean"
echo "corrupt $corrupt"
[ "$corrupt" -eq 0 ]
