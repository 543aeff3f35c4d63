// SPDX-License-Identifier: Zlib
#include "Canvas.h"

#include <stdexcept>
#include <utility>

namespace datagen {
namespace {

// The canvas' pixels top row first, each written as `perPixel` bytes by put(pixel, bytes).
template <class Put>
std::vector<uint8_t> Bytes(const Canvas& canvas, size_t perPixel, Put put) {
  canvas.Flush();
  std::vector<uint8_t> out(static_cast<size_t>(canvas.width()) * static_cast<size_t>(canvas.height()) *
                           perPixel);
  uint8_t* o = out.data();
  for (int y = 0; y < canvas.height(); ++y) {
    const uint32_t* row = canvas.Row(y);
    for (int x = 0; x < canvas.width(); ++x, o += perPixel) put(row[x], o);
  }
  return out;
}

}  // namespace

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot make a picture");
  cr_ = cairo_create(surface_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
}

Canvas::Canvas(Canvas&& other) noexcept
    : width_(other.width_), height_(other.height_), surface_(other.surface_), cr_(other.cr_) {
  other.surface_ = nullptr;
  other.cr_ = nullptr;
}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(surface_, other.surface_);
  std::swap(cr_, other.cr_);
  return *this;
}

uint32_t* Canvas::Row(int y) const {
  unsigned char* data = cairo_image_surface_get_data(surface_);
  return reinterpret_cast<uint32_t*>(
      data + static_cast<size_t>(y) * static_cast<size_t>(cairo_image_surface_get_stride(surface_)));
}

void Canvas::Flush() const {
  cairo_surface_flush(surface_);
}
void Canvas::MarkDirty() const {
  cairo_surface_mark_dirty(surface_);
}

std::vector<uint8_t> Canvas::ToRgba() const {
  return Bytes(*this, 4, [](uint32_t p, uint8_t* o) {
    uint32_t a = p >> 24;
    uint32_t r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
    if (a != 0 && a != 255) {
      r = (r * 255 + a / 2) / a;
      g = (g * 255 + a / 2) / a;
      b = (b * 255 + a / 2) / a;
    }
    o[0] = static_cast<uint8_t>(r > 255 ? 255 : r);
    o[1] = static_cast<uint8_t>(g > 255 ? 255 : g);
    o[2] = static_cast<uint8_t>(b > 255 ? 255 : b);
    o[3] = static_cast<uint8_t>(a);
  });
}

std::vector<uint8_t> Canvas::ToRgb() const {
  return Bytes(*this, 3, [](uint32_t p, uint8_t* o) {
    o[0] = static_cast<uint8_t>((p >> 16) & 255);
    o[1] = static_cast<uint8_t>((p >> 8) & 255);
    o[2] = static_cast<uint8_t>(p & 255);
  });
}

void Canvas::Paint(const Canvas& other, double x, double y, double alpha) const {
  cairo_save(cr_);
  cairo_set_source_surface(cr_, other.surface_, x, y);
  cairo_paint_with_alpha(cr_, alpha);
  cairo_restore(cr_);
}

Canvas Canvas::Copy() const {
  Canvas copy(width_, height_);
  cairo_set_operator(copy.cr_, CAIRO_OPERATOR_SOURCE);
  copy.Paint(*this);
  cairo_set_operator(copy.cr_, CAIRO_OPERATOR_OVER);
  return copy;
}

}  // namespace datagen
