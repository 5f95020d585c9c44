#!/usr/bin/env bash
# Pictures of the function windows (optional features, scan, emergency, operator
# selectable tone, DTMF, 2-tone, embedded message, extended function, memory map,
# test frequency, Test Mode, Tuning Mode, trunking, compare,
# print-out list, the File menu, ...), taken by their GUI tests under a virtual X server:
# scripts/screenshot-views.sh [build dir] [output dir]. The PNG files are written to
# the output dir (default build/screenshots).
set -euo pipefail
BUILD="${1:-build}"
OUT="${2:-$BUILD/screenshots}"
mkdir -p "$OUT"
OUT="$(cd "$OUT" && pwd)"
VIEW_TESTS=(views_optional_features_test views_scan_emergency_tone_test views_dtmf_test
  views_two_tone_test views_trunking_test views_embedded_msg_test views_ext_func_test
  views_memory_map_test output_print_test service_test_frequency_view_test service_test_mode_test
  file_channel_table_test compare_window_test app_keyboard_test fleet_window_test
  history_window_test)
cmake --build "$BUILD" --target "${VIEW_TESTS[@]}" vrl73m-cli
for t in "${VIEW_TESTS[@]}"; do
  VRL_SCREENSHOT_DIR="$OUT" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$BUILD/tests/gui/$t" >/dev/null
done
# Two printed pages (trunking settings with its lists, a channel table) of a 128-channel
# mobile with a trunking board, as vrl73m-cli print writes them.
CLI="$BUILD/cli/vrl73m-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
data="$work/RM-160A-128CH-M_SN0000004711.dat"
"$CLI" new --row 5 --option trunking -o "$data" >/dev/null
{ echo "Group,Channel,Receive,Transmit,Name"
  for i in $(seq 0 127); do printf '%d,%d,150.%05d,155.00000,CH%d\n' $((i / 16 + 1)) $((i % 16 + 1)) $((i * 125)) "$i"; done
} >"$work/plan.csv"
"$CLI" import-csv "$data" "$work/plan.csv" -o "$data" >/dev/null
"$CLI" set "$data" trunking.speed_dial.0=5551234 trunking.speed_dial.A=0815 trunking.code.0=1234 \
  trunking.access_code=97531 -o "$data" >/dev/null
for part in "trunking 1" "channels 2"; do
  set -- $part
  "$CLI" print "$data" --sections "$1" -o "$work/$1.pdf" >/dev/null
  pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$work/$1.pdf" "$OUT/printout-page$2"
done
ls "$OUT"/*.png
