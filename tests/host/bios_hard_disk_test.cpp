// Hard disks through INT 1Bh.
#include "host/module_fixture.h"

#if !defined(_WIN32)
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

using namespace testing_support;
namespace fs = std::filesystem;
using Regs = std::tuple<std::uint8_t, std::uint16_t, std::uint16_t>;

class HardDiskBiosTest : public ModuleTest {
 protected:
  // A ZHD disk of 306 cylinders (8 heads, 33 sectors of 256 bytes) holding its first `bytes`.
  void BootZhd(std::size_t bytes = 200 * 1024) {
    data = PatternBytes(bytes, 7);
    path = ImageFile("disk.zhd", ZhdImage(306, data));
    BootWith("", "", path);
  }
  Bytes data;
  std::string path;
};

TEST_F(HardDiskBiosTest, CylinderHeadSectorAndLinearAddressesReadTheSameBytes) {
  BootZhd(4096);
  host->WriteBlock(kBuffer, Bytes(0x3000, 0xAA));
  // C 0, H 0, S 14 = sector 14, and linear sector 14: the file ends inside sector 15.
  for (auto [al, cx, dx] : {Regs{0x80, 0, 0x000E}, Regs{0x00, 14, 0}}) {
    EXPECT_FALSE(Bios(al, 0x06, 1024, cx, dx).carry);
    EXPECT_EQ(host->ReadBlock(kBuffer, 1025), Join({Slice(data, 14 * 256, 1024), {0xAA}}));
    host->WriteBlock(kBuffer, Bytes(1024, 0));
  }
  BootZhd();
  EXPECT_FALSE(Bios(0x80, 0x06, 1024, 1, 0x0203).carry);  // C 1, H 2, S 3 = sector 333
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), Slice(data, 333 * 256, 1024));
  // The high word of a linear sector number is DX: sector 0x10000 lies past the file; positions
  // are 32 bits: sector 0x01000000 lies 4 GiB on, at sector 0.
  for (std::uint16_t dx : {0x0001, 0x0100}) {
    EXPECT_FALSE(Bios(0x00, 0x06, 256, 0x0000, dx).carry);
    EXPECT_EQ(host->ReadBlock(kBuffer, 256), dx == 1 ? Bytes(256, 0) : Slice(data, 0, 256));
  }
}

// Guest memory moves in double words, then a word and a byte, at offsets that run on past 64 KiB;
// every copy costs the host 10000 plus one per double word.
TEST_F(HardDiskBiosTest, GuestMemoryMovesInDoubleWordsAndEachCopyIsCharged) {
  BootZhd(4096);
  host->WriteBlock(0x2FFFC, Bytes(8, 0xCC));
  // Read 7 bytes of sector 0 and none, write them to sector 1 and 512 bytes to sector 2.
  for (auto [ah, bx, cx] :
       {Regs{0x06, 7, 0}, Regs{0x06, 0, 0}, Regs{0x05, 7, 1}, Regs{0x05, 512, 2}}) {
    const auto calls = host->memoryCalls();
    const auto charged = host->charged();
    EXPECT_FALSE(Bios(0x00, ah, bx, cx, 0, 0x2000, 0xFFFC).carry);
    EXPECT_EQ(host->memoryCalls() - calls, bx == 7 ? 3u : bx / 4u) << bx;
    EXPECT_EQ(host->charged() - charged, 10000 + bx / 4) << bx;
  }
  EXPECT_EQ(host->ReadBlock(0x2FFFC, 8), Join({Slice(data, 0, 7), {0xCC}}));
  EXPECT_EQ(Slice(ReadAll(path), 512, 8), Join({Slice(data, 0, 7), Slice(data, 263, 1)}));
  EXPECT_EQ(Slice(ReadAll(path), 768, 512), host->ReadBlock(0x2FFFC, 512));
}

TEST_F(HardDiskBiosTest, WriteAndFormatReachTheFileAtTheirSectors) {
  BootZhd();
  auto bytes = PatternBytes(512, 99);
  host->WriteBlock(kBuffer + 0x100, bytes);
  EXPECT_FALSE(Bios(0x80, 0x05, 512, 0, 0x0105, 0x2000, 0x100).carry);  // C 0, H 1, S 5
  const std::size_t at = 256 + (1 * 33 + 5) * 256;
  EXPECT_EQ(Slice(ReadAll(path), at - 256, 1024),
            Join({Slice(data, at - 512, 256), bytes, Slice(data, at + 256, 256)}));
  // Format fills one whole track (33 sectors of 256 bytes) from its sector 0, whatever DL says.
  EXPECT_EQ(Status(Bios(0x80, 0x0D, 0, 2, 0x0307)), 0x000);
  const std::size_t track = 256 + (2 * 8 + 3) * 33 * 256;
  EXPECT_EQ(Slice(ReadAll(path), track - 256, 34 * 256),
            Join({Slice(data, track - 512, 256), Bytes(33 * 256, 0xE5)}));
  EXPECT_EQ(Slice(ReadAll(path), track + 33 * 256, 256), Slice(data, track + 32 * 256, 256));
}

