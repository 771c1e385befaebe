// The two-step floppy call of INT 1Bh: the ticks it waits, the worker thread, the hand-back.
#include "host/module_fixture.h"

namespace {

using namespace testing_support;

class FloppyCallTest : public ModuleTest {
 protected:
  void BootHdm(bool fdWait) {
    image = PatternBytes(kFloppySize, 11);
    auto path = ImageFile("disk.hdm", image);
    BootWith(path, "", "", "", fdWait ? "FDWAIT=1\n" : "FDWAIT=0\n");
  }
  Bytes image;
};

// 1024-byte sectors, eight to a track, tracks in cylinder-head order.
constexpr std::size_t TrackAt(int cylinder, int head) {
  return (static_cast<std::size_t>(cylinder) * 2 + head) * 8 * 1024;
}

// With FDWAIT an image transfer lasts one tick per 512 bytes (the first re-run costs one anyway)
// on the emulation thread, up to 0x2000 bytes; recalibrate one tick, sense none. Without it every
// call ends at its first re-run.
TEST_F(FloppyCallTest, ImageTransfersWaitOneTickPer512BytesWithFdWaitOnly) {
  for (bool fdWait : {true, false}) {
    BootHdm(fdWait);
    for (std::uint16_t bx : {0x2000, 0x1000, 0x3FF, 0x200, 0x1FF}) {
      auto read = Bios(0x90, 0x56, bx, 0x0303, 0x0001);  // C 3, N 3, H 0, R 1
      EXPECT_EQ(read.ticks, fdWait ? std::max(1u, bx / 512u) : 1u) << bx;
      EXPECT_EQ(read.AH() + read.carry, 0) << bx;
    }
    EXPECT_EQ(host->foreignMemoryCalls(), 0u);
    EXPECT_EQ(host->ReadBlock(0x20000, 0x2000), Slice(image, TrackAt(3, 0), 0x2000));
    EXPECT_EQ(Bios(0x90, 0x07).ticks + Bios(0x90, 0x04).ticks, 2u);
  }
}

TEST_F(FloppyCallTest, A2001ByteReadGoesToTheWorker) {
  BootHdm(true);
  // One byte more, multi-track: the worker reads on into side 1, with no tick wait.
  host->WriteBlock(0x22001, {0xAA});
  EXPECT_EQ(Status(Bios(0x90, 0xD6, 0x2001, 0x0305, 0x0001)), 0x000);
  EXPECT_GT(host->foreignMemoryCalls(), 0u);
  EXPECT_EQ(host->ReadBlock(0x20000, 0x2001), Slice(image, TrackAt(5, 0), 0x2001));
  EXPECT_EQ(host->ReadByte(0x22001), 0xAA);  // one byte of the last sector, no more
}

// A plain file stands in for the disk in real drive A, 1.23 MB or 1.44 MB: every transfer runs
// on the worker, at the sector's logical position.
TEST_F(FloppyCallTest, EveryRealDriveTransferRunsOnTheWorker) {
  for (const bool k144 : {false, true}) {
    image = PatternBytes(k144 ? 1474560 : kFloppySize, 5);
    SetVariable("DISK_RAW_DRIVE_A", ImageFile("drive-a", image));
    BootWith("A", "", "", "",
             "FDWAIT=1\nblnImage00=0\nszFdd00=A\nbyType00=" + std::to_string(k144) + "\n");
    // C 2, H 1, R 1, and the medium's last sector: small reads.
    const std::uint8_t al = k144 ? 0x30 : 0x90, n = k144 ? 2 : 3, last = k144 ? 18 : 8;
    for (auto [c, h, r] : {std::tuple{2, 1, 1}, std::tuple{k144 ? 79 : 76, 1, int{last}}}) {
      const auto before = host->foreignMemoryCalls();
      const auto read = Bios(al, 0x56, 0x200, static_cast<std::uint16_t>(n << 8 | c),
                             static_cast<std::uint16_t>(h << 8 | r));
      EXPECT_EQ(read.AH(), 0x00);
      const std::size_t at = (((c * 2 + h) * last) + r - 1) * (128u << n);
      EXPECT_EQ(host->ReadBlock(kBuffer, 0x200), Slice(image, at, 0x200)) << k144 << " " << c;
      EXPECT_GT(host->foreignMemoryCalls(), before);
    }
    // Real drives start write-protected.
    EXPECT_EQ(Bios(al, 0x55, 0x200, static_cast<std::uint16_t>(n << 8 | 2), 0x0101).AH(), 0x70);
    EXPECT_EQ(ReadAll(dir.File("drive-a")), image);
  }
  // A drive without a disk: the read fails unnoticed and gives zeros.
  SetVariable("DISK_RAW_DRIVE_A", dir.File("no-disk"));
  BootWith("A", "", "", "", "blnImage00=0\nszFdd00=A\n");
  host->WriteBlock(kBuffer, Bytes(1024, 0xCC));
  EXPECT_EQ(Bios(0x90, 0x56, 1024, 0x0300, 0x0001).AH(), 0x00);
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), Bytes(1024, 0));
  SetVariable("DISK_RAW_DRIVE_A", "");
}

