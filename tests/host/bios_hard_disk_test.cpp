// Hard disks through INT 1Bh: addressing, transfers, sense, status codes, booting.
#include "host/bios_fixture.h"

#if !defined(_WIN32)
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

using testing_support::BiosTest;
using testing_support::HdiImage;
using testing_support::MhdImage;
using testing_support::PatternBytes;
using testing_support::ReadAll;
using testing_support::ZhdImage;

constexpr std::uint32_t kBuffer = 0x20000;  // ES = 0x2000, BP = 0

class HardDiskBiosTest : public BiosTest {
 protected:
  // A ZHD disk of 306 cylinders (8 heads, 33 sectors of 256 bytes) holding its first `bytes`.
  void BootZhd(std::size_t bytes = 200 * 1024) {
    data = PatternBytes(bytes, 7);
    path = ImageFile("disk.zhd", ZhdImage(306, data));
    BootWith("", "", path, "");
  }
  std::vector<std::uint8_t> data;
  std::string path;
};

TEST_F(HardDiskBiosTest, CylinderHeadSectorAndLinearAddressesReadTheSameBytes) {
  BootZhd();
  const std::size_t at = ((1 * 8 + 2) * 33 + 3) * 256;  // C 1, H 2, S 3 = sector 333
  auto chs = Bios(0x80, 0x06, 1024, 1, 0x0203);
  EXPECT_FALSE(chs.carry);
  EXPECT_EQ(chs.AH(), 0x00);
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), Slice(data, at, 1024));

  host->WriteBlock(kBuffer, std::vector<std::uint8_t>(1024, 0));
  auto linear = Bios(0x00, 0x06, 1024, 333, 0);
  EXPECT_FALSE(linear.carry);
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), Slice(data, at, 1024));
  // The high word of a linear sector number is DX.
  auto high = Bios(0x00, 0x06, 256, 0x0000, 0x0001);
  EXPECT_FALSE(high.carry);
  EXPECT_EQ(host->ReadBlock(kBuffer, 256), std::vector<std::uint8_t>(256, 0));  // past the file
}

TEST_F(HardDiskBiosTest, WriteAndFormatReachTheFileAtTheirSectors) {
  BootZhd();
  auto bytes = PatternBytes(512, 99);
  host->WriteBlock(kBuffer + 0x100, bytes);
  auto write = Bios(0x81 - 1, 0x05, 512, 0, 0x0105, 0x2000, 0x100);  // C 0, H 1, S 5
  EXPECT_FALSE(write.carry);
  auto file = ReadAll(path);
  const std::size_t at = 256 + ((0 * 8 + 1) * 33 + 5) * 256;
  EXPECT_EQ(Slice(file, at, 512), bytes);
  EXPECT_EQ(Slice(file, at - 256, 256), Slice(data, at - 256 - 256, 256));  // neighbours kept
  EXPECT_EQ(Slice(file, at + 512, 256), Slice(data, at + 512 - 256, 256));

  // Format fills one whole track (33 sectors of 256 bytes) from its sector 0, whatever DL says.
  auto format = Bios(0x80, 0x0D, 0, 2, 0x0307);
  EXPECT_FALSE(format.carry);
  EXPECT_EQ(format.AH(), 0x00);
  file = ReadAll(path);
  const std::size_t track = 256 + (2 * 8 + 3) * 33 * 256;
  EXPECT_EQ(Slice(file, track, 33 * 256), std::vector<std::uint8_t>(33 * 256, 0xE5));
  EXPECT_EQ(Slice(file, track - 256, 256), Slice(data, track - 512, 256));
  EXPECT_EQ(Slice(file, track + 33 * 256, 256), Slice(data, track + 33 * 256 - 256, 256));
}

TEST_F(HardDiskBiosTest, ReadsPastTheEndOfTheFileGiveZerosAndStayInTheBuffer) {
  BootZhd(4096);
  host->WriteBlock(kBuffer, std::vector<std::uint8_t>(0x3000, 0xAA));
  // Sectors 14-17: the file ends inside sector 15.
  auto partial = Bios(0x00, 0x06, 1024, 14, 0);
  EXPECT_FALSE(partial.carry);
  auto expected = Slice(data, 14 * 256, 1024);
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), expected);
  EXPECT_EQ(expected[1023], 0);
  EXPECT_EQ(host->ReadByte(kBuffer + 1024), 0xAA);
}

