// The digests and the patched file under the commands.
#include <gtest/gtest.h>

#include "digest.h"
#include "patched_file.h"

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
