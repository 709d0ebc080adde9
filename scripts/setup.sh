#!/usr/bin/env bash
# Installs the Debian packages Halvane needs to build, test and run, and only those that are missing.
set -euo pipefail

packages=(
  g++ cmake make ninja-build pkg-config git
  qt6-base-dev libqt6svg6 libhidapi-dev libqcustomplot-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  libcurl4-openssl-dev libmosquitto-dev ca-certificates
  victoria-metrics mosquitto mosquitto-clients influxdb
  clang libclang-rt-14-dev lld
  fonts-dejavu-core fonts-liberation2
  poppler-utils
  qemu-system-x86 linux-image-amd64 busybox-static cpio kmod xz-utils zstd
  g++-mingw-w64-x86-64-posix wine64
  locales
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "setup: these packages are missing and sudo is not available: ${missing[*]}" >&2
    echo "setup: install them as root, then run this again." >&2
    exit 1
  fi
  as_root=(sudo)
fi

echo "setup: installing ${missing[*]}"
"${as_root[@]}" apt-get update
# The kernel is booted only by the VM test stage, with an initramfs of its own: INITRD=No spares
# the quarter of an hour its package would spend on building one for this machine.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive INITRD=No \
  apt-get install -y --no-install-recommends "${missing[@]}"
