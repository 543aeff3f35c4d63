// SPDX-License-Identifier: Zlib
#pragma once

#include <optional>

#include "Canvas.h"
#include "Files.h"

namespace datagen {

enum class DdsFormat {
  A8R8G8B8,  // uncompressed, exact: small pictures, the font, sharp icons
  Dxt5,      // block-compressed with smooth alpha: large soft panels
};

// A DirectDraw Surface file without mipmaps (the engine builds its own chain).
Bytes EncodeDds(const Canvas& canvas, DdsFormat format);

// What a DDS file written by EncodeDds holds: its format, size and straight RGBA pixels.
struct DdsImage {
  DdsFormat format = DdsFormat::A8R8G8B8;
  int width = 0, height = 0;
  Bytes rgba;
};
// Reads back the two layouts EncodeDds writes; nothing for anything else or a short file.
std::optional<DdsImage> DecodeDds(const Bytes& file);

}  // namespace datagen
