#include <SDL.h>

#include "platform/Video.h"

namespace tovak2d::platform::video {
namespace {

static_assert(sizeof(Rgba) == sizeof(SDL_Color), "vertex colours are handed to SDL as they are");

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

bool ReadBackBuffer(Device& device, images::Image& frame, std::string* error) {
  return ReadTarget(device, device.backBuffer, frame, error);
}

bool ReadFrontBuffer(Device& device, images::Image& frame, std::string* error) {
  return ReadTarget(device, device.frontBuffer, frame, error);
}

}  // namespace tovak2d::platform::video
