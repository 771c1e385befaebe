#include "platform/file.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <string>
#include <vector>

#include "support/scratch.h"

namespace {

using testing_support::ReadAll;
using testing_support::ScratchDir;
using testing_support::WriteAll;

TEST(PlatformFile, HandlesAreNeverZeroOrOne) {
  ScratchDir dir;
  std::vector<platform::FileHandle> open;
  for (int i = 0; i < 8; ++i) {
    std::string path = dir.File("f" + std::to_string(i));
    platform::FileHandle file = platform::CreateFileTruncate(path.c_str());
    ASSERT_NE(file, platform::kNoFile);
    EXPECT_NE(file, 1u);
    open.push_back(file);
  }
  for (auto file : open) platform::CloseFile(file);
  EXPECT_EQ(platform::OpenFileRead(dir.File("missing").c_str()), platform::kNoFile);
  EXPECT_EQ(platform::OpenFileRead(dir.path().c_str()), platform::kNoFile);
}

TEST(PlatformFile, ShortReadsReportWhatMoved) {
  ScratchDir dir;
  std::string path = dir.File("image");
  WriteAll(path, {1, 2, 3, 4, 5});
  platform::FileHandle file = platform::OpenFileReadWrite(path.c_str());
  ASSERT_NE(file, platform::kNoFile);
  EXPECT_EQ(platform::FileSizeOf(file), 5u);
  ASSERT_TRUE(platform::SeekFile(file, 3));
  std::uint8_t buffer[8] = {};
  EXPECT_EQ(platform::ReadFile(file, buffer, 8), 2u);
  EXPECT_EQ(buffer[0], 4);
  ASSERT_TRUE(platform::SeekFile(file, 1));
  const std::uint8_t patch[] = {9, 9};
  EXPECT_EQ(platform::WriteFile(file, patch, 2), 2u);
  platform::CloseFile(file);
  EXPECT_EQ(ReadAll(path), (std::vector<std::uint8_t>{1, 9, 9, 4, 5}));
}

TEST(PlatformFile, NoFileAndFarPositionsFail) {
  std::uint8_t b = 0;
  EXPECT_FALSE(platform::SeekFile(platform::kNoFile, 0));
  EXPECT_EQ(platform::ReadFile(platform::kNoFile, &b, 1), 0u);
  EXPECT_EQ(platform::WriteFile(platform::kNoFile, &b, 1), 0u);
  EXPECT_EQ(platform::FileSizeOf(platform::kNoFile), 0u);
  ScratchDir dir;
  std::string path = dir.File("small");
  WriteAll(path, {1});
  platform::FileHandle file = platform::OpenFileRead(path.c_str());
  // File positions are signed 32-bit numbers: 2 GiB cannot be reached.
  EXPECT_FALSE(platform::SeekFile(file, 0x80000000u));
  EXPECT_TRUE(platform::SeekFile(file, 0x7FFFFFFFu));
  platform::CloseFile(file);
}

TEST(PlatformFile, UniqueFileReplacesTargetInOneStep) {
  ScratchDir dir;
  char temp[260];
  ASSERT_TRUE(platform::CreateUniqueFile(dir.path().c_str(), "mfd", temp));
  char other[260];
  ASSERT_TRUE(platform::CreateUniqueFile(dir.path().c_str(), "mfd", other));
  EXPECT_NE(std::string(temp), std::string(other));
  WriteAll(temp, {7, 7});
  std::string target = dir.File("image.mfd");
  WriteAll(target, {1, 2, 3});
  ASSERT_TRUE(platform::MoveFileOver(temp, target.c_str()));
  EXPECT_EQ(ReadAll(target), (std::vector<std::uint8_t>{7, 7}));
  EXPECT_FALSE(platform::FileExists(temp));
  EXPECT_TRUE(platform::RemoveFile(other));
}

#if !defined(_WIN32)
TEST(PlatformFile, ReplacementKeepsThePermissionsOfTheReplacedFile) {
  ScratchDir dir;
  std::string target = dir.File("shared.mfd");
  WriteAll(target, {1});
  ASSERT_EQ(::chmod(target.c_str(), 0664), 0);
  char temp[260];
  ASSERT_TRUE(platform::CreateUniqueFile(dir.path().c_str(), "mfd", temp));  // made 0600
  ASSERT_TRUE(platform::MoveFileOver(temp, target.c_str()));
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0664u);
}
#endif

}  // namespace
