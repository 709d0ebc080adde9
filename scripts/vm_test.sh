#!/usr/bin/env bash
# The real device path: boots Debian's kernel in a small VM (TCG, no network, no KVM), with this
# machine's root shared read-only over 9p so that the guest runs the build in build/main as it
# stands. There the simulated meter goes on the kernel's uhid and the programs reach it through
# its hidraw node and hidapi, as they reach the instrument (scripts/vm_guest.sh). The results
# come out through a second, writable share and are checked here against the same commands over
# --simulate: one line per scenario, then "vm: N passed, M failed". With HALVANE_VM_RESULTS=DIR
# the guest's results and console are kept in DIR; HALVANE_VM_LIMIT=S gives the guest S seconds
# instead of 200.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/main
# The VM is stopped after this long, so that the stage ends within 4 minutes.
guest_limit_s=${HALVANE_VM_LIMIT:-200}

bash scripts/setup.sh
cli=$build/src/cli/halvane-cli
probe=$build/tools/halvane_panel_probe
for program in "$cli" "$probe" "$build/src/sim/uhid/halvane-uhid-meter"; do
  [[ -x $program ]] || { echo "vm: $program is missing; build build/main first" >&2; exit 1; }
done
kernel=$(find /boot -maxdepth 1 -name 'vmlinuz-*' | sort -V | tail -n 1)
kernel_version=${kernel#/boot/vmlinuz-}

work=$(mktemp -d "${TMPDIR:-/tmp}/halvane-vm-XXXXXX")
qemu_pid=
stop_vm() {
  if [[ -n $qemu_pid ]]; then
    kill -TERM "$qemu_pid" 2>/dev/null || true  # timeout passes it on to QEMU
    wait "$qemu_pid" 2>/dev/null || true
  fi
  if [[ -n ${HALVANE_VM_RESULTS:-} ]]; then
    rm -rf "$HALVANE_VM_RESULTS"
    cp -r "$work" "$HALVANE_VM_RESULTS" || true
  fi
  rm -rf "$work"
}
trap stop_vm EXIT
trap 'exit 130' INT TERM
results=$work/results
reference=$work/reference
mkdir -p "$results" "$reference" "$work/initramfs"/{bin,dev,proc,sys,mnt/root,modules}

# The initramfs: busybox, the modules for virtio, 9p and uhid with what they depend on (unpacked,
# for busybox's insmod), and an init that mounts the shares and runs the scenarios chrooted.
cp /bin/busybox "$work/initramfs/bin/"
modprobe -a -S "$kernel_version" --show-depends virtio_pci 9pnet_virtio 9p uhid hid_generic |
  awk '$1 == "insmod" && !seen[$2]++ { print $2 }' |
  while read -r module; do
    name=$(basename "${module%.xz}")
    name=${name%.zst}
    case $module in
      *.xz) xz -dc "$module" >"$work/initramfs/modules/$name" ;;
      *.zst) zstd -qdc "$module" >"$work/initramfs/modules/$name" ;;
      *) cp "$module" "$work/initramfs/modules/$name" ;;
    esac
    echo "$name" >>"$work/initramfs/modules/order"
  done
cat >"$work/initramfs/init" <<EOF
#!/bin/busybox sh
export PATH=/bin
busybox mount -t proc proc /proc
busybox mount -t sysfs sysfs /sys
busybox mount -t devtmpfs devtmpfs /dev
for module in \$(busybox cat /modules/order); do busybox insmod /modules/\$module; done
busybox mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000,cache=loose,ro root /mnt/root
cd /mnt/root
busybox mount -t devtmpfs devtmpfs dev
busybox mount -t proc proc proc
busybox mount -t sysfs sysfs sys
busybox mount -t tmpfs tmpfs tmp
busybox mount -t tmpfs tmpfs run
busybox mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 results mnt
# The repository at its own path, also when it lies under /tmp, which the guest's tmpfs hides.
busybox mkdir -p .$root
busybox mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000,cache=loose,ro repo .$root
busybox chroot /mnt/root /bin/bash -c \
  '$root/scripts/vm_guest.sh /mnt $build >/mnt/guest.log 2>&1; echo \$? >/mnt/guest.status'
busybox sync
busybox poweroff -f
EOF
chmod +x "$work/initramfs/init"
(cd "$work/initramfs" && find . | cpio -o -H newc --quiet | gzip -1) >"$work/initramfs.gz"
head -c 1015807 /dev/urandom >"$results/full-flash.bin"
# The pages of the simulated meter's flash, for the guest to unplug the meter at some of them.
simulate() {
  timeout -k 2 60 "$@" --simulate
}
simulate "$cli" flash save -o "$reference/flash.bin"
echo $((($(stat -c %s "$reference/flash.bin") + 159) / 160)) >"$results/flash-pages"

