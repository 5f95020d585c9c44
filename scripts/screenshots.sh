#!/usr/bin/env bash
# Takes the screenshots of the documentation under a virtual X server (xvfb-run):
# the main window and the Model Information dialog of vrl73m, into docs/screenshots/.
# Usage: scripts/screenshots.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=docs/screenshots
mkdir -p "$out"
# Private settings: a screenshot run starts like a first run and changes nothing.
export XDG_CONFIG_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/gui/vrl73m" --screenshot "$out/main-window.png" \
  --screenshot-model-info "$out/model-information.png"
echo "written: $out/main-window.png $out/model-information.png"