TEST_F(HardDiskBiosTest, TransfersAcross2GiBReachTheFileAndWritesPastItsEndExtendIt) {
  // 33000 cylinders: a disk of 2.23 GB whose file holds its first 2,200,000,000 bytes.
  const std::uint64_t diskEnd = 256 + 33000ull * 8 * 33 * 256;
  path = SparseFile("big.zhd", ZhdImage(33000, {}), 2200000000);
  BootWith("", "", path);
  EXPECT_EQ(host->reportLines[3], "  HDD1 : 2200000000 Bytes");
  auto bytes = PatternBytes(0x2000, 5);
  host->WriteBlock(kBuffer, bytes);
  // Sector 0x7FFFF0: 3840 bytes below 2 GiB.
  EXPECT_FALSE(Bios(0x00, 0x05, 0x2000, 0xFFF0, 0x007F).carry);
  EXPECT_EQ(ReadAt(path, 256 + 0x7FFFF0ull * 256, 0x2000), bytes);
  host->WriteBlock(kBuffer, Bytes(0x2000, 0));
  EXPECT_FALSE(Bios(0x00, 0x06, 0x2000, 0xFFF0, 0x007F).carry);
  EXPECT_EQ(host->ReadBlock(kBuffer, 0x2000), bytes);

  // The disk's last sector (C 32999, H 7, S 32) lies past the end of the file.
  EXPECT_FALSE(Bios(0x80, 0x06, 256, 32999, 0x0720).carry);
  EXPECT_EQ(host->ReadBlock(kBuffer, 256), Bytes(256, 0));
  EXPECT_FALSE(Bios(0x80, 0x05, 256, 32999, 0x0720, 0x2000, 0x100).carry);
  EXPECT_EQ(fs::file_size(path), diskEnd);
  EXPECT_EQ(ReadAt(path, diskEnd - 256, 256), Slice(bytes, 0x100, 256));
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

TEST_F(HardDiskBiosTest, AbsurdHeadersAreRefusedWithTheirReasonAndTheirPathEmptied) {
  const std::pair<Bytes, std::string> cases[] = {
      {MhdImage(0x10000, 4, 17, 512, {}), "zero cylinders"},
      {MhdImage(306, 0, 17, 512, {}), "zero heads"},
      {HdiImage(306, 4, 0, 512, {}), "zero sectors per track"},
      {HdiImage(306, 4, 17, 0, {}), "sector size 0 is not a drive's"},
      {MhdImage(0xFFFF, 255, 255, 65535, {}), "sector size 65535 is not a drive's"},
      {MhdImage(0xFFFF, 255, 255, 2048, {}), "geometry reaches past 4 GiB"},
      {ZhdImage(63551, Bytes(256)), "geometry reaches past 4 GiB"},
      {Bytes(300, 0), "too short for a hard-disk image"},
  };
  for (const auto& [header, reason] : cases) {
    BootWith("", "", "", ImageFile("bad.img", header));
    EXPECT_EQ(host->reportLines[4], "  HDD2 : Not mounted, " + reason);
    EXPECT_EQ(host->ReadByte(0x55D) & 2, 0) << reason;
    EXPECT_EQ(Bios(0x81, 0x06).AH(), 0x96);
    EXPECT_EQ(host->SaveSnapshot()[787], 0);  // hard disk 2's path
  }
}

TEST_F(HardDiskBiosTest, AReadOnlyImageReadsButRefusesWritesAndFormats) {
  data = PatternBytes(4096, 7);
  path = ImageFile("ro.zhd", ZhdImage(306, data));
  // The mark counts, not whether the file opens for writing: root could write it all the same.
  const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(path, write, fs::perm_options::remove);
  BootWith("", "", path);
  EXPECT_FALSE(Bios(0x80, 0x06, 1024).carry);
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), Slice(data, 0, 1024));
  for (std::uint8_t command : {0x02, 0x05, 0x0D})
    EXPECT_EQ(Status(Bios(0x80, command, 512)), 0x170) << int(command);
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
  const int full = Status(Bios(0x00, 0x05, 512, 300));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(full, 0x160);
  EXPECT_EQ(ReadAll(path).size(), 256u + 4096u);
}
#endif

