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
    Put32(out, 0x00FF0000u);
    Put32(out, 0x0000FF00u);
    Put32(out, 0x000000FFu);
    Put32(out, 0xFF000000u);
  }
  Put32(out, kCapsTexture);
  for (int i = 0; i < 4; ++i) Put32(out, 0);  // caps 2 to 4, reserved
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

}  // namespace datagen
