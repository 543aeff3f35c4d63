// SPDX-License-Identifier: Zlib
#pragma once

#include <optional>
#include <vector>

#include "Canvas.h"
#include "Files.h"

namespace datagen {

// The colour the game keys out of its cursor and button pictures: ARGB 0x00FF00FF.
inline constexpr uint32_t kColourKey = 0x00FF00FFu;

// A 32-bit bitmap with an alpha channel (BITMAPV4HEADER, bit fields). Fully transparent pixels
// are written as the colour key exactly; partly transparent edge pixels keep their own colour
// and alpha, so the key makes the background vanish and the edges stay smooth.
Bytes EncodeBmp32(const Canvas& canvas);

// The ARGB words of a bitmap EncodeBmp32 wrote, top row first; nothing for any other layout.
struct Argb32Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};
std::optional<Argb32Image> DecodeBmp32(const Bytes& file);

}  // namespace datagen
