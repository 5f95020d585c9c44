#!/usr/bin/env bash
# The radio history end to end: the command-line tool against two simulated radios
# with different serial numbers. Records into VRL73M_HISTORY when it is set (a
# PostgreSQL server), else into the default history.sqlite of a fresh data folder.
# usage: VRL_CLI=... VRL_SIM=... cli_history.sh
set -uo pipefail
CLI=${VRL_CLI:?}
SIM=${VRL_SIM:?}
WORK=$(mktemp -d)
export XDG_DATA_HOME=$WORK/data HOME=$WORK
cd "$WORK"
PIDS=()
trap 'for p in "${PIDS[@]}"; do kill -TERM "$p" 2>/dev/null; wait "$p" 2>/dev/null; done; rm -rf "$WORK"' EXIT
fail() { echo "FAIL (history): $*" >&2; exit 1; }

# start_sim NAME ARGS...: a radio whose device path ends up in DEV_NAME.
start_sim() {
    local name=$1
    shift
    "$SIM" "$@" >"$name.dev" 2>"$name.log" &
    PIDS+=($!)
    for _ in $(seq 200); do
        [ -s "$name.dev" ] && break
        sleep 0.05
    done
    [ -s "$name.dev" ] || fail "simulator $name did not start: $(cat "$name.log")"
    printf -v "DEV_$name" '%s' "$(head -1 "$name.dev")"
}
run() { "$CLI" "$@" >out.txt 2>err.txt || fail "'$*' exited $?: $(cat err.txt)"; }
# field N of the JSON list in out.txt: the ids, newest first
ids() { python3 -c 'import json,sys; print(" ".join(str(e["id"]) for e in json.load(open("out.txt"))))'; }

# Serial numbers of this run only: a shared server keeps other runs' radios.
S1=H$(printf '%05d' $((RANDOM % 100000)))A
S2=H$(printf '%05d' $((RANDOM % 100000)))B
"$CLI" new --row 4 -o one.dat >/dev/null || fail "new"
"$CLI" new --row 0 -o two.dat >/dev/null || fail "new"
start_sim one --file one.dat --serial "$S1"
start_sim two --file two.dat --serial "$S2"

run read --port "$DEV_one" -o r1.dat
run read --port "$DEV_two" -o r2.dat
run set r1.dat optional.power_on_tone=off -o r1.dat
run write --port "$DEV_one" r1.dat

if [ -z "${VRL73M_HISTORY:-}" ]; then
    db=$(find "$WORK/data" -name history.sqlite)
    [ -n "$db" ] || fail "no history.sqlite in the data folder"
    [ "$(stat -c %a "$db")" = 600 ] || fail "history.sqlite has mode $(stat -c %a "$db")"
else
    [ -z "$(find "$WORK/data" -name history.sqlite 2>/dev/null)" ] || fail "the default file was used"
    # A server without the history's database gets it on first use.
    fresh="${VRL73M_HISTORY/\/vrl_history?//vrl_fresh_$RANDOM?}"
    run history --history "$fresh" --json
    [ "$(cat out.txt)" = "[]" ] || fail "a new database is not empty: $(cat out.txt)"
fi

run history --serial "$S1" --json
read -r W1 R1 < <(ids)
python3 - "$S1" <<'PY' || fail "events of $S1: $(cat out.txt)"
import json, sys
ev = json.load(open("out.txt"))
assert [(e["operation"], e["result"], e["serial"]) for e in ev] == [("write", "ok", sys.argv[1]), ("read", "ok", sys.argv[1])], ev
assert all(len(e["sha256"]) == 64 and e["file"].endswith("r1.dat") for e in ev), ev
PY
run history --serial "$S2" --operation read --json
read -r R2 < <(ids)
[ -n "$R2" ] || fail "no read of $S2"

for bad in "--since yesterday" "--operation erase" "show 999999999 -o x.dat"; do
    # shellcheck disable=SC2086
    "$CLI" history $bad >/dev/null 2>err.txt && fail "history $bad was accepted"
    grep -q "vrl73m-cli history: " err.txt || fail "history $bad: no clear error: $(cat err.txt)"
done

# An event's image restores byte for byte and diffs like a file.
run history show "$R2" -o restored.dat
cmp -s restored.dat r2.dat || fail "the restored image differs from the file read"
"$CLI" diff "history:$R2" r2.dat >out.txt 2>&1 || fail "diff history:$R2 r2.dat: $(cat out.txt)"
"$CLI" diff "history:$R1" "history:$W1" >out.txt 2>&1
[ $? -eq 1 ] && grep -q power_on_tone out.txt || fail "diff of read and write: $(cat out.txt)"
"$CLI" diff "history:$R1" "radio:$DEV_one" >out.txt 2>&1
[ $? -eq 1 ] || fail "diff with the radio after the write: $(cat out.txt)"

# Which radios carry the changed setting.
run history --where optional.power_on_tone=off --json
grep -q "\"$S1\"" out.txt && ! grep -q "\"$S2\"" out.txt || fail "--where: $(cat out.txt)"

# Two programs recording at once lose no event.
"$CLI" read --port "$DEV_one" -o c1.dat >c1.out 2>&1 &
p1=$!
"$CLI" read --port "$DEV_two" -o c2.dat >c2.out 2>&1 &
p2=$!
wait $p1 || fail "concurrent read 1: $(cat c1.out)"
wait $p2 || fail "concurrent read 2: $(cat c2.out)"
for s in "$S1" "$S2"; do
    run history --serial "$s" --operation read --json
    [ "$(ids | wc -w)" -eq 2 ] || fail "$s: expected two reads, got: $(cat out.txt)"
done

# A history that cannot be used warns and never fails the transfer; a password in
# its URI is never shown.
"$CLI" read --port "$DEV_one" -o r3.dat --history "postgresql://u:s3cret@/none?host=$WORK/nosocket" \
    >out.txt 2>err.txt || fail "the read failed with the history unusable: $(cat err.txt)"
grep -q "not recorded" err.txt || fail "no warning: $(cat err.txt)"
! grep -q s3cret err.txt || fail "the password was printed: $(cat err.txt)"
exit 0
