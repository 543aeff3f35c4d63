// SPDX-License-Identifier: Zlib
#include "platform/WindowSurface.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace tovak2d::platform::video {
namespace {

// One shared-memory buffer the compositor reads the window's picture from.
struct Buffer {
  wl_buffer* buffer = nullptr;
  void* data = MAP_FAILED;
  size_t bytes = 0;
  int width = 0, height = 0;
  bool busy = false;  // the compositor holds it until it says it is done
  SDL_Surface* surface = nullptr;  // its pixels, as the frame is drawn into them
  ~Buffer() {
    if (surface) SDL_FreeSurface(surface);
    if (buffer) wl_buffer_destroy(buffer);
    if (data != MAP_FAILED) munmap(data, bytes);
  }
};

struct WaylandSurface {
  SDL_Window* window = nullptr;
  wl_display* display = nullptr;
  wl_surface* surface = nullptr;
  // The engine's own queue, so that SDL's event processing never runs the buffers' listeners.
  wl_event_queue* queue = nullptr;
  wl_shm* shm = nullptr;
  std::vector<std::unique_ptr<Buffer>> buffers;
  Buffer* drawing = nullptr;  // the buffer the next frame goes into, until it is shown

  ~WaylandSurface() {
    buffers.clear();
    if (shm) wl_shm_destroy(shm);
    if (queue) wl_event_queue_destroy(queue);
  }
};
std::unique_ptr<WaylandSurface> wayland;

// More buffers than this held by the compositor at once: the next frame waits for one.
constexpr size_t kMostBuffers = 3;

void OnRelease(void* data, wl_buffer*) {
  static_cast<Buffer*>(data)->busy = false;
}
const wl_buffer_listener kBufferListener = {OnRelease};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  if (std::strcmp(interface, wl_shm_interface.name) == 0)
    static_cast<WaylandSurface*>(data)->shm =
        static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

bool OnWayland() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "wayland") == 0;
}

// The window's Wayland connection and surface, with the compositor's shared memory found on the
// engine's own queue; null where any of it is missing.
std::unique_ptr<WaylandSurface> Connect(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return nullptr;
  auto state = std::make_unique<WaylandSurface>();
  state->window = window;
  state->display = info.info.wl.display;
  state->surface = info.info.wl.surface;
  state->queue = wl_display_create_queue(state->display);
  if (!state->queue) return nullptr;
  auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(state->display));
  if (!wrapper) return nullptr;
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), state->queue);
  wl_registry* registry = wl_display_get_registry(wrapper);
  wl_proxy_wrapper_destroy(wrapper);
  if (!registry) return nullptr;
  wl_registry_add_listener(registry, &kRegistryListener, state.get());
  wl_display_roundtrip_queue(state->display, state->queue);
  wl_registry_destroy(registry);
  if (!state->shm) return nullptr;
  return state;
}

std::unique_ptr<Buffer> MakeBuffer(wl_shm* shm, int width, int height) {
  auto buffer = std::make_unique<Buffer>();
  buffer->width = width;
  buffer->height = height;
  buffer->bytes = size_t(width) * size_t(height) * 4;
  const int fd = memfd_create("tovak2d-frame", MFD_CLOEXEC);
  if (fd < 0) return nullptr;
  if (ftruncate(fd, static_cast<off_t>(buffer->bytes)) != 0) {
    close(fd);
    return nullptr;
  }
  buffer->data = mmap(nullptr, buffer->bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  wl_shm_pool* pool =
      buffer->data == MAP_FAILED ? nullptr : wl_shm_create_pool(shm, fd, static_cast<int32_t>(buffer->bytes));
  close(fd);
  if (!pool) return nullptr;
  buffer->buffer = wl_shm_pool_create_buffer(pool, 0, width, height, width * 4, WL_SHM_FORMAT_XRGB8888);
  wl_shm_pool_destroy(pool);
  buffer->surface =
      SDL_CreateRGBSurfaceWithFormatFrom(buffer->data, width, height, 32, width * 4, SDL_PIXELFORMAT_RGB888);
  if (!buffer->buffer || !buffer->surface) return nullptr;
  wl_buffer_add_listener(buffer->buffer, &kBufferListener, buffer.get());
  return buffer;
}

// A buffer of the given size the compositor is not reading; null when the connection broke.
Buffer* FreeBuffer(WaylandSurface& state, int width, int height) {
  for (;;) {
    if (wl_display_dispatch_queue_pending(state.display, state.queue) < 0) return nullptr;
    // Buffers of another size are done with once the compositor lets go of them.
    state.buffers.erase(std::remove_if(state.buffers.begin(), state.buffers.end(),
                                       [&](const std::unique_ptr<Buffer>& buffer) {
                                         return !buffer->busy && (buffer->width != width || buffer->height != height);
                                       }),
                        state.buffers.end());
    for (auto& buffer : state.buffers)
      if (!buffer->busy) return buffer.get();
    if (state.buffers.size() < kMostBuffers) {
      std::unique_ptr<Buffer> made = MakeBuffer(state.shm, width, height);
      if (!made) return nullptr;
      state.buffers.push_back(std::move(made));
      return state.buffers.back().get();
    }
    if (wl_display_dispatch_queue(state.display, state.queue) < 0) return nullptr;
  }
}

}  // namespace

SDL_Surface* WindowSurface(SDL_Window* window) {
  if (!OnWayland()) return SDL_GetWindowSurface(window);
  if (!wayland || wayland->window != window) {
    wayland = Connect(window);
    if (!wayland) {
      SDL_SetError("the Wayland compositor offers no shared memory for the window");
      return nullptr;
    }
  }
  int width = 0, height = 0;
  SDL_GetWindowSizeInPixels(window, &width, &height);
  if (width <= 0 || height <= 0) {
    SDL_SetError("the window has no size yet");
    return nullptr;
  }
  Buffer*& drawing = wayland->drawing;
  if (!drawing || drawing->width != width || drawing->height != height) {
    drawing = FreeBuffer(*wayland, width, height);
    if (!drawing) {
      SDL_SetError("the Wayland connection broke");
      return nullptr;
    }
  }
  return drawing->surface;
}

int UpdateWindowSurface(SDL_Window* window) {
  if (!OnWayland()) return SDL_UpdateWindowSurface(window);
  if (!wayland || wayland->window != window || !wayland->drawing) return SDL_SetError("no window surface");
  Buffer* buffer = wayland->drawing;
  wayland->drawing = nullptr;
  int width = 0, height = 0;
  SDL_GetWindowSizeInPixels(window, &width, &height);
  if (width != buffer->width || height != buffer->height) return SDL_SetError("the window surface no longer fits");
  buffer->busy = true;
  wl_surface_attach(wayland->surface, buffer->buffer, 0, 0);
  wl_surface_damage(wayland->surface, 0, 0, width, height);
  wl_surface_commit(wayland->surface);
  wl_display_flush(wayland->display);
  return 0;
}

bool WindowSurfaceKept(SDL_Window*) {
  return !OnWayland();
}

void ReleaseWindowSurface(SDL_Window* window) {
  if (wayland && wayland->window == window) wayland.reset();
}

}  // namespace tovak2d::platform::video
