#!/usr/bin/env bash
# The main job: builds the Linux module and the reference host, writes a scratch INI file and
# runs the machine's life cycle on it through mhwhost.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux

work=build/linux/demo
rm -rf "$work" && mkdir -p "$work"
hdd="$work/hd1.img"
head -c $((10 * 1024 * 1024)) /dev/zero >"$hdd"
cat >"$work/host.ini" <<INI
[DISK]
DISK00=
DISK01=
DISK02=$hdd
DISK03=
blnImage00=1
blnImage01=0
szFdd01=B
FDWAIT=1
INI
echo "---- mhwhost on $work/host.ini"
build/linux/bin/mhwhost "$work/host.ini"
