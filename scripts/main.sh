#!/usr/bin/env bash
# The main job: builds the Linux module and the reference host, makes scratch disk images (a
# 1.2 MB floppy and a 10 MB hard disk) and an INI file naming them, and runs the machine's whole
# life cycle on them through mhwhost: reset and drive report, BIOS start-up and boot, every
# sector read through INT 1Bh and compared with the files, a track written and formatted, a
# snapshot saved and loaded, power-off.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux

work=build/linux/demo
rm -rf "$work" && mkdir -p "$work"
python3 - "$work" <<'PY'
import struct, sys
work = sys.argv[1]
# Floppy: headerless 1.2 MB dump (77 cylinders, 2 heads, 8 sectors of 1024 bytes); every sector
# starts with its cylinder, head and record number, so a misplaced read shows.
floppy = bytearray()
for c in range(77):
    for h in range(2):
        for r in range(1, 9):
            sector = bytearray((c * 7 + h * 3 + r + i) & 0xFF for i in range(1024))
            sector[0:4] = bytes([0xEB, c, h, r])
            floppy += sector
open(f"{work}/floppy.hdm", "wb").write(floppy)
# Hard disk: ZHD (256-byte header holding the cylinder count; 8 heads, 33 sectors of 256 bytes).
cylinders = 153
data = bytearray((i * 13 + i // 256) & 0xFF for i in range(cylinders * 8 * 33 * 256))
data[0:2] = b"\xEB\xFE"
open(f"{work}/hd1.zhd", "wb").write(struct.pack("<H", cylinders) + bytes(254) + data)
PY
cat >"$work/host.ini" <<INI
[DISK]
DISK00=$work/floppy.hdm
DISK01=
DISK02=$work/hd1.zhd
DISK03=
blnImage00=1
blnImage01=1
FDWAIT=1
INI
echo "---- mhwhost on $work/host.ini"
build/linux/bin/mhwhost --write "$work/host.ini"
