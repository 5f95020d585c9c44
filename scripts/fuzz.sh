#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs each for SECONDS (default 20) over its seed corpus in tests/fuzz/corpus.
# New inputs the fuzzer finds go to a scratch folder, so the corpus in the tree
# stays the reviewed one. A crash or a broken invariant stops the run; the input
# that caused it is kept in build-fuzz/findings/<target>/ to be added to the corpus
# as a regression case once fixed. The fuzzer's random seed is fixed (VRL_FUZZ_SEED,
# default 1), so a clean machine explores the same inputs in the same order: a short
# run is a prefix of a longer one, and a finding can be replayed.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(data_file language channel_import set_field memory_map link board_test_mode)
fi
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVRL_FUZZ=ON -DVRL_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)" --target fuzz_all
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for t in "${targets[@]}"; do
  scratch=build-fuzz/corpus/$t
  findings=build-fuzz/findings/$t
  mkdir -p "$scratch" "$findings"
  echo "== fuzz_$t for ${seconds}s"
  if ! build-fuzz/tests/fuzz/fuzz_$t -max_total_time="$seconds" -seed="${VRL_FUZZ_SEED:-1}" -timeout=20 -rss_limit_mb=2048 \
      -max_len=40000 -print_final_stats=1 -artifact_prefix="$findings/" \
      "$scratch" "tests/fuzz/corpus/$t" >"build-fuzz/fuzz_$t.log" 2>&1; then
    echo "fuzz_$t FAILED; input kept in $findings/:"
    grep -E "invariant|ERROR|SUMMARY|runtime error" "build-fuzz/fuzz_$t.log" | head -10
    failed=1
  fi
  grep -E "stat::number_of_executed_units" "build-fuzz/fuzz_$t.log" | sed "s/^/  /" || true
done
exit $failed
