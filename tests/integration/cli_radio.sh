#!/usr/bin/env bash
# One case of the command-line tool against a simulated radio on a pseudo-terminal.
# usage: VRL_CLI=... VRL_SIM=... cli_radio.sh CASE
set -uo pipefail
CLI=${VRL_CLI:?}
SIM=${VRL_SIM:?}
CASE=${1:?case}
WORK=$(mktemp -d)
export XDG_DATA_HOME=$WORK/data HOME=$WORK
cd "$WORK"
SIM_PID=""
trap 'stop_sim; [ -n "${KEEP:-}" ] || rm -rf "$WORK"' EXIT

fail() { echo "FAIL ($CASE): $*" >&2; exit 1; }

# start_sim ARGS...: a radio whose device path ends up in $DEV. Waits for the
# simulator to print its device (or to end), however long a busy machine takes;
# the test's own time-out guards against a hang.
start_sim() {
    rm -f sim.dev
    "$SIM" "$@" >sim.dev 2>sim.log &
    SIM_PID=$!
    until grep -q . sim.dev 2>/dev/null; do
        kill -0 "$SIM_PID" 2>/dev/null || break
        sleep 0.02
    done
    DEV=$(head -1 sim.dev)
    [ -n "$DEV" ] && [ -e "$DEV" ] || fail "simulator did not start: $(cat sim.log)"
}
stop_sim() {
    if [ -n "$SIM_PID" ]; then
        kill -TERM "$SIM_PID" 2>/dev/null
        wait "$SIM_PID" 2>/dev/null
        SIM_PID=""
    fi
}
# wait_log TEXT N: waits until the simulator has logged TEXT N times.
wait_log() {
    for _ in $(seq 400); do
        [ "$(grep -c "$1" sim.log)" -ge "$2" ] && return 0
        sleep 0.05
    done
    fail "no '$1' (x$2) in the simulator log: $(tail -5 sim.log)"
}
# expect_exit CODE CMD...: runs the tool and checks its exit status.
expect_exit() {
    local want=$1
    shift
    "$CLI" "$@" >out.txt 2>err.txt
    local got=$?
    [ "$got" -eq "$want" ] || fail "'$*' exited $got, expected $want: $(cat err.txt)"
}
# Radio memory of a data file (header skipped), for comparisons.
memory_of() { tail -c +51 "$1" | head -c 32768; }
same_memory() { cmp -s <(memory_of "$1") <(memory_of "$2"); }
# Low 16 bits of the sum of the memory bytes, as four hex digits.
# The 396 characters of trunking-board data at the end of the image.
board_of() { tail -c 396 "$1"; }
memory_sum() { memory_of "$1" | od -An -v -tu1 | awk '{for(i=1;i<=NF;i++)s+=$i} END{printf "%04X\n", s%65536}'; }

case "$CASE" in
roundtrip)
    "$CLI" new --row 4 -o new.dat >/dev/null || fail "new"
    start_sim --file new.dat --save saved.dat
    expect_exit 0 read --port "$DEV" -o before.dat
    same_memory new.dat before.dat || fail "read differs from the radio's memory"
    # Scan setting 1 at 0x20 and a changed byte in a fixed block: a real edit.
    printf '1Q' | dd of=before.dat bs=1 seek=$((50 + 0x20)) conv=notrunc status=none
    printf 'X' | dd of=before.dat bs=1 seek=$((50 + 0x6123)) conv=notrunc status=none
    expect_exit 0 write --port "$DEV" before.dat
    expect_exit 0 read --port "$DEV" -o after.dat
    same_memory before.dat after.dat || fail "read back differs from what was written"
    same_memory new.dat after.dat && fail "the edit did not reach the radio"
    [ "$(find "$WORK/data" -path '*/backups/*RM-160A-128CH-K*.dat' | wc -l)" -eq 2 ] ||
        fail "expected a backup of each of the two reads"
    stop_sim
    same_memory saved.dat after.dat || fail "radio memory saved on exit differs"
    ;;
baud)
    start_sim --row 0 --baud 4800
    expect_exit 0 read --port "$DEV" -o r.dat --trace trace.txt
    grep -q "line 4800,N,8,2" trace.txt || fail "no 4800 baud in the trace"
    grep -q "line 19200,N,8,2" trace.txt || fail "search did not try 19200 first"
    ;;
