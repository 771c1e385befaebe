// Floppies of the PC-98 layouts against mtools and fsck.fat: what they write reads the same
// through the library, with or without a BPB, and what the library writes reads the same
// through them and passes fsck.
#include <gtest/gtest.h>

#include <random>

#include "fat/check.h"
#include "fat/format.h"
#include "fat/volume.h"
#include "fat_tools.h"

namespace {

using namespace disk::fat;
using fat_test::Shell;
using testing_support::WriteAll;

struct Medium {
  const char* name;
  FloppyFormat format;
  const char* mformat;  // mformat's parameters for the same medium
};

const Medium kMedia[] = {
    {"1232K", FloppyFormat::k1232K, "-t 77 -h 2 -s 8 -S 3 -c 1 -m 0xfe -r 6"},
    {"1440K", FloppyFormat::k1440K, "-f 1440"},
    {"640K", FloppyFormat::k640K, "-t 80 -h 2 -s 8"},
};

void PrintTo(const Medium& medium, std::ostream* out) {
  *out << medium.name;
}

std::vector<std::uint8_t> Pattern(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

const DosTimestamp kStamp = DosTimestamp::From(2001, 2, 3, 4, 5, 6);

class FloppyToolsTest : public ::testing::TestWithParam<Medium> {
 protected:
  void SetUp() override { SKIP_WITHOUT("mformat"); }
  std::uint32_t SectorSize() const { return FloppyLayout(GetParam().format).bytesPerSector; }

  testing_support::ScratchDir dir;
  std::string image = dir.File("disk.img");
  std::vector<std::uint8_t> big = Pattern(70001, 1);
  std::vector<std::uint8_t> small = Pattern(300, 2);
};

TEST_P(FloppyToolsTest, WhatMtoolsWroteListsAndReadsTheSameWithOrWithoutBpb) {
  ASSERT_TRUE(Shell("mformat -C -i " + image + " " + GetParam().mformat + " ::"));
  WriteAll(dir.File("big"), big);
  WriteAll(dir.File("small"), small);
  WriteAll(dir.File("empty"), {});
  const std::string in = " -i " + image + " ";
  ASSERT_TRUE(Shell("touch -d '2001-02-03 04:05:06' " + dir.File("big")));
  ASSERT_TRUE(Shell("mmd" + in + "::/SUB"));
  ASSERT_TRUE(Shell("mcopy -m" + in + dir.File("big") + " ::/BIG.BIN"));
  ASSERT_TRUE(Shell("mcopy" + in + dir.File("empty") + " ::/EMPTY.DAT"));
  ASSERT_TRUE(Shell("mcopy" + in + dir.File("small") + " ::/SUB/Mixed.Txt"));  // with a long name

  MemoryDevice device = fat_test::LoadDevice(image, SectorSize());
  for (bool withBpb : {true, false}) {
    SCOPED_TRACE(withBpb ? "BPB" : "no BPB");
    std::unique_ptr<Volume> volume;
    ASSERT_EQ(Volume::Mount(device, &volume), FatStatus::kOk);
    EXPECT_EQ(volume->LayoutFromBpb(), withBpb);
    // mformat lays the medium out as PC-98 MS-DOS does.
    const FatLayout expected = FloppyLayout(GetParam().format);
    const FatLayout& l = volume->Layout();
    EXPECT_EQ(std::tie(l.bytesPerSector, l.sectorsPerCluster, l.rootEntries, l.totalSectors,
                       l.media, l.sectorsPerFat),
              std::tie(expected.bytesPerSector, expected.sectorsPerCluster, expected.rootEntries,
                       expected.totalSectors, expected.media, expected.sectorsPerFat));

    std::vector<DirEntry> root;
    ASSERT_EQ(volume->List("/", &root), FatStatus::kOk);
    ASSERT_EQ(root.size(), 3u);
    EXPECT_EQ(ShortNameText(root[0].name), "SUB");
    EXPECT_TRUE(root[0].IsDirectory());
    EXPECT_EQ(ShortNameText(root[1].name), "BIG.BIN");
    EXPECT_EQ(root[1].size, big.size());
    EXPECT_EQ(root[1].written.date, kStamp.date);
    EXPECT_EQ(root[1].written.time, kStamp.time);
    EXPECT_EQ(ShortNameText(root[2].name), "EMPTY.DAT");

    std::vector<std::uint8_t> data;
    ASSERT_EQ(volume->ReadFile("big.bin", &data), FatStatus::kOk);
    EXPECT_EQ(data, big);
    ASSERT_EQ(volume->ReadFile("\\sub\\MIXED.TXT", &data), FatStatus::kOk);
    EXPECT_EQ(data, small);
    ASSERT_EQ(volume->ReadFile("EMPTY.DAT", &data), FatStatus::kOk);
    EXPECT_TRUE(data.empty());
    EXPECT_TRUE(Check(*volume).problems.empty());

    // Many PC-98 disks carry boot code where the BPB would be.
    std::vector<std::uint8_t> boot(SectorSize(), 0x90);
    ASSERT_TRUE(device.Write(0, boot));
  }
}

TEST_P(FloppyToolsTest, WhatTheLibraryWroteReadsTheSameThroughMtoolsAndPassesFsck) {
  SKIP_WITHOUT("fsck.fat");
  const FatLayout layout = FloppyLayout(GetParam().format);
  MemoryDevice device(layout.bytesPerSector, layout.totalSectors);
  ASSERT_EQ(FormatFloppy(device, GetParam().format, 0x12345678), FatStatus::kOk);
  std::unique_ptr<Volume> volume;
  ASSERT_EQ(Volume::Mount(device, &volume), FatStatus::kOk);
  const std::uint64_t emptyFree = volume->FreeBytes();

  ASSERT_EQ(volume->MakeDirectory("DIR", kStamp), FatStatus::kOk);
  ASSERT_EQ(volume->WriteFile("dir/big.bin", big, kStamp), FatStatus::kOk);
  // Enough entries that the directory grows past its first cluster, some removed again.
  for (int i = 0; i < 40; ++i) {
    const std::string name = "DIR/F" + std::to_string(i) + ".TXT";
    ASSERT_EQ(volume->WriteFile(name, Pattern(10, i), kStamp), FatStatus::kOk) << name;
    if (i % 3 == 0) {
      ASSERT_EQ(volume->Remove(name), FatStatus::kOk);
    }
  }
  ASSERT_EQ(volume->WriteFile("A.TXT", big, kStamp), FatStatus::kOk);
  ASSERT_EQ(volume->WriteFile("a.txt", small, kStamp), FatStatus::kOk);  // replaced
  ASSERT_EQ(volume->WriteFile("GONE.TXT", big, kStamp), FatStatus::kOk);
  ASSERT_EQ(volume->Remove("GONE.TXT"), FatStatus::kOk);
  EXPECT_TRUE(Check(*volume).problems.empty());
  fat_test::SaveDevice(device, image);

  std::string output;
  EXPECT_TRUE(Shell("fsck.fat -n " + image, &output));
  ASSERT_TRUE(Shell("mcopy -i " + image + " ::/A.TXT ::/DIR/BIG.BIN " + dir.path()));
  EXPECT_EQ(testing_support::ReadAll(dir.File("A.TXT")), small);
  EXPECT_EQ(testing_support::ReadAll(dir.File("BIG.BIN")), big);
  ASSERT_TRUE(Shell("mdir -i " + image + " ::/DIR", &output));
  EXPECT_NE(output.find("F38      TXT        10 2001-02-03   4:05"), std::string::npos) << output;
  EXPECT_EQ(output.find("F39"), std::string::npos) << output;

  // Removing everything gives every cluster back.
  for (int i = 0; i < 40; ++i) volume->Remove("DIR/F" + std::to_string(i) + ".TXT");
  ASSERT_EQ(volume->Remove("DIR"), FatStatus::kNotEmpty);
  ASSERT_EQ(volume->Remove("DIR/BIG.BIN"), FatStatus::kOk);
  ASSERT_EQ(volume->Remove("DIR"), FatStatus::kOk);
  ASSERT_EQ(volume->Remove("A.TXT"), FatStatus::kOk);
  EXPECT_EQ(volume->FreeBytes(), emptyFree);
}

INSTANTIATE_TEST_SUITE_P(Layouts, FloppyToolsTest, ::testing::ValuesIn(kMedia),
                         [](const auto& medium) { return std::string("M") + medium.param.name; });

}  // namespace
