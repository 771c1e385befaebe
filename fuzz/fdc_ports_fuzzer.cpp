// Arbitrary guest port writes, reads and ticks against the floppy controller and the DMA
// controller, with an MFD image in each of units 0 (R0) and 1 (R1) mounted from memory files that
// are put back as they were before every run. The first input byte may make one file call fail.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "media/file_routines.h"
#include "media/floppy_drive.h"
#include "platform/memory_files.h"
#include "support/disk_images.h"

namespace {

constexpr std::uint32_t kMemorySize = 1u << 20;
std::uint8_t gMemory[kMemorySize];
std::uint32_t gWrittenLow = 0, gWrittenHigh = kMemorySize;  // what a run wrote is cleared after it
// DMA moves a byte at a time and costs the most after image rewrites: an input stops after it
// moved this many.
constexpr std::uint32_t kMostDmaBytes = 1u << 13;
std::uint32_t gDmaBytes = 0;

std::uint8_t ReadByte(void*, std::uint32_t linear) {
  ++gDmaBytes;
  return gMemory[linear % kMemorySize];
}
void WriteByte(void*, std::uint32_t linear, std::uint8_t value) {
  ++gDmaBytes;
  linear %= kMemorySize;
  gMemory[linear] = value;
  gWrittenLow = std::min(gWrittenLow, linear);
  gWrittenHigh = std::max(gWrittenHigh, linear + 1);
}

constexpr std::uint16_t kPorts[] = {0x90, 0x92, 0x94, 0xC8, 0xCA, 0xCC, 0xBE, 0x4BE, 0x01,
                                    0x03, 0x05, 0x07, 0x09, 0x0B, 0x0D, 0x0F, 0x11,  0x15,
                                    0x19, 0x1B, 0x1F, 0x21, 0x23, 0x25, 0x27, 0x29,  0x439};

bool IsFloppyPort(std::uint16_t port) {
  return port >= 0x90 && port != 0x439;
}

// Image rewrites (a track format) cost far more than anything else: an input stops after this
// many.
constexpr std::uint32_t kMostRewrites = 1;
const char* const kPaths[2] = {"/r0.mfd", "/r1.mfd"};

struct Bench {
  Bench() {
    platform::UseMemoryFiles(true);
    // Three cylinders of nine 512-byte sectors, in either revision.
    platform::PutMemoryFile(kPaths[0],
                            testing_support::BuildR0(testing_support::UniformDisk(3, 9, 2)));
    platform::PutMemoryFile(kPaths[1],
                            testing_support::BuildR1(testing_support::UniformDisk(3, 9, 2)));
    dma.Connect({nullptr, &ReadByte, &WriteByte});
    disk::FloppyController::Wiring wiring;
    for (int unit = 0; unit < 2; ++unit) {
      drives[unit] = new disk::FloppyDrive(static_cast<std::uint32_t>(unit));
      drives[unit]->Reset();
      wiring.drives[unit] = drives[unit];
    }
    wiring.dma = &dma;
    fdc.Connect(wiring);
  }

  // The images as they were. Only a replaced image (a track format) changes a drive's tables,
  // so a drive whose image was not replaced stays as the last run left it.
  void Prepare() {
    bool reload[2];
    for (int unit = 0; unit < 2; ++unit)
      reload[unit] = !drives[unit]->Inserted() || platform::MemoryFileReplaced(kPaths[unit]);
    platform::RestoreMemoryFiles();
    for (int unit = 0; unit < 2; ++unit)
      if (reload[unit]) drives[unit]->LoadImage(kPaths[unit]);
    for (disk::FloppyDrive* drive : drives) {
      drive->cylinder = 0;
      drive->side = 0;
      drive->rotation = 0;
    }
    if (gWrittenLow < gWrittenHigh)
      std::memset(gMemory + gWrittenLow, 0, gWrittenHigh - gWrittenLow);
    gWrittenLow = kMemorySize;
    gWrittenHigh = 0;
    gDmaBytes = 0;
    dma.Reset();
    fdc.Reset();
  }

  disk::DmaController dma;
  disk::FloppyController fdc;
  disk::FloppyDrive* drives[2] = {};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static Bench& bench = *new Bench();
  // Byte 0: bits 0-5 the file call that fails (0: none).
  bench.Prepare();
  disk::FailFileCallAfter(data[0] & 0x3F);
  for (std::size_t i = 1; i + 1 < size; i += 2) {
    const std::uint8_t op = data[i];
    const std::uint8_t value = data[i + 1];
    const std::uint16_t port = kPorts[(op & 0x7F) % (sizeof kPorts / sizeof kPorts[0])];
    switch (op >> 6) {
      case 0:
      case 1:
        if (IsFloppyPort(port))
          bench.fdc.WritePort(port, value);
        else
          bench.dma.WritePort(port, value);
        break;
      case 2:
        (void)(IsFloppyPort(port) ? bench.fdc.ReadPort(port) : bench.dma.ReadPort(port));
        break;
      default:
        for (int t = 0; t < (value & 0x0F); ++t) bench.fdc.Tick();
        break;
    }
    if (platform::MemoryFileReplacements() >= kMostRewrites || gDmaBytes >= kMostDmaBytes) break;
  }
  disk::FailFileCallAfter(0);
  return 0;
}