faults)
    start_sim --row 4
    expect_exit 0 read --port "$DEV" -o clean.dat
    stop_sim
    start_sim --row 4 --bad-checksum-block 0 --drop-command 20 --nak-block 0x60 --save saved.dat
    expect_exit 0 read --port "$DEV" -o faulty.dat --trace trace.txt --retries 5
    same_memory clean.dat faulty.dat || fail "faults changed the data read"
    grep -q "> 15$" trace.txt || fail "no NAK sent for the bad checksum"
    expect_exit 0 write --port "$DEV" clean.dat --retries 5
    stop_sim
    same_memory clean.dat saved.dat || fail "write with a NAK lost data"
    ;;
late)
    start_sim --row 0 --late-command 30 --late-ms 1500
    expect_exit 0 read --port "$DEV" -o r.dat
    ;;
cancel)
    start_sim --row 0 --silent-block 0x58 --silent-times 1000
    echo keep >r.dat
    expect_exit 3 read --port "$DEV" -o r.dat --retries 1
    [ "$(cat r.dat)" = keep ] || fail "a failed read touched the output file"
    grep -q "Retrying" err.txt || fail "no retry"
    [ -z "$(find "$WORK/data" -name '*.dat' 2>/dev/null)" ] || fail "failed read left a backup"
    # The radio was told to leave programming mode: it answers a new read at once.
    stop_sim
    start_sim --row 0
    expect_exit 0 read --port "$DEV" -o r.dat --retries 5
    ;;
hangup)
    "$CLI" new --row 0 -o new.dat >/dev/null || fail "new"
    start_sim --row 0 --hangup-block 0x60
    expect_exit 3 write --port "$DEV" new.dat --retries 1
    ;;
password)
    start_sim --row 0 --password 4711
    expect_exit 2 read --port "$DEV" -o r.dat
    grep -q -- "--password" err.txt || fail "no hint about --password"
    expect_exit 2 read --port "$DEV" -o r.dat --password 1234
    [ ! -e r.dat ] || fail "rejected password still wrote a file"
    expect_exit 0 read --port "$DEV" -o r.dat --password 4711
    ;;
refuse)
    "$CLI" new --row 19 -o other.dat >/dev/null || fail "new"
    start_sim --row 0
    expect_exit 0 checksum --port "$DEV"
    before=$(cat out.txt)
    expect_exit 2 write --port "$DEV" other.dat
    expect_exit 0 checksum --port "$DEV"
    [ "$(cat out.txt)" = "$before" ] || fail "a refused write changed the radio"
    ;;
datacheck)
    "$CLI" new --row 0 -o bad.dat >/dev/null || fail "new"
    # Scan setting "0" with no priority channel.
    printf '0' | dd of=bad.dat bs=1 seek=$((50 + 0x20)) conv=notrunc status=none
    printf '\377\377' | dd of=bad.dat bs=1 seek=$((50 + 0x2B)) conv=notrunc status=none
    start_sim --row 0
    expect_exit 2 write --port "$DEV" bad.dat --yes --trace trace.txt
    [ ! -s trace.txt ] || fail "the radio was contacted despite the data check"
    ;;
info)
    start_sim --row 30 --serial SN9876543210 --save saved.dat
    expect_exit 0 radio-info --port "$DEV" --json
    grep -q '"label": "RP-420A\[128CH\]:K"' out.txt || fail "label: $(cat out.txt)"
    grep -q '"serial": " *SN9876543210 *"' out.txt || fail "serial: $(cat out.txt)"
    grep -q '"band": "' out.txt || fail "band: $(cat out.txt)"
    expect_exit 0 checksum --port "$DEV"
    got=$(cat out.txt)
    stop_sim
    [ "$got" = "$(memory_sum saved.dat)" ] || fail "checksum $got, memory sums to $(memory_sum saved.dat)"
    ;;
oldfirmware)
    start_sim --row 0 --firmware "v1.00 "
    expect_exit 2 radio-info --port "$DEV"
    expect_exit 0 read --port "$DEV" -o r.dat
    ;;
