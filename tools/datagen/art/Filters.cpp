// SPDX-License-Identifier: Zlib
#include "Filters.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Rng.h"

namespace datagen {
namespace {

// One box-blur pass along a line of `count` pixels `step` apart.
void BoxLine(uint32_t* first, int count, int step, int radius, std::vector<uint32_t>& line) {
  line.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) line[static_cast<size_t>(i)] = first[static_cast<std::ptrdiff_t>(i) * step];
  int window = radius * 2 + 1;
  uint32_t sum[4] = {0, 0, 0, 0};
  auto channel = [](uint32_t p, int c) { return (p >> (c * 8)) & 255u; };
  auto at = [&](int i) { return line[static_cast<size_t>(std::clamp(i, 0, count - 1))]; };
  for (int i = -radius; i <= radius; ++i)
    for (int c = 0; c < 4; ++c) sum[c] += channel(at(i), c);
  for (int i = 0; i < count; ++i) {
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c) out |= ((sum[c] + static_cast<uint32_t>(window) / 2) / window) << (c * 8);
    first[static_cast<std::ptrdiff_t>(i) * step] = out;
    for (int c = 0; c < 4; ++c) sum[c] += channel(at(i + radius + 1), c) - channel(at(i - radius), c);
  }
}

// Replaces every pixel by change(pixel, x, y), row by row from the top.
template <class Change>
void ChangePixels(const Canvas& canvas, Change change) {
  canvas.Flush();
  for (int y = 0; y < canvas.height(); ++y) {
    uint32_t* row = canvas.Row(y);
    for (int x = 0; x < canvas.width(); ++x) row[x] = change(row[x], x, y);
  }
  canvas.MarkDirty();
}

}  // namespace

void Blur(const Canvas& canvas, int radius) {
  if (radius <= 0) return;
  canvas.Flush();
  std::vector<uint32_t> line;
  const int stride = static_cast<int>(canvas.Row(1) - canvas.Row(0));
  // Three box passes each way come close to a Gaussian.
  int r = std::max(1, radius / 2);
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < canvas.height(); ++y) BoxLine(canvas.Row(y), canvas.width(), 1, r, line);
    for (int x = 0; x < canvas.width(); ++x) BoxLine(canvas.Row(0) + x, canvas.height(), stride, r, line);
  }
  canvas.MarkDirty();
}

void AddGrain(const Canvas& canvas, Rng& rng, double amount) {
  ChangePixels(canvas, [&](uint32_t p, int, int) {
    int a = static_cast<int>(p >> 24);
    int d = static_cast<int>(std::lround(rng.Normal(amount) * a));
    uint32_t out = p & 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
      int v = static_cast<int>((p >> (c * 8)) & 255u) + d;
      out |= static_cast<uint32_t>(std::clamp(v, 0, a)) << (c * 8);
    }
    return out;
  });
}

void FillPixels(const Canvas& canvas, const std::function<Rgb(int x, int y)>& shade) {
  ChangePixels(canvas, [&](uint32_t, int x, int y) {
    Rgb c = shade(x, y);
    return 0xFF000000u | (uint32_t{ToByte(c.r)} << 16) | (uint32_t{ToByte(c.g)} << 8) | ToByte(c.b);
  });
}

void MaskAlpha(const Canvas& canvas, const std::function<double(int x, int y)>& mask) {
  ChangePixels(canvas, [&](uint32_t p, int x, int y) {
    double m = Clamp01(mask(x, y));
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c)
      out |= static_cast<uint32_t>(std::lround(((p >> (c * 8)) & 255u) * m)) << (c * 8);
    return out;
  });
}

Canvas ShadowOf(const Canvas& shapes, int blur, double opacity) {
  Canvas shadow(shapes.width(), shapes.height());
  cairo_t* cr = shadow.cr();
  cairo_set_source_rgba(cr, 0, 0, 0, opacity);
  cairo_mask_surface(cr, shapes.surface(), 0, 0);
  Blur(shadow, blur);
  return shadow;
}

}  // namespace datagen