TEST_F(HardDiskBiosTest, TransfersAcross2GiBReachTheFileAndWritesPastItsEndExtendIt) {
  // 33000 cylinders: a disk of 2.23 GB whose file holds its first 2,200,000,000 bytes.
  const std::uint64_t diskEnd = 256 + 33000ull * 8 * 33 * 256;
  path = SparseFile("big.zhd", ZhdImage(33000, {}), 2200000000);
  BootWith("", "", path, "");
  EXPECT_EQ(host->reportLines[3], "  HDD1 : 2200000000 Bytes");
  auto bytes = PatternBytes(0x2000, 5);
  host->WriteBlock(kBuffer, bytes);
  EXPECT_FALSE(
      Bios(0x00, 0x05, 0x2000, 0xFFF0, 0x007F).carry);  // sector 0x7FFFF0: 3840 bytes below 2 GiB
  EXPECT_EQ(testing_support::ReadAt(path, 256 + 0x7FFFF0ull * 256, 0x2000), bytes);
  host->WriteBlock(kBuffer, std::vector<std::uint8_t>(0x2000, 0));
  EXPECT_FALSE(Bios(0x00, 0x06, 0x2000, 0xFFF0, 0x007F).carry);
  EXPECT_EQ(host->ReadBlock(kBuffer, 0x2000), bytes);

  // The disk's last sector (C 32999, H 7, S 32) lies past the end of the file.
  EXPECT_FALSE(Bios(0x80, 0x06, 256, 32999, 0x0720).carry);
  EXPECT_EQ(host->ReadBlock(kBuffer, 256), std::vector<std::uint8_t>(256, 0));
  EXPECT_FALSE(Bios(0x80, 0x05, 256, 32999, 0x0720, 0x2000, 0x100).carry);
  EXPECT_EQ(std::filesystem::file_size(path), diskEnd);
  EXPECT_EQ(testing_support::ReadAt(path, diskEnd - 256, 256), Slice(bytes, 0x100, 256));
}

TEST_F(HardDiskBiosTest, SizesPast4GiBAreSeenWholeAndDisksPastItRefused) {
  const std::uint64_t k4GiB = 1ull << 32;
  // A 1.2 MB floppy's size plus 4 GiB is no floppy image; a ZHD of 4 GiB + 100 bytes is that big.
  auto floppy = SparseFile("big.hdm", {}, k4GiB + 1228800);
  auto zhd = SparseFile("big.zhd", ZhdImage(306, {}), k4GiB + 100);
  // A whole HDI of 62000 x 8 x 17 x 512 bytes: a guest's 32-bit positions would wrap on it.
  auto hdi = SparseFile("big.hdi", HdiImage(62000, 8, 17, 512, {}), 4096 + 62000ull * 8 * 17 * 512);
  BootWith(floppy, "", zhd, hdi);
  EXPECT_EQ(host->reportLines[3], "  HDD1 : 4294967396 Bytes");
  EXPECT_EQ(host->reportLines[4], "  HDD2 : Not mounted, geometry reaches past 4 GiB");
  EXPECT_EQ(host->ReadByte(0x564), 0xC8);  // floppy drive 1 holds no disk
  EXPECT_EQ(host->ReadByte(0x55D) & 3, 1);
  EXPECT_EQ(Bios(0x81, 0x06).AH(), 0x96);
}