// Sense: AH the drive type by cylinder count (plain, extended), and extended sense the geometry
// (BX sector size, CX last cylinder, DH heads, DL sectors). The formats by their headers: MHD
// (only the low 16 bits of its cylinder field count), HDI whatever its name says.
TEST_F(HardDiskBiosTest, SenseGivesTheDriveTypeAndTheGeometryOfEachFormat) {
  const Bytes sectors = PatternBytes(8 * 1024, 3);
  const struct {
    Bytes image;
    std::uint8_t plain, extended;
    std::uint16_t bx, cx, dx;
  } disks[] = {
      {ZhdImage(150, Bytes(512)), 1, 1, 256, 149, 0x0821},
      {ZhdImage(225, Bytes(512)), 2, 2, 256, 224, 0x0821},
      {ZhdImage(300, Bytes(512)), 3, 3, 256, 299, 0x0821},
      {ZhdImage(375, Bytes(512)), 4, 5, 256, 374, 0x0821},
      {ZhdImage(600, Bytes(512)), 5, 7, 256, 599, 0x0821},
      {ZhdImage(306, Bytes(512)), 0, 0, 256, 305, 0x0821},
      {MhdImage(65536 + 306, 4, 17, 512, sectors), 0x0F, 0x0F, 512, 305, 0x0411},
      {HdiImage(153, 8, 25, 1024, sectors), 0x0F, 0x0F, 1024, 152, 0x0819},
  };
  for (const auto& d : disks) {
    BootWith("", "", "", ImageFile("b.mhd", d.image));
    SCOPED_TRACE(d.cx);
    const auto plain = Bios(0x81, 0x04, 0x1234, 0x1234, 0x1234);
    EXPECT_EQ(plain.AH(), d.plain);
    EXPECT_EQ(plain.BX(), 0x1234);              // plain sense leaves the geometry registers alone
    EXPECT_EQ(Bios(0x81, 0x14).AH(), d.plain);  // any AH with command 4 but 0x84 is plain
    const auto extended = Bios(0x81, 0x84);
    EXPECT_EQ(std::vector<int>({Status(extended), extended.BX(), extended.CX(), extended.DX()}),
              std::vector<int>({d.extended, d.bx, d.cx, d.dx}));
    if (d.bx != 256) {  // sector 2 or 3 lies where the header ends
      Bios(0x81, 0x06, d.bx, 0, d.bx == 512 ? 2 : 3);
      EXPECT_EQ(host->ReadBlock(kBuffer, d.bx), Slice(sectors, (d.bx == 512 ? 2 : 3) * d.bx, d.bx));
    }
  }
}

TEST_F(HardDiskBiosTest, StatusCodesOfMissingImagesUnitsAndCommands) {
  BootZhd(1024);
  // Unit 1 has no image: 0x90 with the command number.
  EXPECT_EQ(Status(Bios(0x81, 0x06, 512)), 0x196);
  EXPECT_EQ(Bios(0x01, 0x84).AH(), 0x94);
  // Units 2 and 3 do not exist: AH 0x90 and neither carry result.
  auto unit2 = Bios(0x82, 0x06);
  EXPECT_EQ(unit2.code, 1u);
  EXPECT_EQ(unit2.AH(), 0x90);
  for (std::uint8_t command : {0x00, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0F, 0x01, 0x07, 0x0E}) {
    const bool bad = command == 0 || (command >= 8 && command != 0x0E);
    EXPECT_EQ(Status(Bios(0x80, command, 512)), bad ? 0x140 : 0x000) << int(command);
  }
  EXPECT_EQ(ReadAll(path), ZhdImage(306, data));  // none of them touched the file
  // Initialize marks the unit present; unit 1, without an image, answers 0x93.
  EXPECT_EQ(Bios(0x81, 0x03).AH(), 0x93);
  host->WriteByte(0x55D, 0x00);
  EXPECT_FALSE(Bios(0x80, 0x03).carry);
  EXPECT_EQ(host->ReadByte(0x55D), 0x01);
  host->PowerOff();  // closes the disk and keeps the mark
  EXPECT_EQ(host->ReadByte(0x55D), 0x01);
  EXPECT_EQ(Bios(0x80, 0x06).AH(), 0x96);
  host->Boot();  // the same image comes back
  EXPECT_FALSE(Bios(0x80, 0x06, 256).carry);
}

TEST_F(HardDiskBiosTest, OtherDeviceClassesGoToRegisteredHandlers) {
  BootZhd(1024);
  EXPECT_EQ(Status(Bios(0xA0, 0x06)), 0x040);

  static std::uint32_t seen;
  static std::uint32_t answer;
  auto handler = +[](std::uint32_t daClass) -> std::uint32_t {
    seen = daClass;
    return answer;
  };
  auto reg = host->biosExtension()->RegisterDiskBiosHandler;
  for (std::uint32_t own : {0x00u, 0x10u, 0x30u, 0x70u, 0x80u, 0x90u, 0xB0u})
    EXPECT_EQ(reg(own, handler), 0u) << own;
  ASSERT_EQ(reg(0x1A0, handler), 1u);  // only the low eight bits count
  EXPECT_EQ(reg(0xA3, handler), 0u);   // taken
  EXPECT_NE(host->biosExtension()->handlers[0xA], 0u);
  answer = 0;
  EXPECT_EQ(Status(Bios(0xA2, 0x06)), 0x006);  // AH: the handler's own business
  EXPECT_EQ(seen, 0xA0u);
  answer = 5;
  EXPECT_TRUE(Bios(0xA1, 0x06).carry);
}

}  // namespace
