#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TextLayout.h"

using namespace tovak2d;
using namespace tovak2d::textlayout;

namespace {

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
