// Which disk the machine starts from: with the selector at 0 the preference is floppy drive 1,
// floppy drive 2, hard disk 1, hard disk 2; the boot program comes from the disk's start.
#include "host/bios_fixture.h"

namespace {

using testing_support::BiosTest;
using testing_support::PatternBytes;
using testing_support::ZhdImage;

constexpr std::size_t kFloppySize = 1261568;  // 1.2 MB headerless: 77 × 2 × 8 × 1024

class BootPreferenceTest : public BiosTest {};

TEST_F(BootPreferenceTest, FloppyOneThenTwoThenHardDiskOneThenTwo) {
  struct Case {
    bool fd1, fd2, hd1, hd2;
    std::uint8_t device;  // DA/UA at 0x584
    std::uint32_t seed;   // whose first bytes the boot program holds
  };
  const Case cases[] = {
      {true, true, true, true, 0x90, 1},   {false, true, true, true, 0x91, 2},
      {false, false, true, true, 0x80, 3}, {false, false, false, true, 0x81, 4},
      {true, false, false, true, 0x90, 1},
  };
  for (const Case& c : cases) {
    auto fd1 = ImageFile("fd1.hdm", PatternBytes(kFloppySize, 1));
    auto fd2 = ImageFile("fd2.hdm", PatternBytes(kFloppySize, 2));
    auto hd1 = ImageFile("hd1.zhd", ZhdImage(306, PatternBytes(4096, 3)));
    auto hd2 = ImageFile("hd2.zhd", ZhdImage(306, PatternBytes(4096, 4)));
    BootWith(c.fd1 ? fd1 : "", c.fd2 ? fd2 : "", c.hd1 ? hd1 : "", c.hd2 ? hd2 : "");
    EXPECT_EQ(host->ReadByte(0x584), c.device) << int(c.device);
    EXPECT_EQ(host->SegmentValue(mhw::reg::kCS), 0x1FC0);
    EXPECT_EQ(host->IP(), 0);
    EXPECT_EQ(host->ReadBlock(0x1FC00, 1024),
              Slice(PatternBytes(4096 + kFloppySize, c.seed), 0, 1024))
        << int(c.device);
    host.reset();
  }
}

}  // namespace
