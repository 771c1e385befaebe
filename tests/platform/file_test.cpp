#include "platform/file.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <iterator>
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
  // Positioned calls alike, whatever the file position.
  EXPECT_EQ(platform::ReadFileAt(file, 4, buffer, 8), 1u);
  EXPECT_EQ(buffer[0], 5);
  EXPECT_EQ(platform::WriteFileAt(file, 0, patch, 1), 1u);
  platform::CloseFile(file);
  EXPECT_EQ(ReadAll(path), (std::vector<std::uint8_t>{9, 9, 9, 4, 5}));
}

TEST(PlatformFile, NoFileFailsAndPositionsAre64Bit) {
  std::uint8_t b = 0;
  EXPECT_FALSE(platform::SeekFile(platform::kNoFile, 0));
  EXPECT_EQ(platform::ReadFile(platform::kNoFile, &b, 1), 0u);
  EXPECT_EQ(platform::WriteFile(platform::kNoFile, &b, 1), 0u);
  EXPECT_EQ(platform::FileSizeOf(platform::kNoFile), 0u);
  ScratchDir dir;
  std::string path = dir.File("small");
  WriteAll(path, {1});
  platform::FileHandle file = platform::OpenFileReadWrite(path.c_str());
  // A byte written past 4 GiB makes a file of 4 GiB + 2 (sparse where the file system allows).
  ASSERT_TRUE(platform::SeekFile(file, 0x100000001u));
  EXPECT_EQ(platform::WriteFile(file, &b, 1), 1u);
  EXPECT_EQ(platform::FileSizeOf(file), 0x100000002u);
  EXPECT_EQ(platform::WriteFileAt(file, 0x100000002u, &b, 1), 1u);
  EXPECT_EQ(platform::ReadFileAt(file, 0x100000001u, &b, 1), 1u);
  EXPECT_EQ(platform::FileSizeOf(file), 0x100000003u);
  EXPECT_FALSE(platform::SeekFile(file, ~std::uint64_t{0}));
  EXPECT_EQ(platform::ReadFileAt(file, ~std::uint64_t{0}, &b, 1), 0u);
  platform::CloseFile(file);
}

TEST(PlatformFile, ReplacementIsWholeOrNothingAndLeavesNoTemporaryFile) {
  ScratchDir dir;
  char temp[260], other[260];
  ASSERT_TRUE(platform::CreateUniqueFile(dir.path().c_str(), "mfd", temp));
  ASSERT_TRUE(platform::CreateUniqueFile(dir.path().c_str(), "mfd", other));
  EXPECT_NE(std::string(temp), std::string(other));
  ASSERT_TRUE(platform::RemoveFile(temp) && platform::RemoveFile(other));

  const std::string target = dir.File("image.mfd");
  auto writing = [](std::vector<std::uint8_t> bytes, bool ok) {
    return [bytes, ok](platform::FileHandle file) {
      const auto n = static_cast<std::uint32_t>(bytes.size());
      return platform::WriteFile(file, bytes.data(), n) == n && ok;
    };
  };
  ASSERT_TRUE(platform::ReplaceFileContents(target.c_str(), writing({1, 2, 3}, true)));  // made
  EXPECT_FALSE(platform::ReplaceFileContents(target.c_str(), writing({9}, false)));
  EXPECT_EQ(ReadAll(target), (std::vector<std::uint8_t>{1, 2, 3}));
  ASSERT_TRUE(platform::ReplaceFileContents(target.c_str(), writing({7, 7}, true)));
  EXPECT_EQ(ReadAll(target), (std::vector<std::uint8_t>{7, 7}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

#if !defined(_WIN32)
TEST(PlatformFile, ReplacementFollowsLinksAndKeepsOwnerGroupAndMode) {
  ScratchDir dir;
  const std::string target = dir.File("shared.mfd");
  const std::string link = dir.File("link.mfd");
  WriteAll(target, {1});
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0664), 0);
  if (::getuid() == 0) {
    ASSERT_EQ(::chown(target.c_str(), 1, 1), 0);  // another owner and group
  }
  struct stat before, after;
  ASSERT_EQ(::stat(target.c_str(), &before), 0);
  ASSERT_TRUE(platform::ReplaceFileContents(link.c_str(), [](platform::FileHandle file) {
    return platform::WriteFile(file, "\2", 1) == 1;
  }));
  ASSERT_EQ(::lstat(link.c_str(), &after), 0);
  EXPECT_TRUE(S_ISLNK(after.st_mode));
  ASSERT_EQ(::stat(target.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0664u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(ReadAll(target), (std::vector<std::uint8_t>{2}));
}
#endif

}  // namespace
