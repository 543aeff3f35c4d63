#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TextLayout.h"

using namespace tovak2d;
using namespace tovak2d::textlayout;

namespace {

// Every character 10 pixels wide, line breaks none.
Advances TenPixels() {
  Advances a{};
  a.fill(10);
  a['\r'] = a['\n'] = 0;
  return a;
}

std::vector<std::string> Lay(const std::string& text, int32_t maxWidth, int32_t format = kWordBreak) {
  std::vector<Line> lines;
  BreakLines(text, TenPixels(), maxWidth, format, lines);
  std::vector<std::string> out;
  for (const Line& line : lines) {
    EXPECT_EQ(line.width, 10 * int32_t(line.end - line.begin))
        << "width of '" << text.substr(line.begin, line.end - line.begin) << "'";
    out.push_back(text.substr(line.begin, line.end - line.begin));
  }
  return out;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(TextLayoutTest, WrapsAtBlanksAndDropsThemAtTheBreak) {
  EXPECT_EQ(Lay("aaa bbb ccc", 75), (Lines{"aaa bbb", "ccc"}));
  EXPECT_EQ(Lay("aaa bbb ccc", 70), (Lines{"aaa bbb", "ccc"}));  // exactly full still fits
  EXPECT_EQ(Lay("aaa   bbb", 50), (Lines{"aaa", "bbb"}));
  EXPECT_EQ(Lay("  aaa bbb", 60), (Lines{"  aaa", "bbb"}));  // a paragraph's leading blanks stay
  EXPECT_EQ(Lay("aaa ", 30), (Lines{"aaa "}));
  EXPECT_EQ(Lay("aaa bbb ", 50), (Lines{"aaa", "bbb "}));
  // A word wider than the line stays whole on a line of its own.
  EXPECT_EQ(Lay("a supercalifragilistic b", 50), (Lines{"a", "supercalifragilistic", "b"}));
  EXPECT_EQ(Lay("one two", 0), (Lines{"one", "two"}));
  EXPECT_EQ(Lay("", 100), Lines{});
}

TEST(TextLayoutTest, LineBreaksAndSingleLine) {
  EXPECT_EQ(Lay("ab\r\ncd", 100), (Lines{"ab", "cd"}));
  EXPECT_EQ(Lay("ab\r\n\r\ncd", 100), (Lines{"ab", "", "cd"}));
  EXPECT_EQ(Lay("ab\ncd\re", 100), (Lines{"ab", "cd", "e"}));
  EXPECT_EQ(Lay("ab\r\n", 100), (Lines{"ab"}));
  EXPECT_EQ(Lay("aaa bbb\r\nc", 40), (Lines{"aaa", "bbb", "c"}));
  // Without word breaking a long line stays long.
  EXPECT_EQ(Lay("aaa bbb ccc", 40, 0), (Lines{"aaa bbb ccc"}));

  std::vector<Line> lines;
  BreakLines("aaa bbb\r\nccc", TenPixels(), 40, kSingleLine | kWordBreak, lines);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].end, 12u);
  EXPECT_EQ(lines[0].width, 100);  // the break characters take no room
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
  EXPECT_EQ(FirstLineTop(rect, 16, kSingleLine), 50);
}
