#!/usr/bin/env bash
# Builds everything and runs every test: the full build (core, CLI, simulator,
# desktop program) with all its tests, then the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and every fuzz target for a short
# time (FUZZ_SECONDS each, default 20; 0 skips them).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVRL_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVRL_SANITIZE=ON -DVRL_WERROR=ON \
  -DVRL_BUILD_GUI=OFF -DVRL_BUILD_TOOLS=OFF -DVRL_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
export QT_QPA_PLATFORM=offscreen
echo "== core tests under sanitizers"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
echo "== all tests"
ctest --test-dir build --output-on-failure -j "$jobs"
echo "== Debian package"
bash scripts/package-test.sh build
if [ "${FUZZ_SECONDS:-20}" != 0 ]; then
  echo "== fuzz targets"
  bash scripts/fuzz.sh "${FUZZ_SECONDS:-20}"
fi