vm_start=$SECONDS
timeout -k 5 "$guest_limit_s" qemu-system-x86_64 -accel tcg -cpu max -smp 2 -m 1024 \
  -display none -monitor none -serial "file:$work/console.log" -no-reboot -nic none \
  -kernel "$kernel" -initrd "$work/initramfs.gz" \
  -append "console=ttyS0 quiet panic=-1 rdinit=/init" \
  -virtfs local,path=/,mount_tag=root,security_model=none,readonly=on,multidevs=remap \
  -virtfs "local,path=$results,mount_tag=results,security_model=none,multidevs=remap" \
  -virtfs "local,path=$root,mount_tag=repo,security_model=none,readonly=on,multidevs=remap" &
qemu_pid=$!

# The same commands over --simulate, while the VM runs.
simulate "$cli" live -n 12 -f csv >"$reference/live.csv"
simulate "$cli" flash get --all -o "$reference/flash"
for number in 1 2 3 4; do
  simulate "$cli" sd get "$number" -o "$reference/sd-$number.txt"
done
mkdir -p "$reference/probe"
simulate "$probe" --polls 16 "$reference/probe" 2>"$reference/probe.err"

wait "$qemu_pid" || true
qemu_pid=
echo "vm: the guest ran for $((SECONDS - vm_start)) s"