latereply)
    # Late replies must never become data: block 0's reply (command 6) and the radio's
    # ACK closing it (command 7), and the check-sum query's answers.
    "$CLI" new --row 4 -o new.dat >/dev/null || fail "new"
    # What is tested is that a late reply never becomes data, not how fast a busy
    # machine answers: a reply that only load delays past the time-out is retried.
    start_sim --file new.dat
    expect_exit 0 read --port "$DEV" -o clean.dat --retries 5
    stop_sim
    for late in 6 7; do
        start_sim --file new.dat --late-command $late --late-ms 1200
        expect_exit 0 read --port "$DEV" -o late.dat --retries 5
        same_memory clean.dat late.dat || fail "a late reply to command $late changed the data read"
        stop_sim
    done
    for late in 1 3; do
        start_sim --file new.dat --late-command $late --late-ms 1200
        expect_exit 0 checksum --port "$DEV" --retries 5
        [ "$(cat out.txt)" = "$(memory_sum clean.dat)" ] || fail "late answer $late: checksum $(cat out.txt)"
        stop_sim
    done
    ;;
linehits)
    # Single bytes changed on the line never end in a wrong success.
    "$CLI" new --row 4 -o new.dat >/dev/null || fail "new"
    cp new.dat mod.dat
    printf 'XYZ' | dd of=mod.dat bs=1 seek=$((50 + 0x0810)) conv=notrunc status=none
    start_sim --file new.dat --hit-block-number 8 --hit-reply-marker 1 --save saved.dat
    expect_exit 0 write --port "$DEV" mod.dat --retries 5
    grep -q "written again: block 0x08" err.txt || fail "no rewrite: $(tail -2 err.txt)"
    expect_exit 0 diff mod.dat "radio:$DEV" --retries 5
    grep -q "^note: the trunking-board area" out.txt || fail "no note: $(cat out.txt)"
    stop_sim
    same_memory mod.dat saved.dat || fail "the radio does not hold the file"
    # The same hit unverified: what the read-back is for.
    start_sim --file new.dat --hit-block-number 8 --save saved.dat
    expect_exit 0 write --port "$DEV" mod.dat --no-verify
    stop_sim
    same_memory mod.dat saved.dat && fail "the hit did not reach the radio"
    ;;
endlost)
    # Only the closing "E" goes unanswered: the complete read is kept, with a warning.
    # A read ends with the serial-number query, the same exchange as radio-info.
    start_sim --row 0
    expect_exit 0 radio-info --port "$DEV"
    stop_sim
    query=$(grep -o '[0-9]* commands' sim.log | cut -d' ' -f1)
    start_sim --row 0
    expect_exit 0 read --port "$DEV" -o clean.dat
    stop_sim
    last=$(($(grep -o '[0-9]* commands' sim.log | cut -d' ' -f1) - query))
    start_sim --row 0 --drop-command "$last"
    expect_exit 0 read --port "$DEV" -o kept.dat
    same_memory clean.dat kept.dat || fail "the kept read differs"
    grep -q "warning" err.txt || fail "no warning: $(cat err.txt)"
    ;;
testmode)
    "$CLI" new --row 0 -o m.dat >/dev/null || fail "new"
    "$CLI" new --row 0 --band 1 -o other.dat >/dev/null || fail "new"
    cp m.dat diff.dat # test channel 5 with another transmit frequency
    printf '\x33' | dd of=diff.dat bs=1 seek=$((50 + 0x0140 + 40 + 5)) conv=notrunc status=none
    start_sim --file m.dat --key-delay 1500
    expect_exit 0 test-mode m.dat --port "$DEV" --channel 3 --signalling 11 --key 0.2
    grep -q "^test channel 3: receive " out.txt || fail "channel: $(cat out.txt)"
    grep -q "^signalling 11: transmit 2TONE ENCODE" out.txt || fail "signalling: $(cat out.txt)"
    grep -q "keyed on channel 3 with signalling 11" sim.log || fail "not keyed: $(cat sim.log)"
    # Signalling 1 waits 550 ms only: the slow radio fails, and the way out still
    # unkeys it and ends its test state.
    expect_exit 3 test-mode m.dat --port "$DEV" --signalling 1 --key 0.2 --retries 0
    # The radio answers the queued commands after its delay: wait for its last line.
    until tail -1 sim.log | grep -q "test state left"; do
        kill -0 "$SIM_PID" 2>/dev/null || break
        sleep 0.05
    done
    grep -E "keyed|unkeyed" sim.log | tail -1 | grep -q "^radio: unkeyed" || fail "left keyed"
    tail -1 sim.log | grep -q "test state left" || fail "test state not left: $(tail -3 sim.log)"
    expect_exit 2 test-mode other.dat --port "$DEV"
    grep -q "does not match" err.txt || fail "other variant: $(cat err.txt)"
    expect_exit 2 test-mode diff.dat --port "$DEV"
    grep -q "test frequencies differ" err.txt || fail "test channel 5: $(cat err.txt)"
    ;;
