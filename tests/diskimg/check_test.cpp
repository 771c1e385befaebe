// check: broken images of each format give their reason and exit code; sound ones their digests.
#include "digest.h"
#include "diskimg_fixture.h"
#include "support/disk_images.h"

namespace {

using namespace diskimg_test;
using namespace testing_support;

// `b` with the 32-bit little-endian `value` at `at`.
Bytes With(Bytes b, std::size_t at, std::size_t value) {
  PutLE(b, at, static_cast<std::uint32_t>(value), 4);
  return b;
}

using CheckTest = DiskimgTest;

TEST_F(CheckTest, BrokenImagesOfEachFormatGiveTheirReasonAndExitCodeAndSoundOnesTheirDigests) {
  const DiskSpec disk = UniformDisk(77, 8, 3);
  const Bytes d88 = BuildD88(disk), r0 = BuildR0(disk), r1 = BuildR1(disk),
              raw = BuildHeaderless(disk), sectors(8 * 32 * 512 * 4, 0);
  // check's exit code is 0 for warnings alone, which count as problems with --strict.
  const auto broken = [&](const char* name, const Bytes& image, int code, const char* reason) {
    SCOPED_TRACE(name);
    const std::string path = Save(name, image);
    const auto outcome = Expect(code, {"check", path});
    EXPECT_NE((outcome.out + outcome.err).find(reason), std::string::npos)
        << outcome.out << outcome.err;
    Expect(std::max(code, 1), {"check", "--strict", "-q", path});
  };
  broken("size.d88", With(d88, 0x1C, d88.size() + 1), 1, "D88 disk size 1281969 is not");
  // A table written for 160 tracks, data at 0x2A0.
  broken("table.d88", With(d88, 0x20 + 4 * 163, 672), 1, "runs into the first track at offset 672");
  Bytes b = d88;
  b[688 + 14] = 0x00, b[688 + 15] = 0x02;  // 512 bytes stored for a 1024-byte sector
  broken("sector.d88", b, 1, "track 0 (cylinder 0 side 0) R 1 stores 512 bytes");
  broken("short.mfd", Bytes(r0.begin(), r0.end() - 1000), 1, "1 records have data past the end");
  broken("header.mfd", Bytes(r0.begin(), r0.begin() + 60000), 1,
         "header is 68,112 bytes; the file holds 60,000");
  broken("block.mfd", With(r1, 0x120 + 4 * 7, 5000000), 1, "block of track 7 (cylinder 3 side 1)");
  broken("short.hdm", Bytes(raw.begin(), raw.end() - 1), 1, "no headerless floppy's: 1 bytes off");
  broken("heads.mhd", MhdImage(4, 0, 32, 512, sectors), 1, "does not mount it: zero heads");
  broken("huge.mhd", MhdImage(20, 8, 32, 512, sectors), 1, "far more than the file's");
  broken("size.hdi", HdiImage(4, 8, 32, 512, sectors), 0, "HDI data size field says 0");
  broken("noise.bin", Bytes(5000, 0x55), 3, "not a disk image");
  // A sound image: the digests of its sectors.
  diskimg::Digests expected;
  expected.Update(raw);
  const auto outcome = Expect(0, {"check", Save("a.d88", d88)});
  EXPECT_NE(outcome.out.find("1,261,568 bytes of data, CRC-32 " + expected.crc.Hex() + ", SHA-1 " +
                             expected.sha.FinishHex() + "\n"),
            std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find(": sound"), std::string::npos);
}

}  // namespace
