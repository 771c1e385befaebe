// ls, get, put, rm, mkdir on every floppy format, checked against mtools and fsck.fat where they
// are installed; names in Shift_JIS and failed commands.
#include <filesystem>

#include "diskimg_fixture.h"
#include "fat/fat_tools.h"
#include "support/disk_images.h"

namespace {

using namespace diskimg_test;
using fat_test::Shell;
using testing_support::ReadAll;

struct Medium {
  const char* label;
  const char* mformat;  // mformat's parameters for the same medium
  const char* carrier;  // the format the files are put into
};

const Medium kMedia[] = {
    {"M1232K", "-t 77 -h 2 -s 8 -S 3 -c 1 -m 0xfe -r 6", "mfd-r0"},
    {"M1440K", "-f 1440", "d88"},
    {"M640K", "-t 80 -h 2 -s 8", "mfd"},
};

class FilesTest : public DiskimgTest, public ::testing::WithParamInterface<Medium> {
 protected:
  std::vector<std::uint8_t> big = testing_support::PatternBytes(70001, 1);
  std::vector<std::uint8_t> small = testing_support::PatternBytes(300, 2);
};

TEST_P(FilesTest, WhatMtoolsWroteReadsTheSameInEveryFormatAndWhatWePutPassesMtoolsAndFsck) {
  SKIP_WITHOUT("mformat");
  SKIP_WITHOUT("fsck.fat");
  const std::string raw = dir.File("disk.img");
  const std::string in = " -i " + raw + " ";
  testing_support::WriteAll(dir.File("big"), big);
  ASSERT_TRUE(Shell(std::string("mformat -C") + in + GetParam().mformat + " ::"));
  ASSERT_TRUE(Shell("touch -d '2001-02-03 04:05:06' " + dir.File("big")));
  ASSERT_TRUE(Shell("mmd" + in + "::/SUB"));
  ASSERT_TRUE(Shell("mcopy -m" + in + dir.File("big") + " ::/SUB/Big.Bin"));  // with a long name

  const std::string carrier = dir.File("disk.carrier");
  Expect(0, {"convert", raw, carrier, "--to", GetParam().carrier});
  Expect(0, {"check", carrier});
  const auto listing = Expect(0, {"ls", carrier, "/SUB"});
  EXPECT_EQ(listing.out.find("2001-02-03 04:05       70001  BIG.BIN\n"), 0u) << listing.out;
  Expect(0, {"get", carrier, "sub\\big.bin", dir.File("out.bin")});
  EXPECT_EQ(ReadAll(dir.File("out.bin")), big);
  EXPECT_EQ(std::filesystem::last_write_time(dir.File("out.bin")),
            std::filesystem::last_write_time(dir.File("big")));

  // Enough files that /SUB grows past its first cluster.
  std::vector<std::string> put = {"put", carrier, dir.File("big")};
  for (int i = 0; i < 40; ++i) {
    put.push_back(dir.File("F" + std::to_string(i) + ".TXT"));
    testing_support::WriteAll(put.back(), small);
  }
  put.push_back("/SUB");
  Expect(0, put);
  Expect(0, {"mkdir", carrier, "/NEW"});
  Expect(0, {"put", carrier, dir.File("F0.TXT"), "/NEW/COPY.TXT"});
  Expect(0, {"rm", carrier, "/SUB/BIG.BIN", "/SUB/F0.TXT"});
  Expect(0, {"convert", carrier, raw, "--to", "raw", "--allow-loss"});
  std::string output;
  EXPECT_TRUE(Shell("fsck.fat -n " + raw, &output));
  for (const char* name : {"SUB/F39.TXT", "SUB/BIG", "NEW/COPY.TXT"})
    ASSERT_TRUE(Shell("mcopy -o" + in + "::/" + name + " " + dir.File("m")) &&
                ReadAll(dir.File("m")) == (std::string(name) == "SUB/BIG" ? big : small))
        << name;
  ASSERT_TRUE(Shell("mdir" + in + "::/SUB", &output));
  EXPECT_EQ(output.find("BIN"), std::string::npos) << output;
  EXPECT_NE(output.find("BIG              70001 2001-02-03   4:05"), std::string::npos) << output;

  // Many PC-98 disks carry boot code where the BPB would be: the medium gives the same layout.
  const std::string withBpb = Expect(0, {"ls", raw, "/SUB"}).out;
  std::vector<std::uint8_t> bytes = ReadAll(raw);
  std::fill(bytes.begin(), bytes.begin() + 64, 0x90);
  EXPECT_EQ(Expect(0, {"ls", Save("nobpb.img", bytes), "/SUB"}).out, withBpb);
}

INSTANTIATE_TEST_SUITE_P(Media, FilesTest, ::testing::ValuesIn(kMedia),
                         [](const auto& m) { return std::string(m.param.label); });

class FileCommandsTest : public DiskimgTest {};

TEST_F(FileCommandsTest, ShiftJisNamesShowAsTheHostWritesThemAndAFailedPutChangesNothing) {
  const std::string image = dir.File("fat.d88");
  Expect(0, {"create", "floppy", image, "--media", "640K", "--format", "FAT", "--to", "d88"});
#ifndef _WIN32
  const std::string name = "\xE6\x97\xA5\xE6\x9C\xAC.TXT";  // 日本.TXT
  testing_support::WriteAll(dir.File(name), {1, 2, 3});
  Expect(0, {"put", image, dir.File(name)});
  const auto listing = Expect(0, {"ls", image, "--json"});
  EXPECT_NE(listing.out.find("\"name\":\"" + name + "\""), std::string::npos) << listing.out;
  std::filesystem::create_directory(dir.File("out"));
  Expect(0, {"get", image, name, dir.File("out")});
  EXPECT_EQ(ReadAll(dir.File("out/" + name)), (std::vector<std::uint8_t>{1, 2, 3}));
#endif
  const auto before = ReadAll(image);
  testing_support::WriteAll(dir.File("a.txt"), {1});
  testing_support::WriteAll(dir.File("huge"), std::vector<std::uint8_t>(700000, 7));
  Expect(4, {"put", image, dir.File("a.txt"), dir.File("huge"), "/"});  // the disk is too small
  Expect(1, {"put", image, dir.File("a.txt"), "/NO/SUCH/X.TXT"});
  Expect(0, {"put", image, dir.File("a.txt"), "--dry-run"});
  EXPECT_EQ(ReadAll(image), before);
  Expect(3, {"ls", Save("blank.mfd", {})});
}

}  // namespace
