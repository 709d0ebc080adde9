#!/usr/bin/env bash
# The Windows build, shown running: halvane-cli cross-built with MinGW-w64 and run under Wine.
# Each check runs one command with both builds, each in a folder of its own; the exit statuses
# must be the expected one, and standard output and every file written must be byte for byte
# the Linux build's (PC time stamps aside). One line per check, then the count.
# Usage: scripts/wine_test.sh [LINUX_CLI]   (default: build/main/src/cli/halvane-cli)
set -euo pipefail
cd "$(dirname "$0")/.."

linux_cli=$(realpath "${1:-build/main/src/cli/halvane-cli}")
bash scripts/setup.sh

work=$(mktemp -d)
wine=/usr/lib/wine/wine64
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  timeout 20 /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Wine makes its prefix while the program builds: a few seconds, longer on a busy machine.
timeout 180 "$wine" wineboot --init >"$work/wineboot.log" 2>&1 &
wineboot=$!

# The pure core and the command line program alone, each target one translation unit, at -O1:
# a third quicker to compile than -O2 (the program's one unit takes most of the time), and what
# is checked here is behaviour, not speed.
cmake -S . -B build/mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" -DHALVANE_UNITY=ON \
  -DHALVANE_GUI=OFF -DHALVANE_TESTS=OFF -DHALVANE_BENCH=OFF >/dev/null
timeout 600 cmake --build build/mingw -j "$(nproc)"
windows_cli=$PWD/build/mingw/src/cli/halvane-cli.exe
if ! wait "$wineboot"; then
  cat "$work/wineboot.log" >&2
  echo "wine: no Wine prefix could be made" >&2
  exit 1
fi

mkdir "$work/linux" "$work/windows"
passed=0
failed=0

# Runs halvane-cli with these arguments in each build's folder: NAME.out, NAME.err and
# NAME.status there hold what it gave.
run_both() {
  local name=$1
  shift
  local status=0
  (cd "$work/linux" && timeout 30 "$linux_cli" "$@" >"$name.out" 2>"$name.err") || status=$?
  echo "$status" >"$work/linux/$name.status"
  status=0
  (cd "$work/windows" && timeout 30 "$wine" "$windows_cli" "$@" >"$name.out" 2>"$name.err") ||
    status=$?
  echo "$status" >"$work/windows/$name.status"
}

# The time stamps of the PC, and of the simulated meter's clock that starts from it, in place.
mask_pc_time() {
  sed -i -E 's/[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:.]+Z?/TIME/g' "$work/linux/$1" "$work/windows/$1"
}

# Prints the line of the check LABEL: ok, or FAIL with the PROBLEMS found.
report() {
  local label=$1
  shift
  if [[ $# -eq 0 ]]; then
    echo "ok   $label"
    passed=$((passed + 1))
  else
    local IFS=';'
    echo "FAIL $label: $*"
    failed=$((failed + 1))
  fi
}

# Reports the check LABEL of the run NAME: both builds exited with STATUS and gave the same
# standard output and the same FILES (folders compared whole); with same_errors=1 also the same
# standard error.
compare() {
  local label=$1 name=$2 expected=$3
  shift 3
  local problems=() side file
  for side in linux windows; do
    [[ $(cat "$work/$side/$name.status") == "$expected" ]] ||
      problems+=("$side exit $(cat "$work/$side/$name.status") instead of $expected")
  done
  local streams=(out)
  [[ ${same_errors:-0} == 1 ]] && streams+=(err)
  for file in "${streams[@]/#/$name.}" "$@"; do
    if [[ ! -e "$work/linux/$file" ]]; then
      problems+=("the Linux build wrote no $file")
    elif ! diff -r "$work/linux/$file" "$work/windows/$file" >/dev/null 2>&1; then
      problems+=("$file differs")
    fi
  done
  report "$label" "${problems[@]}"
}

run_both flash-all --simulate flash get --all -o records
compare "flash get --all: every record file" flash-all 0 records
records=("$work/linux/records"/*)
record=records/$(basename "${records[0]}")

run_both sd-file --simulate sd get 2 -o set2.txt
compare "sd get 2 into a file" sd-file 0 set2.txt
run_both sd-replace --simulate sd get 1 -o set2.txt
compare "sd get 1 replacing that file" sd-replace 0 set2.txt
run_both sd-out --simulate sd get 1
compare "sd get 1 on standard output" sd-out 0

run_both flash-save --simulate flash save -o flash.bin
compare "flash save: the raw image" flash-save 0 flash.bin
run_both flash-dash --simulate --sim-flash flash.bin flash get 5 -o -
compare "flash get 5 -o - from the saved image" flash-dash 0

run_both live --simulate live -n 20 -f csv -o live.csv
mask_pc_time live.csv
compare "live -n 20 -f csv -o FILE" live 0 live.csv
run_both live-mismatch --simulate live -n 1 -f jsonl -o live.csv
mask_pc_time live.csv
compare "live -f jsonl into that CSV file is refused" live-mismatch 1 live.csv

run_both info record info "$record"
compare "record info" info 0
run_both item record item "$record" "Leq(Main)"
compare "record item, CSV" item 0
run_both item-json record item "$record" "Lmax(Sub)" -f jsonl
compare "record item, JSON lines" item-json 0

name="Messung Straße – Gärten 日本.txt"
run_both non-ascii --simulate flash get 3 -o "$name"
compare "a file name with non-ASCII letters" non-ascii 0 "$name"
run_both non-ascii-info record item "$name" "LP(Main)"
compare "record item on that file" non-ascii-info 0
run_both missing record info "fehlt – ä.txt"
same_errors=1 compare "a missing file named in the message" missing 2

run_both unknown-item record item "$record" "Leq(Nowhere)"
same_errors=1 compare "an unknown item: exit 2" unknown-item 2
run_both unwritable --simulate flash save -o missing/flash.bin
compare "an output in a missing folder: exit 1" unwritable 1
run_both no-meter flash list
compare "no meter (on Windows: no USB in this build): exit 3" no-meter 3

# Windows alone: NUL is the null device in every folder, never a file to replace.
status=0
(cd "$work/windows" && timeout 30 "$wine" "$windows_cli" --simulate flash get 1 -o NUL \
  >/dev/null 2>&1) || status=$?
problems=()
[[ $status -eq 0 ]] || problems+=("exit $status")
[[ ! -e "$work/windows/NUL" ]] || problems+=("a file named NUL was written")
report "-o NUL on Windows: the null device" "${problems[@]}"

echo "wine: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