passed=0
failed=0
failures=()
# expect WHAT COMMAND...: WHAT is noted as failed unless COMMAND succeeds
expect() {
  local what=$1
  shift
  "$@" >/dev/null 2>&1 || failures+=("$what")
}
verdict() {
  if [[ ${#failures[@]} -eq 0 ]]; then
    echo "vm: ok     $1"
    passed=$((passed + 1))
  else
    echo "vm: FAILED $1: $(IFS=';'; echo "${failures[*]}")"
    failed=$((failed + 1))
  fi
  failures=()
}
status_is() {
  [[ $(cat "$1.status" 2>/dev/null) == "$2" ]]
}
# The live lines without the PC's time (column 1) and the meter's clock (column 21).
live_lines() {
  cut -d, -f1,21 --complement "$1"
}
# A display list with the meter's clock masked.
screen() {
  sed -E "s#$clock#CLOCK#" "$1"
}
same_screens() {
  local count=$1 guest=$2 host=$3
  for ((k = 1; k <= count; k++)); do
    cmp -s <(screen "$guest/screen-$k.txt") <(screen "$host/screen-$k.txt") || return 1
  done
}
polls_match() {
  grep -Eq "$2" "$1/polls.txt"
}
clock='[0-9]{2}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}'  # the meter's, as it shows it
iso_clock='[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}'  # as clock get prints it

if ! [[ -f $results/guest.status ]]; then
  echo "vm: the guest did not finish within $guest_limit_s s; its console and log:"
  tail -n 30 "$work/console.log" "$results/guest.log" 2>/dev/null || true
  echo "vm: 0 passed, 1 failed"
  exit 1
fi

r=$results/devices
meter_row='\tSIM00001\tSimulated Sound Level Meter\t0xFF00\t'
expect "devices lists the meter" grep -P "$meter_row" "$r/list.out"
expect "devices lists the keyboard" grep -P '\t0x0001\t' "$r/list.out"
expect "clock get exits 0" status_is "$r/clock" 0
expect "the trace passes the keyboard over" \
  grep 'usage page 0x0001: passed over: not a vendor-defined usage page' "$r/trace.txt"
verdict "devices: the meter is found past a keyboard with its IDs"

r=$results/live
expect "live exits 0" status_is "$r/live" 0
expect "the lines equal --simulate's" \
  cmp <(live_lines "$r/live.out") <(live_lines "$reference/live.csv")
expect "the gap is reported" grep 'does not answer; waiting for it' "$r/live.err"
expect "the return is reported" grep 'the meter answers again' "$r/live.err"
verdict "live: the lines of --simulate across an unplug and a replug"

r=$results/transfers
expect "flash get exits 0" status_is "$r/flash" 0
expect "the record files equal --simulate's" diff -r "$r/flash" "$reference/flash"
for number in 1 2 3 4; do
  expect "sd get $number exits 0" status_is "$r/sd-$number" 0
  expect "set $number equals --simulate's" cmp "$r/sd-$number.txt" "$reference/sd-$number.txt"
done
verdict "transfers: flash get --all and every sd get N byte-equal to --simulate"

r=$results/numbered
expect "flash get exits 0" status_is "$r/flash" 0
expect "the record files equal --simulate's" diff -r "$r/flash" "$reference/flash"
expect "sd get 1 exits 0" status_is "$r/sd-1" 0
expect "set 1 equals --simulate's" cmp "$r/sd-1.txt" "$reference/sd-1.txt"
verdict "numbered: the same files with input reports under report ID 1"

r=$results/unplug
for page in first middle last; do
  expect "$page: exit 4" status_is "$r/$page" 4
  expect "$page: the page is named" grep 'The meter stopped answering at page' "$r/$page.err"
  expect "$page: the next command works" status_is "$r/$page-next" 0
  expect "$page: and reads the clock" grep -Ex "$iso_clock" "$r/$page-next.out"
done
expect "first: no folder, no file" test ! -e "$r/first"
expect "middle: the earlier files intact" diff -r "$r/middle" "$reference/flash"
expect "last: the earlier files intact" diff -r "$r/last" "$reference/flash"
verdict "unplug at the first, a middle and the last page: exit 4, nothing written, then on"

r=$results/two
second=$(cat "$r/second.path" 2>/dev/null || true)
expect "devices lists both" test "$(grep -cP '\tSIM0000[12]\t' "$r/list.out")" -eq 2
expect "clock get exits 0" status_is "$r/clock" 0
expect "--path opens the second meter" grep -F "S   $second \"Simulated" "$r/trace.txt"
expect "and no other" test "$(grep -c ': opened' "$r/trace.txt")" -eq 1
verdict "two meters: both listed, --path reaches the second"

r=$results/window/probe
expect "the probe exits 0" status_is "$results/window/probe" 0
expect "8 live polls, No Connection at the next" polls_match "$r" '^9 no-connection '
expect "whose search names it, with the hint beside" \
  polls_match "$r" '^10 no-connection \[ No Connection\] \[No meter answers\. .*\] 0$'
expect "the live screen comes back" polls_match "$r" '^2[0-4] live'
expect "no window but the main one" test "$(grep -vc ' 0$' "$r/polls.txt")" -eq 0
answered=$(find "$r" -name 'screen-*.txt' | wc -l)
expect "the screens equal --simulate's" \
  same_screens "$((answered < 16 ? answered : 16))" "$r" "$reference/probe"
verdict "window: the live screen of --simulate, No Connection within a poll, back after a replug"

r=$results/access
expect "the node is root's alone" grep -x '600 root' "$r/node.mode"
expect "clock get exits 3" status_is "$r/clock" 3
expect "the CLI says access was refused" grep 'access to it was refused' "$r/clock.err"
expect "and names the udev rule" grep 'packaging/70-halvane.rules' "$r/clock.err"
refused='^3 no-connection \[ No Connection\] \[The meter is attached but access to it was refused'
expect "the window says so on its status line" polls_match "$r/probe" "$refused.*\] 0$"
verdict "access refused: the CLI and the window say so and name the udev rule, no box"

r=$results/pace
expect "flash save exits 0" status_is "$r/save" 0
expect "the image equals the meter's" cmp "$r/full-flash.bin" "$results/full-flash.bin"
# From the command for the image to its last page.
read -r start end < <(awk '$2 == "W" && $4 == "43" && $5 == "04" && $8 == "01" { start = $1 }
                           $2 == "R" && $3 ~ /^[0-9A-F][0-9A-F]$/ { end = $1 }
                           END { print start + 0, end + 0 }' "$r/trace.txt")
pace_ms=$((6349 * 3))
verdict "pace: a full flash read over hidraw at 3 ms a report"
echo "vm: a full flash (1015807 bytes, 6349 reports) read in $((end - start)) ms against" \
  "6349 x 3 ms = $pace_ms ms: $(((end - start) * 1000 / pace_ms - 1000)) per mille over;" \
  "the whole command took $end ms"

r=$results/faults
not_connected='^halvane-cli: The meter is not connected\.'
for command in clock flash; do
  expect "silent: $command exits 3" status_is "$r/silent-$command" 3
  expect "silent: $command says the meter is not connected" grep -q "$not_connected" \
    "$r/silent-$command.err"
done
expect "silent: no folder" test ! -e "$r/silent-flash"
expect "garbage: live exits 0" status_is "$r/garbage-live" 0
expect "garbage: 10 lines under the header, all as wide" \
  test "$(awk -F, '{ print NF }' "$r/garbage-live.out" | uniq -c | awk '{ print $1 }')" = 11
expect "garbage: flash get ends at once, 0 or 4" \
  grep -qx '[04]' "$r/garbage-flash.status"
expect "garbage: and says why in one line" \
  test "$(grep -vc '^halvane-cli: ' "$r/garbage-flash.err")" -eq 0
expect "garbage: the window's probe exits 0" status_is "$r/garbage-probe" 0
expect "garbage: and stays on the live screen" \
  test "$(grep -c '^[1-8] live .* 0$' "$r/probe/polls.txt")" -eq 8
expect "timed: live exits 0" status_is "$r/timed-live" 0
expect "timed: 20 lines under the header" test "$(wc -l <"$r/timed-live.out")" -eq 21
expect "timed: the gap is reported" grep -q 'does not answer; waiting for it' "$r/timed-live.err"
expect "timed: the return is reported" grep -q 'the meter answers again' "$r/timed-live.err"
verdict "faults: a silent meter is not connected, random bytes end cleanly, a timed unplug is a gap"

echo "vm: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
