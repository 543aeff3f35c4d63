// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TextLayout.h"
#include "platform/Text.h"

using namespace tovak2d;

// Case folding and trimming are walked by the INI and path tests; what they do not reach is here.
TEST(Text, CaseTrimRoundingAndCodePage) {
  EXPECT_EQ(text::ToLower("\xC4pfel"), "\xE4pfel");  // Windows-1252 letters fold too
  EXPECT_EQ(text::Trim("   "), "");
  EXPECT_EQ(text::RoundHalfEven(800.5), 800);
  EXPECT_EQ(text::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(text::RoundHalfEven(1e300), INT32_MAX);
  EXPECT_EQ(text::RoundHalfEven(-1e300), INT32_MIN);

  // Every code-page byte comes back from UTF-8; other text fails or is marked.
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b)), utf8 = Cp1252ToUtf8(byte);
    EXPECT_TRUE(Utf8ToCp1252(utf8) == byte && Utf8ToCp1252Lossy(utf8) == byte) << b;
  }
  EXPECT_EQ(Cp1252ToUtf8("\xE9\x80\x81"), "\xC3\xA9\xE2\x82\xAC\xC2\x81");  // 0x81 has no character: U+0081
  // No Windows-1252 form: a CJK character, U+0080 (its byte is the euro sign's), a cut character.
  for (const char* none : {"\xE6\x97\xA5", "\xC2\x80", "\xC3"}) EXPECT_FALSE(Utf8ToCp1252(none)) << none;
  EXPECT_EQ(Utf8ToCp1252Lossy("a\xE6\x97\xA5\xC3("), "a?\xC3(");  // marked; a byte that is not UTF-8 kept
}

namespace {

using namespace tovak2d::textlayout;

using Lines = std::vector<std::string>;

// The lines of the text with every character 10 pixels wide but the line breaks, which take no room.
Lines Lay(const std::string& text, int32_t maxWidth, int32_t format = kWordBreak) {
  Advances tenPixels{};
  tenPixels.fill(10);
  tenPixels['\r'] = tenPixels['\n'] = 0;
  std::vector<Line> lines;
  BreakLines(text, tenPixels, maxWidth, format, lines);
  Lines out;
  for (const Line& line : lines) {
    out.push_back(text.substr(line.begin, line.end - line.begin));
    int32_t width = 0;
    for (unsigned char c : out.back()) width += tenPixels[c];
    EXPECT_EQ(line.width, width) << "width of '" << out.back() << "'";
  }
  return out;
}

}  // namespace

TEST(TextLayoutTest, WrapsAtBlanksAndLineBreaks) {
  const struct {
    std::string text;
    int32_t width;
    Lines lines;
  } cases[] = {
      {"aaa bbb ccc", 70, {"aaa bbb", "ccc"}},  // exactly full still fits
      {"aaa   bbb", 50, {"aaa", "bbb"}},
      {"  aaa bbb", 60, {"  aaa", "bbb"}},  // a paragraph's leading blanks stay
      {"aaa bbb ", 50, {"aaa", "bbb "}},
      {"a supercalifragilistic b", 50, {"a", "supercalifragilistic", "b"}},  // a long word stays whole
      {"one two", 0, {"one", "two"}},
      {"", 100, {}},
      {"ab\r\n\r\ncd", 100, {"ab", "", "cd"}},
      {"ab\ncd\re", 100, {"ab", "cd", "e"}},
      {"ab\r\n", 100, {"ab"}},
      {"aaa bbb\r\nc", 40, {"aaa", "bbb", "c"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Lay(c.text, c.width), c.lines) << c.text;
  // Without word breaking a long line stays long; a single line takes the breaks, which take no room.
  EXPECT_EQ(Lay("aaa bbb ccc", 40, 0), (Lines{"aaa bbb ccc"}));
  EXPECT_EQ(Lay("aaa bbb\r\nccc", 40, kSingleLine | kWordBreak), (Lines{"aaa bbb\r\nccc"}));
}

TEST(TextLayoutTest, PlacesLinesInTheRectangle) {
  const RECT rect{100, 50, 300, 150};
  EXPECT_EQ(LineLeft(rect, 60, 0), 100);
  EXPECT_EQ(LineLeft(rect, 60, kCenter), 170);
  EXPECT_EQ(LineLeft(rect, 61, kCenter), 169);
  EXPECT_EQ(LineLeft(rect, 260, kCenter), 70);  // wider than the rectangle: out on both sides
  EXPECT_EQ(LineLeft(rect, 60, kRight), 240);
  EXPECT_EQ(LineLeft(rect, 60, kCenter | kRight), 170);

  // Vertical placement only counts for single-line text.
  EXPECT_EQ(FirstLineTop(rect, 16, kVerticalCenter), 50);
  EXPECT_EQ(FirstLineTop(rect, 16, kBottom), 50);
  EXPECT_EQ(FirstLineTop(rect, 16, kVerticalCenter | kSingleLine), 92);
  EXPECT_EQ(FirstLineTop(rect, 16, kBottom | kSingleLine), 134);
}
