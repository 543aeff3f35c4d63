// SPDX-License-Identifier: Zlib
#pragma once

#include <string>
#include <vector>

#include "Differences.h"
#include "Files.h"
#include "Scene.h"

namespace datagen {

// A difference as the pack stores it: edges in picture pixels, both inclusive.
struct DiffRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  Change change = Change::Removed;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  bool Overlaps(const DiffRect& o) const {
    return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
  }
};

// Both pictures of one level, JPEG-encoded, and the five difference rectangles.
struct LevelPictures {
  int level = 0;
  std::string caption;
  std::vector<DiffRect> rects;
  Bytes original, modified;
};

struct PixelDiff;

// The rectangle marking a change: the changed pixels padded a little and grown outward to whole
// 8 x 8 blocks (the JPEG grid), at least 16 x 16, inside the picture.
DiffRect RectAround(const PixelDiff& changed, int width, int height, Change change);

// The quality both pictures are encoded with.
inline constexpr int kLevelQuality = 94;

// Illustrates level `level` of the theme and makes its modified copy with five differences of
// as many kinds as the scene allows. Rectangles are widened to whole 8 x 8 JPEG blocks, so the
// two encoded pictures agree exactly outside them; the result is checked after decoding.
LevelPictures MakeLevel(const Theme& theme, int level, uint64_t seed);

}  // namespace datagen