TEST_F(FloppyCallTest, ARerunWaitsForTheDelayOfTheUnitItsOwnAlNames) {
  const auto path = ImageFile("disk.hdm", PatternBytes(kFloppySize, 2));
  BootWith(path, path, "", "", "FDWAIT=1\n");
  auto rerunAs = [this](std::uint8_t al) {
    host->registers()[mhw::reg::kAL] = al;
    return host->RunDiskBiosOnce();
  };
  // Unit 1 owes four ticks when a call for unit 0, which owes none, hands its read back.
  ASSERT_EQ(Start(0x91, 0x56, 0x800, 0x0300, 0x0001), mhw::kBiosNoCarry);
  EXPECT_EQ(rerunAs(0x90), mhw::kBiosCarryClear);
  // A read on unit 0 (one tick) is then waited for as long as unit 1 still owes.
  ASSERT_EQ(Start(0x90, 0x56, 0x200, 0x0300, 0x0001), mhw::kBiosNoCarry);
  for (int tick = 0; tick < 4; ++tick, host->Tick(1))
    EXPECT_EQ(rerunAs(0x91), mhw::kBiosNoCarry) << tick;
  EXPECT_EQ(rerunAs(0x91), mhw::kBiosCarryClear);
  EXPECT_EQ(host->registers()[mhw::reg::kAL], 0x90);  // the read's own registers
  // Units 2 and 3 owe nothing: their calls end a pending wait at once.
  for (std::uint8_t al : {0x92, 0x93}) {
    ASSERT_EQ(Start(0x90, 0x56, 0x400, 0x0300, 0x0001), mhw::kBiosNoCarry);
    EXPECT_EQ(rerunAs(al), mhw::kBiosCarryClear) << int(al);
  }
}

// Units 2 and 3 are refused at once; every call acknowledges a floppy interrupt the guest has
// not looked at yet (0x55E bits 0-3, 0x55F bits 4-7).
TEST_F(FloppyCallTest, UnitsTwoAndThreeAreRefusedAtOnceAndPendingFlagsAcknowledged) {
  BootHdm(false);
  for (std::uint8_t al : {0x92, 0x13, 0x7A}) {
    auto result = Bios(al, 0x56, 512);
    EXPECT_EQ(result.code, mhw::kBiosCarrySet) << int(al);
    EXPECT_EQ(result.AH(), 0x40);
    EXPECT_EQ(result.reruns, 0u);
  }
  struct Case {
    std::uint8_t f55E, f55F;
    bool cleared;
  };
  for (Case c : {Case{0x01, 0x01, true}, Case{0x00, 0x20, true}, Case{0x10, 0x01, false}}) {
    host->WriteByte(0x55E, c.f55E);
    host->WriteByte(0x55F, c.f55F);
    Bios(0x90, 0x04);
    EXPECT_EQ(host->ReadByte(0x55E), c.cleared ? 0 : c.f55E) << int(c.f55E);
    EXPECT_EQ(host->ReadByte(0x55F), c.cleared ? 0 : c.f55F) << int(c.f55F);
  }
}

}  // namespace
