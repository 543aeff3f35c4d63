#include <gtest/gtest.h>

#include "Text.h"

using namespace tovak2d;

TEST(Text, CaseTrimAndCodePage) {
  EXPECT_EQ(text::ToUpper("hscore.ini"), "HSCORE.INI");
  EXPECT_EQ(text::ToLower("\xC4pfel"), "\xE4pfel");  // Windows-1252 letters fold too
  EXPECT_TRUE(text::EqualsNoCase("TopX", "topx"));
  EXPECT_FALSE(text::EqualsNoCase("TopX", "TopX "));
  EXPECT_EQ(text::Trim("  a b \t"), "a b");
  EXPECT_EQ(text::Trim("   "), "");

  const std::string cp1252 = "\x80 \xE9\xA9";  // euro sign, e acute, copyright
  EXPECT_EQ(text::Cp1252ToUtf8(cp1252), "\xE2\x82\xAC \xC3\xA9\xC2\xA9");
  EXPECT_EQ(text::Utf8ToCp1252(text::Cp1252ToUtf8(cp1252)), cp1252);
  EXPECT_EQ(text::Utf8ToCp1252("\xE4\xB8\xAD"), "?");  // not representable
}

TEST(Text, RoundsHalvesToEvenAndSaturates) {
  EXPECT_EQ(text::RoundHalfEven(800.5), 800);
  EXPECT_EQ(text::RoundHalfEven(801.5), 802);
  EXPECT_EQ(text::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(text::RoundHalfEven(1e300), INT32_MAX);
  EXPECT_EQ(text::RoundHalfEven(-1e300), INT32_MIN);
}
