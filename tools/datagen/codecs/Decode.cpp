// SPDX-License-Identifier: Zlib
#include "Decode.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "Bmp.h"
#include "Dds.h"
#include "Jpeg.h"

namespace datagen {
namespace {

Canvas FromRgba(int width, int height, const Bytes& rgba) {
  Canvas c(width, height);
  c.Flush();
  for (int y = 0; y < height; ++y) {
    uint32_t* row = c.Row(y);
    for (int x = 0; x < width; ++x) {
      const uint8_t* p =
          &rgba[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4];
      uint32_t a = p[3];
      auto pre = [a](uint8_t v) { return (static_cast<uint32_t>(v) * a + 127) / 255; };
      row[x] = (a << 24) | (pre(p[0]) << 16) | (pre(p[1]) << 8) | pre(p[2]);
    }
  }
  c.MarkDirty();
  return c;
}

struct PngReader {
  const Bytes* data;
  size_t at = 0;
};

}  // namespace

std::optional<Canvas> DecodePicture(const std::string& name, const Bytes& data) {
  std::string ext = name.substr(name.find_last_of('.') + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == "jpg") {
    auto image = DecodeJpeg(data);
    if (!image) return std::nullopt;
    Bytes rgba;
    for (size_t i = 0; i < image->pixels.size(); i += 3)
      rgba.insert(rgba.end(), {image->pixels[i], image->pixels[i + 1], image->pixels[i + 2], 255});
    return FromRgba(image->width, image->height, rgba);
  }
  if (ext == "dds") {
    auto image = DecodeDds(data);
    if (!image) return std::nullopt;
    return FromRgba(image->width, image->height, image->rgba);
  }
  if (ext == "bmp") {
    auto image = DecodeBmp32(data);
    if (!image) return std::nullopt;
    Bytes rgba;
    for (uint32_t p : image->pixels) {
      if (p == kColourKey) p = 0;
      rgba.insert(rgba.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                               static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 24)});
    }
    return FromRgba(image->width, image->height, rgba);
  }
  if (ext == "png") {
    PngReader reader{&data};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* out, unsigned int length) {
          auto* r = static_cast<PngReader*>(closure);
          if (r->at + length > r->data->size()) return CAIRO_STATUS_READ_ERROR;
          std::memcpy(out, r->data->data() + r->at, length);
          r->at += length;
          return CAIRO_STATUS_SUCCESS;
        },
        &reader);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(s);
      return std::nullopt;
    }
    Canvas c(cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
    cairo_set_source_surface(c.cr(), s, 0, 0);
    cairo_paint(c.cr());
    cairo_surface_destroy(s);
    return c;
  }
  return std::nullopt;
}

}  // namespace datagen
