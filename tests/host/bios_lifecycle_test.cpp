// Power-on, power-off and snapshots through the host.
#include <algorithm>

#include "host/module_fixture.h"

namespace {

using namespace testing_support;

constexpr std::uint32_t kRomStart = 0xFD800;  // segment 0xFD80

const std::vector<std::uint8_t> k1MPattern = {
    0x00, 0x00, 0x00, 0x00, 0x1A, 0x07, 0x1A, 0x1B, 0x1A, 0x0E, 0x1A, 0x36, 0x0F, 0x0E, 0x0F, 0x2A,
    0x0F, 0x1B, 0x0F, 0x54, 0x08, 0x1B, 0x08, 0x3A, 0x08, 0x35, 0x08, 0x74, 0x00, 0x00, 0x00, 0x00};
const std::vector<std::uint8_t> k640KPattern = {
    0x00, 0x00, 0x00, 0x00, 0x10, 0x07, 0x10, 0x1B, 0x10, 0x0E, 0x10, 0x36, 0x09, 0x0E, 0x09, 0x2A,
    0x09, 0x2A, 0x09, 0x50, 0x05, 0x1B, 0x05, 0x3A, 0x05, 0x35, 0x05, 0x74, 0x00, 0x00, 0x00, 0x00};
const std::vector<std::uint8_t> kShortTable = {0x01, 0x01, 0x01, 0x08, 0xFF, 0xFF, 0x02, 0x02, 0x00,
                                               0x00, 0x01, 0x01, 0x01, 0x08, 0xFF, 0xFF, 0x02, 0x00,
                                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00};

using LifecycleTest = ModuleTest;

TEST_F(LifecycleTest, StartUpSetsTheWorkAreaBytesAndEmptiesTheFloppyPathsItCannotMount) {
  auto floppy = ImageFile("disk.hdm", PatternBytes(kFloppySize, 4));
  bootSelector = 0x80;  // not from the floppy, which would change 0x500
  Attach("[DISK]\nDISK00=" + floppy + "\nDISK01=" + dir.File("missing.hdm") + "\n");
  const std::uint32_t bytes[][3] = {{0x500, 0x41, 0x47}, {0x480, 0x01, 0x81}, {0x484, 0x02, 0x12},
                                    {0x55C, 0xF0, 0x03}, {0x493, 0x00, 0xFF}, {0x5AE, 0x00, 0x03},
                                    {0x564, 0x00, 0xC0}, {0x56C, 0x00, 0xC8}};  // disk, no disk
  for (const auto& b : bytes) host->WriteByte(b[0], static_cast<std::uint8_t>(b[1]));
  host->Boot();
  for (const auto& b : bytes) EXPECT_EQ(host->ReadByte(b[0]), b[2]) << std::hex << b[0];
  auto record = host->SaveSnapshot();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record[7])), floppy);
  EXPECT_EQ(record[267], 0);
}

// The 1 MB and 640 KB tables are found in the BIOS ROM (the lowest copy counts) or built; the two
// short tables go into a free gap of the ROM area. Nothing else there changes, nothing below it.
TEST_F(LifecycleTest, ParameterTablesAreFoundOrBuiltApartInTheRomArea) {
  // The linear address a far pointer in the work area points at; the segment must be 0xFD80.
  auto Target = [this](std::uint32_t pointer) {
    EXPECT_EQ(host->ReadWord(pointer + 2), 0xFD80) << std::hex << pointer;
    return kRomStart + host->ReadWord(pointer);
  };
  struct Case {
    std::uint32_t at1M, at640K;  // pattern addresses; 0: built
  };
  for (Case c : {Case{0, 0}, Case{0xFE123, 0xFD900}, Case{0, 0x100000 - 32 - 16},
                 Case{kRomStart + 8, 0x100000 - 32 - 16}}) {
    SCOPED_TRACE(c.at1M + c.at640K);
    Attach();
    host->WriteBlock(0xFD700, PatternBytes(0x100, 9));  // guest bytes just below the area
    if (c.at1M != 0) host->WriteBlock(c.at1M, k1MPattern);
    if (c.at1M != 0) host->WriteBlock(0xFF800, k1MPattern);  // a second copy
    if (c.at640K != 0) host->WriteBlock(c.at640K, k640KPattern);
    const auto before = host->ReadBlock(0xFD700, 0x100000 - 0xFD700);
    host->Boot();
    const std::uint32_t t1M = Target(0x5F8), t640K = Target(0x5CC);
    if (c.at1M + c.at640K == 0) {
      EXPECT_EQ(host->ReadWord(0x5F8) << 16 | host->ReadWord(0x5CC), 0x1AD61AAE);
    }
    for (auto [table, found] : {std::pair{t1M, c.at1M}, std::pair{t640K, c.at640K}}) {
      if (found != 0) {
        EXPECT_EQ(table, found - 8);
        continue;
      }
      for (std::uint32_t i = 0; i < 4; ++i)  // a built table's four pointers to its pattern
        EXPECT_EQ(host->ReadWord(table + 2 * i), table - kRomStart + 8);
    }
    EXPECT_EQ(host->ReadBlock(t1M + 8, 32), k1MPattern);
    EXPECT_EQ(host->ReadBlock(t640K + 8, 32), k640KPattern);
    const std::uint32_t first = Target(0x5E8), second = Target(0x5EC);
    EXPECT_EQ(host->ReadBlock(first, 26), kShortTable);
    EXPECT_EQ(host->ReadBlock(second, 26), kShortTable);
    EXPECT_LT(second + 26, 0x100000u);
    std::pair<std::uint32_t, std::uint32_t> spans[] = {
        {t1M, 40}, {t640K, 40}, {first, 26}, {second, 26}};
    std::sort(std::begin(spans), std::end(spans));
    for (std::size_t i = 1; i < std::size(spans); ++i)  // apart
      EXPECT_LE(spans[i - 1].first + spans[i - 1].second, spans[i].first)
          << std::hex << spans[i].first;
    EXPECT_EQ(host->ReadBlock(0xFD700, 0x100), Slice(before, 0, 0x100));
    const auto after = host->ReadBlock(0xFD700, 0x100000 - 0xFD700);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < after.size(); ++i) changed += after[i] != before[i];
    EXPECT_LE(changed, 52u + 40u * ((c.at1M == 0) + (c.at640K == 0)));
  }
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

