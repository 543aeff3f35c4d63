// SPDX-License-Identifier: Zlib
#include "platform/Images.h"

#include <SDL.h>
#include <SDL_image.h>

#include <climits>

#include "platform/DdsDecoder.h"

namespace tovak2d::platform::images {
namespace {

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}
std::nullopt_t Refuse(std::string* error, const std::string& why) {
  Fail(error, why);
  return std::nullopt;
}

unsigned Byte(std::string_view bytes, size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}
uint32_t BigEndian16(std::string_view b, size_t at) {
  return Byte(b, at) << 8 | Byte(b, at + 1);
}
uint32_t BigEndian32(std::string_view b, size_t at) {
  return BigEndian16(b, at) << 16 | BigEndian16(b, at + 2);
}
uint32_t LittleEndian16(std::string_view b, size_t at) {
  return Byte(b, at) | Byte(b, at + 1) << 8;
}
uint32_t LittleEndian32(std::string_view b, size_t at) {
  return LittleEndian16(b, at) | LittleEndian16(b, at + 2) << 16;
}

bool CheckSide(int64_t width, int64_t height, std::string* error) {
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide)
    return Fail(error,
                "image size " + std::to_string(width) + "x" + std::to_string(height) + " is out of range");
  return true;
}

bool IsFrameMarker(unsigned marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// What the marker walk learns about a JPEG file beyond its validity.
struct JpegLayout {
  bool cmyk = false;         // four components: CMYK, or YCCK that the decoder turns into CMYK
  bool adobeMarker = false;  // an Adobe segment, whose writers store CMYK inverted
};

bool IsAdobeSegment(std::string_view b, size_t pos, size_t length) {
  return length >= 2 + 12 && pos + 2 + 5 <= b.size() && b.substr(pos + 2, 5) == "Adobe";
}

// The JPEG decoder makes up the missing part of a cut-off file, so the file is checked here: a
// frame header of sane size before the first scan, and the end marker after it (scan data
// never holds that byte pair).
std::optional<JpegLayout> CheckJpeg(std::string_view b, std::string* error) {
  JpegLayout layout;
  size_t pos = 2;
  bool haveFrame = false;
  for (;;) {
    while (pos < b.size() && Byte(b, pos) != 0xFF) ++pos;
    while (pos < b.size() && Byte(b, pos) == 0xFF) ++pos;
    if (pos >= b.size()) return Refuse(error, "JPEG file is truncated");
    const unsigned marker = Byte(b, pos++);
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (marker == 0xD9) return Refuse(error, "JPEG file holds no image");
    if (pos + 2 > b.size()) return Refuse(error, "JPEG file is truncated");
    const size_t length = BigEndian16(b, pos);
    if (IsFrameMarker(marker)) {
      if (pos + 8 > b.size()) return Refuse(error, "JPEG file is truncated");
      if (!CheckSide(BigEndian16(b, pos + 5), BigEndian16(b, pos + 3), error)) return std::nullopt;
      haveFrame = true;
      layout.cmyk = Byte(b, pos + 7) == 4;
    }
    if (marker == 0xEE && IsAdobeSegment(b, pos, length)) layout.adobeMarker = true;
    if (marker == 0xDA) break;
    if (length < 2) return Refuse(error, "JPEG file is damaged");
    pos += length;
  }
  if (!haveFrame) return Refuse(error, "JPEG file has no frame header");
  for (size_t end = b.size(); end >= pos + 2; --end)
    if (Byte(b, end - 2) == 0xFF && Byte(b, end - 1) == 0xD9) return layout;
  return Refuse(error, "JPEG file is truncated");
}

// The PNG loader reads on past the end of a cut-off file as if more were there, and can go round
// for ever: every chunk, up to the end chunk, must lie wholly inside the file.
bool CheckPng(std::string_view b, std::string* error) {
  if (b.size() < 24 || b.substr(12, 4) != "IHDR") return Fail(error, "PNG file is truncated or damaged");
  if (!CheckSide(BigEndian32(b, 16), BigEndian32(b, 20), error)) return false;
  size_t pos = 8;
  while (pos + 12 <= b.size()) {
    const uint32_t length = BigEndian32(b, pos);
    if (length > 0x7FFFFFFFu) return Fail(error, "PNG file is damaged");
    if (b.size() - pos - 12 < length) break;
    if (b.substr(pos + 4, 4) == "IEND") return true;
    pos += 12 + size_t{length};
  }
  return Fail(error, "PNG file is truncated");
}

bool CheckBmp(std::string_view b, std::string* error) {
  if (b.size() < 26) return Fail(error, "BMP file is truncated");
  const uint32_t headerSize = LittleEndian32(b, 14);
  if (headerSize == 12) return CheckSide(LittleEndian16(b, 18), LittleEndian16(b, 20), error);
  const int64_t width = static_cast<int32_t>(LittleEndian32(b, 18));
  const int64_t height = static_cast<int32_t>(LittleEndian32(b, 22));
  return CheckSide(width, height < 0 ? -height : height, error);
}

// The image library hands a four-component JPEG over as the decoder's raw CMYK bytes labelled
// as RGBA, which draws red as blue. The ink is turned into RGB here: no ink is white, full black
// ink is black. Files with an Adobe segment store every ink value inverted.
SDL_Surface* CmykToArgb(SDL_Surface* cmyk, bool inverted, std::string* error) {
  if (cmyk->format->BytesPerPixel != 4) {
    Fail(error, "CMYK JPEG decoded to an unexpected pixel layout");
    return nullptr;
  }
  SDL_Surface* argb = SDL_CreateRGBSurfaceWithFormat(0, cmyk->w, cmyk->h, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!argb) {
    Fail(error, SDL_GetError());
    return nullptr;
  }
  SDL_LockSurface(cmyk);
  SDL_LockSurface(argb);
  for (int y = 0; y < cmyk->h; ++y) {
    const auto* in = static_cast<const uint8_t*>(cmyk->pixels) + static_cast<size_t>(y) * cmyk->pitch;
    auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(argb->pixels) +
                                            static_cast<size_t>(y) * argb->pitch);
    for (int x = 0; x < cmyk->w; ++x, in += 4) {
      // The share of light each ink lets through, times the share black lets through.
      const uint32_t white = inverted ? in[3] : 255u - in[3];
      uint32_t rgb = 0;
      for (int channel = 0; channel < 3; ++channel) {
        const uint32_t light = inverted ? in[channel] : 255u - in[channel];
        rgb = rgb << 8 | (light * white + 127) / 255;
      }
      out[x] = 0xFF000000u | rgb;
    }
  }
  SDL_UnlockSurface(argb);
  SDL_UnlockSurface(cmyk);
  return argb;
}

