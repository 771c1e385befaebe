#include "media/new_floppy_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "fdd/drive_fixture.h"
#include "media/file_routines.h"
#include "support/scratch.h"

namespace {

using testing_support::ReadAll;
using testing_support::ScratchDir;

const std::uint8_t* Record(const std::vector<std::uint8_t>& image, int track, int slot) {
  return image.data() + 0x120 + (track * 26 + slot) * 16;
}

// A plain file standing in for the real drive: every byte tells where it lies.
std::vector<std::uint8_t> DiskBytes(std::uint32_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::uint32_t i = 0; i < size; ++i)
    bytes[i] = static_cast<std::uint8_t>(i ^ (i >> 8) ^ (i >> 16));
  return bytes;
}

disk::DiskReader FileReader(disk::FileHandle file, std::vector<std::uint32_t>* offsets = nullptr) {
  return [file, offsets](std::uint32_t offset, void* buffer, std::uint32_t count) {
    if (offsets != nullptr) offsets->push_back(offset);
    return disk::SeekFailed(file, offset) == 0 && disk::ReadFileBytes(file, buffer, count) == count;
  };
}

TEST(NewFloppyImage, BlankImageIsTheHeaderWithEmptyRecords) {
  ScratchDir dir;
  std::vector<int> steps;
  ASSERT_EQ(disk::CreateBlankFloppyImage(dir.File("NEW.MFD").c_str(),
                                         [&](int done, int total) {
                                           EXPECT_EQ(total, 163);
                                           steps.push_back(done);
                                         }),
            disk::ImageResult::kDone);
  auto image = ReadAll(dir.File("NEW.MFD"));
  ASSERT_EQ(image.size(), 68112u);
  EXPECT_EQ(steps.size(), 163u);
  EXPECT_EQ(steps.back(), 162);
  EXPECT_EQ(std::memcmp(image.data(), "ZEBFDDIMAGE.R0\0\0New FD Image\0", 29), 0);
  EXPECT_EQ(image[0x110] | image[0x111] << 8 | image[0x112] << 16, 68112);
  EXPECT_EQ(image[0x114], 0);
  EXPECT_EQ(image[0x115], 2);
  const std::uint8_t even[11] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xE0, 0x40, 0x01, 0x00, 0x00};
  for (int track : {0, 1, 162})
    for (int slot : {0, 25}) {
      std::uint8_t expected[16] = {};
      std::memcpy(expected, even, sizeof even);
      if (track & 1) expected[7] = 0x44;
      EXPECT_EQ(std::memcmp(Record(image, track, slot), expected, 16), 0) << track << "/" << slot;
    }
  EXPECT_TRUE(
      std::all_of(image.begin() + 0x10A00, image.end(), [](std::uint8_t b) { return b == 0; }));
}

struct Medium {
  int index;
  std::uint32_t diskSize;
  std::uint32_t fileSize;
  int sectors;
  std::uint8_t n, mediaType;
};

class ConvertFloppy : public ::testing::TestWithParam<Medium> {};

TEST_P(ConvertFloppy, CopiesEverySectorInRecordOrder) {
  const Medium& m = GetParam();
  ScratchDir dir;
  auto disk = DiskBytes(m.diskSize);
  testing_support::WriteAll(dir.File("drive"), disk);
  disk::FileHandle source = disk::OpenImageRead(dir.File("drive").c_str());
  std::vector<std::uint32_t> offsets;
  ASSERT_EQ(disk::ConvertFloppyToImage(FileReader(source, &offsets), m.index,
                                       dir.File("COPY.MFD").c_str(), {}),
            disk::ImageResult::kDone);
  disk::CloseFile(source);
  auto image = ReadAll(dir.File("COPY.MFD"));
  ASSERT_EQ(image.size(), m.fileSize);
  EXPECT_EQ(offsets.size(), m.diskSize / (static_cast<std::uint32_t>(m.sectors) << (7 + m.n)));
  // Walk the records as a loader does: data follow in record order.
  std::uint32_t data = 68112, sectorsSeen = 0, size = 128u << m.n;
  for (int track = 0; track < 163; ++track)
    for (int slot = 0; slot < 26; ++slot) {
      const std::uint8_t* r = Record(image, track, slot);
      if (r[0] == 0xFF) {
        EXPECT_EQ(r[7], track & 1 ? 0x44 : 0x40);
        continue;
      }
      EXPECT_EQ(r[0], track >> 1);
      EXPECT_EQ(r[1], track & 1);
      EXPECT_EQ(r[2], slot + 1);
      EXPECT_EQ(r[3], m.n);
      EXPECT_EQ(r[4], 1);
      EXPECT_EQ(r[7], (track & 1) << 2);
      EXPECT_EQ(r[10], m.mediaType);
      std::uint32_t logical = static_cast<std::uint32_t>(track * m.sectors + slot) * size;
      ASSERT_EQ(std::memcmp(image.data() + data, disk.data() + logical, size), 0)
          << track << "/" << slot;
      data += size;
      ++sectorsSeen;
    }
  EXPECT_EQ(sectorsSeen * size, m.diskSize);

  // Mounted, every sector's data offset leads to the source's bytes.
  auto drive = fdd_testing::ResetDrive();
  ASSERT_EQ(drive->LoadImage(dir.File("COPY.MFD").c_str()), 1u);
  int tracks = static_cast<int>(m.diskSize / size / static_cast<std::uint32_t>(m.sectors));
  for (int track = 0; track < tracks; ++track) {
    ASSERT_EQ(drive->CountSectors(track >> 1, track & 1), static_cast<std::uint32_t>(m.sectors));
    for (int r = 1; r <= m.sectors; r += m.sectors - 1) {
      std::uint32_t offset =
          drive->FindSectorData(track >> 1, track & 1, static_cast<std::uint8_t>(r), m.n);
      std::uint32_t logical = static_cast<std::uint32_t>(track * m.sectors + r - 1) * size;
      ASSERT_EQ(std::memcmp(image.data() + offset, disk.data() + logical, size), 0)
          << track << "/" << r;
    }
  }
  drive->Eject();
}

INSTANTIATE_TEST_SUITE_P(Media, ConvertFloppy,
                         ::testing::Values(Medium{0, 1261568, 1329680, 8, 3, 0x90},
                                           Medium{1, 1474560, 1542672, 18, 2, 0x30}));

TEST(NewFloppyImage, FailedReadCreatesNothingAndFailedWritesAreReported) {
  ScratchDir dir;
  int reads = 0;
  auto failing = [&](std::uint32_t, void*, std::uint32_t) { return ++reads < 5; };
  EXPECT_EQ(disk::ConvertFloppyToImage(failing, 0, dir.File("X.MFD").c_str(), {}),
            disk::ImageResult::kReadFailed);
  EXPECT_FALSE(testing_support::Exists(dir.File("X.MFD")));

  EXPECT_EQ(disk::CreateBlankFloppyImage(dir.File("none/X.MFD").c_str(), {}),
            disk::ImageResult::kCreateFailed);
  disk::FailFileCallAfter(2);  // creation succeeds, the header write falls short
  EXPECT_EQ(disk::CreateBlankFloppyImage(dir.File("Y.MFD").c_str(), {}),
            disk::ImageResult::kWriteFailed);
  disk::FailFileCallAfter(0);
}

}  // namespace
