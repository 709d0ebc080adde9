#!/usr/bin/env bash
# Sets up and runs the whole test suite: the tests headless, halvane-cli built for Windows and
# run under Wine against the Linux build, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of every fuzz target, and the programs against the
# simulated meter on a real hidraw node in a small VM.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
# The test builds carry line tables only (-g1): enough for backtraces and sanitizer reports,
# and a quarter quicker to compile than full debug information.

stage_times=()
stage_start=$SECONDS
stage() {
  local now=$SECONDS
  [[ $# -eq 0 ]] || echo "== $1"
  if [[ -n "${stage_name:-}" ]]; then
    stage_times+=("$stage_name $((now - stage_start)) s")
  fi
  stage_name=${1:-}
  stage_start=$now
}

stage "build and test"
cmake -S . -B build/main -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" >/dev/null
cmake --build build/main -j "$jobs"
ctest --test-dir build/main --output-on-failure -j "$jobs"

stage "Windows build under Wine"
bash scripts/wine_test.sh build/main/src/cli/halvane-cli

stage "build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1" \
  -DHALVANE_SANITIZE=ON -DHALVANE_BENCH=OFF -DHALVANE_TOOLS=OFF >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:use_tls=0:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs"

stage "fuzz"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DHALVANE_FUZZ=ON \
  -DHALVANE_GUI=OFF -DHALVANE_TESTS=OFF -DHALVANE_BENCH=OFF \
  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j "$jobs" --target halvane_fuzz_targets
# The targets run side by side, one a core; each one's summary is printed when all are done.
fuzz_pids=()
fuzz_failed=0
for target in build/fuzz/fuzz/fuzz_*; do
  [[ -x "$target" ]] || continue
  name=$(basename "$target")
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  "$target" -max_total_time=20 -print_final_stats=0 "$corpus" "fuzz/seeds/$name" \
    >"build/fuzz/$name.log" 2>&1 &
  fuzz_pids+=($!)
  if [[ ${#fuzz_pids[@]} -ge $jobs ]]; then
    wait "${fuzz_pids[0]}" || fuzz_failed=1
    fuzz_pids=("${fuzz_pids[@]:1}")
  fi
done
for pid in "${fuzz_pids[@]}"; do
  wait "$pid" || fuzz_failed=1
done
for log in build/fuzz/fuzz_*.log; do
  echo "-- $(basename "$log" .log)"
  if [[ $fuzz_failed -eq 0 ]]; then tail -n 2 "$log"; else tail -n 60 "$log"; fi
done
[[ $fuzz_failed -eq 0 ]] || { echo "fuzz: a target failed" >&2; exit 1; }

stage "the real device path in a VM"
bash scripts/vm_test.sh

stage
echo "== stage times"
printf '   %s\n' "${stage_times[@]}"
