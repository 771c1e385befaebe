// Recognition of hard-disk images from their first bytes, and a mount whose file calls fail.
#include <gtest/gtest.h>

#include <cstring>

#include "hdd/hard_disk_drive.h"
#include "hdd/hard_disk_image.h"
#include "plugin/file_routines.h"
#include "support/scratch.h"

namespace {

using disk::HardDiskFormat;
using disk::RecognizeHardDiskImage;

struct Header {
  std::uint8_t bytes[disk::kHardDiskHeaderRead] = {};
  void Put(std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
};

TEST(HardDiskImage, MhdNeedsTheWholeSignatureWithItsNul) {
  Header h;
  std::memcpy(h.bytes, "ZEBHDDIMAGE.R0", 15);
  h.Put(272, 0x400, 4);
  h.Put(276, 0x10000 + 306, 4);
  h.Put(280, 0x0104, 2);  // only the low byte counts
  h.Put(282, 0x0111, 2);
  h.Put(284, 512, 2);
  auto g = RecognizeHardDiskImage(h.bytes);
  EXPECT_EQ(g.format, HardDiskFormat::kMhd);
  EXPECT_EQ(g.dataOffset, 0x400u);
  EXPECT_EQ(g.cylinders, 306);
  EXPECT_EQ(g.heads, 4);
  EXPECT_EQ(g.sectors, 0x11);
  EXPECT_EQ(g.sectorSize, 512);

  h.bytes[14] = ' ';  // "ZEBHDDIMAGE.R0 ": no longer MHD, and not HDI either
  EXPECT_EQ(RecognizeHardDiskImage(h.bytes).format, HardDiskFormat::kZhd);
}

TEST(HardDiskImage, HdiNeedsAZeroFirstWordAndA4096ByteHeader) {
  Header h;
  h.Put(8, 4096, 4);
  h.Put(16, 0x10200, 4);
  h.Put(20, 0x111, 4);
  h.Put(24, 0x108, 4);
  h.Put(28, 0x30099, 4);
  auto g = RecognizeHardDiskImage(h.bytes);
  EXPECT_EQ(g.format, HardDiskFormat::kHdi);
  EXPECT_EQ(g.dataOffset, 4096u);
  EXPECT_EQ(g.sectorSize, 0x200);
  EXPECT_EQ(g.sectors, 0x11);
  EXPECT_EQ(g.heads, 8);
  EXPECT_EQ(g.cylinders, 0x99);
  h.Put(0, 1, 4);
  EXPECT_EQ(RecognizeHardDiskImage(h.bytes).format, HardDiskFormat::kZhd);
  h.Put(0, 0, 4);
  h.Put(8, 4097, 4);
  EXPECT_EQ(RecognizeHardDiskImage(h.bytes).format, HardDiskFormat::kZhd);
}

TEST(HardDiskImage, AnythingElseIsZhdWithItsCylinderCount) {
  Header h;
  h.bytes[0] = 0x32;
  h.bytes[1] = 0x01;
  auto g = RecognizeHardDiskImage(h.bytes);
  EXPECT_EQ(g.format, HardDiskFormat::kZhd);
  EXPECT_EQ(g.cylinders, 306);
  EXPECT_EQ(g.heads, 8);
  EXPECT_EQ(g.sectors, 33);
  EXPECT_EQ(g.sectorSize, 256);
  EXPECT_EQ(g.dataOffset, 256u);
}

TEST(HardDiskImage, GeometryBoundsAndFilesFarSmallerThanTheirDisk) {
  using disk::CheckHardDiskGeometry;
  using disk::GeometryFarExceedsFile;
  using disk::HardDiskRefusal;
  disk::HardDiskGeometry zhd{HardDiskFormat::kZhd, 256, 63550, 8, 33, 256};
  EXPECT_EQ(CheckHardDiskGeometry(zhd), HardDiskRefusal::kNone);  // ends 3840 bytes below 4 GiB
  zhd.cylinders = 63551;
  EXPECT_EQ(CheckHardDiskGeometry(zhd), HardDiskRefusal::kPast4GiB);
  zhd.cylinders = 0;  // nothing else of a ZHD is checked
  EXPECT_EQ(CheckHardDiskGeometry(zhd), HardDiskRefusal::kNone);
  // The data offset counts: the last byte may lie at 4 GiB - 1, not beyond.
  disk::HardDiskGeometry mhd{HardDiskFormat::kMhd, 0xFFFFFE00u, 1, 1, 1, 512};
  EXPECT_EQ(CheckHardDiskGeometry(mhd), HardDiskRefusal::kNone);
  mhd.dataOffset += 1;
  EXPECT_EQ(CheckHardDiskGeometry(mhd), HardDiskRefusal::kPast4GiB);

  // A 1.2 MB floppy dump taken for a ZHD: its first bytes make 15,595 cylinders, 1 GB.
  zhd.cylinders = 15595;
  EXPECT_TRUE(GeometryFarExceedsFile(zhd, 1228800));
  EXPECT_FALSE(GeometryFarExceedsFile(zhd, 256 + 15595ull * 8 * 33 * 256 / 2));
  // The bound: twice the file's sector data plus 1 MiB.
  disk::HardDiskGeometry small{HardDiskFormat::kMhd, 512, 4096 + 2 * 4, 1, 1, 256};
  EXPECT_FALSE(GeometryFarExceedsFile(small, 512 + 4 * 256));
  small.cylinders += 1;
  EXPECT_TRUE(GeometryFarExceedsFile(small, 512 + 4 * 256));
  EXPECT_TRUE(GeometryFarExceedsFile(small, 100));  // shorter than its header
}

TEST(HardDiskDrive, AFailedHeaderReadLeavesTheDriveEmpty) {
  testing_support::ScratchDir dir;
  std::string path = dir.File("disk.zhd");
  testing_support::WriteAll(path, std::vector<std::uint8_t>(4096, 0));
  disk::HardDiskDrive drive(1);
  disk::FailFileCallAfter(2);  // the open succeeds, the header read fails
  EXPECT_FALSE(drive.OpenImage(path.c_str()));
  disk::FailFileCallAfter(0);
  EXPECT_EQ(drive.file, platform::kNoFile);
  EXPECT_STREQ(drive.imagePath, "");
  ASSERT_TRUE(drive.OpenImage(path.c_str()));
  EXPECT_EQ(drive.daUa, 0x81);
  EXPECT_STREQ(drive.imagePath, path.c_str());
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
