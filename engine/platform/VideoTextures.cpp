// SPDX-License-Identifier: Zlib
#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/Compositor.h"
#include "platform/Video.h"

namespace tovak2d::platform::video {
namespace {

static_assert(sizeof(Rgba) == sizeof(SDL_Color), "vertex colours are handed to SDL as they are");

bool IsWhole(double v) {
  return std::fabs(v - std::round(v)) < 1e-3;
}

bool SameDevice(const Device& device, const std::shared_ptr<DeviceLife>& life) {
  return life && life->alive && life == device.life;
}

bool ReadTarget(Device& device, SDL_Texture* target, images::Image& frame, std::string* error) {
  SDL_Texture* previous = SDL_GetRenderTarget(device.renderer);
  if (target != previous && SDL_SetRenderTarget(device.renderer, target) != 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  int width = device.width, height = device.height;
  if (!target) {
    // Straight into the window: the frame is the area the back buffer is scaled into.
    SDL_Rect viewport;
    SDL_RenderGetViewport(device.renderer, &viewport);
    float scaleX = 1, scaleY = 1;
    SDL_RenderGetScale(device.renderer, &scaleX, &scaleY);
    width = static_cast<int>(static_cast<float>(viewport.w) * scaleX);
    height = static_cast<int>(static_cast<float>(viewport.h) * scaleY);
  }
  frame.width = width;
  frame.height = height;
  frame.argb.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  bool ok = width > 0 && height > 0 &&
            SDL_RenderReadPixels(device.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, frame.argb.data(),
                                 width * 4) == 0;
  if (!ok && error) *error = SDL_GetError();
  if (target != previous) SDL_SetRenderTarget(device.renderer, previous);
  return ok;
}

// Turned sprites of fewer pixels (the bounding box on the frame) are left to SDL.
constexpr int kSmallestMapped = 1024;

// SDL's software renderer fills triangles through a general routine that costs ~20 ns a pixel: a
// turned sprite over the whole frame took half of it. A turned or sheared quad whose corners make
// a parallelogram (every turned, scaled or mirrored sprite) is mapped here instead, a row at a
// time, into a scratch texture that is then blended into the frame as an upright rectangle.
// Texels are taken nearest, as SDL's triangles take them. False when the quad is no
// parallelogram, is small, or the texture has no copy of its image, or the scratch texture cannot
// be had: SDL draws it then.
bool DrawParallelogram(Device& device, const GpuTexture& texture, const Vertex (&corners)[4]) {
  if (texture.pixels.empty() || texture.width <= 0 || texture.height <= 0) return false;
  const Vertex &p0 = corners[0], &p1 = corners[1], &p2 = corners[2], &p3 = corners[3];
  // Corners are floats: far from the origin they carry less than a hundredth of a pixel.
  auto close = [](double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance * (1 + 1e-4 * std::max(std::fabs(a), std::fabs(b)));
  };
  if (!close(p3.x, double(p1.x) + p2.x - p0.x, 0.01) || !close(p3.y, double(p1.y) + p2.y - p0.y, 0.01) ||
      !close(p3.u, double(p1.u) + p2.u - p0.u, 1e-5) || !close(p3.v, double(p1.v) + p2.v - p0.v, 1e-5))
    return false;

  // A screen point P = p0 + s * (p1 - p0) + t * (p2 - p0) lies inside for s and t in [0, 1).
  const double ex = double(p1.x) - p0.x, ey = double(p1.y) - p0.y;
  const double fx = double(p2.x) - p0.x, fy = double(p2.y) - p0.y;
  const double det = ex * fy - ey * fx;
  if (!(std::fabs(det) > 1e-9)) return true;  // no area, nothing to draw
  const double sPerX = fy / det, sPerY = -fx / det, tPerX = -ey / det, tPerY = ex / det;

  const double xs[4] = {p0.x, p1.x, p2.x, p3.x}, ys[4] = {p0.y, p1.y, p2.y, p3.y};
  const double left = std::max(0.0, std::floor(*std::min_element(xs, xs + 4)));
  const double right = std::min(double(device.width), std::ceil(*std::max_element(xs, xs + 4)));
  const double top = std::max(0.0, std::floor(*std::min_element(ys, ys + 4)));
  const double bottom = std::min(double(device.height), std::ceil(*std::max_element(ys, ys + 4)));
  if (!(left < right && top < bottom)) return true;  // wholly off the frame
  const SDL_Rect area{int(left), int(top), int(right - left), int(bottom - top)};
  // A small sprite costs SDL little to fill, less than a pass through the scratch texture.
  if (area.w * area.h < kSmallestMapped) return false;

  if (!device.scratch) {
    device.scratch = SDL_CreateTexture(device.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                       device.width, device.height);
    if (!device.scratch) return false;
    SDL_SetTextureBlendMode(device.scratch, SDL_BLENDMODE_BLEND);
  }
  void* locked = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(device.scratch, &area, &locked, &pitch) != 0) return false;

  // Texel coordinates as functions of s and t, then of the screen position.
  const double du = (double(p1.u) - p0.u) * texture.width, dv = (double(p1.v) - p0.v) * texture.height;
  const double eu = (double(p2.u) - p0.u) * texture.width, ev = (double(p2.v) - p0.v) * texture.height;
  const double uPerX = du * sPerX + eu * tPerX, vPerX = dv * sPerX + ev * tPerX;
  const int lastColumn = texture.width - 1, lastRow = texture.height - 1;
  const uint32_t* image = texture.pixels.data();
  for (int row = 0; row < area.h; ++row) {
    auto* out = reinterpret_cast<uint32_t*>(static_cast<char*>(locked) + ptrdiff_t(row) * pitch);
    const double x = area.x + 0.5 - p0.x, y = area.y + row + 0.5 - p0.y;
    const double s = sPerX * x + sPerY * y, t = tPerX * x + tPerY * y;
    int from = 0, to = area.w;
    compositor::ClipSpan(s, sPerX, area.w, from, to);
    compositor::ClipSpan(t, tPerX, area.w, from, to);
    if (from >= to) {
      std::fill(out, out + area.w, 0u);
      continue;
    }
    std::fill(out, out + from, 0u);
    std::fill(out + to, out + area.w, 0u);
    const double u = p0.u * double(texture.width) + du * s + eu * t;
    const double v = p0.v * double(texture.height) + dv * s + ev * t;
    // Along the span in 16.16 fixed point: the drift over a row stays far below a texel.
    int64_t uFixed = std::llround((u + uPerX * from) * 65536.0),
            vFixed = std::llround((v + vPerX * from) * 65536.0);
    const int64_t uStep = std::llround(uPerX * 65536.0), vStep = std::llround(vPerX * 65536.0);
    for (int i = from; i < to; ++i, uFixed += uStep, vFixed += vStep) {
      const int64_t column = std::clamp<int64_t>(uFixed >> 16, 0, lastColumn);
      const int64_t line = std::clamp<int64_t>(vFixed >> 16, 0, lastRow);
      out[i] = image[line * texture.width + column];
    }
  }
  SDL_UnlockTexture(device.scratch);
  SDL_SetTextureColorMod(device.scratch, p0.color.r, p0.color.g, p0.color.b);
  SDL_SetTextureAlphaMod(device.scratch, p0.color.a);
  const SDL_FRect target{float(area.x), float(area.y), float(area.w), float(area.h)};
  SDL_RenderCopyExF(device.renderer, device.scratch, &area, &target, 0, nullptr, SDL_FLIP_NONE);
  return true;
}

}  // namespace

GpuTexture::~GpuTexture() {
  if (texture && life && life->renderer) SDL_DestroyTexture(texture);
}

std::shared_ptr<GpuTexture> CreateTexture(Device& device, int width, int height, const uint32_t* argb,
                                          std::string* error) {
  auto fail = [&]() -> std::shared_ptr<GpuTexture> {
    if (error) *error = SDL_GetError();
    return nullptr;
  };
  if (device.frame) {
    auto result = std::make_shared<GpuTexture>();
    result->width = width;
    result->height = height;
    result->cpu = std::make_shared<compositor::Image>(width, height, argb);
    result->life = device.life;
    return result;
  }
  SDL_Texture* texture =
      SDL_CreateTexture(device.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, height);
  if (!texture) return fail();
  auto result = std::make_shared<GpuTexture>();
  result->texture = texture;
  result->width = width;
  result->height = height;
  result->life = device.life;
  if (SDL_UpdateTexture(texture, nullptr, argb, width * 4) != 0) return fail();
  if (device.software) result->pixels.assign(argb, argb + size_t(width) * size_t(height));
  if (device.mirror) result->cpu = std::make_shared<compositor::Image>(width, height, argb);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  return result;
}

std::shared_ptr<GpuTexture> CreateTexture(Device& device, int width, int height, std::vector<uint32_t>&& argb,
                                          std::string* error) {
  if (!device.frame || argb.size() != size_t(width) * size_t(height))
    return CreateTexture(device, width, height, argb.data(), error);
  auto result = std::make_shared<GpuTexture>();
  result->width = width;
  result->height = height;
  result->cpu = std::make_shared<compositor::Image>(width, height, std::move(argb));
  result->life = device.life;
  return result;
}

void DrawTriangles(Device& device, const GpuTexture& texture, const Vertex* vertices, int vertexCount,
                   const int* indices, int indexCount) {
  // The compositor draws quads only.
  if (!SameDevice(device, texture.life) || vertexCount <= 0 || device.frame) return;
  const int stride = static_cast<int>(sizeof(Vertex));
  SDL_RenderGeometryRaw(device.renderer, texture.texture, &vertices->x, stride,
                        reinterpret_cast<const SDL_Color*>(&vertices->color), stride, &vertices->u, stride,
                        vertexCount, indices, indexCount, static_cast<int>(sizeof(int)));
}

void DrawRect(Device& device, const GpuTexture& texture, const PixelRect& source, const ScreenRect& target,
              Rgba color, bool mirrorX, bool mirrorY) {
  if (!SameDevice(device, texture.life)) return;
  if (device.frame) {
    if (texture.cpu) device.frame->DrawRect(*texture.cpu, source, target, color, mirrorX, mirrorY);
    return;
  }
  if (device.mirror && texture.cpu)
    device.mirror->DrawRect(*texture.cpu, source, target, color, mirrorX, mirrorY);
  SDL_SetTextureColorMod(texture.texture, color.r, color.g, color.b);
  SDL_SetTextureAlphaMod(texture.texture, color.a);
  const SDL_Rect from{source.x, source.y, source.w, source.h};
  const SDL_FRect to{target.x, target.y, target.w, target.h};
  const int flip = (mirrorX ? SDL_FLIP_HORIZONTAL : 0) | (mirrorY ? SDL_FLIP_VERTICAL : 0);
  SDL_RenderCopyExF(device.renderer, texture.texture, &from, &to, 0, nullptr,
                    static_cast<SDL_RendererFlip>(flip));
}

void DrawQuad(Device& device, const GpuTexture& texture, const Vertex (&corners)[4]) {
  const Vertex &topLeft = corners[0], &topRight = corners[1], &bottomLeft = corners[2];
  // An upright quad over whole pixels of the image is a rectangle copy, which every renderer
  // draws texel for pixel; SDL's software renderer does not when it draws triangles.
  if (topLeft.y == topRight.y && topLeft.x == bottomLeft.x) {
    const double left = std::min(topLeft.u, topRight.u) * double(texture.width);
    const double right = std::max(topLeft.u, topRight.u) * double(texture.width);
    const double top = std::min(topLeft.v, bottomLeft.v) * double(texture.height);
    const double bottom = std::max(topLeft.v, bottomLeft.v) * double(texture.height);
    if (IsWhole(left) && IsWhole(right) && IsWhole(top) && IsWhole(bottom)) {
      const PixelRect source{int(std::lround(left)), int(std::lround(top)), int(std::lround(right - left)),
                             int(std::lround(bottom - top))};
      const ScreenRect target{std::min(topLeft.x, topRight.x), std::min(topLeft.y, bottomLeft.y),
                              std::fabs(topRight.x - topLeft.x), std::fabs(bottomLeft.y - topLeft.y)};
      const bool mirrorX = (topRight.x - topLeft.x) * (topRight.u - topLeft.u) < 0;
      const bool mirrorY = (bottomLeft.y - topLeft.y) * (bottomLeft.v - topLeft.v) < 0;
      DrawRect(device, texture, source, target, topLeft.color, mirrorX, mirrorY);
      return;
    }
  }
  if (device.frame) {
    if (SameDevice(device, texture.life) && texture.cpu)
      device.frame->DrawParallelogram(*texture.cpu, corners);
    return;
  }
  if (device.mirror && texture.cpu && SameDevice(device, texture.life))
    device.mirror->DrawParallelogram(*texture.cpu, corners);
  static constexpr int kShared[6] = {0, 1, 2, 2, 1, 3};
  if (!device.software) {
    DrawTriangles(device, texture, corners, 4, kShared, 6);
    return;
  }
  if (SameDevice(device, texture.life) && DrawParallelogram(device, texture, corners)) return;
  // SDL's software renderer takes two triangles that share an edge and form an upright rectangle
  // for a rectangle copy, keeping a mirror but losing a quarter turn. Triangles that share no
  // corners stay triangles.
  static constexpr int kSeparate[6] = {0, 1, 2, 3, 4, 5};
  const Vertex triangles[6] = {corners[0], corners[1], corners[2], corners[2], corners[1], corners[3]};
  DrawTriangles(device, texture, triangles, 6, kSeparate, 6);
}

bool ReadBackBuffer(Device& device, images::Image& frame, std::string* error) {
  if (device.frame) {
    device.frame->ReadBack(frame);
    return true;
  }
  return ReadTarget(device, device.backBuffer, frame, error);
}

bool KeepsFrontBuffer(const Device& device) {
  return device.frontBuffer != nullptr || (device.frame && device.frame->KeepsFront());
}

bool ReadFrontBuffer(Device& device, images::Image& frame, std::string* error) {
  if (device.frame) {
    device.frame->ReadFront(frame);
    return true;
  }
  return ReadTarget(device, device.frontBuffer, frame, error);
}

}  // namespace tovak2d::platform::video
