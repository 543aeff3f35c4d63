#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/Video.h"

namespace tovak2d::platform::video {
namespace {

static_assert(sizeof(Rgba) == sizeof(SDL_Color), "vertex colours are handed to SDL as they are");

bool IsWhole(double v) {
  return std::fabs(v - std::round(v)) < 1e-3;
}

bool SameDevice(const Device& device, const std::shared_ptr<DeviceLife>& life) {
  return life && life->renderer && life->renderer == device.renderer;
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
  SDL_Texture* texture =
      SDL_CreateTexture(device.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, height);
  if (!texture) return fail();
  auto result = std::make_shared<GpuTexture>();
  result->texture = texture;
  result->width = width;
  result->height = height;
  result->life = device.life;
  if (SDL_UpdateTexture(texture, nullptr, argb, width * 4) != 0) return fail();
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  return result;
}

void DrawTriangles(Device& device, const GpuTexture& texture, const Vertex* vertices, int vertexCount,
                   const int* indices, int indexCount) {
  if (!SameDevice(device, texture.life) || vertexCount <= 0) return;
  const int stride = static_cast<int>(sizeof(Vertex));
  SDL_RenderGeometryRaw(device.renderer, texture.texture, &vertices->x, stride,
                        reinterpret_cast<const SDL_Color*>(&vertices->color), stride, &vertices->u, stride,
                        vertexCount, indices, indexCount, static_cast<int>(sizeof(int)));
}

void DrawRect(Device& device, const GpuTexture& texture, const PixelRect& source, const ScreenRect& target,
              Rgba color, bool mirrorX, bool mirrorY) {
  if (!SameDevice(device, texture.life)) return;
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
  static constexpr int kShared[6] = {0, 1, 2, 2, 1, 3};
  if (!device.software) {
    DrawTriangles(device, texture, corners, 4, kShared, 6);
    return;
  }
  // SDL's software renderer takes two triangles that share an edge and form an upright rectangle
  // for a rectangle copy, keeping a mirror but losing a quarter turn. Triangles that share no
  // corners stay triangles.
  static constexpr int kSeparate[6] = {0, 1, 2, 3, 4, 5};
  const Vertex triangles[6] = {corners[0], corners[1], corners[2], corners[2], corners[1], corners[3]};
  DrawTriangles(device, texture, triangles, 6, kSeparate, 6);
}

bool ReadBackBuffer(Device& device, images::Image& frame, std::string* error) {
  return ReadTarget(device, device.backBuffer, frame, error);
}

bool ReadFrontBuffer(Device& device, images::Image& frame, std::string* error) {
  return ReadTarget(device, device.frontBuffer, frame, error);
}

}  // namespace tovak2d::platform::video
