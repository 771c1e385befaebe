// convert: round trips, refused losses, the disks of a D88 file split or edited alone, hard disks.
#include "diskimg_fixture.h"
#include "support/disk_images.h"

namespace {

using namespace diskimg_test;
using testing_support::DiskSpec;
using testing_support::ReadAll;

// A disk with what copy-protected PC-98 floppies carry: an FM track of 128-byte sectors, mixed
// sizes, interleave, sectors that read with an error status, an ID of another cylinder.
DiskSpec IrregularDisk() {
  DiskSpec disk = testing_support::UniformDisk(77, 8, 3, {1, 5, 2, 6, 3, 7, 4, 8});
  disk.tracks[0].sectors.clear();
  for (std::uint8_t r = 1; r <= 26; ++r) disk.tracks[0].sectors.push_back({0, 0, r, 0, 0});
  disk.tracks[5].sectors[3].status = 0xB0;
  disk.tracks[5].sectors[4].N = 2;
  disk.tracks[9].sectors[0].C = 40;
  disk.tracks[154].sectors = {{77, 0, 1, 3}};  // past the 77 cylinders of a 1.23 MB layout
  disk.comment = "PROTECTED";
  return disk;
}

// Everything after the media type byte: MFD holds no D88 media byte, which is derived again.
std::vector<std::uint8_t> WithoutMediaByte(std::vector<std::uint8_t> d88) {
  if (d88.size() > 0x1B) d88[0x1B] = 0;
  return d88;
}

class ConvertTest : public DiskimgTest {
 protected:
  // Format, size and data digests of an image, as check prints them.
  std::string Fingerprint(const std::string& path) {
    const auto check = Expect(0, {"check", path, "--json"});
    return check.out.substr(check.out.find("\"dataBytes\""));
  }
  std::string TrackMap(const std::string& path) {
    const auto info = Expect(0, {"info", path, "--tracks", "--json"});
    return info.out.substr(info.out.find("\"tracks\""));
  }
};

TEST_F(ConvertTest, D88ToMfdAndBackKeepsEverythingD88Holds) {
  const auto original = testing_support::BuildD88(IrregularDisk());
  const std::string d88 = Save("in.d88", original);
  for (const char* mfd : {"mfd", "mfd-r0"}) {
    SCOPED_TRACE(mfd);
    const std::string middle = dir.File(std::string(mfd) + ".mfd");
    const std::string back = dir.File(std::string(mfd) + ".d88");
    Expect(0, {"convert", d88, middle, "--to", mfd});
    Expect(0, {"convert", middle, back, "--to", "d88"});
    EXPECT_EQ(WithoutMediaByte(ReadAll(back)), original);
  }
}

TEST_F(ConvertTest, LossesAreListedAndRefusedUnlessAllowed) {
  DiskSpec disk = testing_support::UniformDisk(77, 8, 3);
  disk.tracks[3].sectors[2].repeatCount = 2;
  disk.tracks[4].specials.push_back({0x06, 2, 0, 9, 3, 0x40, 1, 64});
  const std::string r1 = Save("copies.mfd", testing_support::BuildR1(disk));
  const std::string d88 = dir.File("out.d88");
  auto refused = Expect(1, {"convert", r1, d88, "--to", "d88"});
  EXPECT_NE(refused.err.find("repeat copies: 2 on track 3"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("special reads: 1 on track 4"), std::string::npos) << refused.err;
  EXPECT_FALSE(testing_support::Exists(d88));
  Expect(1, {"convert", r1, dir.File("r0.mfd"), "--to", "mfd-r0"});
  Expect(1, {"convert", r1, dir.File("out.img"), "--to", "raw"});
  const auto allowed = Expect(0, {"convert", r1, d88, "--to", "d88", "--allow-loss"});
  EXPECT_NE(allowed.err.find("loses repeat copies"), std::string::npos);
  Expect(0, {"info", d88});
  // R1 holds it all.
  const std::string same = dir.File("same.mfd");
  Expect(0, {"convert", r1, same, "--to", "mfd"});
  EXPECT_EQ(TrackMap(same), TrackMap(r1));
  EXPECT_EQ(Fingerprint(same), Fingerprint(r1));

  // A disk of irregular tracks has no headerless form; a regular one goes behind FDI's header.
  Expect(1, {"convert", Save("odd.d88", testing_support::BuildD88(IrregularDisk())),
             dir.File("odd.img"), "--to", "raw"});
  const auto raw = testing_support::BuildHeaderless(testing_support::UniformDisk(80, 18, 2));
  Expect(0, {"convert", Save("plain.img", raw), dir.File("plain.fdi"), "--to", "fdi"});
  const auto fdi = ReadAll(dir.File("plain.fdi"));
  EXPECT_EQ(fdi[4] << 8 | fdi[28], 0x3050);  // 1.44 MB class, 80 cylinders
  Expect(0, {"convert", dir.File("plain.fdi"), dir.File("plain2.img"), "--to", "raw"});
  EXPECT_EQ(ReadAll(dir.File("plain2.img")), raw);
}

TEST_F(ConvertTest, DisksOfAD88FileAreSplitOrEditedAlone) {
  DiskSpec disk = testing_support::UniformDisk(77, 8, 3);
  auto both = testing_support::BuildD88(disk);
  disk.comment = "DISK B";
  const auto second = testing_support::BuildD88(disk);
  both.insert(both.end(), second.begin(), second.end());
  const std::string two = Save("two.d88", both);
  Expect(2, {"convert", two, dir.File("x.mfd"), "--to", "mfd"});
  Expect(0, {"convert", two, dir.File("part.d88"), "--to", "d88", "--split"});
  EXPECT_EQ(WithoutMediaByte(ReadAll(dir.File("part-2.d88"))), second);
  EXPECT_EQ(Expect(0, {"comment", dir.File("part-1.d88")}).out, "TEST DISK\n");
  Expect(0, {"protect", two + "::2", "on"});
  Expect(0, {"comment", two + "::2", "ZWEI"});
  EXPECT_EQ(Expect(0, {"comment", two}).out, "TEST DISK\n");
  EXPECT_EQ(Expect(0, {"comment", two + "::2"}).out, "ZWEI\n");
  const auto after = ReadAll(two);
  EXPECT_EQ(after[0x1A], 0);
  EXPECT_EQ(after[second.size() + 0x1A], 0x10);
}

TEST_F(ConvertTest, HardDisksKeepGeometryAndSectorsAcrossFormats) {
  const auto data = testing_support::PatternBytes(20 * 8 * 33 * 256, 3);
  const std::string zhd = Save("disk.zhd", testing_support::ZhdImage(20, data));
  Expect(0, {"convert", zhd, dir.File("disk.mhd"), "--to", "mhd"});
  Expect(0, {"convert", dir.File("disk.mhd"), dir.File("disk.hdi"), "--to", "hdi"});
  Expect(0, {"convert", dir.File("disk.hdi"), dir.File("disk.raw"), "--to", "raw"});
  EXPECT_EQ(ReadAll(dir.File("disk.raw")), data);
  EXPECT_EQ(ReadAll(dir.File("disk.hdi")).size(), 4096 + data.size());
  EXPECT_EQ(Fingerprint(dir.File("disk.hdi")), Fingerprint(zhd));
  const auto info = Expect(0, {"info", dir.File("disk.hdi")});
  EXPECT_NE(info.out.find("20 cylinders, 8 heads, 33 sectors of 256 bytes"), std::string::npos)
      << info.out;
}

}  // namespace
