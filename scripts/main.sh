#!/usr/bin/env bash
# The main job: builds the Linux module, the reference host and diskimg, makes scratch disk
# images (a 1.2 MB floppy with a FAT file system, made and filled by diskimg, and a 10 MB hard
# disk) and an INI file naming them, shows what diskimg says of them, and runs the machine's
# whole life cycle on them through mhwhost: reset and drive report, BIOS start-up and boot, every
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
# A file that fills the floppy's data area: every 1024-byte block starts with its number and
# differs from the others, so a misplaced read of the disk shows.
fill = bytearray()
for block in range(1200):
    data = bytearray((block * 7 + i) & 0xFF for i in range(1024))
    data[0:4] = struct.pack("<I", block)
    fill += data
open(f"{work}/fill.bin", "wb").write(fill)
# Hard disk: ZHD (256-byte header holding the cylinder count; 8 heads, 33 sectors of 256 bytes).
cylinders = 153
data = bytearray((i * 13 + i // 256) & 0xFF for i in range(cylinders * 8 * 33 * 256))
data[0:2] = b"\xEB\xFE"
open(f"{work}/hd1.zhd", "wb").write(struct.pack("<H", cylinders) + bytes(254) + data)
PY
# Floppy: a headerless 1.2 MB dump (77 cylinders, 2 heads, 8 sectors of 1024 bytes) holding the
# FAT file system PC-98 MS-DOS gives the medium, with the file in it.
diskimg=build/linux/bin/diskimg
"$diskimg" create floppy "$work/floppy.hdm" --media 1.23M --format FAT --to raw
"$diskimg" put "$work/floppy.hdm" "$work/fill.bin"
echo "---- diskimg info and ls"
"$diskimg" info "$work/floppy.hdm" "$work/hd1.zhd"
"$diskimg" ls "$work/floppy.hdm"
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
