// SPDX-License-Identifier: Zlib
#pragma once

#include "Canvas.h"
#include "Scene.h"

namespace datagen {

// Paints a scene: the theme's background, the objects from far to near, then the overlay and
// a fine grain. The same scene always gives the same pixels, and an object's change touches
// only the pixels the object covers before or after it.
Canvas Render(const Theme& theme, const Scene& scene);

// Where two renders of the same size differ.
struct PixelDiff {
  int left = 0, top = 0, right = -1, bottom = -1;  // bounding box of changed pixels (inclusive)
  int changed = 0;                                 // pixels with any change
  int strong = 0;                                  // pixels where a channel changed by at least kStrongStep
  bool Empty() const { return changed == 0; }
};
inline constexpr int kStrongStep = 48;

PixelDiff Compare(const Canvas& a, const Canvas& b);

}  // namespace datagen
