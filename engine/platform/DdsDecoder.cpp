// SPDX-License-Identifier: Zlib
#include "platform/DdsDecoder.h"

#include <squish.h>

#include <bit>
#include <cstdint>
#include <cstring>

namespace tovak2d::platform::images {
namespace {

constexpr size_t kHeaderEnd = 128;  // signature and header; the top level's data follows

// Bits of the header's flags, of its pixel format's flags and of its second capabilities word.
constexpr uint32_t kFlagPitch = 0x8;
constexpr uint32_t kPixelAlphaPixels = 0x1, kPixelAlpha = 0x2, kPixelFourCc = 0x4, kPixelPalette8 = 0x20,
                   kPixelRgb = 0x40, kPixelLuminance = 0x20000;
constexpr uint32_t kCaps2CubeMap = 0x200, kCaps2Volume = 0x200000;

uint32_t Read32(std::string_view bytes, size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

constexpr uint32_t FourCc(const char (&name)[5]) {
  return static_cast<uint32_t>(name[0]) | static_cast<uint32_t>(name[1]) << 8 |
         static_cast<uint32_t>(name[2]) << 16 | static_cast<uint32_t>(name[3]) << 24;
}

std::string FourCcText(uint32_t code) {
  std::string textForm;
  for (int i = 0; i < 4; ++i) {
    char c = static_cast<char>((code >> (8 * i)) & 0xFF);
    textForm += (c >= 32 && c < 127) ? c : '?';
  }
  return textForm;
}

struct Header {
  uint32_t flags, height, width, pitch, depth;
  uint32_t pixelFlags, fourCc, bitCount, redMask, greenMask, blueMask, alphaMask;
  uint32_t caps2;
};

// The header's words at their offsets in the file (the four-byte signature comes first).
Header ReadHeader(std::string_view bytes) {
  auto at = [bytes](size_t offset) { return Read32(bytes, offset); };
  return {.flags = at(8),
          .height = at(12),
          .width = at(16),
          .pitch = at(20),
          .depth = at(24),
          .pixelFlags = at(80),
          .fourCc = at(84),
          .bitCount = at(88),
          .redMask = at(92),
          .greenMask = at(96),
          .blueMask = at(100),
          .alphaMask = at(104),
          .caps2 = at(112)};
}

// One channel described by a contiguous bit mask, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t top = 0;  // the largest value the channel holds

  static std::optional<Channel> Of(uint32_t mask) {
    if (mask == 0) return Channel{};
    Channel c;
    c.mask = mask;
    c.shift = std::countr_zero(mask);
    c.top = mask >> c.shift;
    if ((c.top & (c.top + 1)) != 0) return std::nullopt;  // holes in the mask
    return c;
  }
  uint32_t Value(uint32_t pixel, uint32_t absent) const {
    if (mask == 0) return absent;
    uint64_t v = (pixel & mask) >> shift;
    return static_cast<uint32_t>((v * 255 + top / 2) / top);
  }
};

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

bool DecodeBlocks(std::string_view data, const Header& h, Image& image, std::string* error) {
  int flags = 0;
  size_t blockBytes = 16;
  switch (h.fourCc) {
    case FourCc("DXT1"):
      flags = squish::kDxt1;
      blockBytes = 8;
      break;
    case FourCc("DXT3"):
      flags = squish::kDxt3;
      break;
    case FourCc("DXT5"):
      flags = squish::kDxt5;
      break;
    default:
      return Fail(error, "unsupported DDS compression '" + FourCcText(h.fourCc) + "'");
  }
  const size_t blocks = ((h.width + 3) / 4) * static_cast<size_t>((h.height + 3) / 4);
  if (data.size() < blocks * blockBytes)
    return Fail(error, "DDS file is truncated: the image needs " + std::to_string(blocks * blockBytes) +
                           " bytes, the file holds " + std::to_string(data.size()));

  image.argb.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), 0);
  // Block by block on this thread: the library's whole-image call starts a pool of threads that
  // spin on after it, which costs a start-up more than the decoding does.
  const char* block = data.data();
  squish::u8 rgba[16 * 4];
  for (int top = 0; top < image.height; top += 4) {
    for (int left = 0; left < image.width; left += 4, block += blockBytes) {
      squish::Decompress(rgba, block, flags);
      for (int y = 0; y < 4 && top + y < image.height; ++y) {
        uint32_t* row = image.argb.data() + static_cast<size_t>(top + y) * static_cast<size_t>(image.width);
        for (int x = 0; x < 4 && left + x < image.width; ++x) {
          const squish::u8* texel = rgba + 4 * (4 * y + x);
          row[left + x] = uint32_t{texel[3]} << 24 | uint32_t{texel[0]} << 16 | uint32_t{texel[1]} << 8 | texel[2];
        }
      }
    }
  }
  return true;
}