// The loaders of the formats the game uses, chosen by the file's signature after a check of its
// header, so that no size read from a damaged header makes the decoder reserve huge amounts of
// memory. Other formats never reach the image library's remaining loaders, some of which leak or
// misbehave on damaged files.
using Loader = SDL_Surface* (*)(SDL_RWops*);

struct CheckedFile {
  Loader load = nullptr;
  JpegLayout jpeg;
};

std::optional<CheckedFile> Check(std::string_view b, std::string* error) {
  if (b.size() >= 2 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8) {
    auto layout = CheckJpeg(b, error);
    if (!layout) return std::nullopt;
    return CheckedFile{IMG_LoadJPG_RW, *layout};
  }
  if (b.size() >= 8 && b.substr(0, 8) == "\x89PNG\r\n\x1a\n") {
    if (!CheckPng(b, error)) return std::nullopt;
    return CheckedFile{IMG_LoadPNG_RW, {}};
  }
  if (b.size() >= 2 && b.substr(0, 2) == "BM") {
    if (!CheckBmp(b, error)) return std::nullopt;
    return CheckedFile{IMG_LoadBMP_RW, {}};
  }
  return Refuse(error, "not a picture the engine loads (BMP, JPEG, PNG or DDS)");
}

std::optional<Image> DecodeChecked(std::string_view bytes, const CheckedFile& file, std::string* error) {
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return Refuse(error, "image file is too large");
  SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  SDL_Surface* loaded = source ? file.load(source) : nullptr;
  if (source) SDL_RWclose(source);
  if (!loaded) return Refuse(error, SDL_GetError());
  if (file.jpeg.cmyk) {
    SDL_Surface* cmyk = loaded;
    loaded = CmykToArgb(cmyk, file.jpeg.adobeMarker, error);
    SDL_FreeSurface(cmyk);
    if (!loaded) return std::nullopt;
  }
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (!argb) return Refuse(error, SDL_GetError());
  std::optional<Image> image;
  if (CheckSide(argb->w, argb->h, error)) {
    image.emplace();
    image->width = argb->w;
    image->height = argb->h;
    image->argb.resize(static_cast<size_t>(argb->w) * static_cast<size_t>(argb->h));
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y)
      SDL_memcpy(image->argb.data() + static_cast<size_t>(y) * argb->w,
                 static_cast<const uint8_t*>(argb->pixels) + static_cast<size_t>(y) * argb->pitch,
                 static_cast<size_t>(argb->w) * 4);
    SDL_UnlockSurface(argb);
  }
  SDL_FreeSurface(argb);
  return image;
}

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::optional<Image> Decode(std::string_view bytes, std::string* error) {
  if (bytes.size() >= 4 && bytes.substr(0, 4) == "DDS ") return DecodeDds(bytes, error);
  if (bytes.empty()) {
    Fail(error, "image file is empty");
    return std::nullopt;
  }
  const auto file = Check(bytes, error);
  if (!file) return std::nullopt;
  return DecodeChecked(bytes, *file, error);
}

std::string EncodeBmp24(const Image& image) {
  const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
  const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(image.height);
  std::string out;
  out.reserve(54 + dataBytes);
  out += "BM";
  Put32(out, 54 + dataBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.width));
  Put32(out, static_cast<uint32_t>(image.height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, dataBytes);
  Put32(out, 3780);  // 96 dots per inch
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    const uint32_t* row = image.argb.data() + static_cast<size_t>(y) * image.width;
    for (int x = 0; x < image.width; ++x) {
      out += static_cast<char>(row[x] & 0xFF);
      out += static_cast<char>((row[x] >> 8) & 0xFF);
      out += static_cast<char>((row[x] >> 16) & 0xFF);
    }
    out.append(rowBytes - static_cast<uint32_t>(image.width) * 3, '\0');
  }
  return out;
}

}  // namespace tovak2d::platform::images
