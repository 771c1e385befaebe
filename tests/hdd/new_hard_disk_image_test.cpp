#include "media/new_hard_disk_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "media/file_routines.h"
#include "support/scratch.h"

namespace {

using testing_support::ReadAll;

TEST(NewHardDiskImage, OneMegabyteImageWithGeometryAndProgress) {
  testing_support::ScratchDir dir;
  std::vector<int> percents;
  ASSERT_EQ(disk::CreateHardDiskImage(
                dir.File("DISK1.MHD").c_str(), 1,
                [&](int done, int total) { percents.push_back(done * 100 / total); }),
            disk::ImageResult::kDone);
  auto image = ReadAll(dir.File("DISK1.MHD"));
  ASSERT_EQ(image.size(), 1049088u);
  EXPECT_EQ(percents, (std::vector<int>{0, 12, 25, 37, 50, 62, 75, 87}));
  EXPECT_EQ(std::memcmp(image.data(), "ZEBHDDIMAGE.R0\0\0New HD Image\0", 29), 0);
  const std::uint8_t geometry[14] = {0x00, 0x02, 0, 0, 8, 0, 0, 0, 8, 0, 32, 0, 0x00, 0x02};
  EXPECT_EQ(std::memcmp(image.data() + 272, geometry, sizeof geometry), 0);
  EXPECT_TRUE(std::all_of(image.begin() + 286, image.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(NewHardDiskImage, SizesAndTheirLimits) {
  EXPECT_EQ(disk::CylindersForSize(80), 640);
  EXPECT_EQ(disk::CylindersForSize(4095), 32760);
  EXPECT_EQ(disk::CylindersForSize(4096), -1);        // past 4 GiB; and no wrap to an empty disk
  EXPECT_EQ(disk::CylindersForSize(0x10000 + 1), 8);  // the entry's low 16 bits count

  testing_support::ScratchDir dir;
  EXPECT_EQ(disk::CreateHardDiskImage(dir.File("EMPTY.MHD").c_str(), 0, {}),
            disk::ImageResult::kDone);
  EXPECT_EQ(ReadAll(dir.File("EMPTY.MHD")).size(), 512u);
  EXPECT_EQ(disk::CreateHardDiskImage(dir.File("BIG.MHD").c_str(), 4096, {}),
            disk::ImageResult::kSizeRefused);
  EXPECT_FALSE(testing_support::Exists(dir.File("BIG.MHD")));
  disk::FailFileCallAfter(4);  // the second cylinder's write fails: the file keeps what was written
  EXPECT_EQ(disk::CreateHardDiskImage(dir.File("CUT.MHD").c_str(), 1, {}),
            disk::ImageResult::kWriteFailed);
  disk::FailFileCallAfter(0);
  EXPECT_EQ(ReadAll(dir.File("CUT.MHD")).size(), 512u + 131072u);
}

}  // namespace
