// SPDX-License-Identifier: Zlib
#include "platform/Compositor.h"
#include "platform/WindowSurface.h"

#include "platform/CompositorBlend.h"

#include <SDL.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace tovak2d::platform::video::compositor {
namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000u;

// Every frame, so that an image about to go can have the sprites recorded with it painted first.
std::vector<Frame*>& LiveFrames() {
  static std::vector<Frame*> frames;
  return frames;
}

pixman_image_t* Wrap(std::vector<uint32_t>& pixels, int width, int height) {
  return pixman_image_create_bits_no_clear(PIXMAN_a8r8g8b8, width, height, pixels.data(), width * 4);
}


}  // namespace

void ClipSpan(double a, double b, int count, int& from, int& to) {
  double low = 0, high = count;
  if (b == 0) {
    if (a < 0 || a >= 1) high = 0;
  } else if (b > 0) {
    low = std::ceil(-a / b);
    high = std::ceil((1 - a) / b);
  } else {
    low = std::floor((1 - a) / b) + 1;
    high = std::floor(-a / b) + 1;
  }
  from = std::max(from, static_cast<int>(std::clamp(low, 0.0, double(count))));
  to = std::min(to, static_cast<int>(std::clamp(high, 0.0, double(count))));
}

Image::Image(int imageWidth, int imageHeight, const uint32_t* argb)
    : Image(imageWidth, imageHeight, std::vector<uint32_t>(argb, argb + size_t(imageWidth) * size_t(imageHeight))) {}

Image::Image(int imageWidth, int imageHeight, std::vector<uint32_t>&& argb)
    : width(imageWidth), height(imageHeight), texels(std::move(argb)) {
  opaque = std::all_of(texels.begin(), texels.end(), [](uint32_t texel) { return texel >= 0xFF000000u; });
  image = Wrap(texels, width, height);
}

Image::~Image() {
  Frame::Forget(this);
  if (image) pixman_image_unref(image);
}

std::unique_ptr<Frame> Frame::Create(WindowHandle window, int width, int height, std::string* error) {
  if (width <= 0 || height <= 0 || (window && !WindowSurface(window))) {
    if (error) *error = window ? SDL_GetError() : "no frame size";
    return nullptr;
  }
  std::unique_ptr<Frame> frame(new Frame);
  frame->window_ = window;
  frame->width_ = width;
  frame->height_ = height;
  const size_t pixels = size_t(width) * size_t(height);
  frame->back_.assign(pixels, kOpaqueBlack);
  frame->front_.assign(pixels, kOpaqueBlack);
  frame->scratch_.assign(pixels, 0);
  frame->backImage_ = Wrap(frame->back_, width, height);
  frame->frontImage_ = Wrap(frame->front_, width, height);
  frame->scratchImage_ = Wrap(frame->scratch_, width, height);
  frame->pixels_ = frame->back_.data();
  frame->scratchSurface_ = SDL_CreateRGBSurfaceWithFormatFrom(frame->scratch_.data(), width, height, 32,
                                                              width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!frame->backImage_ || !frame->frontImage_ || !frame->scratchImage_) {
    if (error) *error = "out of memory for the frame";
    return nullptr;
  }
  if (window) SDL_AddEventWatch(MapMouse, frame.get());
  LiveFrames().push_back(frame.get());
  return frame;
}

Frame::~Frame() {
  std::vector<Frame*>& frames = LiveFrames();
  frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
  if (window_) {
    SDL_DelEventWatch(MapMouse, this);
    ReleaseWindowSurface(window_);
  }
  if (scratchSurface_) SDL_FreeSurface(scratchSurface_);
  for (pixman_image_t* image : {backImage_, frontImage_, scratchImage_})
    if (image) pixman_image_unref(image);
}

void Frame::Clear(uint8_t red, uint8_t green, uint8_t blue) {
  Flush();
  std::fill(edges_.begin(), edges_.end(), uint8_t{0});
  // Filled when the first sprite is drawn, unless that sprite covers the whole frame opaquely, as
  // a screen's backdrop does.
  clear_ = kOpaqueBlack | uint32_t{red} << 16 | uint32_t{green} << 8 | blue;
}

void Frame::FillClear() {
  if (!clear_) return;
  std::fill_n(pixels_, size_t(width_) * size_t(height_), *clear_);
  drawn_ = true;
  clear_.reset();
}

