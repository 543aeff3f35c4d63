// SPDX-License-Identifier: Zlib
#pragma once

#include <string>
#include <vector>

#include "Canvas.h"
#include "Jpeg.h"
#include "Level.h"

namespace datagen {

// One level as a contact sheet shows it.
struct SheetLevel {
  int level = 0;
  std::string caption;
  RgbImage original, modified;
  std::vector<DiffRect> rects;
};

// All levels of a pack, each original beside its modified copy, the difference rectangles drawn
// on the copy and numbered, with the caption underneath.
Canvas PackSheet(const std::string& title, const std::vector<SheetLevel>& levels);

}  // namespace datagen
