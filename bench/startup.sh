#!/usr/bin/env bash
# Start-up benchmark: cold start of vrl73m to its shown main window, offscreen,
# against an empty Qt main window and one with a menu and a status-bar text on the
# same machine. The goal is at most 1.15 times the window with text. The three are
# timed in turn in every round, so that a change of the machine's load meets all
# three alike. Usage: bench/startup.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-15}
export QT_QPA_PLATFORM=offscreen
# Private settings, so that the run neither reads nor changes the user's.
export XDG_CONFIG_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

ms() { # command... -> elapsed milliseconds
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1
  t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000000 ))
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

"$build/bench/vrl_startup_empty" >/dev/null 2>&1 || true # warm the file cache once
"$build/gui/vrl73m" --quit-when-shown >/dev/null 2>&1 || true
e=() t=() v=()
for _ in $(seq "$runs"); do
  e+=($(ms "$build/bench/vrl_startup_empty"))
  t+=($(ms "$build/bench/vrl_startup_empty" --with-text))
  v+=($(ms "$build/gui/vrl73m" --quit-when-shown))
done
empty=$(printf '%s\n' "${e[@]}" | median)
text=$(printf '%s\n' "${t[@]}" | median)
vrl=$(printf '%s\n' "${v[@]}" | median)
echo "empty Qt main window:           ${empty} ms (median of $runs)"
echo "Qt main window with menu, text: ${text} ms"
echo "vrl73m main window:             ${vrl} ms"
awk -v a="$vrl" -v b="$text" 'BEGIN { printf "ratio to the window with text: %.2f (goal <= 1.15)\n", a / b }'
awk -v a="$vrl" -v b="$empty" 'BEGIN { r = a / b; printf "ratio to the empty window: %.2f (goal <= 1.50)\n", r; exit (r > 1.5) }'
