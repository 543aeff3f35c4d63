// SPDX-License-Identifier: Zlib
#include "Dds.h"

#include <squish.h>

namespace datagen {
namespace {

constexpr uint32_t kCaps = 0x1, kHeight = 0x2, kWidth = 0x4, kPitch = 0x8, kPixelFormat = 0x1000;
constexpr uint32_t kLinearSize = 0x80000;
constexpr uint32_t kAlphaPixels = 0x1, kFourCC = 0x4, kRgb = 0x40;
constexpr uint32_t kCapsTexture = 0x1000;

}  // namespace

Bytes EncodeDds(const Canvas& canvas, DdsFormat format) {
  const uint32_t w = static_cast<uint32_t>(canvas.width()), h = static_cast<uint32_t>(canvas.height());
  const Bytes rgba = canvas.ToRgba();
  const bool compressed = format == DdsFormat::Dxt5;

  Bytes body;
  if (compressed) {
    const int flags = squish::kDxt5 | squish::kColourClusterFit | squish::kWeightColourByAlpha;
    body.resize(static_cast<size_t>(squish::GetStorageRequirements(canvas.width(), canvas.height(), flags)));
    squish::CompressImage(rgba.data(), canvas.width(), canvas.height(), body.data(), flags);
  } else {
    body.reserve(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
      body.push_back(rgba[i + 2]);  // stored as B, G, R, A bytes: the A8R8G8B8 word in little-endian
      body.push_back(rgba[i + 1]);
      body.push_back(rgba[i]);
      body.push_back(rgba[i + 3]);
    }
  }

  Bytes out;
  PutText(out, "DDS ");
  Put32(out, 124);
  Put32(out, kCaps | kHeight | kWidth | kPixelFormat | (compressed ? kLinearSize : kPitch));
  Put32(out, h);
  Put32(out, w);
  Put32(out, compressed ? static_cast<uint32_t>(body.size()) : w * 4);
  Put32(out, 0);  // depth
  Put32(out, 0);  // mipmap count
  for (int i = 0; i < 11; ++i) Put32(out, 0);
  Put32(out, 32);  // pixel format size
  if (compressed) {
    Put32(out, kFourCC);
    PutText(out, "DXT5");
    for (int i = 0; i < 5; ++i) Put32(out, 0);
  } else {
    Put32(out, kRgb | kAlphaPixels);
    Put32(out, 0);
    Put32(out, 32);
    PutBgraMasks(out);
  }
  Put32(out, kCapsTexture);
  for (int i = 0; i < 4; ++i) Put32(out, 0);  // caps 2 to 4, reserved
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::optional<DdsImage> DecodeDds(const Bytes& file) {
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(file[at]) | static_cast<uint32_t>(file[at + 1]) << 8 |
           static_cast<uint32_t>(file[at + 2]) << 16 | static_cast<uint32_t>(file[at + 3]) << 24;
  };
  if (file.size() < 128 || file[0] != 'D' || file[1] != 'D' || file[2] != 'S' || file[3] != ' ' ||
      u32(4) != 124)
    return std::nullopt;
  DdsImage image;
  image.height = static_cast<int>(u32(12));
  image.width = static_cast<int>(u32(16));
  if (image.width <= 0 || image.height <= 0 || image.width > 8192 || image.height > 8192) return std::nullopt;
  const size_t pixels = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  const uint32_t pixelFlags = u32(80);
  image.rgba.resize(pixels * 4);
  if ((pixelFlags & kFourCC) && file[84] == 'D' && file[85] == 'X' && file[86] == 'T' && file[87] == '5') {
    image.format = DdsFormat::Dxt5;
    const int flags = squish::kDxt5;
    const size_t need = static_cast<size_t>(squish::GetStorageRequirements(image.width, image.height, flags));
    if (file.size() < 128 + need) return std::nullopt;
    squish::DecompressImage(image.rgba.data(), image.width, image.height, file.data() + 128, flags);
    return image;
  }
  if ((pixelFlags & kRgb) && u32(88) == 32 && u32(92) == 0x00FF0000u && u32(104) == 0xFF000000u) {
    image.format = DdsFormat::A8R8G8B8;
    if (file.size() < 128 + pixels * 4) return std::nullopt;
    for (size_t i = 0; i < pixels; ++i) {
      image.rgba[i * 4] = file[128 + i * 4 + 2];
      image.rgba[i * 4 + 1] = file[128 + i * 4 + 1];
      image.rgba[i * 4 + 2] = file[128 + i * 4];
      image.rgba[i * 4 + 3] = file[128 + i * 4 + 3];
    }
    return image;
  }
  return std::nullopt;
}

}  // namespace datagen
