// The image formats on their own.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"
#include "formats/floppy_loaders.h"
#include "formats/hard_disk_formats.h"
#include "formats/image_info.h"
#include "support/disk_images.h"

namespace {

using namespace testing_support;
using disk::ImageFormat;
using enum disk::ImageFormat;
using enum disk::Medium;

// The tables an image loads into; null when it is refused.
std::unique_ptr<disk::FloppyTables> Load(const Bytes& image) {
  auto tables = std::make_unique<disk::FloppyTables>();
  tables->ClearTables();
  disk::MemoryImageReader reader(image.data(), static_cast<std::uint32_t>(image.size()));
  return disk::ParseImage(reader, *tables) ? std::move(tables) : nullptr;
}

Bytes At(const Bytes& image, std::uint32_t offset, std::uint32_t size) {
  return Bytes(image.begin() + offset, image.begin() + offset + size);
}

TEST(HeaderlessImage, NamedAsSuchWithEmptyPlacesPastTheDiskAndOnlyItsSizes) {
  auto t = Load(BuildHeaderless(UniformDisk(80, 18, 2)));
  ASSERT_TRUE(t);
  EXPECT_STREQ(t->comment, "NORMAL FDIMAGE");
  const disk::SectorRecord& beyond = t->sectors[160][0];
  EXPECT_TRUE(beyond.IsEmpty());
  EXPECT_EQ(beyond.status * 0x10000 + beyond.st0 * 0x100 + beyond.st1, 0xE04001);
  for (std::size_t size : {737281u, 737280u + 4095u, 100u}) EXPECT_FALSE(Load(Bytes(size, 0)));
}

TEST(MfdImage, R0RecordsStandAsWrittenAndHolesTakeNoData) {
  DiskSpec disk = UniformDisk(1, 8, 3);
  disk.tracks[0].sectors[2].C = 0xFF;
  disk.tracks[0].sectors[4] = {0, 0, 5, 3, 1, 0, 0xB0, 0x10, 1, 0x20};
  disk.writeProtect = 1;
  const Bytes image = BuildR0(disk);
  auto t = Load(image);
  ASSERT_TRUE(t);
  EXPECT_STREQ(t->comment, "TEST DISK");
  EXPECT_EQ(t->writeProtect * 100 + t->reformattable * 10 + t->revision, 110);
  EXPECT_EQ(t->SectorsOnTrack(0), 2u);  // the hole ends the count
  EXPECT_EQ(At(image, t->sectors[0][3].dataOffset, 1024), SectorData(0, 4, 1024));
  const disk::SectorRecord& s = t->sectors[0][4];
  EXPECT_EQ(std::vector<int>({s.status, s.mediaType, s.deleted, s.st1}),
            std::vector<int>({0xB0, 0x10, 1, 0x20}));
  EXPECT_EQ(At(image, t->sectors[1][7].dataOffset, 1024), SectorData(1, 8, 1024));

  disk.comment = std::string(256, 'x');  // no NUL: cut to 255 characters
  EXPECT_EQ(std::strlen(Load(BuildR0(disk))->comment), 255u);
  Bytes cut = BuildR0(DiskSpec{});
  cut.resize(68111);
  EXPECT_FALSE(Load(cut));
}

TEST(MfdImage, R1CopiesSpecialsAndUnusedEntriesTakeTheirRoomInTrackOrder) {
  DiskSpec disk;
  disk.blockForEveryTrack = true;
  disk.tracks[0].sectors = {{0, 0, 1, 2, 1, 2}, {0xFF, 0, 2, 2}, {0, 0, 3, 2}};
  disk.tracks[0].specials = {{6, 0, 0, 9, 2, 0xE0, 1, 300}, {0xFF, 0, 0, 0, 0, 0, 0, 77}};
  disk.tracks[3].sectors = {{1, 1, 1, 3}, {1, 1, 2, 3}};
  disk.tracks[3].specials = {{2, 1, 1, 1, 3, 0, 0, 64}};
  const Bytes image = BuildR1(disk);
  auto t = Load(image);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->revision, 1u);
  EXPECT_EQ(At(image, t->sectors[0][0].dataOffset + 1024, 2), (Bytes{0, 1}));  // the third copy
  EXPECT_EQ(At(image, t->sectors[0][2].dataOffset, 512), SectorData(0, 3, 512));
  const disk::SpecialReadRecord& special = t->specials[0][0];
  EXPECT_EQ(special.dataOffset, t->sectors[0][2].dataOffset + 512);
  EXPECT_EQ(special.status * 0x10000 + special.repeatCount * 0x1000 + special.dataLength,
            0xE0112Cu);
  EXPECT_TRUE(t->specials[0][1].EndsList());
  EXPECT_EQ(At(image, t->sectors[3][1].dataOffset, 1024), SectorData(3, 2, 1024));
  EXPECT_EQ(t->specials[3][0].dataOffset + 64, image.size());
  EXPECT_EQ(t->SectorsOnTrack(1), 0u);
}

