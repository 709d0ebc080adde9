#!/usr/bin/env bash
# Sets up, builds and starts Halvane. Without arguments it uses the instrument when one is
# attached and the simulated meter otherwise; any arguments go to the program as they are.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build/main -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/main --target halvane

arguments=("$@")
if [[ ${#arguments[@]} -eq 0 ]]; then
  # The kernel names HID devices BUS:VENDOR:PRODUCT.N, in upper-case hex.
  if ! ls /sys/bus/hid/devices/ 2>/dev/null | grep -qi '^[0-9a-f]*:0483:5750\.'; then
    echo "run: no meter attached, starting with the simulated meter"
    arguments=(--simulate)
  fi
fi
exec build/main/src/app/halvane "${arguments[@]}"