tune)
    "$CLI" new --row 0 -o m.dat >/dev/null || fail "new"
    start_sim --file m.dat
    expect_exit 1 tune m.dat --port "$DEV" --item 20
    expect_exit 0 tune m.dat --port "$DEV" --item 1 --tab 2 --value 200 --keep --volume 19 \
        --trace trace.txt
    grep -q "> 33 1A" trace.txt || fail "no single +n step: $(grep '^>' trace.txt | tail -5)"
    [ "$(grep -c '> 21 0A' trace.txt)" -eq 3 ] || fail "volume 16 -> 19 is not three up steps"
    grep -q "item 0x33 kept at 200" sim.log || fail "not kept: $(tail -5 sim.log)"
    expect_exit 0 tune m.dat --port "$DEV" --item 1 --tab 2 --step -1 --trace trace2.txt
    grep -q "> 33 0B" trace2.txt || fail "-1 is not 0x0B"
    expect_exit 0 tune m.dat --port "$DEV" --item 1
    grep -q "tab 2 (.*): 200" out.txt || fail "an unkept step stayed: $(cat out.txt)"
    expect_exit 1 tune m.dat --port "$DEV" --item 14
    tail -1 sim.log | grep -q "test state left" || fail "test state not left"
    ;;
trunkread)
    "$CLI" new --row 4 --option trunking -o t.dat >/dev/null || fail "new"
    "$CLI" new --row 4 -o plain.dat >/dev/null || fail "new"
    "$CLI" set t.dat trunking.primary_code=1234 trunking.speed_dial.A=555 -o t.dat >/dev/null || fail "set"
    start_sim --file t.dat --access-code 13579
    expect_exit 0 trunk-read t.dat --port "$DEV" --access-code 13579 -o r.dat
    [ "$(board_of r.dat | head -c 32 | tail -c 8)" = "01020304" ] || fail "primary code not read"
    "$CLI" settings r.dat >settings.txt || fail "settings"
    grep -q "trunking.speed_dial.A *555" settings.txt || fail "speed dial A: $(grep speed_dial.A settings.txt)"
    expect_exit 2 trunk-read plain.dat --port "$DEV" --access-code 13579 -o x.dat --trace trace.txt
    [ ! -s trace.txt ] || fail "the board was contacted for data without a trunking board"
    expect_exit 2 trunk-read t.dat --port "$DEV" --access-code 11111 -o x.dat
    [ ! -e x.dat ] || fail "a rejected access code still wrote the output"
    ;;
trunkwrite)
    "$CLI" new --row 4 --option trunking -o t.dat >/dev/null || fail "new"
    "$CLI" set t.dat trunking.secondary_code=4321 trunking.code.2=9876 -o t.dat >/dev/null || fail "set"
    start_sim --file t.dat --board-lost-record 30 --access-code 24680 --save saved.dat
    expect_exit 0 trunk-write t.dat --port "$DEV" --access-code 24680
    expect_exit 0 trunk-read t.dat --port "$DEV" --access-code 24680 -o back.dat
    stop_sim
    [ "$(board_of back.dat | head -c 80 | tail -c 12)" = "000204060800" ] ||
        fail "the typed access code was not stored: $(board_of back.dat | head -c 80 | tail -c 12)"
    # (Into a file: grep -q leaving early would end the tool by SIGPIPE, which
    # pipefail reports as a failure.)
    "$CLI" settings back.dat >settings.txt || fail "settings"
    grep -q "trunking.code.2 *9876" settings.txt || fail "code list entry not written"
    cmp -s <(board_of saved.dat) <(board_of back.dat) || fail "the board kept other data than read back"
    # A stored code area holding a non-digit: refused with exit 2, nothing written.
    printf 'X' | dd of=t.dat bs=1 seek=$((50 + 0x8001 + 71)) conv=notrunc status=none
    printf '5' | dd of=t.dat bs=1 seek=$((50 + 0x8001 + 79)) conv=notrunc status=none
    start_sim --file t.dat --access-code 24680
    expect_exit 2 trunk-write t.dat --port "$DEV" --access-code 24680
    grep -q "Access Code Error" err.txt || fail "no Access Code Error: $(cat err.txt)"
    ;;