TEST(FloppyGeometry, MediaTypesFollowSizeDensityAndSectorCount) {
  // {N, sectors per track, MFM, media type}: below each limit the 640 KB class.
  const int cases[][4] = {{0, 25, 0, 0x10}, {0, 26, 0, 0x90},  {1, 25, 1, 0x10}, {1, 26, 1, 0x90},
                          {1, 14, 0, 0x10}, {1, 15, 0, 0x90},  {2, 14, 1, 0x10}, {2, 17, 1, 0x90},
                          {2, 18, 1, 0x30}, {2, 18, 0, 0x90},  {3, 7, 1, 0x10},  {3, 8, 1, 0x90},
                          {4, 1, 1, 0x90},  {0xFF, 1, 0, 0x90}};
  for (const auto& c : cases)
    EXPECT_EQ(disk::MediaTypeFor(std::uint8_t(c[0]), std::uint32_t(c[1]), std::uint8_t(c[2])), c[3])
        << c[0] << " " << c[1] << " " << c[2];
}

TEST(MfdImage, R1TracksWithoutMediaTypeGetTheDerivedOne) {
  DiskSpec disk;
  disk.tracks[0].sectors = UniformDisk(1, 18, 2).tracks[0].sectors;  // 1.44 MB
  disk.tracks[1].sectors = UniformDisk(1, 9, 2).tracks[1].sectors;
  disk.tracks[2].sectors = UniformDisk(1, 9, 2).tracks[0].sectors;
  disk.tracks[2].sectors[4].N = 3;  // the largest N rules: 1 MB class
  disk.tracks[3].sectors = UniformDisk(1, 18, 2).tracks[1].sectors;
  disk.tracks[3].sectors[17].mfm = 0;  // the last record's density decides: FM is not 1.44 MB
  disk.tracks[4].sectors = UniformDisk(1, 8, 3).tracks[0].sectors;
  disk.tracks[4].sectors[1].mediaType = 0x10;  // stored types stand
  auto t = Load(BuildR1(disk));
  ASSERT_TRUE(t);
  const int types[][2] = {{0, 0x30}, {1, 0x10}, {2, 0x90}, {3, 0x90}, {4, 0x90}};
  for (const auto& [track, type] : types) EXPECT_EQ(t->sectors[track][0].mediaType, type) << track;
  EXPECT_EQ(t->sectors[4][1].mediaType, 0x10);
}

TEST(MfdImage, R1BlocksPastTheTablesOrTheFileAreRefusedButDataPastItAreNot) {
  DiskSpec disk;
  disk.tracks[7].sectors = UniformDisk(4, 9, 2).tracks[7].sectors;
  Bytes image = BuildR1(disk);
  const std::uint32_t block = disk::LoadU32(&image[0x120 + 4 * 7]);
  image.resize(image.size() - 4000);  // the last sectors' data
  EXPECT_TRUE(Load(image));
  for (int at : {0, 2}) {  // sectors, specials; the records past the block read as zeros
    Bytes big(image.begin(), image.begin() + disk::LoadU32(&image[0x110]));
    big.resize(image.size() + 257 * 16, 0);
    PutLE(big, block + at, 257, 2);
    EXPECT_FALSE(Load(big)) << at;
    PutLE(big, block + at, 256, 2);  // exactly full is fine
    EXPECT_TRUE(Load(big)) << at;
  }
  PutLE(image, 0x110, 0xFFFFF000, 4);  // data that would end past the 32-bit data offsets
  EXPECT_FALSE(Load(image));
  image.resize(block + 16 + 8 * 16);
  EXPECT_FALSE(Load(image));
  image.resize(900);
  EXPECT_FALSE(Load(image));
}

