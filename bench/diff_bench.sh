#!/usr/bin/env bash
# Time of `vrl73m-cli diff` on two full 128-channel files of a 128-channel mobile
# that differ in every channel's name and transmit frequency, one setting and a few
# uncovered bytes' worth of settings (the process from start to end).
# Usage: bench/diff_bench.sh [build-dir] [runs]. Prints the median of the runs.
set -euo pipefail
BUILD="${1:-build}"
RUNS="${2:-11}"
CLI="$BUILD/cli/vrl73m-cli"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$CLI" new --row 5 -o "$dir/new.dat" >/dev/null
plan() { # plan TRANSMIT NAME-PREFIX
  echo "Group,Channel,Receive,Transmit,Name"
  for i in $(seq 0 127); do
    printf '%d,%d,%d.%05d,%d.00000,%s%d\n' $((i / 16 + 1)) $((i % 16 + 1)) 150 $((i * 125)) "$1" "$2" "$i"
  done
}
plan 155 CH >"$dir/a.csv"
plan 156 NB >"$dir/b.csv"
"$CLI" import-csv "$dir/new.dat" "$dir/a.csv" -o "$dir/a.dat" >/dev/null
"$CLI" import-csv "$dir/new.dat" "$dir/b.csv" -o "$dir/b0.dat" >/dev/null
"$CLI" set "$dir/b0.dat" message.line_1=CUSTOMER -o "$dir/b.dat" >/dev/null
# Wall time, and the processor time of the process (user + system), which a busy
# machine does not inflate.
times=()
cpu=()
for _ in $(seq "$RUNS"); do
  start=$(date +%s%N)
  /usr/bin/time -f '%U %S' -o "$dir/time.txt" "$CLI" diff "$dir/a.dat" "$dir/b.dat" >"$dir/out.txt" || [ $? -eq 1 ]
  end=$(date +%s%N)
  times+=($(((end - start) / 1000000)))
  cpu+=($(tail -1 "$dir/time.txt" | awk '{printf "%d", ($1 + $2) * 1000}'))
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(((RUNS + 1) / 2))p"; }
echo "diff of two 128-channel files ($(wc -l <"$dir/out.txt") lines): median ${median_wall:=$(median "${times[@]}")} ms wall, $(median "${cpu[@]}") ms processor, of ${RUNS} runs"
