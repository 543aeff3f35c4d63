// SPDX-License-Identifier: Zlib
#include "Bmp.h"

namespace datagen {

Bytes EncodeBmp32(const Canvas& canvas) {
  const uint32_t w = static_cast<uint32_t>(canvas.width()), h = static_cast<uint32_t>(canvas.height());
  const uint32_t headerSize = 14 + 108, imageSize = w * h * 4;
  Bytes out;
  out.reserve(headerSize + imageSize);
  PutText(out, "BM");
  Put32(out, headerSize + imageSize);
  Put32(out, 0);
  Put32(out, headerSize);
  Put32(out, 108);
  Put32(out, w);
  Put32(out, h);  // positive: rows bottom-up
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 3);  // BI_BITFIELDS
  Put32(out, imageSize);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  PutBgraMasks(out);
  Put32(out, 0x73524742u);                     // 'sRGB'
  out.insert(out.end(), 36 + 12, uint8_t{0});  // end points and gamma, unused with sRGB

  const Bytes rgba = canvas.ToRgba();
  for (uint32_t row = h; row-- > 0;) {
    for (uint32_t x = 0; x < w; ++x) {
      const uint8_t* p = &rgba[(row * w + x) * 4];
      uint32_t argb = p[3] == 0
                          ? kColourKey
                          : (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
      Put32(out, argb);
    }
  }
  return out;
}

std::optional<Argb32Image> DecodeBmp32(const Bytes& file) {
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(file[at]) | static_cast<uint32_t>(file[at + 1]) << 8 |
           static_cast<uint32_t>(file[at + 2]) << 16 | static_cast<uint32_t>(file[at + 3]) << 24;
  };
  if (file.size() < 14 + 108 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const uint32_t offset = u32(10), header = u32(14);
  const int32_t width = static_cast<int32_t>(u32(18)), height = static_cast<int32_t>(u32(22));
  const uint32_t bits = static_cast<uint32_t>(file[28]) | static_cast<uint32_t>(file[29]) << 8;
  if (header < 108 || bits != 32 || u32(30) != 3 || width <= 0 || height <= 0 || width > 4096 ||
      height > 4096)
    return std::nullopt;
  if (u32(54) != 0x00FF0000u || u32(58) != 0x0000FF00u || u32(62) != 0x000000FFu || u32(66) != 0xFF000000u)
    return std::nullopt;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (file.size() < offset + count * 4) return std::nullopt;
  Argb32Image image{width, height, std::vector<uint32_t>(count)};
  for (int32_t row = 0; row < height; ++row)
    for (int32_t x = 0; x < width; ++x)
      image.pixels[static_cast<size_t>(height - 1 - row) * static_cast<size_t>(width) +
                   static_cast<size_t>(x)] =
          u32(offset + (static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4);
  return image;
}

}  // namespace datagen
