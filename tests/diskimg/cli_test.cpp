// The command line: help, version, and usage errors with their exit code.
#include "digest.h"
#include "diskimg_fixture.h"

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

}  // namespace

namespace {

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

}  // namespace
