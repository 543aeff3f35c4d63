#include <gtest/gtest.h>

#include "platform/Text.h"

using namespace tovak2d;

// Case folding and trimming are walked by the INI and path tests; what they do not reach is here.
TEST(Text, CaseTrimAndRounding) {
  EXPECT_EQ(text::ToUpper("hscore.ini"), "HSCORE.INI");
  EXPECT_EQ(text::ToLower("\xC4pfel"), "\xE4pfel");  // Windows-1252 letters fold too
  EXPECT_EQ(text::Trim("   "), "");
  EXPECT_EQ(text::RoundHalfEven(800.5), 800);
  EXPECT_EQ(text::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(text::RoundHalfEven(1e300), INT32_MAX);
  EXPECT_EQ(text::RoundHalfEven(-1e300), INT32_MIN);
}

TEST(CodePage, EveryByteComesBackAndOtherTextFailsOrIsMarked) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b)), utf8 = Cp1252ToUtf8(byte);
    EXPECT_TRUE(Utf8ToCp1252(utf8) == byte && Utf8ToCp1252Lossy(utf8) == byte) << b;
  }
  EXPECT_EQ(Cp1252ToUtf8("\xE9\x80\x81"), "\xC3\xA9\xE2\x82\xAC\xC2\x81");  // 0x81 has no character: U+0081
  // No Windows-1252 form: a CJK character, U+0080 (its byte is the euro sign's), a cut character.
  for (const char* none : {"\xE6\x97\xA5", "\xC2\x80", "\xC3"}) EXPECT_FALSE(Utf8ToCp1252(none)) << none;
  EXPECT_EQ(Utf8ToCp1252Lossy("a\xE6\x97\xA5\xC3("), "a?\xC3(");  // marked; a byte that is not UTF-8 kept
}
