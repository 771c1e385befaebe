// Arbitrary guest port writes, reads and ticks against the floppy controller and the DMA
// controller, with an MFD image (R0 in unit 0 or R1 in unit 1) mounted from a scratch copy that
// is rewritten before every run. The first input byte may make one file call fail.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "media/file_routines.h"
#include "media/floppy_drive.h"
#include "platform/file.h"
#include "support/disk_images.h"

namespace {

constexpr std::uint32_t kMemorySize = 1u << 20;
std::uint8_t gMemory[kMemorySize];

std::uint8_t ReadByte(void*, std::uint32_t linear) {
  return gMemory[linear % kMemorySize];
}
void WriteByte(void*, std::uint32_t linear, std::uint8_t value) {
  gMemory[linear % kMemorySize] = value;
}

constexpr std::uint16_t kPorts[] = {0x90, 0x92, 0x94, 0xC8, 0xCA, 0xCC, 0xBE, 0x4BE, 0x01,
                                    0x03, 0x05, 0x07, 0x09, 0x0B, 0x0D, 0x0F, 0x11,  0x15,
                                    0x19, 0x1B, 0x1F, 0x21, 0x23, 0x25, 0x27, 0x29,  0x439};

bool IsFloppyPort(std::uint16_t port) {
  return port >= 0x90 && port != 0x439;
}

struct Bench {
  Bench() {
    const char* tmp = std::getenv("TMPDIR");
    folder = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp");
    char path[260];
    if (!platform::CreateUniqueFile(folder.c_str(), "fzr", path)) std::abort();
    paths[0] = path;
    if (!platform::CreateUniqueFile(folder.c_str(), "fzs", path)) std::abort();
    paths[1] = path;
    // Three cylinders of nine 512-byte sectors, in either revision.
    images[0] = testing_support::BuildR0(testing_support::UniformDisk(3, 9, 2));
    images[1] = testing_support::BuildR1(testing_support::UniformDisk(3, 9, 2));
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

  // A fresh copy of one image in its unit, the other unit empty. (Loading clears the drive's
  // tables, which dominates a run: only what is needed is loaded.)
  void Prepare(int unit) {
    if (drives[1 - unit]->Inserted()) drives[1 - unit]->Eject();
    const platform::FileHandle file = platform::CreateFileTruncate(paths[unit].c_str());
    platform::WriteFile(file, images[unit].data(), static_cast<std::uint32_t>(images[unit].size()));
    platform::CloseFile(file);
    drives[unit]->LoadImage(paths[unit].c_str());
    for (disk::FloppyDrive* drive : drives) {
      drive->cylinder = 0;
      drive->side = 0;
      drive->rotation = 0;
    }
    std::memset(gMemory, 0, sizeof gMemory);
    dma.Reset();
    fdc.Reset();
  }

  std::string folder;
  std::string paths[2];
  std::vector<std::uint8_t> images[2];
  disk::DmaController dma;
  disk::FloppyController fdc;
  disk::FloppyDrive* drives[2] = {};
};

Bench* gBench = nullptr;

// The scratch images go when the fuzzer exits (a format may have renamed a new file over them).
void RemoveScratchImages() {
  for (const std::string& path : gBench->paths) platform::RemoveFile(path.c_str());
}

Bench& TheBench() {
  if (gBench == nullptr) {
    gBench = new Bench();
    std::atexit(&RemoveScratchImages);
  }
  return *gBench;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  Bench& bench = TheBench();
  // Byte 0: bit 7 picks the disk (R0 in unit 0, R1 in unit 1); bits 0-5 the file call that
  // fails (0: none).
  bench.Prepare(data[0] >> 7);
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
  }
  disk::FailFileCallAfter(0);
  return 0;
}
