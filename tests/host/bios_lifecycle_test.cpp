// Power-on, power-off and snapshots through the host: work-area bytes, the disk parameter
// tables, mounting and the snapshot record.
#include <algorithm>
#include <filesystem>

#include "host/bios_fixture.h"

namespace {

using testing_support::BiosTest;
using testing_support::PatternBytes;
using testing_support::ZhdImage;

constexpr std::uint32_t kRomStart = 0xFD800;
constexpr std::uint32_t kSegmentBase = 0xFD800;  // segment 0xFD80

const std::vector<std::uint8_t> k1MPattern = {
    0x00, 0x00, 0x00, 0x00, 0x1A, 0x07, 0x1A, 0x1B, 0x1A, 0x0E, 0x1A, 0x36, 0x0F, 0x0E, 0x0F, 0x2A,
    0x0F, 0x1B, 0x0F, 0x54, 0x08, 0x1B, 0x08, 0x3A, 0x08, 0x35, 0x08, 0x74, 0x00, 0x00, 0x00, 0x00};
const std::vector<std::uint8_t> k640KPattern = {
    0x00, 0x00, 0x00, 0x00, 0x10, 0x07, 0x10, 0x1B, 0x10, 0x0E, 0x10, 0x36, 0x09, 0x0E, 0x09, 0x2A,
    0x09, 0x2A, 0x09, 0x50, 0x05, 0x1B, 0x05, 0x3A, 0x05, 0x35, 0x05, 0x74, 0x00, 0x00, 0x00, 0x00};
const std::vector<std::uint8_t> kShortTable = {0x01, 0x01, 0x01, 0x08, 0xFF, 0xFF, 0x02, 0x02, 0x00,
                                               0x00, 0x01, 0x01, 0x01, 0x08, 0xFF, 0xFF, 0x02, 0x00,
                                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00};

// 1.2 MB headerless floppy image: 77 cylinders, 2 sides, 8 sectors of 1024 bytes.
constexpr std::size_t kFloppySize = 1261568;

class LifecycleTest : public BiosTest {
 protected:
  // The linear address a far pointer in the work area points at; the segment must be 0xFD80.
  std::uint32_t Target(std::uint32_t pointer) {
    EXPECT_EQ(host->ReadWord(pointer + 2), 0xFD80) << std::hex << pointer;
    return kSegmentBase + host->ReadWord(pointer);
  }
  struct Span {
    std::uint32_t start, size;
  };
  void ExpectApart(std::vector<Span> spans) {
    std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.start < b.start; });
    for (std::size_t i = 1; i < spans.size(); ++i)
      EXPECT_LE(spans[i - 1].start + spans[i - 1].size, spans[i].start)
          << std::hex << spans[i - 1].start << " overlaps " << spans[i].start;
  }
  void ExpectShortTables() {
    const std::uint32_t first = Target(0x5E8), second = Target(0x5EC);
    EXPECT_EQ(host->ReadBlock(first, 26), kShortTable);
    EXPECT_EQ(host->ReadBlock(second, 26), kShortTable);
    EXPECT_LT(second + 26, 0x100000u);
  }
};

TEST_F(LifecycleTest, StartUpSetsTheWorkAreaBytes) {
  Attach();
  host->WriteByte(0x500, 0x41);
  host->WriteByte(0x480, 0x01);
  host->WriteByte(0x484, 0x02);
  host->WriteByte(0x55C, 0xF0);
  host->Boot();
  EXPECT_EQ(host->ReadByte(0x500), 0x47);
  EXPECT_EQ(host->ReadByte(0x55C), 0x03);
  EXPECT_EQ(host->ReadByte(0x493), 0xFF);
  EXPECT_EQ(host->ReadByte(0x480), 0x81);
  EXPECT_EQ(host->ReadByte(0x484), 0x12);
  EXPECT_EQ(host->ReadByte(0x5AE), 0x03);
  // No disk in either floppy drive.
  EXPECT_EQ(host->ReadByte(0x564), 0xC8);
  EXPECT_EQ(host->ReadByte(0x56C), 0xC8);
}

TEST_F(LifecycleTest, BuildsMissingParameterTablesApartWithConsistentPointers) {
  Attach();
  host->Boot();
  EXPECT_EQ(host->ReadWord(0x5F8), 0x1AD6);
  EXPECT_EQ(host->ReadWord(0x5CC), 0x1AAE);
  const std::uint32_t t1M = Target(0x5F8), t640K = Target(0x5CC);
  for (std::uint32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(host->ReadWord(t1M + 2 * i), 0x1AD6 + 8);
    EXPECT_EQ(host->ReadWord(t640K + 2 * i), 0x1AAE + 8);
  }
  EXPECT_EQ(host->ReadBlock(t1M + 8, 32), k1MPattern);
  EXPECT_EQ(host->ReadBlock(t640K + 8, 32), k640KPattern);
  ExpectShortTables();
  ExpectApart({{t1M, 40}, {t640K, 40}, {Target(0x5E8), 26}, {Target(0x5EC), 26}});
}

