#!/usr/bin/env bash
# Time of a full print-out to PDF: every section, a 128-channel mobile with a trunking
# board and all 128 channels in use, as `vrl73m-cli print` makes it (the process from
# start to end).
# Usage: bench/print_bench.sh [build-dir] [runs]. Prints the median of the runs.
set -euo pipefail
BUILD="${1:-build}"
RUNS="${2:-11}"
CLI="$BUILD/cli/vrl73m-cli"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$CLI" new --row 5 --option trunking -o "$dir/new.dat" >/dev/null
{
  echo "Group,Channel,Receive,Transmit,Name"
  for i in $(seq 0 127); do
    printf '%d,%d,%d.%05d,%d.00000,CH%d\n' $((i / 16 + 1)) $((i % 16 + 1)) 150 $((i * 125)) 155 "$i"
  done
} >"$dir/plan.csv"
"$CLI" import-csv "$dir/new.dat" "$dir/plan.csv" -o "$dir/full.dat" >/dev/null
times=()
for _ in $(seq "$RUNS"); do
  start=$(date +%s%N)
  "$CLI" print "$dir/full.dat" -o "$dir/full.pdf" --sections all >/dev/null
  end=$(date +%s%N)
  times+=($(((end - start) / 1000000)))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p")
pages=$(pdfinfo "$dir/full.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
echo "full print-out to PDF (128 channels, all sections, ${pages:-?} pages): median ${median} ms of ${RUNS} runs"
