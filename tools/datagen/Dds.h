#pragma once

#include "Canvas.h"
#include "Files.h"

namespace datagen {

enum class DdsFormat {
  A8R8G8B8,  // uncompressed, exact: small pictures, the font, sharp icons
  Dxt5,      // block-compressed with smooth alpha: large soft panels
};

// A DirectDraw Surface file without mipmaps (the engine builds its own chain).
Bytes EncodeDds(const Canvas& canvas, DdsFormat format);

}  // namespace datagen
