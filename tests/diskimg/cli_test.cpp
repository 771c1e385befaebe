// The command line: help, version, and usage errors with their exit code; the digests and the
// patched file under the commands.
#include "digest.h"
#include "diskimg_fixture.h"
#include "patched_file.h"

namespace {

using diskimg_test::Diskimg;

TEST(CommandLine, HelpVersionAndUsageErrorsGiveTheirExitCodes) {
  const struct {
    std::vector<std::string> args;
    int code;
    const char* says;  // in stdout or stderr
  } cases[] = {
      {{"--version"}, 0, "diskimg 1.0"},
      {{}, 2, "usage: diskimg COMMAND"},
      {{"help", "convert"}, 0, "--allow-loss"},
      {{"ls", "--help"}, 0, "--json"},
      {{"put", "-h"}, 0, "--dry-run"},
      {{"frobnicate"}, 2, "unknown command"},
      {{"info"}, 2, "too few arguments"},
      {{"protect", "a", "on", "extra"}, 2, "too many arguments"},
      {{"convert", "a", "b", "--to"}, 2, "--to needs a value"},
      {{"ls", "a", "--dry-run"}, 2, "unknown option --dry-run"},
      {{"put", "a", "b", "--json"}, 2, "unknown option --json"},
      {{"info", "/nonexistent/image.d88"}, 3, "cannot be opened"},
  };
  for (const auto& c : cases) {
    const auto outcome = Diskimg(c.args);
    EXPECT_EQ(outcome.code, c.code) << (c.args.empty() ? "" : c.args[0]);
    EXPECT_NE((outcome.out + outcome.err).find(c.says), std::string::npos)
        << outcome.out << outcome.err;
  }
}

TEST(Digests, MatchTheirPublishedCheckValues) {
  const std::string nine = "123456789";
  diskimg::Digests d;
  d.Update({reinterpret_cast<const std::uint8_t*>(nine.data()), nine.size()});
  EXPECT_EQ(d.crc.Hex(), "cbf43926");
  EXPECT_EQ(d.sha.FinishHex(), "f7c3bc1d808e04732adf679965ccc34ca7ae3441");
  // Two blocks, the padding in the second.
  diskimg::Sha1 sha;
  const std::string abc = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  sha.Update({reinterpret_cast<const std::uint8_t*>(abc.data()), abc.size()});
  EXPECT_EQ(sha.FinishHex(), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
}

TEST(PatchedFile, WritesOverOthersMergeAndEveryReadSeesTheLatestBytes) {
  diskimg::PatchedFile file;
  file.OpenMemory({1, 2, 3, 4, 5, 6, 7, 8}, 12);
  const std::uint8_t a[] = {10, 11, 12}, b[] = {20, 21, 22, 23}, c[] = {30};
  file.Write(1, a);   // 1..3
  file.Write(6, b);   // 6..9, past the base's bytes
  file.Write(3, c);   // inside the first
  file.Write(14, c);  // past the end: the file grows
  file.Write(2, b);   // over the first and up to the second
  std::vector<std::uint8_t> all(15);
  ASSERT_TRUE(file.Read(0, all));
  EXPECT_EQ(all,
            (std::vector<std::uint8_t>{1, 10, 20, 21, 22, 23, 20, 21, 22, 23, 0, 0, 0, 0, 30}));
  EXPECT_EQ(file.Size(), 15u);
}

}  // namespace
