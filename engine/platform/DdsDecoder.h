// SPDX-License-Identifier: Zlib
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Images.h"

namespace tovak2d::platform::images {

// Decodes the top level of a DDS file: the block-compressed DXT1, DXT3 and DXT5 layouts and the
// uncompressed RGB, luminance and alpha layouts of 8 to 32 bits described by channel masks
// (A8R8G8B8, X8R8G8B8, R8G8B8, R5G6B5, A1R5G5B5, A4R4G4B4 and the like). Mip levels, which
// follow the top level, are not read.
std::optional<Image> DecodeDds(std::string_view bytes, std::string* error);

}  // namespace tovak2d::platform::images
