// The library on its own: 8.3 names in Shift_JIS, full disks and directories, and the check
// finding the damage other tools leave.
#include <gtest/gtest.h>

#include "fat/check.h"
#include "fat/format.h"
#include "fat/volume.h"

namespace {

using namespace disk::fat;

std::string Stored(std::string_view text) {
  const std::optional<ShortName> name = MakeShortName(text);
  return name ? std::string(name->begin(), name->end()) : "<refused>";
}

TEST(ShortNameTest, NamesFoldAsciiOnlyAndPathsNeverSplitInsideShiftJis) {
  EXPECT_EQ(Stored("readme.txt"), "README  TXT");
  EXPECT_EQ(Stored("A"), "A          ");
  // "表" is 95h 5Ch and "ａ" 82h 81h: neither second byte is a separator or folded.
  EXPECT_EQ(Stored("\x95\x5c\x82\x81.a"), "\x95\x5c\x82\x81    A  ");
  EXPECT_EQ(Stored("\xe5\x40"), "\x05\x40         ");  // E5h would mark the entry deleted
  EXPECT_EQ(ShortNameText(*MakeShortName("\xe5\x40.y")), "\xe5\x40.Y");
  for (const char* bad : {"", "NINECHARS", "A.LONG", "A.B.C", "A*", "A.", ".A", "AB\x95"}) {
    EXPECT_EQ(Stored(bad), "<refused>") << bad;
  }
  EXPECT_EQ(SplitPath("\\\x95\x5c/b\\\\c"), (std::vector<std::string>{"\x95\x5c", "b", "c"}));
}

class VolumeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(FormatFloppy(device, FloppyFormat::k640K, 1), FatStatus::kOk);
    Remount();
    EXPECT_TRUE(volume->LayoutFromBpb());
  }
  void Remount() { ASSERT_EQ(Volume::Mount(device, &volume), FatStatus::kOk); }
  std::vector<std::uint8_t> Read(const std::string& path) {
    std::vector<std::uint8_t> data;
    EXPECT_EQ(volume->ReadFile(path, &data), FatStatus::kOk) << path;
    return data;
  }
  FatStatus Write(const std::string& path, std::size_t size, std::uint8_t fill = 1) {
    return volume->WriteFile(path, std::vector<std::uint8_t>(size, fill), {});
  }
  std::vector<ProblemKind> Problems() {
    std::vector<ProblemKind> kinds;
    for (const Problem& p : Check(*volume).problems) kinds.push_back(p.kind);
    return kinds;
  }

  MemoryDevice device{512, 1280};
  std::unique_ptr<Volume> volume;
};

TEST_F(VolumeTest, FullDisksAndRootsRefuseWritesAndKeepWhatWasThere) {
  const std::uint64_t free = volume->FreeBytes();
  ASSERT_EQ(Write("KEEP.BIN", free / 2, 7), FatStatus::kOk);
  EXPECT_EQ(Write("BIG.BIN", free), FatStatus::kDiskFull);
  DirEntry entry;
  EXPECT_EQ(volume->Stat("BIG.BIN", &entry), FatStatus::kNotFound);
  // Replacing may use the room the old contents free, and nothing beyond.
  EXPECT_EQ(Write("KEEP.BIN", free + 1), FatStatus::kDiskFull);
  EXPECT_EQ(Read("KEEP.BIN"), std::vector<std::uint8_t>(free / 2, 7));
  ASSERT_EQ(Write("KEEP.BIN", 10), FatStatus::kOk);
  ASSERT_EQ(Write("KEEP.BIN", free, 9), FatStatus::kOk);
  EXPECT_EQ(volume->FreeBytes(), 0u);

  for (int i = 1; i < 112; ++i) ASSERT_EQ(Write("F" + std::to_string(i), 0), FatStatus::kOk);
  EXPECT_TRUE(Read("F1").empty());
  EXPECT_EQ(Write("ONEMORE", 0), FatStatus::kRootFull);
  EXPECT_EQ(volume->MakeDirectory("ONEMORE", {}), FatStatus::kRootFull);
  EXPECT_EQ(Write("NODIR/A", 0), FatStatus::kNotFound);
  EXPECT_EQ(Write("KEEP.BIN/A", 0), FatStatus::kNotDirectory);
  EXPECT_EQ(Write("F1/..", 0), FatStatus::kNotDirectory);
  EXPECT_TRUE(Problems().empty());
}

TEST_F(VolumeTest, CheckFindsLostCrossLinkedShortAndLoopingChainsAndUnequalFats) {
  ASSERT_EQ(Write("A.BIN", 3 * 1024), FatStatus::kOk);  // clusters 2, 3, 4
  ASSERT_EQ(Write("B.BIN", 1024), FatStatus::kOk);      // cluster 5
  ASSERT_EQ(volume->MakeDirectory("SUB", {}), FatStatus::kOk);
  EXPECT_TRUE(Problems().empty());

  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(volume->ReadFatCopy(0, &bytes), FatStatus::kOk);
  FatTable fat(FatType::kFat12, bytes, volume->Fat().ClusterCount());
  fat.Set(3, 0xFFF);                                  // A ends early, leaving 4 to nobody
  fat.Set(5, 3);                                      // B runs on into A's second cluster
  ASSERT_TRUE(WriteBytes(device, 512, fat.Bytes()));  // the first copy only
  Remount();
  EXPECT_EQ(Problems(),
            (std::vector<ProblemKind>{ProblemKind::kFatCopiesDiffer, ProblemKind::kChainLength,
                                      ProblemKind::kCrossLinked, ProblemKind::kLostClusters}));
  std::vector<std::uint8_t> data;
  EXPECT_EQ(volume->ReadFile("A.BIN", &data), FatStatus::kCorrupt);

  fat.Set(6, 6);  // the directory's chain loops
  ASSERT_TRUE(WriteBytes(device, 512, fat.Bytes()));
  Remount();
  std::vector<DirEntry> entries;
  EXPECT_EQ(volume->List("SUB", &entries), FatStatus::kCorrupt);
  EXPECT_EQ(Write("SUB/X", 1), FatStatus::kCorrupt);
  const std::vector<ProblemKind> problems = Problems();
  EXPECT_NE(std::count(problems.begin(), problems.end(), ProblemKind::kBrokenChain), 0);
}

}  // namespace
