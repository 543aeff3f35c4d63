// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Image files in memory: decoding to 32-bit ARGB pixels and writing screenshots.
namespace tovak2d::platform::images {

// Pixels row by row from the top, one ARGB value each (alpha in the top byte). Formats without
// alpha give alpha 255.
struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> argb;
};

// Neither side of a decoded image may exceed this many pixels.
constexpr int kMaxImageSide = 8192;

// Decodes a DDS, BMP, JPEG or PNG file, told by its signature. A file of any other format, or a
// truncated or damaged one, gives nothing and the reason in *error.
std::optional<Image> Decode(std::string_view bytes, std::string* error);

// A Windows BMP file of the image: 24 bits per pixel, bottom-up rows, no palette.
std::string EncodeBmp24(const Image& image);

}  // namespace tovak2d::platform::images