TEST(D88Image, SectorsFollowTheirHeadsWhoseCountEndsTheTrack) {
  DiskSpec disk;
  disk.comment = std::string(17, 'N');  // fills the name field: no NUL
  disk.writeProtect = 1;
  disk.tracks[0].sectors = {{0, 0, 1, 1, 0}, {0, 0, 2, 1, 0, 0, 0xB0, 0, 1}};
  disk.tracks[3].sectors = UniformDisk(2, 3, 3, {3, 1, 2}).tracks[3].sectors;
  Bytes image = BuildD88(disk);
  image[17] = 'X';
  auto t = Load(image);
  ASSERT_TRUE(t);
  EXPECT_EQ(std::string(t->comment), std::string(17, 'N'));
  EXPECT_EQ(t->writeProtect * 10 + t->reformattable, 10);
  const disk::SectorRecord& fm = t->sectors[0][1];
  EXPECT_EQ(std::vector<int>({fm.mfm, fm.deleted, fm.status, fm.mediaType}),
            std::vector<int>({0, 1, 0xB0, 0x10}));
  const disk::SectorRecord& side1 = t->sectors[3][0];
  EXPECT_EQ(std::vector<int>({side1.R, side1.st0, side1.mfm, side1.mediaType}),
            std::vector<int>({3, 4, 1, 0x10}));
  EXPECT_EQ(At(image, t->sectors[3][2].dataOffset, 1024), SectorData(3, 2, 1024));

  PutLE(image, 688 + 4, 1, 2);  // the first head says one sector
  EXPECT_EQ(Load(image)->SectorsOnTrack(0), 1u);
  PutLE(image, image.size() - 1024 - 16 + 4, 4, 2);  // the last says four: past the file
  EXPECT_FALSE(Load(image));
  image = BuildD88(disk);
  for (int delta : {1, -1}) {
    PutLE(image, 0x1C, static_cast<std::uint32_t>(image.size() + delta), 4);
    EXPECT_FALSE(Load(image)) << delta;
  }
}

// The geometry an image states, and whether a drive takes it: one disk of a D88 file of several,
// a hard disk whose sector size no drive has, and a file cut short or of the other medium.
TEST(ImageInfo, GeometryAndWhetherADriveTakesTheImage) {
  DiskSpec disk;
  disk.tracks[0].sectors = UniformDisk(1, 2, 3).tracks[0].sectors;  // one side
  const Bytes d88 = BuildD88(disk), two = Join({d88, BuildD88(DiskSpec{})});
  const struct {
    Bytes image;
    disk::Medium medium;
    ImageFormat format;
    std::vector<std::uint32_t> geometry;  // cylinders, heads, sectors, size, disks, mountable
  } cases[] = {
      {BuildHeaderless(UniformDisk(80, 18, 2)), kFloppy, kHeaderless, {80, 2, 18, 512, 1, 1}},
      {d88, kFloppy, kD88, {1, 1, 2, 1024, 1, 1}},
      {two, kFloppy, kD88, {1, 1, 2, 1024, 2, 0}},
      {Bytes(two.begin(), two.end() - 1), kFloppy, kUnknown, {}},
      {MhdImage(20, 8, 17, 500, {}), kHardDisk, kMhd, {20, 8, 17, 500, 1, 0}},
      {MhdImage(20, 8, 17, 512, {}), kFloppy, kUnknown, {}},
  };
  for (const auto& c : cases) {
    disk::MemoryImageReader reader(c.image.data(), static_cast<std::uint32_t>(c.image.size()));
    const disk::ImageInfo info = disk::Describe(reader, c.medium);
    EXPECT_EQ(info.format, c.format) << c.image.size();
    if (c.format == kUnknown) continue;
    EXPECT_EQ(std::vector<std::uint32_t>({info.cylinders, info.heads, info.sectorsPerTrack,
                                          info.sectorSize, info.diskCount, info.mountable}),
              c.geometry);
  }
}