trunkfaults)
    "$CLI" new --row 4 --option trunking -o t.dat >/dev/null || fail "new"
    # The board's answer to the access code has 200 ms; retries keep an answer that
    # load delays from turning the refusal (2) into a line failure (3).
    start_sim --file t.dat --board-crlf
    expect_exit 2 trunk-read t.dat --port "$DEV" --access-code 00000 -o x.dat --retries 5
    stop_sim
    start_sim --file t.dat --board-lost-record 98 --board-lost-times 10
    expect_exit 3 trunk-read t.dat --port "$DEV" --access-code 00000 -o x.dat --retries 1
    stop_sim
    grep -q "board released$" sim.log || fail "the board was not released after the failure"
    start_sim --file t.dat
    expect_exit 1 trunk-read t.dat --port "$DEV" --access-code 123 -o x.dat
    ;;
signals)
    # Every terminating signal ends a keyed test mode and a transmitting alignment
    # through the clean-up: unkeyed, test state left, board released, trace complete.
    "$CLI" new --row 0 -o m.dat >/dev/null || fail "new"
    start_sim --file m.dat
    n=0
    for sig in INT TERM HUP QUIT; do
        n=$((n + 1))
        "$CLI" test-mode m.dat --port "$DEV" --key 60 --trace "t$sig.txt" >out.txt 2>err.txt &
        pid=$!
        wait_log "keyed on channel" "$n"
        kill -"$sig" "$pid"
        wait "$pid"
        rc=$?
        [ "$rc" -eq 130 ] || fail "SIG$sig: exit $rc: $(cat err.txt)"
        wait_log "test state left" "$n"
        grep -E "keyed|unkeyed" sim.log | tail -1 | grep -q "unkeyed" || fail "SIG$sig left it keyed"
        grep -q "> 08 0E" "t$sig.txt" && grep -q "> 45" "t$sig.txt" || fail "SIG$sig: trace incomplete"
    done
    stop_sim
    start_sim --row 4 --board --access-code 11223
    "$CLI" trunk-align --port "$DEV" --access-code 11223 --seconds 60 >out.txt 2>err.txt &
    pid=$!
    wait_log "board keyed" 1
    kill -TERM "$pid"
    wait "$pid"
    rc=$?
    [ "$rc" -eq 130 ] || fail "trunk-align: exit $rc: $(cat err.txt)"
    wait_log "board released" 1
    grep -q "board unkeyed" sim.log || fail "trunk-align left the board keyed: $(cat sim.log)"
    stop_sim
    # A write that stops part-way says what the radio may now hold and how to mend it.
    start_sim --row 0 --silent-block 0x60 --silent-times 1000
    expect_exit 3 write m.dat --port "$DEV" --retries 0 --yes
    grep -q "partly written memory; writing the data again" err.txt || fail "partial write: $(cat err.txt)"
    ;;
trunkalign)
    start_sim --row 4 --board --access-code 11223 --board-late-echo 4
    expect_exit 0 trunk-align --port "$DEV" --access-code 11223 --seconds 1
    expect_exit 0 trunk-align --port "$DEV" --access-code 11223 </dev/null
    expect_exit 3 trunk-align --port "$DEV" --access-code 99999
    stop_sim
    [ "$(grep -c 'board keyed' sim.log)" -eq 2 ] || fail "expected two keyed periods: $(cat sim.log)"
    [ "$(grep -c 'board unkeyed' sim.log)" -eq 2 ] || fail "the radio was left keyed: $(cat sim.log)"
    [ "$(grep -c 'board released$' sim.log)" -eq 3 ] || fail "the board was not released each time"
    grep -q "unkeyed$" sim.log || fail "final state: $(tail -1 sim.log)"
    ;;
