#include "media/file_routines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch.h"

namespace {

using testing_support::ReadAll;
using testing_support::ScratchDir;
using testing_support::WriteAll;

TEST(FileRoutines, WithoutAFileSeekingSucceedsAndEverythingElseGivesZero) {
  std::uint8_t buffer[4] = {1, 2, 3, 4};
  // The image readers rely on this: the seek passes, the read after it finds nothing.
  EXPECT_EQ(disk::SeekFailed(0, 100), 0u);
  EXPECT_EQ(disk::ReadFileBytes(0, buffer, 4), 0u);
  EXPECT_EQ(disk::WriteFileBytes(0, buffer, 4), 0u);
  EXPECT_EQ(disk::FileSize(0), 0u);
  disk::CloseFile(0);
  EXPECT_EQ(buffer[0], 1);
}

TEST(FileRoutines, OnlyARealSeekFailureIsReported) {
  ScratchDir dir;
  std::string path = dir.File("image");
  WriteAll(path, {1, 2, 3});
  disk::FileHandle file = disk::OpenImageRead(path.c_str());
  ASSERT_NE(file, 0u);
  EXPECT_EQ(disk::SeekFailed(file, 10), 0u);  // past the end is a position like any other
  EXPECT_EQ(disk::SeekFailed(file, 0x80000000u), 0u);
  EXPECT_EQ(disk::SeekFailed(file, ~std::uint64_t{0}), 1u);
  std::uint8_t buffer[3] = {};
  EXPECT_EQ(disk::SeekFailed(file, 1), 0u);
  EXPECT_EQ(disk::ReadFileBytes(file, buffer, 3), 2u);  // a short count tells of the end
  EXPECT_EQ(buffer[1], 3);
  // A file opened for reading refuses writes.
  EXPECT_EQ(disk::WriteFileBytes(file, buffer, 1), 0u);
  disk::CloseFile(file);
}

TEST(FileRoutines, CreatingTruncatesAndReadWriteOpensExistingFilesOnly) {
  ScratchDir dir;
  std::string path = dir.File("new.mfd");
  EXPECT_EQ(disk::OpenImageReadWrite(path.c_str()), 0u);
  WriteAll(path, {9, 9, 9, 9});
  disk::FileHandle file = disk::CreateImageFile(path.c_str());
  ASSERT_NE(file, 0u);
  EXPECT_EQ(disk::FileSize(file), 0u);
  const std::uint8_t bytes[] = {5, 6};
  EXPECT_EQ(disk::WriteFileBytes(file, bytes, 2), 2u);
  disk::CloseFile(file);
  EXPECT_EQ(ReadAll(path), (std::vector<std::uint8_t>{5, 6}));
  // Marked read-only, it is not overwritten, whoever asks.
  namespace fs = std::filesystem;
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(disk::CreateImageFile(path.c_str()), 0u);
  EXPECT_EQ(ReadAll(path), (std::vector<std::uint8_t>{5, 6}));
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}

TEST(FileRoutines, TestsCanFailTheNthCall) {
  ScratchDir dir;
  std::string path = dir.File("image");
  WriteAll(path, {1, 2, 3});
  disk::FailFileCallAfter(3);
  disk::FileHandle file = disk::OpenImageReadWrite(path.c_str());  // 1st
  ASSERT_NE(file, 0u);
  EXPECT_EQ(disk::FileSize(file), 3u);  // 2nd
  std::uint8_t buffer[3] = {};
  EXPECT_EQ(disk::ReadFileBytes(file, buffer, 3), 0u);  // 3rd: fails
  EXPECT_EQ(disk::SeekFailed(file, 0), 0u);
  EXPECT_EQ(disk::ReadFileBytes(file, buffer, 3), 3u);  // only once
  disk::FailFileCallAfter(1);
  EXPECT_EQ(disk::SeekFailed(file, 0), 1u);
  disk::FailFileCallAfter(0);
  disk::CloseFile(file);
}

}  // namespace
