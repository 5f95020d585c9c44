#!/usr/bin/env bash
# Takes every screenshot of the documentation under a virtual X server (xvfb-run)
# into docs/screenshots/: the main window and the Model Information dialog, the
# channel windows, and the optional features, embedded message, extended function and
# memory map windows. Usage: scripts/screenshots.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=docs/screenshots
mkdir -p "$out"
cmake --build "$build" --target vrl73m
# Private settings: a screenshot run starts like a first run and changes nothing.
export XDG_CONFIG_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/gui/vrl73m" --screenshot "$out/main-window.png" \
  --screenshot-model-info "$out/model-information.png"
bash scripts/screenshot-channels.sh "$build"
bash scripts/screenshot-views.sh "$build" "$out"
ls "$out"
