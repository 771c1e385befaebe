// check and info: broken images of each format give their reason and exit code; sound ones their
// digests.
#include "digest.h"
#include "diskimg_fixture.h"
#include "host/module_fixture.h"

namespace {

using namespace diskimg_test;
using testing_support::DiskSpec;

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  testing_support::PutLE(b, at, v, 4);
}

struct Broken {
  const char* name;
  Bytes image;
  int code;  // of check: 0 for warnings alone, which count as problems with --strict
  const char* reason;
};

std::vector<Broken> BrokenImages() {
  const DiskSpec disk = testing_support::UniformDisk(77, 8, 3);
  const Bytes d88 = testing_support::BuildD88(disk);
  const Bytes r0 = testing_support::BuildR0(disk);
  const Bytes r1 = testing_support::BuildR1(disk);
  const Bytes raw = testing_support::BuildHeaderless(disk);
  std::vector<Broken> cases;
  Bytes b = d88;
  Put32(b, 0x1C, static_cast<std::uint32_t>(b.size() + 1));
  cases.push_back({"size.d88", b, 1, "D88 disk size 1281969 is not the file size 1281968"});
  b = d88;
  Put32(b, 0x20 + 4 * 163, 672);  // a table written for 160 tracks, data at 0x2A0
  cases.push_back({"table.d88", b, 1, "runs into the first track at offset 672"});
  b = d88;
  b[688 + 14] = 0x00, b[688 + 15] = 0x02;  // 512 bytes stored for a 1024-byte sector
  cases.push_back({"sector.d88", b, 1, "track 0 (cylinder 0 side 0) R 1 stores 512 bytes"});
  b = r0;
  b.resize(b.size() - 1000);
  cases.push_back({"short.mfd", b, 1, "1 records have data past the end of the image"});
  b = r0;
  b.resize(60000);
  cases.push_back({"header.mfd", b, 1, "MFD R0 header is 68,112 bytes; the file holds 60,000"});
  b = r1;
  Put32(b, 0x120 + 4 * 7, 5000000);
  cases.push_back({"block.mfd", b, 1, "block of track 7 (cylinder 3 side 1) at 5000000 lies past"});
  b = r1;
  b.resize(b.size() + 100);
  cases.push_back({"tail.mfd", b, 0, "100 bytes after the last sector's data"});
  b = raw;
  b.pop_back();
  cases.push_back({"short.hdm", b, 1, "size 1,261,567 is no headerless floppy's: 1 bytes off"});
  b = Bytes(4096, 0);
  Put32(b, 8, 4096), Put32(b, 16, 512), Put32(b, 20, 18), Put32(b, 24, 2), Put32(b, 28, 80);
  b.insert(b.end(), raw.begin(), raw.end());
  cases.push_back({"wrong.fdi", b, 0, "FDI header says 80 cylinders of 18 sectors of 512"});
  const Bytes sectors(8 * 32 * 512 * 4, 0);
  cases.push_back({"heads.mhd", testing_support::MhdImage(4, 0, 32, 512, sectors), 1,
                   "a drive does not mount it: zero heads"});
  cases.push_back({"huge.mhd", testing_support::MhdImage(20, 8, 32, 512, sectors), 1,
                   "far more than the file's"});
  b = testing_support::HdiImage(4, 8, 32, 512, sectors);
  cases.push_back({"size.hdi", b, 0, "HDI data size field says 0, the geometry gives 524,288"});
  cases.push_back({"long.zhd", testing_support::ZhdImage(1, Bytes(2 * 8 * 33 * 256)), 0,
                   "ZHD header says 1 cylinders (67,840 bytes), the file holds 135,424"});
  cases.push_back({"noise.bin", Bytes(5000, 0x55), 3, "not a disk image"});
  return cases;
}

class CheckTest : public DiskimgTest {};

TEST_F(CheckTest, BrokenImagesOfEachFormatGiveTheirReasonAndExitCode) {
  for (const Broken& broken : BrokenImages()) {
    SCOPED_TRACE(broken.name);
    const std::string path = Save(broken.name, broken.image);
    const auto outcome = Expect(broken.code, {"check", path});
    EXPECT_NE((outcome.out + outcome.err).find(broken.reason), std::string::npos)
        << outcome.out << outcome.err;
    Expect(std::max(broken.code, 1), {"check", "--strict", "-q", path});
  }
}

TEST_F(CheckTest, SoundImagesGiveTheDigestsOfTheirSectors) {
  const DiskSpec disk = testing_support::UniformDisk(77, 8, 3);
  diskimg::Digests expected;
  expected.Update(testing_support::BuildHeaderless(disk));
  const auto outcome = Expect(0, {"check", Save("a.d88", testing_support::BuildD88(disk))});
  EXPECT_NE(outcome.out.find("1,261,568 bytes of data, CRC-32 " + expected.crc.Hex() + ", SHA-1 " +
                             expected.sha.FinishHex() + "\n"),
            std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find(": sound"), std::string::npos);
}

TEST_F(CheckTest, InfoNamesFormatGeometryAndWarnings) {
  DiskSpec disk = testing_support::UniformDisk(80, 18, 2);
  disk.writeProtect = 1;
  auto two = testing_support::BuildD88(disk);
  disk.tracks[2].sectors[1].repeatCount = 1;
  disk.tracks[2].sectors[1].status = 0xE0;
  two.insert(two.end(), two.begin(), two.end());
  const auto d88 = Expect(0, {"info", Save("two.d88", two)});
  EXPECT_NE(d88.out.find("D88, disk 2 of 2"), std::string::npos) << d88.out;
  EXPECT_NE(d88.out.find("80 cylinders, 2 heads, 18 sectors of 512 bytes, 1.44 MB class"),
            std::string::npos);
  EXPECT_NE(d88.out.find("warning: the file holds 2 disks"), std::string::npos);
  const auto r1 = Expect(0, {"info", Save("r1.mfd", testing_support::BuildR1(disk)), "--tracks"});
  EXPECT_NE(r1.out.find("write protect  on"), std::string::npos) << r1.out;
  EXPECT_NE(r1.out.find("track 2: 18 x 512 MFM, media 30: 1 2[AH=E0,x2] 3"), std::string::npos)
      << r1.out;
  const auto json = Expect(0, {"info", dir.File("r1.mfd"), "--json"});
  EXPECT_EQ(json.out.find("[{\"image\":"), 0u);
  EXPECT_NE(json.out.find("\"format\":\"MFD R1\",\"disks\":1"), std::string::npos) << json.out;
  Expect(3, {"info", dir.File("r1.mfd"), Save("noise", Bytes(3000, 1))});
}

}  // namespace
