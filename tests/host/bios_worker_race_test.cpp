// Floppy calls on the worker thread raced against ticks, completions and resets. Run under
// ThreadSanitizer (scripts/test.sh does) it shows the hand-over between the worker and the
// emulation thread; without it, it still checks that every completed call is whole.
#include <random>

#include "host/bios_fixture.h"

namespace {

using testing_support::BiosTest;
using testing_support::PatternBytes;

constexpr std::size_t kFloppySize = 1261568;  // 1.2 MB headerless: 77 × 2 × 8 × 1024
constexpr std::uint32_t kBuffer = 0x20000;

class WorkerRaceTest : public BiosTest {
 protected:
  std::uint32_t Start(std::uint8_t ah, std::uint16_t bx, std::uint8_t cylinder) {
    auto* r = host->registers();
    r[mhw::reg::kAL] = 0x90;
    r[mhw::reg::kAH] = ah;
    r[mhw::reg::kBX] = static_cast<std::uint8_t>(bx);
    r[mhw::reg::kBX + 1] = static_cast<std::uint8_t>(bx >> 8);
    r[mhw::reg::kCL] = cylinder;
    r[mhw::reg::kCH] = 3;  // N: 1024-byte sectors
    r[mhw::reg::kDL] = 1;  // R
    r[mhw::reg::kDH] = 0;  // H
    r[mhw::reg::kBP] = 0;
    r[mhw::reg::kBP + 1] = 0;
    host->SetSegment(mhw::reg::kES, kBuffer >> 4);
    host->queue().count = 0;
    return host->RaiseSoftwareInterrupt(0x1B);
  }
  std::uint32_t Rerun() {
    host->queue().count = 0;
    return host->RaiseSoftwareInterrupt(0x1B);
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
    ASSERT_EQ(Start(0x56, bx, cylinder), mhw::kBiosNoCarry);
    for (unsigned steps = random() % 4; steps > 0; --steps) {
      host->Tick(1);
      if (Rerun() != mhw::kBiosNoCarry) break;
    }
    if (random() % 3 == 0) {
      host->Reset();  // mid-call, the worker perhaps still reading
      ++abandoned;
      continue;
    }
    std::uint32_t code;
    while ((code = Rerun()) == mhw::kBiosNoCarry) host->Tick(1);
    ++completed;
    // The registers handed back are the call's own: AL unchanged, AH a status.
    EXPECT_EQ(host->registers()[mhw::reg::kAL], 0x90);
  }
  EXPECT_GT(completed, 0);
  EXPECT_GT(abandoned, 0);
  host->PowerOff();  // with nothing pending; the destructor's power-off finds nothing either
}

}  // namespace
