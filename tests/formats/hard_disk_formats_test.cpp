// Recognition of hard-disk images from their first bytes, and the bounds of their geometry.
#include <gtest/gtest.h>

#include <cstring>

#include "formats/byte_fields.h"
#include "formats/hard_disk_formats.h"
#include "formats/image_info.h"

namespace {

using disk::ImageFormat;
using disk::RecognizeHardDiskImage;

struct Header {
  std::uint8_t bytes[disk::kHardDiskHeaderRead] = {};
  void Put(std::size_t at, std::uint32_t value, int size) {
    if (size == 2)
      disk::StoreU16(bytes + at, value);
    else
      disk::StoreU32(bytes + at, value);
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
  EXPECT_EQ(g.format, ImageFormat::kMhd);
  EXPECT_EQ(g.dataOffset, 0x400u);
  EXPECT_EQ(g.cylinders, 306);
  EXPECT_EQ(g.heads, 4);
  EXPECT_EQ(g.sectors, 0x11);
  EXPECT_EQ(g.sectorSize, 512);

  h.bytes[14] = ' ';  // "ZEBHDDIMAGE.R0 ": no longer MHD, and not HDI either
  EXPECT_EQ(RecognizeHardDiskImage(h.bytes).format, ImageFormat::kZhd);
}

TEST(HardDiskImage, HdiNeedsAZeroFirstWordAndA4096ByteHeader) {
  Header h;
  h.Put(8, 4096, 4);
  h.Put(16, 0x10200, 4);
  h.Put(20, 0x111, 4);
  h.Put(24, 0x108, 4);
  h.Put(28, 0x30099, 4);
  auto g = RecognizeHardDiskImage(h.bytes);
  EXPECT_EQ(g.format, ImageFormat::kHdi);
  EXPECT_EQ(g.dataOffset, 4096u);
  EXPECT_EQ(g.sectorSize, 0x200);
  EXPECT_EQ(g.sectors, 0x11);
  EXPECT_EQ(g.heads, 8);
  EXPECT_EQ(g.cylinders, 0x99);
  h.Put(0, 1, 4);
  EXPECT_EQ(RecognizeHardDiskImage(h.bytes).format, ImageFormat::kZhd);
  h.Put(0, 0, 4);
  h.Put(8, 4097, 4);
  EXPECT_EQ(RecognizeHardDiskImage(h.bytes).format, ImageFormat::kZhd);
}

TEST(HardDiskImage, AnythingElseIsZhdWithItsCylinderCount) {
  Header h;
  h.bytes[0] = 0x32;
  h.bytes[1] = 0x01;
  auto g = RecognizeHardDiskImage(h.bytes);
  EXPECT_EQ(g.format, ImageFormat::kZhd);
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
  disk::HardDiskGeometry zhd{ImageFormat::kZhd, 256, 63550, 8, 33, 256};
  EXPECT_EQ(CheckHardDiskGeometry(zhd), HardDiskRefusal::kNone);  // ends 3840 bytes below 4 GiB
  zhd.cylinders = 63551;
  EXPECT_EQ(CheckHardDiskGeometry(zhd), HardDiskRefusal::kPast4GiB);
  zhd.cylinders = 0;  // nothing else of a ZHD is checked
  EXPECT_EQ(CheckHardDiskGeometry(zhd), HardDiskRefusal::kNone);
  // The data offset counts: the last byte may lie at 4 GiB - 1, not beyond.
  disk::HardDiskGeometry mhd{ImageFormat::kMhd, 0xFFFFFE00u, 1, 1, 1, 512};
  EXPECT_EQ(CheckHardDiskGeometry(mhd), HardDiskRefusal::kNone);
  mhd.dataOffset += 1;
  EXPECT_EQ(CheckHardDiskGeometry(mhd), HardDiskRefusal::kPast4GiB);

  // A 1.2 MB floppy dump taken for a ZHD: its first bytes make 15,595 cylinders, 1 GB.
  zhd.cylinders = 15595;
  EXPECT_TRUE(GeometryFarExceedsFile(zhd, 1228800));
  EXPECT_FALSE(GeometryFarExceedsFile(zhd, 256 + 15595ull * 8 * 33 * 256 / 2));
  // The bound: twice the file's sector data plus 1 MiB.
  disk::HardDiskGeometry small{ImageFormat::kMhd, 512, 4096 + 2 * 4, 1, 1, 256};
  EXPECT_FALSE(GeometryFarExceedsFile(small, 512 + 4 * 256));
  small.cylinders += 1;
  EXPECT_TRUE(GeometryFarExceedsFile(small, 512 + 4 * 256));
  EXPECT_TRUE(GeometryFarExceedsFile(small, 100));  // shorter than its header
}

TEST(HardDiskImage, DescribedAsADriveWouldMountIt) {
  Header h;
  std::memcpy(h.bytes, "ZEBHDDIMAGE.R0\0\0Old disk", 25);
  h.Put(272, 512, 4);
  h.Put(276, 20, 4);
  h.Put(280, 8, 2);
  h.Put(282, 17, 2);
  h.Put(284, 512, 2);
  disk::MemoryImageReader reader(h.bytes, sizeof h.bytes);
  disk::ImageInfo info = disk::Describe(reader, disk::Medium::kHardDisk);
  EXPECT_EQ(info.format, ImageFormat::kMhd);
  EXPECT_STREQ(info.comment, "Old disk");
  EXPECT_EQ(info.cylinders * info.heads * info.sectorsPerTrack * info.sectorSize,
            20u * 8 * 17 * 512);
  EXPECT_TRUE(info.mountable);
  h.Put(284, 500, 2);
  EXPECT_FALSE(disk::Describe(reader, disk::Medium::kHardDisk).mountable);
  EXPECT_EQ(disk::Describe(reader, disk::Medium::kFloppy).format, ImageFormat::kUnknown);
}

}  // namespace
