#include <gtest/gtest.h>

#include "platform/Text.h"

using namespace tovak2d;

TEST(Text, CaseAndTrim) {
  EXPECT_EQ(text::ToUpper("hscore.ini"), "HSCORE.INI");
  EXPECT_EQ(text::ToLower("\xC4pfel"), "\xE4pfel");  // Windows-1252 letters fold too
  EXPECT_TRUE(text::EqualsNoCase("TopX", "topx"));
  EXPECT_FALSE(text::EqualsNoCase("TopX", "TopX "));
  EXPECT_EQ(text::Trim("  a b \t"), "a b");
  EXPECT_EQ(text::Trim("   "), "");
}

TEST(CodePage, EveryByteComesBackFromUtf8) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(byte)), byte) << b;
    EXPECT_EQ(Utf8ToCp1252Lossy(Cp1252ToUtf8(byte)), byte) << b;
  }
  EXPECT_EQ(Cp1252ToUtf8("Caf\xE9 \x80\x9C\xA9"), "Caf\xC3\xA9 \xE2\x82\xAC\xC5\x93\xC2\xA9");
  // The five bytes without a character stand for the control characters of their value.
  for (const char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
    EXPECT_EQ(Cp1252ToUtf8(std::string(1, undefined)), std::string("\xC2") + undefined);
}

TEST(CodePage, TextWithoutAWindows1252FormFailsOrIsMarked) {
  EXPECT_FALSE(Utf8ToCp1252("a\xE6\x97\xA5"));  // a CJK character
  EXPECT_EQ(Utf8ToCp1252Lossy("a\xE6\x97\xA5z"), "a?z");
  EXPECT_FALSE(Utf8ToCp1252("\xC2\x80"));  // U+0080: its byte is the euro sign's
  EXPECT_EQ(Utf8ToCp1252Lossy("\xF0\x9F\x98\x80"), "?");
  // Bytes that are not UTF-8 (cut short, a bad follower) fail, or are kept as they are.
  EXPECT_FALSE(Utf8ToCp1252("Caf\xC3"));
  EXPECT_EQ(Utf8ToCp1252Lossy("Caf\xC3"), "Caf\xC3");
  EXPECT_EQ(Utf8ToCp1252Lossy("\xC3(\xE2\x82"), "\xC3(\xE2\x82");
}

TEST(Text, RoundsHalvesToEvenAndSaturates) {
  EXPECT_EQ(text::RoundHalfEven(800.5), 800);
  EXPECT_EQ(text::RoundHalfEven(801.5), 802);
  EXPECT_EQ(text::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(text::RoundHalfEven(1e300), INT32_MAX);
  EXPECT_EQ(text::RoundHalfEven(-1e300), INT32_MIN);
}