void Frame::BlendScratch(int x, int y, int width, int height, Rgba color, bool opaque) {
  for (int row = y; row < y + height; ++row)
    Uncovered(row, x, x + width, [&](int from, int to) {
      const size_t at = size_t(row) * size_t(width_) + size_t(from);
      Blend(pixels_ + at, scratch_.data() + at, to - from, color, opaque);
    });
}

template <typename Paint>
void Frame::Uncovered(int row, int from, int to, Paint&& paint) {
  covered_.clear();
  for (const Cover* cover = coverFrom_; cover != coverEnd_; ++cover)
    if (cover->top <= row && row < cover->bottom && cover->left < to && from < cover->right)
      covered_.emplace_back(cover->left, cover->right);
  if (covered_.empty()) {
    paint(from, to);
    return;
  }
  std::sort(covered_.begin(), covered_.end());
  for (const auto& [left, right] : covered_) {
    if (from < left) paint(from, left);
    from = std::max(from, right);
    if (from >= to) return;
  }
  paint(from, to);
}

void Frame::DrawRect(const Image& image, const PixelRect& source, const ScreenRect& target, Rgba color,
                     bool mirrorX, bool mirrorY) {
  const std::optional<RectPlan> plan = PlanRect(image, source, target, color, mirrorX, mirrorY);
  if (!plan) return;
  if (plan->replaces && !plan->transformed)
    covers_.push_back({commands_.size(), plan->left, plan->top, plan->right, plan->bottom});
  Command& command = commands_.emplace_back();
  command.image = &image;
  command.source = source;
  command.target = target;
  command.color = color;
  command.mirrorX = mirrorX;
  command.mirrorY = mirrorY;
  drawn_ = true;
}

void Frame::DrawParallelogram(const Image& image, const Vertex (&corners)[4]) {
  if (image.texels.empty() || corners[0].color.a == 0) return;
  Command& command = commands_.emplace_back();
  command.image = &image;
  command.turned = true;
  std::copy(std::begin(corners), std::end(corners), std::begin(command.corners));
  drawn_ = true;
}

void Frame::Flush() {
  size_t cover = 0;
  for (size_t i = 0; i < commands_.size(); ++i) {
    while (cover < covers_.size() && covers_[cover].command <= i) ++cover;
    coverFrom_ = covers_.data() + cover;
    coverEnd_ = covers_.data() + covers_.size();
    const Command& command = commands_[i];
    if (command.turned)
      PaintParallelogram(*command.image, command.corners);
    else
      PaintRect(*command.image, command.source, command.target, command.color, command.mirrorX, command.mirrorY);
  }
  coverFrom_ = coverEnd_ = nullptr;
  commands_.clear();
  covers_.clear();
}

void Frame::Forget(const Image* image) {
  for (Frame* frame : LiveFrames())
    if (std::any_of(frame->commands_.begin(), frame->commands_.end(),
                    [image](const Command& command) { return command.image == image; }))
      frame->Flush();
}

std::optional<Frame::RectPlan> Frame::PlanRect(const Image& image, const PixelRect& source, const ScreenRect& target,
                                               Rgba color, bool mirrorX, bool mirrorY) const {
  if (color.a == 0 || !image.image) return std::nullopt;
  // The source is cut to the image, the target kept: what is left is stretched over it.
  const int sx = std::max(source.x, 0), sy = std::max(source.y, 0);
  const int sw = std::min(source.x + source.w, image.width) - sx;
  const int sh = std::min(source.y + source.h, image.height) - sy;
  if (sw <= 0 || sh <= 0) return std::nullopt;
  // Whole pixels of the target, cut towards zero as SDL's software renderer cuts them.
  if (!(std::fabs(target.x) < 1e6f && std::fabs(target.y) < 1e6f && target.w < 1e6f && target.h < 1e6f))
    return std::nullopt;
  const int x = static_cast<int>(target.x), y = static_cast<int>(target.y);
  const int w = static_cast<int>(target.w), h = static_cast<int>(target.h);
  if (w <= 0 || h <= 0) return std::nullopt;
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right = std::min(x + w, width_), bottom = std::min(y + h, height_);
  if (left >= right || top >= bottom) return std::nullopt;
  const bool transformed = sw != w || sh != h || mirrorX || mirrorY;
  const bool replaces = image.opaque && color.r == 255 && color.g == 255 && color.b == 255 && color.a == 255;
  return RectPlan{sx, sy, sw, sh, x, y, w, h, left, top, right, bottom, transformed, replaces};
}

