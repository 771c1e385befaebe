// INT 1Bh with arbitrary register blocks against mounted floppy and hard-disk images (memory
// files, put back as they were before every input), with ticks, re-runs, the floppy interrupt
// service, resets and start-ups in between. The module is linked in and driven through the
// reference host, its floppy worker run inline. The machine is booted once; every input begins
// with a reset.
//
// Input: records of 13 bytes — op, AL, AH, BX, CX, DX, ES, BP (words little-endian); a short
// last record is padded with zeros. The op chooses a call, the controller's interrupt or
// (rarely) a reset with start-up, and the ticks per re-run and after the record.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "linked_module.h"
#include "platform/memory_files.h"
#include "platform/system.h"
#include "reference_host.h"
#include "support/disk_images.h"

namespace {

constexpr std::size_t kRecordSize = 13;
// Start-ups, image rewrites and guest memory calls (one per dword moved) cost far more than
// anything else: an input stops after this many.
constexpr int kMostStartups = 1;
constexpr std::uint32_t kMostRewrites = 1;
constexpr std::uint32_t kMostMemoryCalls = 1u << 14;

std::unique_ptr<mhwhost::ReferenceHost> Boot() {
  using namespace testing_support;
  platform::UseMemoryFiles(true);
  platform::RunThreadsInline(true);
  const std::string ini =
      "[DISK]\nDISK00=/fd1.mfd\nDISK01=/fd2.d88\nDISK02=/hd1.zhd\n"
      "DISK03=/hd2.mhd\nFDWAIT=1\n";
  platform::PutMemoryFile("/host.ini", {ini.begin(), ini.end()});
  // Floppy 1: MFD R1, which a format rewrites whole, so small (ten cylinders of 2 × 8 × 1024
  // bytes); floppy 2: the 1.2 MB disk (77 cylinders) as D88. (A headerless dump fills every slot
  // of the tables, which makes every start-up and reset cost several times as much.)
  platform::PutMemoryFile("/fd1.mfd", BuildR1(UniformDisk(10, 8, 3)));
  platform::PutMemoryFile("/fd2.d88", BuildD88(UniformDisk(77, 8, 3)));
  // Hard disk 1: ZHD of 306 cylinders holding its first 64 KiB; hard disk 2: MHD with
  // 512-byte sectors.
  platform::PutMemoryFile("/hd1.zhd", ZhdImage(306, PatternBytes(64 * 1024, 2)));
  platform::PutMemoryFile("/hd2.mhd", MhdImage(153, 4, 17, 512, PatternBytes(32 * 1024, 3)));
  auto host = std::make_unique<mhwhost::ReferenceHost>();
  host->yieldBetweenReruns = false;
  host->Attach(mhwhost::LinkedModule(), "/host.ini");
  host->Boot();
  return host;
}

std::uint16_t Word(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::unique_ptr<mhwhost::ReferenceHost> booted = Boot();
  mhwhost::ReferenceHost& host = *booted;
  // The drives keep their files open: the contents put back are what they see next. What the
  // host keeps for a test to look at is dropped, or it would grow without end.
  platform::RestoreMemoryFiles();
  host.reportLines.clear();
  host.TakeInterruptLines();
  host.Reset();
  int startups = 0;
  const std::uint32_t memoryCalls = host.memoryCalls();
  for (std::size_t at = 0; at < size; at += kRecordSize) {
    std::uint8_t r[kRecordSize] = {};
    std::memcpy(r, data + at, std::min(kRecordSize, size - at));
    const std::uint8_t op = r[0];
    // Zero is the commonest byte of an input: it makes a plain call. A start-up rebuilds every
    // drive's tables and is slow, so it takes one value of the 256.
    if (op == 0x7F) {
      if (++startups > kMostStartups) break;
      host.Reset();  // in the middle of things, then the start-up again
      host.Startup();
    } else if (op % 32 == 1) {
      host.registers()[mhw::reg::kAH] =
          r[2];  // the controller's interrupt, as the host delivers it
      host.RaiseSoftwareInterrupt(r[1] & 1 ? 0x13 : 0x12);
    } else {
      const auto call = mhwhost::BiosCall::Of(r[1], r[2], Word(r + 3), Word(r + 5), Word(r + 7),
                                              Word(r + 9), Word(r + 11));
      host.DiskBios(call, 1 + op / 32 % 4);
    }
    host.Tick(r[0] >> 6);
    if (platform::MemoryFileReplacements() >= kMostRewrites ||
        host.memoryCalls() - memoryCalls >= kMostMemoryCalls)
      break;
  }
  return 0;
}
