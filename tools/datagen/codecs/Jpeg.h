// SPDX-License-Identifier: Zlib
#pragma once

#include <optional>

#include "Files.h"

namespace datagen {

// An RGB picture, 3 bytes a pixel, top row first.
struct RgbImage {
  int width = 0, height = 0;
  Bytes pixels;
};

// Baseline JPEG with full-resolution colour (no chroma subsampling), optimised Huffman tables
// and the exact integer transform: the same pixels always give the same bytes, and two pictures
// that agree in a block agree there after decoding too.
Bytes EncodeJpeg(const RgbImage& image, int quality);
std::optional<RgbImage> DecodeJpeg(const Bytes& data);

}  // namespace datagen
