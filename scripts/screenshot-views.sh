#!/usr/bin/env bash
# Pictures of the embedded message, extended function, memory map and trunking windows, taken
# by their GUI tests under a virtual X server: scripts/screenshot-views.sh [build dir]
# [output dir]. The PNG files are written to the output dir (default build/screenshots).
set -euo pipefail
BUILD="${1:-build}"
OUT="${2:-$BUILD/screenshots}"
mkdir -p "$OUT"
OUT="$(cd "$OUT" && pwd)"
cmake --build "$BUILD" --target views_embedded_msg_test views_ext_func_test views_memory_map_test views_trunking_test
for t in views_embedded_msg_test views_ext_func_test views_memory_map_test views_trunking_test; do
  VRL_SCREENSHOT_DIR="$OUT" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$BUILD/tests/gui/$t" >/dev/null
done
ls "$OUT"/*.png
