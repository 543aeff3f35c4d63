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
  Put32(out, 0x00FF0000u);
  Put32(out, 0x0000FF00u);
  Put32(out, 0x000000FFu);
  Put32(out, 0xFF000000u);
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

}  // namespace datagen
