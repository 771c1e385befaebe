#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "formats/floppy_geometry.h"
#include "formats/floppy_loaders.h"
#include "formats/image_builders.h"
#include "formats/image_info.h"

namespace {

using disk::FloppyTables;
using disk::SectorRecord;
using namespace fdd_testing;

bool Parse(const Bytes& image, FloppyTables& tables) {
  disk::MemoryImageReader reader(image.data(), static_cast<std::uint32_t>(image.size()));
  return disk::ParseImage(reader, tables);
}

std::uint32_t CountSectors(const FloppyTables& tables, int cylinder, int side) {
  return tables.SectorsOnTrack(cylinder * 2 + side);
}

// --- headerless dumps ---------------------------------------------------------------------------

struct HeaderlessCase {
  std::uint32_t size;
  int cylinders, sectors, n;
};

class HeaderlessImage : public ::testing::TestWithParam<std::tuple<HeaderlessCase, bool>> {};

TEST_P(HeaderlessImage, LoadsItsGeometryFromItsSizeAlone) {
  auto [layout, leading] = GetParam();
  Bytes image = BuildHeaderless(layout.size, leading);
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_STREQ(tables->comment, "NORMAL FDIMAGE");
  EXPECT_EQ(tables->writeProtect, 0);
  EXPECT_EQ(tables->reformattable, 0u);
  EXPECT_EQ(tables->revision, 0u);

  std::uint32_t start = leading ? 4096 : 0;
  std::uint32_t size = disk::SectorSize(static_cast<std::uint8_t>(layout.n));
  int lastTrack = layout.cylinders * 2 - 1;
  for (int track : {2, lastTrack}) {
    EXPECT_EQ(CountSectors(*tables, track / 2, track & 1),
              static_cast<std::uint32_t>(layout.sectors));
    const SectorRecord& first = tables->sectors[track][0];
    EXPECT_EQ(first.C, track / 2);
    EXPECT_EQ(first.H, track & 1);
    EXPECT_EQ(first.R, 1);
    EXPECT_EQ(first.N, layout.n);
    EXPECT_EQ(first.mfm, 1);
    EXPECT_EQ(first.st0, (track & 1) ? 0x04 : 0x00);
    EXPECT_EQ(first.mediaType, disk::MediaTypeFor(static_cast<std::uint8_t>(layout.n),
                                                  static_cast<std::uint32_t>(layout.sectors), 1));
  }
  // The last sector's data end exactly at the end of the file.
  const SectorRecord& last = tables->sectors[lastTrack][layout.sectors - 1];
  EXPECT_EQ(last.dataOffset + size, image.size());
  EXPECT_EQ(last.R, layout.sectors);
  // Past the disk, every slot holds the empty record with the running offset.
  const SectorRecord& beyond = tables->sectors[lastTrack + 1][0];
  EXPECT_TRUE(beyond.IsEmpty());
  EXPECT_EQ(beyond.status, 0xE0);
  EXPECT_EQ(beyond.st0, (lastTrack + 1) & 1 ? 0x44 : 0x40);
  EXPECT_EQ(beyond.st1, 0x01);
  EXPECT_EQ(beyond.dataOffset, image.size());
  EXPECT_EQ(tables->sectors[0][layout.sectors].dataOffset, tables->sectors[1][0].dataOffset);
  if (layout.size != 1021696) {
    EXPECT_EQ(tables->sectors[0][0].dataOffset, start);
  }
}

INSTANTIATE_TEST_SUITE_P(EverySize, HeaderlessImage,
                         ::testing::Combine(::testing::Values(HeaderlessCase{655360, 80, 8, 2},
                                                              HeaderlessCase{737280, 80, 9, 2},
                                                              HeaderlessCase{1021696, 77, 26, 1},
                                                              HeaderlessCase{1025024, 77, 26, 1},
                                                              HeaderlessCase{1228800, 80, 15, 2},
                                                              HeaderlessCase{1261568, 77, 8, 3},
                                                              HeaderlessCase{1419264, 77, 9, 3},
                                                              HeaderlessCase{1474560, 80, 18, 2}),
                                            ::testing::Bool()));

TEST(HeaderlessImageLayout, Track0Of1021696BytesIsFmWith128ByteSectors) {
  for (bool leading : {false, true}) {
    Bytes image = BuildHeaderless(1021696, leading);
    auto tables = EmptyTables();
    ASSERT_TRUE(Parse(image, *tables));
    std::uint32_t start = leading ? 4096 : 0;
    for (int slot = 0; slot < 26; ++slot) {
      const SectorRecord& fm = tables->sectors[0][slot];
      EXPECT_EQ(fm.N, 0);
      EXPECT_EQ(fm.mfm, 0);
      EXPECT_EQ(fm.dataOffset, start + 128u * slot);
    }
    const SectorRecord& side1 = tables->sectors[1][0];
    EXPECT_EQ(side1.N, 1);
    EXPECT_EQ(side1.mfm, 1);
    EXPECT_EQ(side1.dataOffset, start + 26u * 128);
    EXPECT_EQ(image[side1.dataOffset], 26);  // the 27th 128-byte block of the dump
    EXPECT_EQ(tables->sectors[1][1].dataOffset, start + 26u * 128 + 256);
  }
}

TEST(HeaderlessImageLayout, OtherSizesAreNotHeaderless) {
  auto tables = EmptyTables();
  EXPECT_FALSE(Parse(Bytes(737281, 0), *tables));
  EXPECT_FALSE(Parse(Bytes(737280 + 4095, 0), *tables));
  EXPECT_FALSE(Parse(Bytes(100, 0), *tables));  // shorter than the bytes probed
}

TEST(HeaderlessImageLayout, AnAlmostMfdSignatureIsJudgedBySize) {
  Bytes image = BuildHeaderless(737280, false);
  std::memcpy(image.data(), "ZEBFDDIMAGE.R0x", 15);
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_EQ(CountSectors(*tables, 79, 1), 9u);
  EXPECT_EQ(tables->reformattable, 0u);
}

// --- MFD R0 -------------------------------------------------------------------------------------

TEST(MfdR0Image, RecordsStandAsWrittenAndHolesTakeNoData) {
  TrackMap tracks;
  tracks[0].sectors = SectorRun(0, 0, 8, 3);
  tracks[0].sectors[2].c = 0xFF;  // a hole in the middle
  tracks[0].sectors[4].status = 0xB0;
  tracks[0].sectors[4].st1 = 0x20;
  tracks[0].sectors[4].deleted = 1;
  tracks[0].sectors[4].mediaType = 0x90;
  tracks[5].sectors = SectorRun(2, 1, 26, 1);
  Bytes image = BuildMfdR0("Game disk", 1, tracks);
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_STREQ(tables->comment, "Game disk");
  EXPECT_EQ(tables->writeProtect, 1);
  EXPECT_EQ(tables->reformattable, 1u);
  EXPECT_EQ(tables->revision, 0u);

  const SectorRecord* t0 = tables->sectors[0];
  EXPECT_EQ(t0[0].dataOffset, 68112u);
  EXPECT_EQ(t0[1].dataOffset, 68112u + 1024);
  EXPECT_TRUE(t0[2].IsEmpty());
  EXPECT_EQ(t0[2].dataOffset, 68112u + 2048);
  EXPECT_EQ(t0[3].dataOffset, 68112u + 2048);  // the hole held no data
  EXPECT_EQ(image[t0[3].dataOffset], Marker(0, 4));
  EXPECT_EQ(t0[4].status, 0xB0);
  EXPECT_EQ(t0[4].st1, 0x20);
  EXPECT_EQ(t0[4].deleted, 1);
  EXPECT_EQ(t0[4].mediaType, 0x90);
  EXPECT_EQ(CountSectors(*tables, 0, 0), 2u);

  const SectorRecord* t5 = tables->sectors[5];
  EXPECT_EQ(CountSectors(*tables, 2, 1), 26u);
  EXPECT_EQ(image[t5[25].dataOffset], Marker(5, 26));
  EXPECT_EQ(t5[25].dataOffset + 256, image.size());
  EXPECT_TRUE(t5[26].IsEmpty());
  EXPECT_TRUE(tables->sectors[163][0].IsEmpty());
}

TEST(MfdR0Image, ShortHeaderIsRefused) {
  Bytes image = BuildMfdR0("", 0, {});
  image.resize(68111);
  auto tables = EmptyTables();
  EXPECT_FALSE(Parse(image, *tables));
}

TEST(MfdR0Image, CommentWithoutNulIsCutAt255Characters) {
  Bytes image = BuildMfdR0(std::string(256, 'x'), 0, {});
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_EQ(std::strlen(tables->comment), 255u);
}

// --- MFD R1 -------------------------------------------------------------------------------------

TEST(MfdR1Image, RepeatCopiesAndSpecialRecordsTakeTheirRoomAcrossTracks) {
  TrackMap tracks;
  tracks[0].sectors = SectorRun(0, 0, 3, 2);
  tracks[0].sectors[0].repeat = 2;
  tracks[0].sectors[1].c = 0xFF;
  tracks[0].specials = {{6, 0, 0, 9, 2, 300, 1, 0xE0, 0x40, 0x20, 0x20}, {0xFF, 0, 0, 0, 0, 77}};
  tracks[3].sectors = SectorRun(1, 1, 2, 3);
  tracks[3].specials = {{2, 1, 1, 1, 3, 64}};
  Bytes image = BuildMfdR1("protected", 0, tracks, true);
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_STREQ(tables->comment, "protected");
  EXPECT_EQ(tables->reformattable, 1u);
  EXPECT_EQ(tables->revision, 1u);

  std::uint32_t dataStart = image[0x110] | (image[0x111] << 8);
  const SectorRecord* t0 = tables->sectors[0];
  EXPECT_EQ(t0[0].dataOffset, dataStart);
  EXPECT_EQ(t0[0].repeatCount, 2);
  EXPECT_EQ(image[t0[0].dataOffset + 2 * 512], Marker(0, 1) + 2);
  EXPECT_EQ(t0[1].dataOffset, dataStart + 3 * 512);  // after the third copy
  EXPECT_EQ(t0[2].dataOffset, dataStart + 3 * 512);  // the hole took nothing
  EXPECT_EQ(image[t0[2].dataOffset], Marker(0, 3));

  const disk::SpecialReadRecord& special = tables->specials[0][0];
  EXPECT_EQ(special.command, 6);
  EXPECT_EQ(special.R, 9);
  EXPECT_EQ(special.dataLength, 300u);
  EXPECT_EQ(special.repeatCount, 1);
  EXPECT_EQ(special.status, 0xE0);
  EXPECT_EQ(special.st2, 0x20);
  EXPECT_EQ(special.dataOffset, dataStart + 4 * 512);
  EXPECT_EQ(image[special.dataOffset + 300], 0xA1);  // its second copy
  // The unused entry is stored as written but takes no data.
  EXPECT_TRUE(tables->specials[0][1].EndsList());
  EXPECT_TRUE(tables->specials[0][2].EndsList());

  // Track 3 continues after track 0's special data.
  const SectorRecord* t3 = tables->sectors[3];
  EXPECT_EQ(t3[0].dataOffset, dataStart + 4 * 512 + 600);
  EXPECT_EQ(image[t3[1].dataOffset], Marker(3, 2));
  EXPECT_EQ(tables->specials[3][0].dataOffset, t3[1].dataOffset + 1024);
  EXPECT_EQ(tables->specials[3][0].dataOffset + 64, image.size());
  EXPECT_EQ(CountSectors(*tables, 0, 1), 0u);
  EXPECT_TRUE(tables->specials[1][0].EndsList());
}

TEST(MfdR1Image, TracksWithoutMediaTypeGetTheDerivedOne) {
  TrackMap tracks;
  tracks[0].sectors = SectorRun(0, 0, 18, 2);
  tracks[1].sectors = SectorRun(0, 1, 8, 3);
  tracks[2].sectors = SectorRun(1, 0, 9, 2);
  tracks[2].sectors[4].n = 3;  // the largest N rules: 9 sectors of N = 3 are of the 1 MB class
  tracks[3].sectors = SectorRun(1, 1, 26, 0, 0);
  tracks[4].sectors = SectorRun(2, 0, 8, 3);
  tracks[4].sectors[1].mediaType = 0x10;  // stored types stand
  tracks[5].sectors = SectorRun(2, 1, 18, 2);
  tracks[5].sectors[17].mfm = 0;  // the last record's density decides: FM is not 1.44 MB
  Bytes image = BuildMfdR1("", 0, tracks);
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_EQ(tables->sectors[0][17].mediaType, 0x30);
  EXPECT_EQ(tables->sectors[1][0].mediaType, 0x90);
  EXPECT_EQ(tables->sectors[2][0].mediaType, 0x90);
  EXPECT_EQ(tables->sectors[3][0].mediaType, 0x90);
  EXPECT_EQ(tables->sectors[4][0].mediaType, 0x90);
  EXPECT_EQ(tables->sectors[4][1].mediaType, 0x10);
  EXPECT_EQ(tables->sectors[5][0].mediaType, 0x90);
}

TEST(MfdR1Image, BlocksBeyondTheTablesAreRefused) {
  TrackMap tracks;
  tracks[0].sectors = SectorRun(0, 0, 1, 2);
  Bytes image = BuildMfdR1("", 0, tracks);
  std::uint32_t block = image[0x120] | (image[0x121] << 8);
  auto tables = EmptyTables();
  PutU16(image, block, 257);
  image.resize(image.size() + 257 * 16, 0);
  EXPECT_FALSE(Parse(image, *tables));
  PutU16(image, block, 1);
  PutU16(image, block + 2, 257);
  EXPECT_FALSE(Parse(image, *tables));
  PutU16(image, block + 2, 256);  // exactly full is fine
  EXPECT_TRUE(Parse(image, *tables));
}

TEST(MfdR1Image, TruncatedBlocksAreRefused) {
  TrackMap tracks;
  tracks[7].sectors = SectorRun(3, 1, 9, 2);
  Bytes image = BuildMfdR1("", 0, tracks);
  std::uint32_t block = image[0x120 + 28] | (image[0x121 + 28] << 8);
  image.resize(block + 16 + 8 * 16);
  auto tables = EmptyTables();
  EXPECT_FALSE(Parse(image, *tables));
  image.resize(900);
  EXPECT_FALSE(Parse(image, *tables));
}

TEST(MfdR1Image, DataPastTheEndOfTheFileDoNotFailTheLoad) {
  TrackMap tracks;
  tracks[0].sectors = SectorRun(0, 0, 9, 2);
  Bytes image = BuildMfdR1("", 0, tracks);
  image.resize(image.size() - 4000);
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_GT(tables->sectors[0][8].dataOffset, image.size());
  // Data that would end past the 32-bit data offsets cannot be reached at all.
  PutU32(image, 0x110, 0xFFFFF000);
  EXPECT_FALSE(Parse(image, *EmptyTables()));
}

// --- D88 ----------------------------------------------------------------------------------------

TEST(D88Image, SectorsFollowTheirHeads) {
  D88Tracks tracks;
  tracks[0] = {{0, 0, 1, 1, 256, 0x40}, {0, 0, 2, 1, 256, 0x40, 0x10, 0xB0}};
  tracks[3] = {{1, 1, 3, 3, 1024}, {1, 1, 1, 3, 1024}, {1, 1, 2, 3, 1024}};
  Bytes image = BuildD88("D88 name", 0x10, tracks);
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_STREQ(tables->comment, "D88 name");
  EXPECT_EQ(tables->writeProtect, 1);
  EXPECT_EQ(tables->reformattable, 0u);
  EXPECT_EQ(tables->revision, 0u);

  const SectorRecord* t0 = tables->sectors[0];
  EXPECT_EQ(t0[0].mfm, 0);  // any density byte but 0x00 is FM
  EXPECT_EQ(t0[1].deleted, 1);
  EXPECT_EQ(t0[1].status, 0xB0);
  EXPECT_EQ(t0[0].st0, 0x00);
  EXPECT_EQ(t0[0].mediaType, disk::MediaTypeFor(1, 2, 0));
  EXPECT_EQ(image[t0[1].dataOffset], Marker(0, 2));
  EXPECT_EQ(CountSectors(*tables, 0, 0), 2u);

  const SectorRecord* t3 = tables->sectors[3];
  EXPECT_EQ(t3[0].R, 3);
  EXPECT_EQ(t3[0].st0, 0x04);
  EXPECT_EQ(t3[0].mfm, 1);
  EXPECT_EQ(t3[0].mediaType, 0x10);
  EXPECT_EQ(image[t3[2].dataOffset], Marker(3, 2));
  EXPECT_EQ(t3[2].dataOffset + 1024, image.size());
  EXPECT_EQ(CountSectors(*tables, 1, 1), 3u);
}

TEST(D88Image, OnlyAnExactDiskSizeIsAccepted) {
  D88Tracks tracks;
  tracks[0] = {{0, 0, 1, 2, 512}};
  Bytes image = BuildD88("", 0, tracks);
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_EQ(tables->writeProtect, 0);
  PutU32(image, 0x1C, static_cast<std::uint32_t>(image.size() + 1));
  EXPECT_FALSE(Parse(image, *tables));
  PutU32(image, 0x1C, static_cast<std::uint32_t>(image.size() - 1));
  EXPECT_FALSE(Parse(image, *tables));
}

TEST(D88Image, TheSectorCountOfEachHeadEndsTheTrack) {
  D88Tracks tracks;
  tracks[0] = {{0, 0, 1, 2, 512}, {0, 0, 2, 2, 512}, {0, 0, 3, 2, 512}};
  Bytes image = BuildD88("", 0, tracks);
  std::uint32_t track0 = 688;
  PutU16(image, track0 + 4, 1);  // the first head says one sector
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_EQ(CountSectors(*tables, 0, 0), 1u);
  // A head past the end of the file makes the image unusable.
  PutU16(image, track0 + 4, 4);
  PutU16(image, track0 + 2 * 528 + 4, 4);
  EXPECT_FALSE(Parse(image, *tables));
}

TEST(D88Image, NameWithoutNulStaysInItsField) {
  Bytes image = BuildD88(std::string(17, 'N'), 0, {});
  image[17] = 'X';
  auto tables = EmptyTables();
  ASSERT_TRUE(Parse(image, *tables));
  EXPECT_EQ(std::string(tables->comment), std::string(17, 'N'));
}

}  // namespace