TEST_F(HardDiskBiosTest, AbsurdHeadersAreRefusedWithTheirReason) {
  const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
      {MhdImage(0x10000, 4, 17, 512, {}), "zero cylinders"},
      {MhdImage(306, 0, 17, 512, {}), "zero heads"},
      {HdiImage(306, 4, 0, 512, {}), "zero sectors per track"},
      {HdiImage(306, 4, 17, 0, {}), "sector size 0 is not a drive's"},
      {MhdImage(0xFFFF, 255, 255, 65535, {}), "sector size 65535 is not a drive's"},
      {MhdImage(0xFFFF, 255, 255, 2048, {}), "geometry reaches past 4 GiB"},
      {ZhdImage(63551, std::vector<std::uint8_t>(256)), "geometry reaches past 4 GiB"},
      {std::vector<std::uint8_t>(300, 0), "too short for a hard-disk image"},
  };
  for (const auto& [image, reason] : cases) {
    BootWith("", "", "", ImageFile("bad.img", image));
    EXPECT_EQ(host->reportLines[4], "  HDD2 : Not mounted, " + reason);
    EXPECT_EQ(host->ReadByte(0x55D) & 2, 0) << reason;
    host.reset();
  }
}

TEST_F(HardDiskBiosTest, AReadOnlyImageReadsButRefusesWritesAndFormats) {
  namespace fs = std::filesystem;
  data = PatternBytes(4096, 7);
  path = ImageFile("ro.zhd", ZhdImage(306, data));
  // The mark counts, not whether the file opens for writing: root could write it all the same.
  const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(path, write, fs::perm_options::remove);
  BootWith("", "", path, "");
  EXPECT_FALSE(Bios(0x80, 0x06, 1024).carry);
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), Slice(data, 0, 1024));
  for (std::uint8_t command : {0x02, 0x05, 0x0D}) {
    auto refused = Bios(0x80, command, 512);
    EXPECT_TRUE(refused.carry) << int(command);
    EXPECT_EQ(refused.AH(), 0x70) << int(command);
  }
  EXPECT_EQ(ReadAll(path), ZhdImage(306, data));
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}

#if !defined(_WIN32)
TEST_F(HardDiskBiosTest, AWriteTheFileDoesNotTakeIsNoSuccess) {
  BootZhd(4096);
  // Files may not grow past 64 KiB for a moment: the write at sector 300 finds the disk full.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small{65536, old.rlim_max};
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  auto full = Bios(0x00, 0x05, 512, 300);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(full.carry);
  EXPECT_EQ(full.AH(), 0x60);
  EXPECT_EQ(ReadAll(path).size(), 256u + 4096u);
}
#endif

TEST_F(HardDiskBiosTest, SenseReportsTheDriveTypeAndExtendedSenseTheGeometry) {
  auto zhd600 = ImageFile("600.zhd", ZhdImage(600, std::vector<std::uint8_t>(512, 0)));
  auto mhd = ImageFile("512.mhd", MhdImage(375, 4, 17, 512, {}));
  BootWith("", "", zhd600, mhd);
  auto extended = Bios(0x80, 0x84, 0x1234, 0x1234, 0x1234);
  EXPECT_FALSE(extended.carry);
  EXPECT_EQ(extended.AH(), 7);
  EXPECT_EQ(extended.BX(), 256);
  EXPECT_EQ(extended.CX(), 599);
  EXPECT_EQ(extended.DX(), 0x0821);  // DH heads 8, DL sectors 33
  auto plain = Bios(0x80, 0x04, 0x1234, 0x1234, 0x1234);
  EXPECT_EQ(plain.AH(), 5);
  EXPECT_EQ(plain.BX(), 0x1234);        // plain sense leaves the geometry registers alone
  EXPECT_EQ(Bios(0x80, 0x14).AH(), 5);  // any AH with command 4 but 0x84 is plain

  // 512-byte sectors have no drive type, but extended sense still gives the geometry.
  auto other = Bios(0x81, 0x84);
  EXPECT_EQ(other.AH(), 0x0F);
  EXPECT_EQ(other.BX(), 512);
  EXPECT_EQ(other.CX(), 374);
  EXPECT_EQ(other.DX(), 0x0411);
}

