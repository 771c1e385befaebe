// Code page 932 names both ways: iconv on POSIX and, under Wine, the Windows conversions.
#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCodecTest, ShiftJisNamesRoundTripAndRefuseWhatHasNoForm) {
  // Kanji, a half-width katakana, the NEC circled digit and a 5Ch second byte ("表").
  const std::string sjis = "\x93\xfa\x96\x7b\xb1\x87\x40\x95\x5c.TXT";
  const std::string utf8 = "日本ｱ①表.TXT";
  EXPECT_EQ(platform::ShiftJisToUtf8(sjis), utf8);
  EXPECT_EQ(platform::Utf8ToShiftJis(utf8), sjis);
  EXPECT_EQ(platform::ShiftJisToUtf8("\x81"), std::nullopt);      // a lead byte alone
  EXPECT_EQ(platform::Utf8ToShiftJis("\xc3\xa9"), std::nullopt);  // é: not in code page 932
}

}  // namespace
