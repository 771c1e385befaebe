// Mounting hard-disk images: a mount whose file calls fail, and the sector arithmetic.
#include <gtest/gtest.h>

#include "media/file_routines.h"
#include "media/hard_disk_drive.h"
#include "support/scratch.h"

namespace {

TEST(HardDiskDrive, AFailedHeaderReadLeavesTheDriveEmpty) {
  testing_support::ScratchDir dir;
  std::string path = dir.File("disk.zhd");
  testing_support::WriteAll(path, std::vector<std::uint8_t>(4096, 0));
  disk::HardDiskDrive drive(1);
  disk::FailFileCallAfter(2);  // the open succeeds, the header read fails
  EXPECT_FALSE(drive.OpenImage(path.c_str()));
  disk::FailFileCallAfter(0);
  EXPECT_EQ(drive.file, platform::kNoFile);
  ASSERT_TRUE(drive.OpenImage(path.c_str()));
  EXPECT_EQ(drive.daUa, 0x81);
  drive.CloseImage();
  EXPECT_EQ(drive.file, platform::kNoFile);
}

TEST(HardDiskDrive, SectorOffsetIs32BitArithmetic) {
  disk::HardDiskDrive drive(0);
  drive.heads = 8;
  drive.sectors = 33;
  drive.sectorSize = 256;
  drive.dataOffset = 256;
  EXPECT_EQ(drive.SectorOffset(0x80, 1, 2, 3), 256u + 333u * 256u);
  EXPECT_EQ(drive.SectorOffset(0x00, 333, 0, 0), 256u + 333u * 256u);
  EXPECT_EQ(drive.SectorOffset(0x03, 0x0001, 0x01, 0x00), 256u + 0x01000001u * 256u);
  // Sector 0x01000000 × 256 wraps around to 0.
  EXPECT_EQ(drive.SectorOffset(0x00, 0, 0x01, 0x00), 256u);
}

}  // namespace
