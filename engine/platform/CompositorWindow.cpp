// SPDX-License-Identifier: Zlib
#include "platform/Compositor.h"
#include "platform/WindowSurface.h"

#include <SDL.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>

// The frame in the window: where it stands, how the pointer maps onto it, and its showing.
namespace tovak2d::platform::video::compositor {
namespace {

// The rectangle a frame of width x height fills in a window of the given size: scaled by the
// smaller ratio and centred, as SDL's logical size places it.
SDL_Rect Viewport(int width, int height, int windowWidth, int windowHeight) {
  const double scale = std::min(double(windowWidth) / width, double(windowHeight) / height);
  const int w = std::clamp(static_cast<int>(std::floor(width * scale + 1e-6)), 1, windowWidth);
  const int h = std::clamp(static_cast<int>(std::floor(height * scale + 1e-6)), 1, windowHeight);
  return {(windowWidth - w) / 2, (windowHeight - h) / 2, w, h};
}

}  // namespace

// Mouse positions arrive in window pixels; the game wants frame pixels, as SDL's renderers give
// them through their logical size. Rewritten as each event is queued, as SDL's renderers do it.
int Frame::MapMouse(void* frame, SDL_Event* event) {
  const Frame& self = *static_cast<const Frame*>(frame);
  uint32_t windowId = 0;
  switch (event->type) {
    case SDL_MOUSEMOTION:
      windowId = event->motion.windowID;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      windowId = event->button.windowID;
      break;
    case SDL_MOUSEWHEEL:
      windowId = event->wheel.windowID;
      break;
    default:
      return 1;
  }
  if (windowId != SDL_GetWindowID(self.window_)) return 1;
  int windowWidth = 0, windowHeight = 0;
  SDL_GetWindowSize(self.window_, &windowWidth, &windowHeight);
  if (windowWidth <= 0 || windowHeight <= 0) return 1;
  const SDL_Rect view = Viewport(self.width_, self.height_, windowWidth, windowHeight);
  const double scaleX = double(self.width_) / view.w, scaleY = double(self.height_) / view.h;
  auto mapX = [&](int x) { return static_cast<int>((x - view.x) * scaleX); };
  auto mapY = [&](int y) { return static_cast<int>((y - view.y) * scaleY); };
  switch (event->type) {
    case SDL_MOUSEMOTION:
      event->motion.x = mapX(event->motion.x);
      event->motion.y = mapY(event->motion.y);
      event->motion.xrel = static_cast<int>(event->motion.xrel * scaleX);
      event->motion.yrel = static_cast<int>(event->motion.yrel * scaleY);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      event->button.x = mapX(event->button.x);
      event->button.y = mapY(event->button.y);
      break;
    default:
      event->wheel.mouseX = mapX(event->wheel.mouseX);
      event->wheel.mouseY = mapY(event->wheel.mouseY);
      break;
  }
  return 1;
}

void Frame::Present() {
  Flush();
  FillClear();
  const size_t pixels = size_t(width_) * size_t(height_);
  if (intoWindow_) {
    drawn_ = false;
    if (UpdateWindowSurface(window_) == 0) return;
    // The window's surface is no longer valid (the window changed size or mode). Its pixels stay
    // until a new surface is asked for: the frame is moved out of them and shown the usual way.
    std::copy_n(pixels_, pixels, back_.data());
    pixels_ = back_.data();
    intoWindow_ = false;
  }
  SDL_Surface* surface = window_ ? WindowSurface(window_) : nullptr;
  if (surface && surface->w > 0 && surface->h > 0 && SDL_LockSurface(surface) == 0) {
    const SDL_Rect view = Viewport(width_, height_, surface->w, surface->h);
    const uint32_t format = surface->format->format;
    if (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888) {
      pixman_image_t* window = pixman_image_create_bits_no_clear(
          format == SDL_PIXELFORMAT_ARGB8888 ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, surface->w, surface->h,
          static_cast<uint32_t*>(surface->pixels), surface->pitch);
      if (window) {
        if (view.w == width_ && view.h == height_ && surface->w == width_ && surface->h == height_) {
          pixman_image_composite32(PIXMAN_OP_SRC, backImage_, nullptr, window, 0, 0, 0, 0, 0, 0, width_,
                                   height_);
          barsFor_ = {};
        } else {
          // The bars beside the frame (when the window's surface is new: nothing else draws
          // there), then the frame scaled once, smoothly, into its place.
          const bool barsDrawn = barsFor_.pixels == surface->pixels && barsFor_.w == surface->w &&
                                 barsFor_.h == surface->h && barsFor_.pitch == surface->pitch;
          const pixman_color_t black{0, 0, 0, 0xFFFF};
          const pixman_rectangle16_t bars[4] = {
              {0, 0, uint16_t(surface->w), uint16_t(view.y)},
              {0, int16_t(view.y + view.h), uint16_t(surface->w), uint16_t(surface->h - view.y - view.h)},
              {0, int16_t(view.y), uint16_t(view.x), uint16_t(view.h)},
              {int16_t(view.x + view.w), int16_t(view.y), uint16_t(surface->w - view.x - view.w),
               uint16_t(view.h)}};
          if (!barsDrawn) pixman_image_fill_rectangles(PIXMAN_OP_SRC, window, &black, 4, bars);
          barsFor_ = {surface->pixels, surface->w, surface->h, surface->pitch};
          // Our own scaler gives pixman's pixels for a fraction of its time; pixman scales the
          // sizes it leaves.
          uint8_t* place =
              static_cast<uint8_t*>(surface->pixels) + size_t(view.y) * surface->pitch + view.x * 4;
          const int whole = view.w / width_;
          if (sharp_ && whole >= 2 && view.w == whole * width_ && view.h == whole * height_) {
            // A whole multiple: each pixel written as a block.
            ScaleWhole(back_.data(), width_, height_, size_t(width_) * 4, reinterpret_cast<uint32_t*>(place), whole,
                       size_t(surface->pitch));
          } else if (sharp_ || !scaler_.Scale(back_.data(), width_, height_, size_t(width_) * 4,
                                       reinterpret_cast<uint32_t*>(place), view.w, view.h,
                                       size_t(surface->pitch))) {
            pixman_transform_t transform;
            pixman_transform_init_scale(&transform, pixman_double_to_fixed(double(width_) / view.w),
                                        pixman_double_to_fixed(double(height_) / view.h));
            pixman_image_set_transform(backImage_, &transform);
            pixman_image_set_filter(backImage_, sharp_ ? PIXMAN_FILTER_NEAREST : PIXMAN_FILTER_BILINEAR, nullptr,
                                    0);
            pixman_image_set_repeat(backImage_, PIXMAN_REPEAT_PAD);
            pixman_image_composite32(PIXMAN_OP_SRC, backImage_, nullptr, window, 0, 0, 0, 0, view.x, view.y,
                                     view.w, view.h);
            pixman_image_set_transform(backImage_, nullptr);
            pixman_image_set_filter(backImage_, PIXMAN_FILTER_NEAREST, nullptr, 0);
            pixman_image_set_repeat(backImage_, PIXMAN_REPEAT_NONE);
          }
        }
        pixman_image_unref(window);
      }
      SDL_UnlockSurface(surface);
    } else {
      // Any other window format: SDL converts while it scales.
      SDL_UnlockSurface(surface);
      SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormatFrom(back_.data(), width_, height_, 32, width_ * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
      if (frame) {
        SDL_SetSurfaceBlendMode(frame, SDL_BLENDMODE_NONE);
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        SDL_Rect place = view;
        SDL_BlitScaled(frame, nullptr, surface, &place);
        SDL_FreeSurface(frame);
      }
    }
    UpdateWindowSurface(window_);
  }
  std::swap(back_, front_);
  std::swap(backImage_, frontImage_);
  pixels_ = back_.data();
  drawn_ = false;
  // A window surface of the frame's own size and layout takes the next frames directly. It holds
  // the frame just shown, as the back buffer would.
  if (surface && WindowSurfaceKept(window_) && surface->w == width_ && surface->h == height_ &&
      size_t(surface->pitch) == size_t(width_) * 4 &&
      (surface->format->format == SDL_PIXELFORMAT_ARGB8888 || surface->format->format == SDL_PIXELFORMAT_RGB888) &&
      !SDL_MUSTLOCK(surface)) {
    pixels_ = static_cast<uint32_t*>(surface->pixels);
    intoWindow_ = true;
  }
}

void Frame::ToWindow(int x, int y, int& windowX, int& windowY) const {
  int windowWidth = 0, windowHeight = 0;
  if (window_) SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
  if (windowWidth <= 0 || windowHeight <= 0) {
    windowX = x;
    windowY = y;
    return;
  }
  const SDL_Rect view = Viewport(width_, height_, windowWidth, windowHeight);
  windowX = view.x + static_cast<int>(x * double(view.w) / width_);
  windowY = view.y + static_cast<int>(y * double(view.h) / height_);
}

}  // namespace tovak2d::platform::video::compositor
