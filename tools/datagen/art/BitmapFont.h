// SPDX-License-Identifier: Zlib
#pragma once

#include <string>
#include <vector>

namespace datagen {

// The engine's default bitmap-font layout: 121 cells in 11 columns of 23 texels, glyphs 22 x 22.
struct FontLayout {
  static constexpr int kCells = 121;
  static constexpr int kColumns = 11;
  static constexpr int kPitch = 23;
  static constexpr int kGlyph = 22;
  static int CellX(int index) { return kPitch * (index % kColumns) + 1; }
  static int CellY(int index) { return kPitch * (index / kColumns) + 1; }
  // The character of each cell as UTF-8 ("" for a blank cell).
  static std::vector<std::string> Signs();
};

}  // namespace datagen
