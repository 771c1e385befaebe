// Floppy calls on the worker thread raced against the emulation thread; ThreadSanitizer (as
// scripts/test.sh runs it) shows what the two share.
#include <random>
#include <thread>

#include "host/module_fixture.h"

namespace {

using namespace testing_support;

class WorkerRaceTest : public ModuleTest {
 protected:
  // What the guest's own code may do while a call is pending: the interrupt service, a sense
  // interrupt status and a seek at the controller's ports (a seek needs the drive), a snapshot.
  void GuestMeanwhile(unsigned what) {
    switch (what % 4) {
      case 0:
        host->RaiseSoftwareInterrupt(0x13);
        break;
      case 1:
        host->Out(0x92, 0x08);
        host->In(0x92);
        host->In(0x92);
        break;
      case 2:
        for (std::uint8_t byte : {0x0F, 0x00, 0x09}) host->Out(0x92, byte);
        break;
      default:
        host->SaveSnapshot();
    }
  }
};

TEST_F(WorkerRaceTest, CompletionsTicksAndResetsRaceTheWorkerSafely) {
  auto dump = PatternBytes(kFloppySize, 21);
  BootWith(ImageFile("disk.hdm", dump), "", "", "", "FDWAIT=1\n");
  std::mt19937 random(7);
  int completed = 0, abandoned = 0;
  for (int round = 0; round < 200; ++round) {
    const std::uint8_t cylinder = static_cast<std::uint8_t>(random() % 77);
    const std::uint16_t bx = static_cast<std::uint16_t>(0x2001 + (random() % 4) * 0x400);
    // Multi-track, 1024-byte sectors from R 1: on the worker thread, past 0x2000 bytes.
    ASSERT_EQ(Start(0x90, 0xD6, bx, std::uint16_t(0x300 | cylinder), 0x0001), mhw::kBiosNoCarry);
    for (unsigned steps = random() % 4; steps > 0; --steps) {
      host->Tick(1);
      GuestMeanwhile(random());
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
    EXPECT_EQ(host->ReadBlock(0x20000, bx), Slice(dump, cylinder * 2u * 8 * 1024, bx));
  }
  EXPECT_GT(completed, 0);
  EXPECT_GT(abandoned, 0);
  host->PowerOff();  // with nothing pending; the destructor's power-off finds nothing either
}

TEST_F(WorkerRaceTest, TheControllerKeepsTimeWhileTheWorkerReadsOrFormats) {
  auto dump = PatternBytes(kFloppySize, 3);
  BootWith(ImageFile("disk.hdm", dump), "", "", "", "FDWAIT=1\n");
  host->Out(0x94, 0x06);  // the controller's periodic interrupt, every 11 ticks
  // A 9 KB multi-track read from C 5, and a format of C 5 with its ID list at ES:1234.
  for (const auto& call :
       {mhwhost::BiosCall::Of(0x90, 0xD6, 0x2400, 0x0305, 0x0001),
        mhwhost::BiosCall::Of(0x90, 0x5D, 8 * 4, 0x0305, 0x00E5, 0x2000, 0x1234)}) {
    host->holdForeignMemoryCalls = true;
    const std::uint32_t before = host->foreignMemoryCalls();
    host->LoadCall(call);
    ASSERT_EQ(host->RunDiskBiosOnce(), mhw::kBiosNoCarry);
    while (host->foreignMemoryCalls() == before) std::this_thread::yield();
    // The worker waits inside the call; the machine goes on.
    host->TakeInterruptLines();
    host->Tick(24);
    EXPECT_GE(host->TakeInterruptLines().size(), 2u) << int(call.ah);
    for (unsigned what = 0; what < 2; ++what) GuestMeanwhile(what);  // neither needs the drive
    EXPECT_EQ(host->RunDiskBiosOnce(), mhw::kBiosNoCarry);
    host->holdForeignMemoryCalls = false;
    std::uint32_t code;
    while ((code = host->RunDiskBiosOnce()) == mhw::kBiosNoCarry) host->Tick(1);
    EXPECT_EQ(code, mhw::kBiosCarryClear) << int(call.ah);
  }
  // The read's data, and the controller's and DMA registers as the two calls left them.
  EXPECT_EQ(host->ReadBlock(0x20000, 0x2400), Slice(dump, 5 * 2 * 8 * 1024, 0x2400));
  host->RaiseSoftwareInterrupt(0x13);
  EXPECT_EQ(host->ReadBlock(0x564, 5), (Bytes{0x00, 0x00, 0x00, 5, 0}));
  EXPECT_EQ(DmaRegister(0x09), 0x1234);  // channel 2 over the ID list
}

}  // namespace