fleet)
    # Four radios on four ports: three of the template's model (serials S1-S3), one of
    # another model; units by serial; S3 has no unit.
    "$CLI" new --row 4 -o t.dat >/dev/null || fail "new"
    "$CLI" set t.dat channel.1.1.Receive=155.000 channel.1.2.Receive=156.000 -o t.dat >/dev/null 2>&1 ||
        fail "channels"
    PIDS=()
    trap 'for p in "${PIDS[@]}"; do kill -TERM "$p" 2>/dev/null; wait "$p" 2>/dev/null; done; rm -rf "$WORK"' EXIT
    for n in 1 2 3 4; do
        if [ $n -eq 4 ]; then memory=(--row 0); else memory=(--file t.dat); fi
        "$SIM" "${memory[@]}" --serial "S$n" --save "saved$n.dat" --verbose >"dev$n" 2>"sim$n.log" &
        PIDS+=($!)
    done
    for n in 1 2 3 4; do
        for _ in $(seq 200); do [ -s "dev$n" ] && break; sleep 0.05; done
        [ -s "dev$n" ] || fail "simulator $n did not start"
    done
    ports=(--port "$(cat dev1)" --port "$(cat dev2)" --port "$(cat dev3)" --port "$(cat dev4)")
    printf 'Unit,Serial,channel.1.1.IdCode,message.line_1\nCar 1,S1,101,ONE\nCar 2,S2,12,\n' >bad.csv
    expect_exit 2 fleet t.dat --units bad.csv "${ports[@]}"
    grep -q 'line 3, column 3 (channel.1.1.IdCode)' err.txt || fail "refusal: $(cat err.txt)"
    grep -q "bytes at" sim1.log sim2.log sim3.log sim4.log && fail "the refused units file reached a radio"
    printf 'Unit,Serial,channel.1.1.IdCode,message.line_1\nCar 1,S1,101,ONE\nCar 2,S2,102,TWO\nCar 4,S4,104,\n' >units.csv
    expect_exit 3 fleet t.dat --units units.csv "${ports[@]}" --report report.csv
    for p in "${PIDS[@]}"; do kill -TERM "$p"; wait "$p"; done
    PIDS=()
    for n in 1 2; do
        "$CLI" set t.dat channel.1.1.IdCode=10$n -o "want$n.dat" >/dev/null 2>&1 || fail "want $n"
        "$CLI" channels --csv "saved$n.dat" | grep -q "^1,1,.*,10$n," || fail "unit $n's ID code not written"
        "$CLI" settings "saved$n.dat" --area message | grep -q "line_1 *$([ $n = 1 ] && echo ONE || echo TWO)" ||
            fail "unit $n's message line not written"
        grep -q "^Car $n,S$n,.*,programmed,.*,[0-9a-f]\{64\}" report.csv || fail "report for S$n: $(cat report.csv)"
    done
    same_memory t.dat saved3.dat || fail "radio S3 (no unit) was written"
    grep -q "^,S3,.*,failed,no unit for serial S3" report.csv || fail "S3: $(cat report.csv)"
    grep -q ",S4,.*,failed,.*nothing written" report.csv || fail "other model: $(cat report.csv)"
    grep -q "^Car 4,S4,,not programmed" report.csv || fail "Car 4: $(cat report.csv)"
    # Each radio that answered is in the history, with its unit and its result.
    "$CLI" history --operation fleet >hist.txt 2>&1 || fail "history: $(cat hist.txt)"
    for want in "ok  serial S1 .*unit Car 1" "ok  serial S2 .*unit Car 2" "failed  serial S3 " \
        "failed  serial S4 .*nothing written"; do
        grep -q "$want" hist.txt || fail "history lacks '$want': $(cat hist.txt)"
    done
    ;;
fleetstop)
    # --continuous: the port waits for the next radio until Ctrl+C, then ends cleanly.
    "$CLI" new --row 4 -o t.dat >/dev/null || fail "new"
    start_sim --file t.dat --serial S1 --save saved.dat
    printf 'Unit,message.line_1\nCar 1,ONE\nCar 2,TWO\n' >units.csv
    "$CLI" fleet t.dat --units units.csv --port "$DEV" --continuous >out.txt 2>err.txt &
    pid=$!
    for _ in $(seq 600); do grep -q "waiting for the next radio" err.txt && break; sleep 0.05; done
    grep -q " S1 Car 1 programmed" out.txt || fail "first radio: $(cat out.txt err.txt)"
    kill -INT $pid
    wait $pid
    code=$?
    # Every radio that answered was programmed; the run ends with a signal's status.
    [ $code -eq 130 ] || fail "exit $code after Ctrl+C: $(cat err.txt)"
    grep -q "not programmed: Car 2" out.txt || fail "Car 2 not listed: $(cat out.txt)"
    grep -q "(interrupted)" out.txt || fail "summary: $(cat out.txt)"
    stop_sim
    grep -q "line_1 *ONE" <("$CLI" settings saved.dat --area message) || fail "Car 1 not written"
    ;;
*)
    fail "unknown case"
    ;;
esac
echo "ok ($CASE)"