TEST_F(LifecycleTest, ResetReportsTheDrivesMountedOrNot) {
  const std::string gone = dir.File("gone.hdi");
  Attach("[DISK]\nblnImage00=0\nszFdd00=A\nblnImage01=1\nDISK02=" + gone +
         "\nDISK03=" + ImageFile("hd2.zhd", ZhdImage(306, Bytes(512))) + "\n");
  host->Reset();
  EXPECT_EQ(host->reportLines,
            (std::vector<std::string>{"DISK", "  FDD1 : Drive-A", "  FDD2 : Image file",
                                      "  HDD1 : Cannot open " + gone, "  HDD2 : 768 Bytes"}));
}

// A record of the version this module writes, with these paths (empty: none).
Bytes Record(const std::string& fd1, const std::string& fd2, const std::string& hd2) {
  Bytes record(1053, 0);
  std::copy_n("000808", 7, record.begin());
  std::copy(fd1.begin(), fd1.end(), record.begin() + 7);
  std::copy(fd2.begin(), fd2.end(), record.begin() + 267);
  std::copy(hd2.begin(), hd2.end(), record.begin() + 787);
  return record;
}
using SnapshotTest = LifecycleTest;

TEST_F(SnapshotTest, RecordsPathsUpToTheirNulAndTheHeadsAndRefusesOtherVersions) {
  auto zhd = ImageFile("disk.zhd", ZhdImage(306, PatternBytes(4096)));
  BootWith("", "", zhd);
  auto record = host->SaveSnapshot();  // the host hands over a buffer full of 0xCC
  ASSERT_EQ(record.size(), 1053u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data())), "000808");
  EXPECT_EQ(Slice(record, 7, 2), (Bytes{0, 0xCC}));  // past the NUL the field is not written
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record[527])), zhd);
  EXPECT_EQ(record[527 + zhd.size() + 1], 0xCC);
  EXPECT_EQ(Slice(record, 1047, 6), Bytes(6, 0));
  record[527] = 0;  // a record that would unmount nothing but empty hard disk 1's path
  for (const char* version : {"000807", "00080\0", "000808x"}) {
    auto other = record;
    std::copy_n(version, 7, other.begin());
    EXPECT_FALSE(host->LoadSnapshot(other)) << version;
  }
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&host->SaveSnapshot()[527])), zhd);
  // An empty path leaves a mounted disk alone, while its path stays empty.
  ASSERT_TRUE(host->LoadSnapshot(Record("", "", "")));
  EXPECT_FALSE(Bios(0x80, 0x06, 256).carry);
  EXPECT_EQ(host->SaveSnapshot()[527], 0);
}

TEST_F(SnapshotTest, LoadMountsByPathAndRestoresTheHeadsEvenWhenAMountFails) {
  DiskSpec disk = UniformDisk(2, 8, 3);
  disk.tracks[0].specials = {{0x6, 0, 0, 1, 3, 0x10, 0, 300}};
  const std::string plain = ImageFile("plain.d88", BuildD88(disk));
  WriteAll(image, BuildR1(disk));
  BootWith(plain, image);
  const std::string gone = dir.File("gone.hdm");
  const std::string zhd = ImageFile("disk.zhd", ZhdImage(306, PatternBytes(4096, 5)));
  Bytes record = Record(gone, plain, zhd);
  const Bytes heads = {12, 40, 1, 0, 3, 7};
  std::copy(heads.begin(), heads.end(), record.begin() + 1047);
  ASSERT_TRUE(host->LoadSnapshot(record));
  EXPECT_FALSE(Bios(0x81, 0x06, 256).carry);
  EXPECT_EQ(host->ReadByte(0x55D) & 2, 2);
  EXPECT_EQ(Bios(0x90, 0x04).AH(), 0x60);  // the failed mount left drive 1 empty
  auto saved = host->SaveSnapshot();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&saved[7])), gone);  // kept, though unmounted
  EXPECT_EQ(Slice(saved, 1047, 6), heads);
  // Drive 2 took the plain image: the special answer of the one before is gone.
  EXPECT_EQ(Bios(0x91, 0x56, 1024, 0x0300, 0x0001).AH(), 0x00);
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), SectorData(0, 1, 1024));
}

}  // namespace
