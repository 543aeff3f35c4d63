// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "tovak2d/Types.h"

// Lays text out in a rectangle by the rules of the Windows DrawText function.
namespace tovak2d::textlayout {

// The format flags that text drawing follows.
constexpr int32_t kCenter = 0x1;
constexpr int32_t kRight = 0x2;
constexpr int32_t kVerticalCenter = 0x4;  // single-line text only
constexpr int32_t kBottom = 0x8;          // single-line text only
constexpr int32_t kWordBreak = 0x10;
constexpr int32_t kSingleLine = 0x20;
constexpr int32_t kNoClip = 0x100;
constexpr int32_t kCalcRect = 0x400;  // measuring only: nothing is drawn

// The advance of every Windows-1252 character in pixels.
using Advances = std::array<int32_t, 256>;

// One line: the bytes [begin, end) of the text and their width.
struct Line {
  uint32_t begin = 0, end = 0;
  int32_t width = 0;
};

// Splits the text into lines. CR LF, a lone CR and a lone LF end a line; with word breaking, a
// line that would grow wider than maxWidth is broken at its last blank, the blanks at the break
// being dropped. A word wider than maxWidth stays whole on a line of its own. Single-line text
// is one line whatever it holds.
void BreakLines(std::string_view text, const Advances& advances, int32_t maxWidth, int32_t format,
                std::vector<Line>& lines);

// Where a line of the given width starts: at the left edge, centred (DT_CENTER) or against the
// right edge (DT_RIGHT).
int32_t LineLeft(const RECT& rect, int32_t lineWidth, int32_t format);

// Where the first line's top lies: at the top edge, or for single-line text centred vertically
// (DT_VCENTER) or against the bottom edge (DT_BOTTOM).
int32_t FirstLineTop(const RECT& rect, int32_t lineHeight, int32_t format);

}  // namespace tovak2d::textlayout
