// Floppy calls on the worker thread raced against ticks, completions and resets. Run under
// ThreadSanitizer (scripts/test.sh does) it shows the hand-over between the worker and the
// emulation thread; without it, it still checks that every completed call is whole.
#include <random>

#include "host/bios_fixture.h"

namespace {

using testing_support::BiosTest;
using testing_support::PatternBytes;

constexpr std::size_t kFloppySize = 1261568;  // 1.2 MB headerless: 77 × 2 × 8 × 1024

class WorkerRaceTest : public BiosTest {
 protected:
  // A multi-track read of `bx` bytes from cylinder `cylinder`, head 0, R 1, 1024-byte sectors:
  // on the worker thread once bx passes 0x2000.
  std::uint32_t StartRead(std::uint16_t bx, std::uint8_t cylinder) {
    return Start(0x90, 0xD6, bx, static_cast<std::uint16_t>(cylinder | 3 << 8), 0x0001);
  }
};

TEST_F(WorkerRaceTest, CompletionsTicksAndResetsRaceTheWorkerSafely) {
  auto image = PatternBytes(kFloppySize, 21);
  BootWith(ImageFile("disk.hdm", image), "", "", "", "FDWAIT=1\n");
  std::mt19937 random(7);
  int completed = 0, abandoned = 0;
  for (int round = 0; round < 200; ++round) {
    const std::uint8_t cylinder = static_cast<std::uint8_t>(random() % 77);
    const std::uint16_t bx = static_cast<std::uint16_t>(0x2001 + (random() % 4) * 0x400);
    ASSERT_EQ(StartRead(bx, cylinder), mhw::kBiosNoCarry);
    for (unsigned steps = random() % 4; steps > 0; --steps) {
      host->Tick(1);
      if (host->RunDiskBiosOnce() != mhw::kBiosNoCarry) break;
    }
    if (random() % 3 == 0) {
      host->Reset();  // mid-call, the worker perhaps still reading
      ++abandoned;
      continue;
    }
    while (host->RunDiskBiosOnce() == mhw::kBiosNoCarry) host->Tick(1);
    ++completed;
    // The registers handed back are the call's own, and the data the whole of it.
    EXPECT_EQ(host->registers()[mhw::reg::kAL], 0x90);
    EXPECT_EQ(host->registers()[mhw::reg::kAH], 0x00);
    EXPECT_EQ(host->ReadBlock(0x20000, bx), Slice(image, cylinder * 2u * 8 * 1024, bx));
  }
  EXPECT_GT(completed, 0);
  EXPECT_GT(abandoned, 0);
  host->PowerOff();  // with nothing pending; the destructor's power-off finds nothing either
}

}  // namespace
