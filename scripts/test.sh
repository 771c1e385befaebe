#!/usr/bin/env bash
# Every test: Linux under AddressSanitizer and UndefinedBehaviorSanitizer, the i686 product's
# export table, the x86_64 Windows build under wine64, and the formatting of the sources.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

steps=0
step() {
  steps=$((steps + 1))
  printf '\n==== %s\n' "$*"
}

step "formatting"
bash scripts/format.sh --check

step "Linux, ASan + UBSan"
cmake --preset linux-asan >/dev/null
cmake --build --preset linux-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --preset linux-asan
bash scripts/check-exports.sh elf build/linux-asan/bin/disk.mhw

step "libFuzzer: floppy image loaders (short run)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target load_image_fuzzer
seeds=build/fuzz/seeds
rm -rf "$seeds" && mkdir -p "$seeds" build/fuzz/corpus
# The seeds are the small images of every format that the unit tests build.
DISK_FUZZ_SEED_DIR="$PWD/$seeds" build/linux-asan/bin/formats_tests --gtest_filter='FuzzSeeds.*' >/dev/null
[ -n "$(ls -A "$seeds")" ] || { echo "no fuzz seeds were written to $seeds"; exit 1; }
# Leaks are looked for by the ASan test run; here they would cost a scan per input. The kept
# seeds (fuzz/seeds) are what earlier runs found worth keeping.
build/fuzz/bin/load_image_fuzzer -max_total_time=45 -max_len=70000 -detect_leaks=0 \
  -print_final_stats=1 build/fuzz/corpus "$seeds" fuzz/seeds/load_image

step "libFuzzer: floppy controller ports (short run)"
cmake --build --preset fuzz --target fdc_ports_fuzzer
seeds=build/fuzz/fdc_seeds
rm -rf "$seeds" && mkdir -p "$seeds" build/fuzz/fdc_corpus
# Pairs of (operation, value) after a first byte that injects no file failure: a two-sector
# read and a track format, each with its DMA channel programmed through the ports.
printf '\000\022\000\014\000\014\020\026\000\015\377\015\003\021\002\001\106\001\000\001\000\001\000\001\001\001\002\001\011\001\033\001\377\300\003\201\000\201\000' >"$seeds/read"
printf '\000\022\000\014\000\014\020\026\000\015\037\015\000\021\002\001\115\001\000\001\003\001\010\001\124\001\345\300\003\201\000' >"$seeds/format"
build/fuzz/bin/fdc_ports_fuzzer -max_total_time=30 -max_len=4096 -len_control=0 -detect_leaks=0 \
  -print_final_stats=1 build/fuzz/fdc_corpus "$seeds" fuzz/seeds/fdc_ports

step "i686 Windows: the product"
cmake --preset win32 >/dev/null
cmake --build --preset win32
bash scripts/check-exports.sh pe build/win32/bin/disk.mhw

step "x86_64 Windows under wine64"
cmake --preset win64 >/dev/null
cmake --build --preset win64
source scripts/wine-env.sh
# One display for the whole run: the panel and dialog tests need one, and a wineserver that
# started without it cannot create dialogs later.
display=$(bash scripts/free-display.sh)
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=":$display"
/usr/lib/wine/wineserver -k 2>/dev/null || true
sleep 1
ctest --preset win64
/usr/lib/wine/wineserver -k 2>/dev/null || true

step "Linux, ThreadSanitizer: the floppy worker raced against ticks and resets"
cmake --preset linux-tsan >/dev/null
cmake --build --preset linux-tsan --target abi_tests disk_module
(cd build/linux-tsan/bin &&
  TSAN_OPTIONS=halt_on_error=1 ./abi_tests --gtest_filter='WorkerRace*:FloppyCall*')

step "libFuzzer: INT 1Bh with arbitrary registers (45 s)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target disk_bios_fuzzer
corpus=$(mktemp -d)
build/fuzz/bin/disk_bios_fuzzer -max_total_time=45 -detect_leaks=0 -len_control=0 \
  -max_len=260 -print_final_stats=1 -artifact_prefix=build/fuzz/ "$corpus" fuzz/seeds/disk_bios
rm -rf "$corpus"

# Every step above stops the run on its first failure, so reaching this line means all passed.
printf '\nsteps: %d passed, 0 failed\n' "$steps"