// --- what an image says of itself -------------------------------------------------------------

TEST(ImageInfo, GeometryCommentAndTheDisksOfAD88File) {
  Bytes dump = BuildHeaderless(1474560, true);
  disk::MemoryImageReader dumpReader(dump.data(), static_cast<std::uint32_t>(dump.size()));
  disk::ImageInfo info = disk::Describe(dumpReader, disk::Medium::kFloppy);
  EXPECT_EQ(info.format, disk::ImageFormat::kHeaderless);
  EXPECT_TRUE(info.mountable);
  EXPECT_STREQ(info.comment, "NORMAL FDIMAGE");
  EXPECT_EQ(info.cylinders * info.heads * info.sectorsPerTrack * info.sectorSize, 1474560u);

  D88Tracks tracks;
  tracks[1] = {{0, 1, 1, 3, 1024}, {0, 1, 2, 3, 1024}};
  Bytes first = BuildD88("first", 0x10, tracks);
  Bytes both = first;
  Bytes second = BuildD88("second", 0, {});
  both.insert(both.end(), second.begin(), second.end());
  for (const Bytes* file : {&first, &both}) {
    disk::MemoryImageReader reader(file->data(), static_cast<std::uint32_t>(file->size()));
    info = disk::Describe(reader, disk::Medium::kFloppy);
    EXPECT_EQ(info.format, disk::ImageFormat::kD88);
    EXPECT_STREQ(info.comment, "first");
    EXPECT_TRUE(info.writeProtect);
    EXPECT_EQ(info.heads * 10 + info.sectorsPerTrack, 22u);
    EXPECT_EQ(info.diskCount, file == &first ? 1u : 2u);
    EXPECT_EQ(info.mountable, file == &first);  // a drive takes one disk only
  }
  both.pop_back();
  disk::MemoryImageReader cut(both.data(), static_cast<std::uint32_t>(both.size()));
  EXPECT_EQ(disk::Describe(cut, disk::Medium::kFloppy).format, disk::ImageFormat::kUnknown);
}
