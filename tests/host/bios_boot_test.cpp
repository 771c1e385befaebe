// Which disk the machine starts from: floppy 1, floppy 2, hard disk 1, 2 unless a selector's high
// nibble names a hard disk (0x80 / 0xA0 the first, 0xB0 the second).
#include "host/module_fixture.h"

namespace {

using namespace testing_support;

class BootTest : public ModuleTest {
 protected:
  void Configure(mhwhost::ReferenceHost& h) override { h.WriteByte(0x584, 0xEE); }
};

TEST_F(BootTest, TheSelectorOrThePreferenceChoosesTheDisk) {
  const std::string disks[] = {ImageFile("fd1.hdm", PatternBytes(kFloppySize, 1)),
                               ImageFile("fd2.hdm", PatternBytes(kFloppySize, 2)),
                               ImageFile("hd1.zhd", ZhdImage(306, PatternBytes(4096, 3))),
                               ImageFile("hd2.zhd", ZhdImage(306, PatternBytes(4096, 4)))};
  const struct {
    const char* present;  // which of the four disks are in
    std::uint8_t selector;
    std::uint8_t device;  // DA/UA at 0x584; 0xEE: nothing booted
    std::uint32_t seed;   // whose first bytes the boot program holds
  } cases[] = {
      {"1111", 0x00, 0x90, 1}, {"0111", 0x00, 0x91, 2}, {"0011", 0x00, 0x80, 3},
      {"0001", 0x00, 0x81, 4}, {"1001", 0x00, 0x90, 1}, {"1011", 0xB0, 0x81, 4},
      {"0011", 0xA5, 0x80, 3},  // the low nibble does not count
      {"0010", 0xB0, 0xEE, 0}, {"0010", 0x20, 0xEE, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.present) + " " + std::to_string(c.selector));
    std::string path[4];
    for (int i = 0; i < 4; ++i) path[i] = c.present[i] == '1' ? disks[i] : "";
    bootSelector = c.selector;
    BootWith(path[0], path[1], path[2], path[3]);
    EXPECT_EQ(host->ReadByte(0x584), c.device);
    EXPECT_EQ(host->SegmentValue(mhw::reg::kCS) == 0x1FC0 && host->IP() == 0, c.seed != 0);
    if (c.seed != 0) {
      EXPECT_EQ(host->ReadBlock(0x1FC00, 1024), Slice(PatternBytes(kFloppySize, c.seed), 0, 1024));
    }
    EXPECT_EQ(host->ReadByte(0x55D) & 1, c.present[2] == '1');  // mounted, booted or not
  }
}

}  // namespace