TEST_F(LifecycleTest, FindsParameterTablesTheRomAlreadyHolds) {
  Attach();
  // The BIOS ROM carries both patterns; the lowest copy of each counts.
  const std::uint32_t at1M = 0xFE123, at640K = 0xFD900;
  host->WriteBlock(at1M, k1MPattern);
  host->WriteBlock(0xFF800, k1MPattern);
  host->WriteBlock(at640K, k640KPattern);
  auto romBefore = host->ReadBlock(kRomStart, 0x100000 - kRomStart);
  host->Boot();
  EXPECT_EQ(Target(0x5F8), at1M - 8);
  EXPECT_EQ(Target(0x5CC), at640K - 8);
  ExpectShortTables();
  ExpectApart({{at1M - 8, 40}, {at640K - 8, 40}, {Target(0x5E8), 26}, {Target(0x5EC), 26}});
  // Nothing but the two short tables was written into the ROM area.
  auto romAfter = host->ReadBlock(kRomStart, 0x100000 - kRomStart);
  std::size_t changed = 0;
  for (std::size_t i = 0; i < romAfter.size(); ++i) changed += romAfter[i] != romBefore[i];
  EXPECT_LE(changed, 52u);
  EXPECT_EQ(host->ReadBlock(at1M, 32), k1MPattern);
  EXPECT_EQ(host->ReadBlock(at640K, 32), k640KPattern);
}

TEST_F(LifecycleTest, ShortTablesStayInTheRomAreaWhenTablesLieAtBothEnds) {
  // The 640 KB table leaves no room after it; the 1 MB table none below it.
  struct Case {
    std::uint32_t at1M, at640K;  // pattern addresses; 0: built
  };
  for (Case c : {Case{0, 0x100000 - 32 - 16}, Case{kRomStart + 8, 0x100000 - 32 - 16}}) {
    host.reset();
    Attach();
    host->WriteBlock(0xFD700, PatternBytes(0x100, 9));  // guest bytes just below the area
    if (c.at1M != 0) host->WriteBlock(c.at1M, k1MPattern);
    host->WriteBlock(c.at640K, k640KPattern);
    const auto before = host->ReadBlock(0xFD700, 0x100000 - 0xFD700);
    host->Boot();
    EXPECT_EQ(Target(0x5CC), c.at640K - 8);
    const std::uint32_t t1M = Target(0x5F8);
    EXPECT_EQ(host->ReadBlock(t1M + 8, 32), k1MPattern);
    ExpectShortTables();
    ExpectApart({{t1M, 40}, {c.at640K - 8, 40}, {Target(0x5E8), 26}, {Target(0x5EC), 26}});
    EXPECT_EQ(host->ReadBlock(0xFD700, 0x100), Slice(before, 0, 0x100));
    const auto after = host->ReadBlock(0xFD700, 0x100000 - 0xFD700);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < after.size(); ++i) changed += after[i] != before[i];
    EXPECT_LE(changed, c.at1M != 0 ? 52u : 52u + 40u);  // the short tables and a built table
  }
}

TEST_F(LifecycleTest, FloppyImagesMountAndBadPathsAreEmptied) {
  auto floppy = ImageFile("disk.hdm", PatternBytes(kFloppySize, 4));
  BootWith(floppy, dir.File("missing.hdm"), "", "");
  EXPECT_EQ(host->ReadByte(0x564), 0xC0);
  EXPECT_EQ(host->ReadByte(0x56C), 0xC8);
  auto record = host->SaveSnapshot();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record[7])), floppy);
  EXPECT_EQ(record[267], 0);
}