void Frame::PaintRect(const Image& image, const PixelRect& source, const ScreenRect& target, Rgba color,
                      bool mirrorX, bool mirrorY) {
  const std::optional<RectPlan> plan = PlanRect(image, source, target, color, mirrorX, mirrorY);
  if (!plan) return;
  // Plain copies, not a structured binding: lambdas below capture them.
  const int sx = plan->sx, sy = plan->sy, sw = plan->sw, sh = plan->sh;
  const int x = plan->x, y = plan->y, w = plan->w, h = plan->h;
  const int left = plan->left, top = plan->top, right = plan->right, bottom = plan->bottom;
  const bool transformed = plan->transformed, replaces = plan->replaces;
  const uint32_t* first = image.texels.data() + size_t(sy) * size_t(image.width) + size_t(sx);
  if (replaces && left == 0 && top == 0 && right == width_ && bottom == height_)
    clear_.reset();
  else
    FillClear();
  if (!transformed) {
    for (int row = top; row < bottom; ++row)
      Uncovered(row, left, right, [&](int from, int to) {
        Blend(pixels_ + size_t(row) * size_t(width_) + size_t(from),
              first + size_t(row - y) * size_t(image.width) + size_t(from - x), to - from, color, image.opaque);
      });
    return;
  }
  // A stretched cell is first scaled smoothly into the scratch frame, as SDL scales a texture
  // whose scale quality is linear: by SDL's own scaler where the target lies inside the frame,
  // which gives its results to the bit; by pixman otherwise, held inside the cell so that a
  // neighbouring cell never bleeds in.
  if (!mirrorX && !mirrorY && x >= 0 && y >= 0 && x + w <= width_ && y + h <= height_ && scratchSurface_) {
    SDL_Surface* texture =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(image.texels.data()), image.width,
                                           image.height, 32, image.width * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Rect from{sx, sy, sw, sh}, to{x, y, w, h};
    // Opaque texels at full strength replace the frame's pixels: they are scaled straight into it.
    SDL_Surface* into = replaces ? SDL_CreateRGBSurfaceWithFormatFrom(pixels_, width_, height_, 32,
                                                                       width_ * 4, SDL_PIXELFORMAT_ARGB8888)
                                 : scratchSurface_;
    const bool stretched = texture && into && SDL_SoftStretchLinear(texture, &from, into, &to) == 0;
    if (texture) SDL_FreeSurface(texture);
    if (into && into != scratchSurface_) SDL_FreeSurface(into);
    if (stretched) {
      if (!replaces) BlendScratch(left, top, right - left, bottom - top, color, image.opaque);
      return;
    }
  }
  pixman_image_t* cell = pixman_image_create_bits_no_clear(PIXMAN_a8r8g8b8, sw, sh,
                                                           const_cast<uint32_t*>(first), image.width * 4);
  if (!cell) return;
  const double scaleX = double(sw) / w, scaleY = double(sh) / h;
  pixman_transform_t transform;
  pixman_transform_init_identity(&transform);
  transform.matrix[0][0] = pixman_double_to_fixed(mirrorX ? -scaleX : scaleX);
  transform.matrix[0][2] = pixman_double_to_fixed(mirrorX ? sw + x * scaleX : -x * scaleX);
  transform.matrix[1][1] = pixman_double_to_fixed(mirrorY ? -scaleY : scaleY);
  transform.matrix[1][2] = pixman_double_to_fixed(mirrorY ? sh + y * scaleY : -y * scaleY);
  pixman_image_set_transform(cell, &transform);
  pixman_image_set_filter(cell, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(cell, PIXMAN_REPEAT_PAD);
  pixman_image_composite32(PIXMAN_OP_SRC, cell, nullptr, scratchImage_, left, top, 0, 0, left, top,
                           right - left, bottom - top);
  pixman_image_unref(cell);
  BlendScratch(left, top, right - left, bottom - top, color, image.opaque);
}

// A turned, scaled or mirrored sprite, mapped and blended a row at a time. Texels are taken nearest, under
// each pixel's centre, as SDL's triangles take them.
void Frame::PaintParallelogram(const Image& image, const Vertex (&corners)[4]) {
  if (image.texels.empty() || corners[0].color.a == 0) return;
  const Vertex &p0 = corners[0], &p1 = corners[1], &p2 = corners[2];
  // A screen point P = p0 + s * (p1 - p0) + t * (p2 - p0) lies inside for s and t in [0, 1).
  const double ex = double(p1.x) - p0.x, ey = double(p1.y) - p0.y;
  const double fx = double(p2.x) - p0.x, fy = double(p2.y) - p0.y;
  const double det = ex * fy - ey * fx;
  if (!(std::fabs(det) > 1e-9)) return;  // no area, nothing to draw
  const double sPerX = fy / det, sPerY = -fx / det, tPerX = -ey / det, tPerY = ex / det;

  const double x3 = double(p1.x) + p2.x - p0.x, y3 = double(p1.y) + p2.y - p0.y;
  const double xs[4] = {p0.x, p1.x, p2.x, x3}, ys[4] = {p0.y, p1.y, p2.y, y3};
  const double left = std::max(0.0, std::floor(*std::min_element(xs, xs + 4)));
  const double right = std::min(double(width_), std::ceil(*std::max_element(xs, xs + 4)));
  const double top = std::max(0.0, std::floor(*std::min_element(ys, ys + 4)));
  const double bottom = std::min(double(height_), std::ceil(*std::max_element(ys, ys + 4)));
  if (!(left < right && top < bottom)) return;  // wholly off the frame
  const int areaX = int(left), areaY = int(top), areaW = int(right - left), areaH = int(bottom - top);

  // Texel coordinates as functions of s and t, then of the screen position.
  const double du = (double(p1.u) - p0.u) * image.width, dv = (double(p1.v) - p0.v) * image.height;
  const double eu = (double(p2.u) - p0.u) * image.width, ev = (double(p2.v) - p0.v) * image.height;
  const double uPerX = du * sPerX + eu * tPerX, vPerX = dv * sPerX + ev * tPerX;
  const int lastColumn = image.width - 1, lastRow = image.height - 1;
  const uint32_t* texels = image.texels.data();
  // Texel positions of images under 32,768 texels a side fit 16.16 fixed point in 32 bits.
  const bool narrow = image.width < 32768 && image.height < 32768 &&
                      int64_t(image.width) * image.height < (int64_t(1) << 31);
  // First each row's span and where along it the texel position starts, in 16.16 fixed point
  // (the drift over a row stays far below a texel)...
  const int64_t uStep = std::llround(uPerX * 65536.0), vStep = std::llround(vPerX * 65536.0);
  rows_.assign(size_t(areaH), Span{});
  bool any = false;
  for (int row = 0; row < areaH; ++row) {
    const double x = areaX + 0.5 - p0.x, y = areaY + row + 0.5 - p0.y;
    const double s = sPerX * x + sPerY * y, t = tPerX * x + tPerY * y;
    int from = 0, to = areaW;
    ClipSpan(s, sPerX, areaW, from, to);
    ClipSpan(t, tPerX, areaW, from, to);
    if (from >= to) continue;
    const double u = p0.u * double(image.width) + du * s + eu * t;
    const double v = p0.v * double(image.height) + dv * s + ev * t;
    rows_[size_t(row)] = {from, to, std::llround((u + uPerX * from) * 65536.0),
                          std::llround((v + vPerX * from) * 65536.0)};
    any = true;
  }
  if (any) {
    FillClear();
    drawn_ = true;
  }
  // ...then the texels, in strips of columns down the sprite: a strip's texels stay in the cache
  // from row to row, where a whole row of a large turned sprite reaches across many lines of its
  // image. Each piece is mapped into the scratch frame's first row and blended from there.
  const int strip = !any ? 0 : areaW > 256 ? 128 : areaW;
  uint32_t* out = scratch_.data();
  auto inside = [](int64_t fixed, int last) { return fixed >= 0 && (fixed >> 16) <= last; };
  // The texels of pixels [from, to) of a row, blended into the frame.
  auto paintPiece = [&](const Span& span, int row, int from, int to) {
    int64_t uFixed = span.u + uStep * (from - span.from), vFixed = span.v + vStep * (from - span.from);
    const int count = to - from;
    const int64_t uLast = uFixed + uStep * (count - 1), vLast = vFixed + vStep * (count - 1);
    // The texel position moves in a straight line, so a piece whose ends lie on the image lies
    // on it all along and needs no holding at its edges.
    if (inside(uFixed, lastColumn) && inside(uLast, lastColumn) && inside(vFixed, lastRow) &&
        inside(vLast, lastRow)) {
      if (narrow) {
        // Every position along the piece lies between its ends, so 32 bits hold them all.
        int32_t uNow = static_cast<int32_t>(uFixed), vNow = static_cast<int32_t>(vFixed);
        const int32_t uBy = static_cast<int32_t>(uStep), vBy = static_cast<int32_t>(vStep);
        const int32_t pitch = image.width;
        int i = 0;
#if defined(__x86_64__)
        if (WideSimd()) {
          i = GatherAvx2(out, texels, pitch, uNow, vNow, uBy, vBy, count);
          uNow += uBy * i, vNow += vBy * i;
        }
#endif
        for (; i < count; ++i, uNow += uBy, vNow += vBy)
          out[i] = texels[(vNow >> 16) * pitch + (uNow >> 16)];
      } else {
        for (int i = 0; i < count; ++i, uFixed += uStep, vFixed += vStep)
          out[i] = texels[(vFixed >> 16) * image.width + (uFixed >> 16)];
      }
    } else {
      for (int i = 0; i < count; ++i, uFixed += uStep, vFixed += vStep) {
        const int64_t column = std::clamp<int64_t>(uFixed >> 16, 0, lastColumn);
        const int64_t line = std::clamp<int64_t>(vFixed >> 16, 0, lastRow);
        out[i] = texels[line * image.width + column];
      }
    }
    Blend(pixels_ + size_t(areaY + row) * size_t(width_) + size_t(areaX + from), out, count,
          p0.color, image.opaque);
  };
  for (int stripLeft = 0; strip > 0 && stripLeft < areaW; stripLeft += strip) {
    const int stripRight = std::min(areaW, stripLeft + strip);
    for (int row = 0; row < areaH; ++row) {
      const Span& span = rows_[size_t(row)];
      const int from = std::max(span.from, stripLeft), to = std::min(span.to, stripRight);
      if (from < to)
        Uncovered(areaY + row, areaX + from, areaX + to,
                  [&](int first, int last) { paintPiece(span, row, first - areaX, last - areaX); });
    }
  }
  std::vector<std::pair<int, int>> spans;
  if (!edges_.empty())
    for (const Span& span : rows_) spans.emplace_back(span.from, span.to);
  if (!spans.empty()) {
    // SDL's software renderer leaves turned sprites of fewer than 1,024 pixels to its triangle
    // filler, which picks texels by its own rounding: all of such a sprite is marked.
    if (areaW * areaH < 1024) {
      for (int row = areaY; row < areaY + areaH; ++row)
        std::fill_n(edges_.begin() + std::ptrdiff_t(row) * width_ + areaX, areaW, uint8_t{1});
    } else {
      MarkEdges(areaX, areaY, areaW, spans);
    }
  }
}

void Frame::TrackTurnedEdges() {
  edges_.assign(size_t(width_) * size_t(height_), 0);
}

// A pixel is on the edge when it lies within a pixel of where a row's span, or the span of the
// row above or below, begins or ends; every pixel of a row beside an empty row is.
void Frame::MarkEdges(int areaX, int areaY, int areaW, const std::vector<std::pair<int, int>>& spans) {
  const int rows = static_cast<int>(spans.size());
  auto mark = [&](int row, int from, int to) {
    if (row < 0 || row >= rows) return;
    from = std::max(from, 0);
    to = std::min(to, areaW);
    uint8_t* line = edges_.data() + size_t(areaY + row) * size_t(width_) + size_t(areaX);
    for (int i = from; i < to; ++i) line[i] = 1;
  };
  auto empty = [&](int row) {
    return row < 0 || row >= rows || spans[size_t(row)].first >= spans[size_t(row)].second;
  };
  for (int row = 0; row < rows; ++row) {
    if (empty(row)) continue;
    for (int near = row - 1; near <= row + 1; ++near) {
      if (empty(near)) {
        for (int side = row - 1; side <= row + 1; ++side)
          mark(side, spans[size_t(row)].first - 1, spans[size_t(row)].second + 1);
        continue;
      }
      const auto [from, to] = spans[size_t(row)];
      const auto [nearFrom, nearTo] = spans[size_t(near)];
      for (int side = row - 1; side <= row + 1; ++side) {
        mark(side, std::min(from, nearFrom) - 1, std::max(from, nearFrom) + 2);
        mark(side, std::min(to, nearTo) - 2, std::max(to, nearTo) + 1);
      }
    }
  }
}

void Frame::ReadBack(images::Image& frame) {
  Flush();
  frame.width = width_;
  frame.height = height_;
  frame.argb.assign(pixels_, pixels_ + size_t(width_) * size_t(height_));
  if (clear_) std::fill(frame.argb.begin(), frame.argb.end(), *clear_);
}

void Frame::ReadFront(images::Image& frame) const {
  frame.width = width_;
  frame.height = height_;
  // Drawing straight into the window, the frame shown is there until the next frame's first pixel.
  if (intoWindow_)
    frame.argb.assign(pixels_, pixels_ + size_t(width_) * size_t(height_));
  else
    frame.argb = front_;
}

}  // namespace tovak2d::platform::video::compositor
