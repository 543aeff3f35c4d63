// SPDX-License-Identifier: Zlib
#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

namespace datagen {

// A picture being drawn: a Cairo image surface (premultiplied ARGB, 8 bits a channel) and its
// drawing context. It starts fully transparent.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Pixel access for filters: call Flush before reading and MarkDirty after writing.
  uint32_t* Row(int y) const;
  void Flush() const;
  void MarkDirty() const;

  // Straight (not premultiplied) RGBA bytes, top row first.
  std::vector<uint8_t> ToRgba() const;
  // RGB bytes, the picture laid over black (opaque pictures come out unchanged).
  std::vector<uint8_t> ToRgb() const;

  // Draws another canvas onto this one at (x, y) with the given opacity.
  void Paint(const Canvas& other, double x = 0, double y = 0, double alpha = 1) const;
  Canvas Copy() const;

 private:
  int width_ = 0, height_ = 0;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
};

}  // namespace datagen
