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
  file_channel_table_test compare_window_test app_keyboard_test)
cmake --build "$BUILD" --target "${VIEW_TESTS[@]}"
for t in "${VIEW_TESTS[@]}"; do
  VRL_SCREENSHOT_DIR="$OUT" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$BUILD/tests/gui/$t" >/dev/null
done
ls "$OUT"/*.png