bool DecodeMasked(std::string_view data, const Header& h, Image& image, std::string* error) {
  if (h.pixelFlags & kPixelPalette8) return Fail(error, "palette DDS files are not supported");
  if (h.bitCount != 8 && h.bitCount != 16 && h.bitCount != 24 && h.bitCount != 32)
    return Fail(error, "unsupported DDS pixel size of " + std::to_string(h.bitCount) + " bits");
  const bool colour = h.pixelFlags & (kPixelRgb | kPixelLuminance);
  const bool alpha = (h.pixelFlags & (kPixelAlphaPixels | kPixelAlpha)) != 0;
  if (!colour && !(h.pixelFlags & kPixelAlpha)) return Fail(error, "unsupported DDS pixel format");

  const uint32_t used = h.bitCount == 32 ? 0xFFFFFFFFu : (1u << h.bitCount) - 1;
  const uint32_t alphaMask = alpha ? h.alphaMask : 0;
  auto red = Channel::Of(colour ? h.redMask : 0);
  auto green = Channel::Of((h.pixelFlags & kPixelRgb) ? h.greenMask : 0);
  auto blue = Channel::Of((h.pixelFlags & kPixelRgb) ? h.blueMask : 0);
  auto alphaChannel = Channel::Of(alphaMask);
  if (!red || !green || !blue || !alphaChannel ||
      ((h.redMask | h.greenMask | h.blueMask | alphaMask) & ~used) != 0 || (colour && red->mask == 0) ||
      ((h.pixelFlags & kPixelRgb) && (green->mask == 0 || blue->mask == 0)) || (!colour && alphaMask == 0))
    return Fail(error, "DDS file has unusable channel masks");

  const size_t bytesPerPixel = h.bitCount / 8;
  const size_t rowBytes = bytesPerPixel * h.width;
  // Some writers pad rows to whole 32-bit words and say so in the pitch; others leave the
  // pitch empty. Any other value is not trusted.
  size_t pitch = rowBytes;
  if ((h.flags & kFlagPitch) && h.pitch % 4 == 0 && h.pitch >= rowBytes && h.pitch < rowBytes + 4)
    pitch = h.pitch;
  const size_t needed = pitch * (h.height - 1) + rowBytes;
  if (data.size() < needed)
    return Fail(error, "DDS file is truncated: the image needs " + std::to_string(needed) +
                           " bytes, the file holds " + std::to_string(data.size()));

  image.argb.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), 0);
  const bool luminance = !(h.pixelFlags & kPixelRgb) && (h.pixelFlags & kPixelLuminance);
  for (uint32_t y = 0; y < h.height; ++y) {
    const char* row = data.data() + pitch * y;
    for (uint32_t x = 0; x < h.width; ++x) {
      uint32_t pixel = 0;
      for (size_t i = 0; i < bytesPerPixel; ++i)
        pixel |= static_cast<uint32_t>(static_cast<unsigned char>(row[x * bytesPerPixel + i])) << (8 * i);
      uint32_t r = red->Value(pixel, 0);
      uint32_t g = luminance ? r : green->Value(pixel, 0);
      uint32_t b = luminance ? r : blue->Value(pixel, 0);
      uint32_t a = alphaChannel->Value(pixel, 255);
      image.argb[static_cast<size_t>(y) * h.width + x] = a << 24 | r << 16 | g << 8 | b;
    }
  }
  return true;
}

}  // namespace

std::optional<Image> DecodeDds(std::string_view bytes, std::string* error) {
  if (bytes.size() < kHeaderEnd || bytes.substr(0, 4) != "DDS ") {
    Fail(error, "DDS file is truncated or has no DDS header");
    return std::nullopt;
  }
  if (Read32(bytes, 4) != 124 || Read32(bytes, 76) != 32) {
    Fail(error, "DDS header is damaged");
    return std::nullopt;
  }
  const Header h = ReadHeader(bytes);
  if (h.width == 0 || h.height == 0 || h.width > kMaxImageSide || h.height > kMaxImageSide) {
    Fail(error,
         "DDS image size " + std::to_string(h.width) + "x" + std::to_string(h.height) + " is out of range");
    return std::nullopt;
  }
  if (h.caps2 & kCaps2CubeMap) {
    Fail(error, "cube-map DDS files are not supported");
    return std::nullopt;
  }
  if ((h.caps2 & kCaps2Volume) && h.depth > 1) {
    Fail(error, "volume DDS files are not supported");
    return std::nullopt;
  }

  Image image;
  image.width = static_cast<int>(h.width);
  image.height = static_cast<int>(h.height);
  std::string_view data = bytes.substr(kHeaderEnd);
  bool ok = (h.pixelFlags & kPixelFourCc) ? DecodeBlocks(data, h, image, error)
                                          : DecodeMasked(data, h, image, error);
  if (!ok) return std::nullopt;
  return image;
}

}  // namespace tovak2d::platform::images
