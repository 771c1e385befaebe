#include "platform/file.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <string>
#include <vector>

#include "support/scratch.h"

namespace {

using namespace testing_support;

TEST(PlatformFile, NoFileFailsAndPositionsAre64Bit) {
  std::uint8_t b = 0;
  EXPECT_FALSE(platform::SeekFile(platform::kNoFile, 0));
  EXPECT_EQ(platform::ReadFile(platform::kNoFile, &b, 1), 0u);
  EXPECT_EQ(platform::WriteFile(platform::kNoFile, &b, 1), 0u);
  EXPECT_EQ(platform::FileSizeOf(platform::kNoFile), 0u);
  ScratchDir dir;
  EXPECT_EQ(platform::OpenFileRead(dir.File("missing").c_str()), platform::kNoFile);
  EXPECT_EQ(platform::OpenFileRead(dir.path().c_str()), platform::kNoFile);
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
