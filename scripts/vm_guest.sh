#!/bin/bash
# Runs inside the VM of scripts/vm_test.sh, in the host's root: puts the simulated meter on the
# kernel's uhid and runs the programs of BUILD against its hidraw nodes, one folder of results
# per scenario under RESULTS. Nothing is judged here; the host checks the results.
# Usage: vm_guest.sh RESULTS BUILD
set -u
results=$1
build=$2
cli=$build/src/cli/halvane-cli
probe=$build/tools/halvane_panel_probe
meter_program=$build/src/sim/uhid/halvane-uhid-meter
export PATH=/usr/sbin:/usr/bin:/sbin:/bin QT_QPA_PLATFORM=offscreen HOME=/tmp TMPDIR=/tmp
unprivileged=(setpriv --reuid=65534 --regid=65534 --clear-groups)
meter_pid=

say() {
  echo "guest: ${SECONDS}s $*"
}

# run DIR NAME COMMAND...: the command's output, errors and exit status in DIR/NAME.*
run() {
  local dir=$1 name=$2
  shift 2
  timeout -k 2 60 "$@" >"$dir/$name.out" 2>"$dir/$name.err"
  echo $? >"$dir/$name.status"
}

# wait_for_lines FILE PATTERN COUNT: until FILE has COUNT lines matching PATTERN (20 s at most)
wait_for_lines() {
  local tries=0
  until [[ $(grep -c "$2" "$1" 2>/dev/null) -ge $3 ]]; do
    ((++tries > 200)) && { say "gave up waiting for $3 x '$2' in $1"; return 1; }
    sleep 0.1
  done
}

# start_meter LOG DEVICES OPTIONS...: the uhid meter, once its DEVICES nodes are there
start_meter() {
  local log=$1 devices=$2
  shift 2
  mkdir -p "$(dirname "$log")"
  "$meter_program" "$@" >"$log" 2>&1 &
  meter_pid=$!
  wait_for_lines "$log" '^ready' "$devices"
}

stop_meter() {
  kill -TERM "$meter_pid" 2>/dev/null
  wait "$meter_pid" 2>/dev/null
  meter_pid=
}

scenario_devices() {
  local dir=$results/devices
  start_meter "$dir/meter.log" 2 --foreign-keyboard
  run "$dir" list "$cli" devices
  run "$dir" clock "$cli" --trace "$dir/trace.txt" clock get
  stop_meter
}

scenario_live() {
  local dir=$results/live
  start_meter "$dir/meter.log" 1 --unplug-after-reports 6 --replug-after-ms 1500
  run "$dir" live "$cli" live -n 12 -f csv
  stop_meter
}

scenario_transfers() {
  local dir=$results/transfers
  start_meter "$dir/meter.log" 1
  run "$dir" flash "$cli" flash get --all -o "$dir/flash"
  run "$dir" sd-list "$cli" sd list
  for number in $(tail -n +2 "$dir/sd-list.out" | cut -f1); do
    run "$dir" "sd-$number" "$cli" sd get "$number" -o "$dir/sd-$number.txt"
  done
  stop_meter
}

scenario_numbered() {
  local dir=$results/numbered
  start_meter "$dir/meter.log" 1 --numbered
  run "$dir" flash "$cli" flash get --all -o "$dir/flash"
  run "$dir" sd-1 "$cli" sd get 1 -o "$dir/sd-1.txt"
  stop_meter
}

# The meter goes away at the first, a middle and the last page of a flash read, into a folder
# that holds the files of an earlier read (or none); once it is back, the next command runs.
scenario_unplug() {
  local dir=$results/unplug
  local pages
  pages=$(cat "$results/flash-pages")
  # The meter's reports: the poll's reply, the size, then the pages.
  local -A unplug_after=([first]=2 [middle]=$((2 + pages / 2)) [last]=$((2 + pages - 1)))
  for page in first middle last; do
    start_meter "$dir/$page.meter.log" 1 --unplug-after-reports "${unplug_after[$page]}" \
      --replug-after-ms 300
    if [[ $page != first ]]; then
      cp -a "$results/transfers/flash" "$dir/$page"
    fi
    run "$dir" "$page" "$cli" flash get --all -o "$dir/$page"
    wait_for_lines "$dir/$page.meter.log" '^ready' 2
    run "$dir" "$page-next" "$cli" clock get
    stop_meter
  done
}

scenario_two_meters() {
  local dir=$results/two
  start_meter "$dir/meter.log" 2 --second-meter
  run "$dir" list "$cli" devices
  local second
  second=$(awk -F'\t' '$2 == "SIM00002" { print $1 }' "$dir/list.out")
  echo "$second" >"$dir/second.path"
  run "$dir" clock "$cli" --path "$second" --trace "$dir/trace.txt" clock get
  stop_meter
}

scenario_window() {
  local dir=$results/window
  start_meter "$dir/meter.log" 1 --unplug-after-reports 8 --replug-after-ms 1000
  mkdir -p "$dir/probe"
  run "$dir" probe "$probe" --polls 24 "$dir/probe"
  stop_meter
}

# The node is root's alone (0600), as without the udev rule; the programs run as nobody.
scenario_access() {
  local dir=$results/access
  start_meter "$dir/meter.log" 1
  local node
  node=$(awk '/^ready/ { print $2 }' "$dir/meter.log")
  stat -c '%a %U' "$node" >"$dir/node.mode"
  run "$dir" clock "${unprivileged[@]}" "$cli" clock get
  local scratch
  scratch=$(mktemp -d)
  chmod 0777 "$scratch"
  run "$dir" probe "${unprivileged[@]}" "$probe" --polls 3 "$scratch"
  cp -r "$scratch" "$dir/probe"
  stop_meter
}

# A full flash at the meter's own pace of 3 ms a report.
scenario_pace() {
  local dir=$results/pace
  start_meter "$dir/meter.log" 1 --report-interval 3 --sim-flash "$results/full-flash.bin"
  run "$dir" save "$cli" --trace /tmp/pace.trace flash save -o "$dir/full-flash.bin"
  cp /tmp/pace.trace "$dir/trace.txt"
  stop_meter
}

# A meter that takes every report and answers none, one that answers with random bytes, and one
# that goes away a second after it appeared, at whatever point of an exchange that falls. (No SD
# scan of random bytes: it asks for as many entries as they say, up to 65 535, one at a time.)
scenario_faults() {
  local dir=$results/faults
  start_meter "$dir/silent.meter.log" 1 --silent
  run "$dir" silent-clock "$cli" clock get
  run "$dir" silent-flash "$cli" flash get --all -o "$dir/silent-flash"
  stop_meter
  start_meter "$dir/garbage.meter.log" 1 --garbage
  run "$dir" garbage-live "$cli" live -n 10 -f csv
  run "$dir" garbage-flash "$cli" flash get --all -o "$dir/garbage-flash"
  mkdir -p "$dir/probe"
  run "$dir" garbage-probe "$probe" --polls 8 "$dir/probe"
  stop_meter
  start_meter "$dir/timed.meter.log" 1 --unplug-after-ms 1000 --replug-after-ms 1000
  run "$dir" timed-live "$cli" live -n 20 -f csv
  stop_meter
}

for scenario in devices live transfers numbered unplug two_meters window access pace faults; do
  say "$scenario"
  "scenario_$scenario"
done
say "done"
