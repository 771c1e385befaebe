// What create, convert and read-drive write is what the module mounts: the guest reads the same
// sectors through INT 1Bh.
#include "diskimg_fixture.h"
#include "fat/fat_tools.h"
#include "host/module_fixture.h"

namespace {

using diskimg_test::Expect;
using testing_support::kBuffer;
using testing_support::ModuleTest;
using testing_support::ReadAll;
using testing_support::WriteAll;

using WrittenImagesTest = ModuleTest;

TEST_F(WrittenImagesTest, FloppiesMadeAndConvertedByTheToolReadTheirSectorsThroughTheBios) {
  const std::string mfd = dir.File("fat.mfd");
  Expect(0, {"create", "floppy", mfd, "--media", "1.44M", "--format", "FAT"});
  WriteAll(dir.File("data.bin"), testing_support::PatternBytes(30000, 9));
  Expect(0, {"put", mfd, dir.File("data.bin")});
  const std::string raw = dir.File("fat.img");
  Expect(0, {"convert", mfd, raw, "--to", "raw"});
  EXPECT_TRUE(!fat_test::HaveTool("fsck.fat") || fat_test::Shell("fsck.fat -n " + raw));
  const auto sectors = ReadAll(raw);
  for (const char* to : {"mfd-r0", "mfd", "d88", "fdi"}) {
    SCOPED_TRACE(to);
    const std::string converted = dir.File(std::string("disk.") + to);
    Expect(0, {"convert", raw, converted, "--to", to});
    BootWith(converted);
    // Boot sector, the FAT and the root, and the file's data from cylinder 0 side 1 on.
    for (const auto& [c, h] : {std::pair{0, 0}, {0, 1}, {1, 0}}) {
      const auto read =
          Bios(0x30, 0x56, 18 * 512, 0x0200 | c, static_cast<std::uint16_t>(h << 8 | 1));
      ASSERT_FALSE(read.carry) << c << "/" << h;
      EXPECT_EQ(host->ReadBlock(kBuffer, 18 * 512),
                Slice(sectors, (c * 2 + h) * 18 * 512, 18 * 512));
    }
  }
}

TEST_F(WrittenImagesTest, HardDisksMadeByTheToolReadThroughTheBiosAndHoldFilesInAPc98Partition) {
  const std::string mhd = dir.File("disk.mhd");
  Expect(0, {"create", "hd", mhd, "--size", "20", "--format", "FAT"});
  EXPECT_EQ(ReadAll(mhd).size(), 512u + 20 * 1048576);
  WriteAll(dir.File("data.bin"), testing_support::PatternBytes(200000, 5));
  Expect(0, {"put", mhd + ":1", dir.File("data.bin"), "/DATA.BIN"});
  Expect(0, {"ls", mhd, "DATA.BIN"});
  Expect(2, {"ls", mhd + ":2"});
  const std::string hdi = dir.File("disk.hdi");
  Expect(0, {"convert", mhd, hdi, "--to", "hdi"});
  const auto data = Slice(ReadAll(mhd), 512, 0x40000);
  BootWith("", "", hdi, "");
  for (std::uint16_t lba : {0, 1, 256, 300}) {
    const auto read = Bios(0x00, 0x06, 1024, lba, 0);
    ASSERT_FALSE(read.carry) << lba;
    EXPECT_EQ(host->ReadBlock(kBuffer, 1024), Slice(data, lba * 512u, 1024)) << lba;
  }
  if (!fat_test::HaveTool("mcopy")) return;
  // The partition begins at cylinder 1: 8 heads x 32 sectors of 512 bytes further on.
  Expect(0, {"convert", hdi, dir.File("hd.raw"), "--to", "raw"});
  ASSERT_TRUE(fat_test::Shell("mcopy -i " + dir.File("hd.raw") + "@@131072 ::/DATA.BIN " +
                              dir.File("back.bin")));
  EXPECT_EQ(ReadAll(dir.File("back.bin")), ReadAll(dir.File("data.bin")));
}

TEST_F(WrittenImagesTest, ReadDriveCopiesWhatTheDriveHoldsIntoAnImageTheModuleMounts) {
  const auto medium = testing_support::BuildHeaderless(testing_support::UniformDisk(77, 8, 3));
  const std::string device = dir.File("device");
  WriteAll(device, medium);
  testing_support::SetVariable("DISK_RAW_DRIVE_B", device);
  image = dir.File("copy.mfd");
  Expect(0, {"read-drive", "B:", image});
  testing_support::SetVariable("DISK_RAW_DRIVE_B", "");
  EXPECT_EQ(ReadAll(image).size(), 68112u + medium.size());
  BootWith(image);
  const auto read = Bios(0x90, 0x56, 8 * 1024, 0x0305, 0x0101);  // C 5, H 1, R 1
  ASSERT_FALSE(read.carry);
  EXPECT_EQ(host->ReadBlock(kBuffer, 8 * 1024), Slice(medium, 11 * 8 * 1024, 8 * 1024));
  WriteAll(device, Slice(medium, 0, 100000));  // a medium that ends early
  Expect(3, {"read-drive", device, dir.File("short.mfd")});
}

}  // namespace
