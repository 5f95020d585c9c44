#!/usr/bin/env bash
# Pictures of the channel information, channel edit, group edit and key assignment
# windows and of the Channel Copy and Group Copy dialogs,
# taken by their GUI test under a virtual X server, into docs/screenshots/.
# Usage: scripts/screenshot-channels.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out="$(pwd)/docs/screenshots"
mkdir -p "$out"
cmake --build "$build" --target channels_edit_screenshots_test
VRL_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/gui/channels_edit_screenshots_test" >/dev/null
echo "written: $out/channel-information.png $out/channel-edit.png $out/group-edit.png" \
  "$out/channel-copy.png $out/group-copy.png $out/key-assignment.png"
