// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TextLayout.h"
#include "tovak2d/Types.h"

namespace tovak2d {

constexpr int kSignCount = 121;  // glyph cells of a bitmap font

struct FontState {
  // The bitmap-font layout of "font.ini": the character of each cell, its top-left texel, and
  // the size of every cell, which is also the advance from one character to the next.
  std::array<std::string, kSignCount> signs;
  std::array<LetterSpecs, kSignCount> letterPos{};
  int16_t letterWidth = 0, letterHeight = 0;

  // System fonts under their lower-case key names, in the order they were made.
  std::vector<DXFonts> fonts;
  RECT fontRect;          // the rectangle of the last DrawFont
  FontDesc fontTemplate;  // the settings of the last CreateFont

  // Kept between DrawFont calls so that drawing text reserves no memory once warmed up.
  std::vector<textlayout::Line> lines;
};

// The cell of a character: the first whose sign equals it, blanks around either ignored; cell 0
// when none does.
int16_t FindSign(const FontState& fonts, std::string_view character);

// The layout used, and written to "font.ini", when the file is missing: 11 x 11 cells of 23 texels
// with 22 x 22 glyphs.
std::array<std::string, kSignCount> DefaultSigns();
LetterSpecs DefaultLetterPos(int index);

}  // namespace tovak2d
