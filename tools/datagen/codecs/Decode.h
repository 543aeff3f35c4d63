// SPDX-License-Identifier: Zlib
#pragma once

#include <optional>
#include <string>

#include "Canvas.h"
#include "Files.h"

namespace datagen {

// Any picture of the game folder (JPEG, the DDS and BMP layouts the generator writes, PNG) as
// a canvas, chosen by the name's extension; nothing when it does not decode. Colour-keyed
// bitmaps come out with their key texels transparent, as the game shows them.
std::optional<Canvas> DecodePicture(const std::string& name, const Bytes& data);

}  // namespace datagen