TEST_F(HardDiskBiosTest, DriveTypesFollowTheCylinderCount) {
  const std::pair<std::uint16_t, std::pair<int, int>> types[] = {
      {150, {1, 1}}, {225, {2, 2}}, {300, {3, 3}}, {375, {4, 5}}, {600, {5, 7}}, {306, {0, 0}}};
  for (const auto& [cylinders, expected] : types) {
    auto zhd = ImageFile("t.zhd", ZhdImage(cylinders, std::vector<std::uint8_t>(512, 0)));
    BootWith("", "", zhd, "");
    EXPECT_EQ(Bios(0x80, 0x04).AH(), expected.first) << cylinders;
    EXPECT_EQ(Bios(0x80, 0x84).AH(), expected.second) << cylinders;
    host.reset();
  }
}

TEST_F(HardDiskBiosTest, StatusCodesOfMissingImagesUnitsAndCommands) {
  BootZhd(1024);
  // Unit 1 has no image: 0x90 with the command number.
  auto none = Bios(0x81, 0x06, 512);
  EXPECT_TRUE(none.carry);
  EXPECT_EQ(none.AH(), 0x96);
  EXPECT_EQ(Bios(0x01, 0x84).AH(), 0x94);
  // Units 2 and 3 do not exist: AH 0x90 and neither carry result.
  auto unit2 = Bios(0x82, 0x06);
  EXPECT_EQ(unit2.code, 1u);
  EXPECT_EQ(unit2.AH(), 0x90);
  for (std::uint8_t command : {0x00, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0F}) {
    auto bad = Bios(0x80, command);
    EXPECT_TRUE(bad.carry) << int(command);
    EXPECT_EQ(bad.AH(), 0x40) << int(command);
  }
  for (std::uint8_t command : {0x01, 0x07, 0x0E}) {
    auto quiet = Bios(0x80, command, 512);
    EXPECT_FALSE(quiet.carry) << int(command);
    EXPECT_EQ(quiet.AH(), 0x00) << int(command);
  }
  EXPECT_EQ(ReadAll(path), ZhdImage(306, data));  // none of them touched the file
}

TEST_F(HardDiskBiosTest, InitializeMarksTheUnitPresentAndPowerOffKeepsTheMark) {
  BootZhd(1024);
  EXPECT_EQ(host->ReadByte(0x55D) & 3, 1);
  auto init = Bios(0x81, 0x03);  // unit 1 has no image: only the drive answers 0x93
  EXPECT_EQ(init.AH(), 0x93);
  EXPECT_EQ(host->ReadByte(0x55D) & 3, 1);
  host->WriteByte(0x55D, 0x00);
  EXPECT_FALSE(Bios(0x80, 0x03).carry);
  EXPECT_EQ(host->ReadByte(0x55D), 0x01);
  host->PowerOff();
  EXPECT_EQ(host->ReadByte(0x55D), 0x01);
  EXPECT_EQ(Bios(0x80, 0x06).AH(), 0x96);  // closed
}

TEST_F(HardDiskBiosTest, RecognisesEachFormatByItsHeader) {
  auto sectors = PatternBytes(8 * 1024, 3);
  // MHD: only the low 16 bits of its cylinder field count; data at the header size.
  auto mhd = ImageFile("a.img", MhdImage(65536 + 306, 4, 17, 512, sectors));
  // HDI: whatever its name says, data at 4096.
  auto hdi = ImageFile("b.mhd", HdiImage(153, 8, 25, 1024, sectors));
  BootWith("", "", mhd, hdi);
  auto a = Bios(0x80, 0x84);
  EXPECT_EQ(a.CX(), 305);
  EXPECT_EQ(a.DX(), 0x0411);
  Bios(0x80, 0x06, 512, 0, 0x0002);  // sector 2 of 512 bytes
  EXPECT_EQ(host->ReadBlock(kBuffer, 512), Slice(sectors, 1024, 512));
  auto b = Bios(0x81, 0x84);
  EXPECT_EQ(b.BX(), 1024);
  EXPECT_EQ(b.CX(), 152);
  EXPECT_EQ(b.DX(), 0x0819);
  Bios(0x81, 0x06, 1024, 0, 0x0003);
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), Slice(sectors, 3 * 1024, 1024));
  EXPECT_EQ(host->ReadByte(0x55D) & 3, 3);
}