#if defined(__linux__)
TEST_F(LifecycleTest, StartingUpAgainWithoutPowerOffLeavesNoFileOpenTwice) {
  auto openFiles = [] {
    std::size_t count = 0;
    for (auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
      count += !entry.is_directory();
    return count;
  };
  auto floppy = ImageFile("disk.hdm", PatternBytes(kFloppySize, 4));
  auto zhd = ImageFile("disk.zhd", ZhdImage(306, PatternBytes(4096)));
  BootWith(floppy, floppy, zhd, zhd);
  const std::size_t before = openFiles();
  host->Boot();
  host->Boot();
  EXPECT_EQ(openFiles(), before);
}
#endif

TEST_F(LifecycleTest, PowerOffClosesTheHardDisksAndKeepsThePaths) {
  auto zhd = ImageFile("disk.zhd", ZhdImage(306, PatternBytes(4096)));
  BootWith("", "", zhd, "");
  EXPECT_FALSE(Bios(0x80, 0x06, 256).carry);
  host->PowerOff();
  EXPECT_EQ(Bios(0x80, 0x06, 256).AH(), 0x96);
  EXPECT_EQ(host->ReadByte(0x55D) & 1, 1);
  host->Boot();  // the same image comes back
  EXPECT_FALSE(Bios(0x80, 0x06, 256).carry);
}

TEST_F(LifecycleTest, ReportNamesTheDrivesAndTheHardDiskSizes) {
  auto zhd = ImageFile("hd2.zhd", ZhdImage(306, std::vector<std::uint8_t>(10 * 1024 * 1024)));
  Attach("[DISK]\nblnImage00=0\nszFdd00=A\nblnImage01=1\nDISK03=" + zhd + "\n");
  host->Reset();
  std::vector<std::string> expected = {"DISK", "  FDD1 : Drive-A", "  FDD2 : Image file",
                                       "  HDD1 : None", "  HDD2 : 10486016 Bytes"};
  EXPECT_EQ(host->reportLines, expected);
  host->reportLines.clear();
  host->Startup();  // mounted or not, the report is the same
  host->Reset();
  EXPECT_EQ(host->reportLines, expected);
}

class SnapshotTest : public LifecycleTest {};

TEST_F(SnapshotTest, RecordsPathsUpToTheirNulAndTheHeads) {
  auto zhd = ImageFile("disk.zhd", ZhdImage(306, PatternBytes(4096)));
  BootWith("", "", zhd, "");
  auto record = host->SaveSnapshot();  // the host hands over a buffer full of 0xCC
  ASSERT_EQ(record.size(), 1053u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data())), "000808");
  EXPECT_EQ(record[7], 0);
  EXPECT_EQ(record[8], 0xCC);  // past the NUL the field is not written
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record[527])), zhd);
  EXPECT_EQ(record[527 + zhd.size() + 1], 0xCC);
  for (int i = 1047; i < 1053; ++i) EXPECT_EQ(record[i], 0) << i;
}

TEST_F(SnapshotTest, RefusesOtherVersionsAndChangesNothing) {
  auto zhd = ImageFile("disk.zhd", ZhdImage(306, PatternBytes(4096)));
  BootWith("", "", zhd, "");
  auto record = host->SaveSnapshot();
  record[527] = 0;  // a record that would unmount nothing but empty hard disk 1's path
  for (std::string version : {"000807", "00080"}) {
    auto other = record;
    version.resize(7, '\0');
    std::copy(version.begin(), version.end(), other.begin());
    EXPECT_FALSE(host->LoadSnapshot(other)) << version;
  }
  auto trailing = record;
  trailing[6] = 'x';
  EXPECT_FALSE(host->LoadSnapshot(trailing));
  auto again = host->SaveSnapshot();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&again[527])), zhd);
}

TEST_F(SnapshotTest, LoadMountsByPathAndRestoresTheHeadsEvenWhenAMountFails) {
  auto zhd = ImageFile("disk.zhd", ZhdImage(306, PatternBytes(4096, 5)));
  Attach();
  host->Boot();
  std::vector<std::uint8_t> record(1053, 0);
  std::copy_n("000808", 7, record.begin());
  std::copy(zhd.begin(), zhd.end(), record.begin() + 787);  // hard disk 2
  const std::string gone = dir.File("gone.hdm");
  std::copy(gone.begin(), gone.end(), record.begin() + 7);  // floppy 1
  const std::uint8_t heads[6] = {12, 40, 1, 0, 3, 7};
  std::copy(heads, heads + 6, record.begin() + 1047);
  ASSERT_TRUE(host->LoadSnapshot(record));
  EXPECT_FALSE(Bios(0x81, 0x06, 256).carry);
  EXPECT_EQ(host->ReadByte(0x55D) & 2, 2);
  auto saved = host->SaveSnapshot();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&saved[7])), gone);  // kept, though unmounted
  EXPECT_EQ(std::vector<std::uint8_t>(saved.begin() + 1047, saved.end()),
            std::vector<std::uint8_t>(heads, heads + 6));
}

TEST_F(SnapshotTest, AnEmptyPathLeavesAMountedDiskAlone) {
  auto zhd = ImageFile("disk.zhd", ZhdImage(306, PatternBytes(4096)));
  BootWith("", "", zhd, "");
  std::vector<std::uint8_t> record(1053, 0);
  std::copy_n("000808", 7, record.begin());
  ASSERT_TRUE(host->LoadSnapshot(record));
  EXPECT_FALSE(Bios(0x80, 0x06, 256).carry);  // still mounted
  EXPECT_EQ(host->SaveSnapshot()[527], 0);    // while its path is empty
}

}  // namespace
