#!/usr/bin/env bash
# Checks that a built disk.mhw exports exactly the six entry points, undecorated.
#   check-exports.sh pe FILE      (Windows, read with the i686 objdump)
#   check-exports.sh elf FILE     (Linux)
set -euo pipefail
kind=$1 file=$2
expected=$'DeviceConect\nDeviceConfig\nDeviceEntry\nDeviceVer\nFastGUI\nSetPath'
case "$kind" in
  pe)
    i686-w64-mingw32-objdump -f "$file" | grep -q 'file format pei-i386' ||
      { echo "$file is not a 32-bit PE file"; exit 1; }
    actual=$(i686-w64-mingw32-objdump -p "$file" |
      sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '^\s*\[ *[0-9]+\] ' | awk '{print $NF}' | sort)
    dlls=$(i686-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
    for dll in $dlls; do
      case "$dll" in
        kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|shell32.dll|msvcrt.dll|advapi32.dll) ;;
        *) echo "$file needs $dll beside it"; exit 1 ;;
      esac
    done
    ;;
  elf)
    actual=$(nm -D --defined-only "$file" | awk '{print $3}' | grep -v '^$' | sort)
    ;;
  *) echo "usage: $0 pe|elf FILE"; exit 2 ;;
esac
if [ "$actual" != "$expected" ]; then
  printf 'unexpected exports in %s:\n%s\n' "$file" "$actual"
  exit 1
fi
echo "$file: exports the six entry points, nothing else"