TEST_F(HardDiskBiosTest, AShortFileDoesNotMountAndItsPathIsEmptied) {
  auto small = ImageFile("small.hdi", std::vector<std::uint8_t>(300, 0));
  BootWith("", "", small, dir.File("missing.hdi"));
  EXPECT_EQ(host->ReadByte(0x55D) & 3, 0);
  EXPECT_EQ(Bios(0x80, 0x06).AH(), 0x96);
  auto record = host->SaveSnapshot();
  EXPECT_EQ(record[527], 0);  // hard disk 1's path
  EXPECT_EQ(record[787], 0);
}

// Boot program: the first 1024 bytes of the disk at 1FC0:0000, with the DA/UA at 0x584.
class HardDiskBootTest : public HardDiskBiosTest {
 protected:
  void BootTwo(std::uint8_t selector, bool secondDisk = true) {
    one = PatternBytes(2048, 1);
    two = PatternBytes(2048, 2);
    auto p1 = ImageFile("1.zhd", ZhdImage(306, one));
    auto p2 = secondDisk ? ImageFile("2.zhd", ZhdImage(306, two)) : std::string();
    Attach("[DISK]\nDISK02=" + p1 + "\nDISK03=" + p2 + "\n");
    host->bootSelector = selector;  // asked at start-up
    host->Boot();
  }
  void Configure(mhwhost::ReferenceHost& h) override { h.WriteByte(0x584, 0xEE); }
  std::vector<std::uint8_t> one, two;
};

TEST_F(HardDiskBootTest, SelectorAnyBootsTheFirstHardDisk) {
  BootTwo(0x00);
  EXPECT_EQ(host->SegmentValue(mhw::reg::kCS), 0x1FC0);
  EXPECT_EQ(host->IP(), 0);
  EXPECT_EQ(host->ReadByte(0x584), 0x80);
  EXPECT_EQ(host->ReadBlock(0x1FC00, 1024), Slice(one, 0, 1024));
}

TEST_F(HardDiskBootTest, SelectorNamesTheUnit) {
  BootTwo(0xB0);
  EXPECT_EQ(host->ReadByte(0x584), 0x81);
  EXPECT_EQ(host->ReadBlock(0x1FC00, 1024), Slice(two, 0, 1024));
  host.reset();
  BootTwo(0xA5);  // the low nibble does not count
  EXPECT_EQ(host->ReadByte(0x584), 0x80);
  EXPECT_EQ(host->ReadBlock(0x1FC00, 1024), Slice(one, 0, 1024));
}

TEST_F(HardDiskBootTest, SelectorForAMissingOrOtherDeviceBootsNoHardDisk) {
  for (std::uint8_t selector : {0xB0, 0x20}) {
    BootTwo(selector, /*secondDisk=*/false);
    EXPECT_EQ(host->ReadByte(0x584), 0xEE) << int(selector);
    EXPECT_NE(host->SegmentValue(mhw::reg::kCS), 0x1FC0) << int(selector);
    EXPECT_EQ(host->ReadByte(0x55D) & 1, 1);  // mounted all the same
    host.reset();
  }
}

TEST_F(HardDiskBiosTest, OtherDeviceClassesGoToRegisteredHandlers) {
  BootZhd(1024);
  auto none = Bios(0xA0, 0x06);
  EXPECT_FALSE(none.carry);
  EXPECT_EQ(none.AH(), 0x40);

  static std::uint32_t seen;
  static std::uint32_t answer;
  auto handler = +[](std::uint32_t daClass) -> std::uint32_t {
    seen = daClass;
    return answer;
  };
  auto reg = host->biosExtension()->RegisterDiskBiosHandler;
  ASSERT_EQ(reg(0xA0, handler), 1u);
  EXPECT_EQ(reg(0xA3, handler), 0u);
  EXPECT_EQ(reg(0x90, handler), 0u);
  answer = 0;
  auto ok = Bios(0xA2, 0x06);
  EXPECT_FALSE(ok.carry);
  EXPECT_EQ(seen, 0xA0u);
  EXPECT_EQ(ok.AH(), 0x06);  // the handler's own business
  answer = 5;
  EXPECT_TRUE(Bios(0xA1, 0x06).carry);
}

}  // namespace
