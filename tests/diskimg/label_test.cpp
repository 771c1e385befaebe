// protect and comment: header fields edited in place, everything else kept.
#include <filesystem>

#include "diskimg_fixture.h"
#include "support/disk_images.h"

namespace {

using namespace diskimg_test;
using testing_support::ReadAll;

struct Editable {
  const char* name;
  std::vector<std::uint8_t> (*build)(const testing_support::DiskSpec&);
  std::size_t headerEnd;  // bytes past it are the disk's tables and data
  std::size_t protectAt;
  std::uint8_t protectOn;
};

using LabelTest = DiskimgTest;

TEST_F(LabelTest, ProtectAndCommentChangeOnlyTheirFieldsAndAreRefusedWhereTheyCannotBe) {
  const testing_support::DiskSpec disk = testing_support::UniformDisk(77, 8, 3);
  const Editable formats[] = {{"r0.mfd", testing_support::BuildR0, 0x120, 0x114, 1},
                              {"r1.mfd", testing_support::BuildR1, 0x120, 0x114, 1},
                              {"one.d88", testing_support::BuildD88, 0x20, 0x1A, 0x10}};
  for (const Editable& f : formats) {
    SCOPED_TRACE(f.name);
    const auto before = f.build(disk);
    const std::string path = Save(f.name, before);
    EXPECT_EQ(Expect(0, {"comment", path}).out, "TEST DISK\n");
    Expect(0, {"protect", path, "on", "--dry-run"});
    Expect(0, {"comment", path, "OTHER", "-n"});
    EXPECT_EQ(ReadAll(path), before);
    Expect(0, {"protect", path, "on"});
    Expect(0, {"comment", path, "NEU"});
    EXPECT_EQ(Expect(0, {"comment", path}).out, "NEU\n");
    Expect(2, {"comment", path, std::string(300, 'x')});  // longer than the field
    const auto after = ReadAll(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[f.protectAt], f.protectOn);
    EXPECT_TRUE(std::equal(after.begin() + f.headerEnd, after.end(), before.begin() + f.headerEnd));
    Expect(0, {"protect", path, "off"});
    EXPECT_EQ(ReadAll(path)[f.protectAt], 0);
  }
  // MHD has a comment but no protect; headerless images have neither.
  const std::string mhd = Save(
      "disk.mhd", testing_support::MhdImage(2, 8, 32, 512, std::vector<std::uint8_t>(2 << 18)));
  EXPECT_EQ(Expect(0, {"comment", mhd}).out, "New HD Image\n");
  Expect(0, {"comment", mhd, "Mine"});
  EXPECT_EQ(Expect(0, {"comment", mhd}).out, "Mine\n");
  Expect(2, {"protect", mhd, "on"});
  const std::string raw = Save("raw.hdm", testing_support::BuildHeaderless(disk));
  Expect(2, {"comment", raw, "x"});
  // An image marked read-only is left alone.
  const auto before = ReadAll(dir.File("r0.mfd"));
  std::filesystem::permissions(dir.File("r0.mfd"), std::filesystem::perms::owner_read);
  Expect(4, {"protect", dir.File("r0.mfd"), "on"});
  EXPECT_EQ(ReadAll(dir.File("r0.mfd")), before);
}

}  // namespace