// Each header and the format and geometry (data offset, cylinders, heads, sectors, size) read.
TEST(HardDiskImage, SignaturesChooseTheFormatAndAnythingElseIsZhd) {
  Bytes mhd = MhdImage(0x10000 + 306, 4, 0x11, 512, {});
  PutLE(mhd, 272, 0x400, 4);
  PutLE(mhd, 280, 0x0104, 2);  // only the low bytes count
  PutLE(mhd, 282, 0x0111, 2);
  Bytes notMhd = mhd;
  notMhd[14] = ' ';
  Bytes hdi = HdiImage(0x99, 8, 0x11, 0x200, Bytes(512, 0));
  const std::uint32_t fields[] = {0x10200, 0x111, 0x108, 0x30099};  // only the low bits count
  for (int i = 0; i < 4; ++i) PutLE(hdi, 16 + 4 * i, fields[i], 4);
  Bytes notHdi = hdi, notHdi2 = hdi;
  notHdi[0] = 1;
  notHdi2[8] = 1;  // a header of 4097 bytes
  const struct {
    const Bytes* header;
    disk::HardDiskGeometry expected;
  } cases[] = {
      {&mhd, {kMhd, 0x400, 306, 4, 0x11, 512}}, {&notMhd, {kZhd, 256, 0x455A, 8, 33, 256}},
      {&hdi, {kHdi, 4096, 0x99, 8, 0x11, 512}}, {&notHdi, {kZhd, 256, 1, 8, 33, 256}},
      {&notHdi2, {kZhd, 256, 0, 8, 33, 256}},
  };
  for (const auto& c : cases) {
    std::uint8_t header[disk::kHardDiskHeaderRead] = {};
    std::memcpy(header, c.header->data(), std::min<std::size_t>(c.header->size(), sizeof header));
    const disk::HardDiskGeometry g = disk::RecognizeHardDiskImage(header);
    const disk::HardDiskGeometry& e = c.expected;
    EXPECT_EQ(std::vector<std::uint32_t>({static_cast<std::uint32_t>(g.format), g.dataOffset,
                                          g.cylinders, g.heads, g.sectors, g.sectorSize}),
              std::vector<std::uint32_t>({static_cast<std::uint32_t>(e.format), e.dataOffset,
                                          e.cylinders, e.heads, e.sectors, e.sectorSize}));
  }
}

TEST(HardDiskImage, GeometryBoundsAndFilesFarSmallerThanTheirDisk) {
  using disk::CheckHardDiskGeometry;
  using disk::GeometryFarExceedsFile;
  using disk::HardDiskRefusal;
  disk::HardDiskGeometry zhd{kZhd, 256, 63550, 8, 33, 256};
  EXPECT_EQ(CheckHardDiskGeometry(zhd), HardDiskRefusal::kNone);  // ends 3840 bytes below 4 GiB
  zhd.cylinders = 63551;
  EXPECT_EQ(CheckHardDiskGeometry(zhd), HardDiskRefusal::kPast4GiB);
  zhd.cylinders = 0;  // nothing else of a ZHD is checked
  EXPECT_EQ(CheckHardDiskGeometry(zhd), HardDiskRefusal::kNone);
  // The data offset counts: the last byte may lie at 4 GiB - 1, not beyond.
  disk::HardDiskGeometry mhd{kMhd, 0xFFFFFE00u, 1, 1, 1, 512};
  EXPECT_EQ(CheckHardDiskGeometry(mhd), HardDiskRefusal::kNone);
  mhd.dataOffset += 1;
  EXPECT_EQ(CheckHardDiskGeometry(mhd), HardDiskRefusal::kPast4GiB);

  // The bound: twice the file's sector data plus 1 MiB.
  disk::HardDiskGeometry small{kMhd, 512, 4096 + 2 * 4, 1, 1, 256};
  EXPECT_FALSE(GeometryFarExceedsFile(small, 512 + 4 * 256));
  small.cylinders += 1;
  EXPECT_TRUE(GeometryFarExceedsFile(small, 512 + 4 * 256));
  EXPECT_TRUE(GeometryFarExceedsFile(small, 100));  // shorter than its header
}

}  // namespace
