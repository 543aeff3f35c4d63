// SPDX-License-Identifier: Zlib
#include "platform/Video.h"

#include <SDL.h>

#include <utility>

#include "platform/Compositor.h"
#include "platform/Desktop.h"
#include "platform/DriverProbe.h"

namespace tovak2d::platform::video {
namespace {
// What the tests ask of the devices made from now on.
struct TestSwitches {
  int refusals = 0;  // devices still to refuse
  bool drawStraight = false;
  bool mirrorDevices = false;
  testing::CompositorChoice compositorChoice = testing::CompositorChoice::Automatic;
};
TestSwitches switches;

// The engine composites on the CPU where the only OpenGL is a software one. A render driver the
// user names still wins, and TOVAK2D_COMPOSITOR=0 or 1 turns the compositor off or on.
bool UseCompositor(SDL_Window* window) {
  if (switches.compositorChoice != testing::CompositorChoice::Automatic)
    return switches.compositorChoice == testing::CompositorChoice::Always;
  if (const char* wanted = SDL_GetHint(SDL_HINT_RENDER_DRIVER); wanted && *wanted) return false;
  if (const char* setting = SDL_getenv("TOVAK2D_COMPOSITOR"); setting && *setting)
    return SDL_strcmp(setting, "0") != 0;
  return probe::SoftwareGlOnly(window);
}

SDL_Texture* CreateFrameBuffer(Device& device) {
  SDL_Texture* buffer = SDL_CreateTexture(device.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                          device.width, device.height);
  if (buffer) SDL_SetTextureBlendMode(buffer, SDL_BLENDMODE_NONE);
  return buffer;
}

// The frame is drawn into a texture of the back-buffer size and copied into the window on
// presentation, so the frame last shown can be read back whatever the driver does with the window.
void CreateSwapChain(Device& device) {
  if (!SDL_RenderTargetSupported(device.renderer)) return;
  device.backBuffer = CreateFrameBuffer(device);
  device.frontBuffer = CreateFrameBuffer(device);
  if (!device.backBuffer || !device.frontBuffer ||
      SDL_SetRenderTarget(device.renderer, device.backBuffer) != 0) {
    if (device.backBuffer) SDL_DestroyTexture(device.backBuffer);
    if (device.frontBuffer) SDL_DestroyTexture(device.frontBuffer);
    device.backBuffer = device.frontBuffer = nullptr;
    SDL_SetRenderTarget(device.renderer, nullptr);
    return;
  }
  SDL_SetRenderDrawColor(device.renderer, 0, 0, 0, 255);
  SDL_RenderClear(device.renderer);
}

// A render driver asked for by name (SDL_RENDER_DRIVER) that this SDL does not have: SDL would
// quietly take another one, which hides a mistyped or missing driver.
bool UnknownRenderDriver(std::string& name) {
  const char* wanted = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  if (!wanted || !*wanted) return false;
  for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
    SDL_RendererInfo info;
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && info.name && SDL_strcasecmp(info.name, wanted) == 0)
      return false;
  }
  name = wanted;
  return true;
}

// A windowed window's placement waiting for the window manager to tell the frame's size.
struct PendingPlacement {
  uint32_t windowId = 0;  // 0: nothing waits
  int width = 0, height = 0;
  uint32_t giveUpAt = 0;  // SDL ticks; a desktop without a window manager never tells
};
PendingPlacement pendingPlacement;

// The desktop scale the windowed window was last placed with.
double windowScale = 1;

// The desktop's scale, lowered by quarters to no less than 1 until the scaled window fits the
// primary screen.
double FittingScale(SDL_Window* window, int width, int height) {
  double scale = desktop::Scale(window);
  SDL_Rect screen;
  if (SDL_GetDisplayUsableBounds(0, &screen) != 0 && SDL_GetDisplayBounds(0, &screen) != 0) return scale;
  while (scale > 1 && (width * scale > screen.w || height * scale > screen.h)) scale -= 0.25;
  return scale < 1 ? 1 : scale;
}
constexpr uint32_t kFrameWaitMs = 5000;

bool FrameKnown(SDL_Window* window) {
  int top = 0, left = 0, bottom = 0, right = 0;
  return SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) == 0 &&
         (top != 0 || left != 0 || bottom != 0 || right != 0);
}

// Centres the window on the primary screen with the given outer size, frame included (SDL sizes
// and places the client area). Returns whether the frame's size was known.
bool ApplyPlacement(SDL_Window* window, int width, int height) {
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) top = left = bottom = right = 0;
  const bool frameKnown = top != 0 || left != 0 || bottom != 0 || right != 0;
  int clientWidth = width - left - right;
  int clientHeight = height - top - bottom;
  if (clientWidth < 1) clientWidth = 1;
  if (clientHeight < 1) clientHeight = 1;
  SDL_SetWindowSize(window, clientWidth, clientHeight);

  SDL_Rect screen{0, 0, width, height};
  if (SDL_GetDisplayBounds(0, &screen) != 0) screen = SDL_Rect{0, 0, width, height};
  const int x = screen.x + static_cast<int>(SDL_lround((screen.w - width) / 2.0));
  const int y = screen.y + static_cast<int>(SDL_lround((screen.h - height) / 2.0));
  SDL_SetWindowPosition(window, x + left, y + top);
  return frameKnown;
}

void CoverDisplay(SDL_Window* window) {
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) != 0) return;
  SDL_SetWindowBordered(window, SDL_FALSE);
  SDL_SetWindowPosition(window, bounds.x, bounds.y);
  SDL_SetWindowSize(window, bounds.w, bounds.h);
}

}  // namespace

bool StartVideo(std::string* error) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  return true;
}

void StopVideo() {
  pendingPlacement = {};
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

Device::~Device() {
  if (life) {
    life->renderer = nullptr;
    life->alive = false;
  }
  if (backBuffer) SDL_DestroyTexture(backBuffer);
  if (frontBuffer) SDL_DestroyTexture(frontBuffer);
  if (scratch) SDL_DestroyTexture(scratch);
  if (renderer) SDL_DestroyRenderer(renderer);
}

void PlaceWindow(WindowHandle window, int width, int height, bool fullScreen, bool onTop) {
  pendingPlacement = {};
  if (fullScreen || !window) return;
  // A desktop that scales its programs gets a window of the same scale, frame included.
  windowScale = FittingScale(window, width, height);
  width = static_cast<int>(SDL_lround(width * windowScale));
  height = static_cast<int>(SDL_lround(height * windowScale));
  // A window manager tells the frame's size only after the window is shown, and then a moment
  // later: until it has, the window is placed as if it had no frame, and placed again when the
  // message processing learns the frame.
  SDL_ShowWindow(window);
  if (!ApplyPlacement(window, width, height))
    pendingPlacement = {SDL_GetWindowID(window), width, height, SDL_GetTicks() + kFrameWaitMs};
  SDL_SetWindowAlwaysOnTop(window, onTop ? SDL_TRUE : SDL_FALSE);
}

void FinishPlacement() {
  if (pendingPlacement.windowId == 0) return;
  SDL_Window* window = SDL_GetWindowFromID(pendingPlacement.windowId);
  if (!window || SDL_TICKS_PASSED(SDL_GetTicks(), pendingPlacement.giveUpAt)) {
    pendingPlacement = {};
    return;
  }
  if (!FrameKnown(window)) return;
  ApplyPlacement(window, pendingPlacement.width, pendingPlacement.height);
  pendingPlacement = {};
}

std::unique_ptr<Device> CreateDevice(WindowHandle window, int width, int height, bool fullScreen,
                                     std::string* error) {
  auto fail = [&](const std::string& why) -> std::unique_ptr<Device> {
    if (error) *error = why;
    SDL_SetError("%s", why.c_str());
    return nullptr;
  };
  if (!window) return fail("no window for the graphics device");
  if (switches.refusals > 0) {
    --switches.refusals;
    return fail("the display driver refused the device");
  }
  if (std::string driver; UnknownRenderDriver(driver))
    return fail("there is no render driver named \"" + driver + "\"");
  // SDL's desktop full screen is the window manager's work; with none, the window is made to
  // cover the display by hand, without a frame.
  const bool coverByHand = fullScreen && !desktop::HasWindowManager(window);
  if (SDL_SetWindowFullscreen(window, fullScreen && !coverByHand ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
    return fail(SDL_GetError());
  // Window placement shows a windowed window; a full-screen one (and one that fell back to
  // windowed mode after a refused full-screen device) is shown here, or it would never appear.
  SDL_ShowWindow(window);

  auto device = std::make_unique<Device>();
  device->window = window;
  device->width = width;
  device->height = height;
  device->fullScreen = fullScreen;
  device->life = std::make_shared<DeviceLife>();
  device->scale = fullScreen ? 1 : windowScale;
  // A whole desktop scale draws each pixel as a block, sharp; any other is scaled smoothly.
  const bool sharp = device->scale > 1 && device->scale == SDL_floor(device->scale);
  desktop::WatchDisplay(window);
  // A software renderer draws into the window's surface. Left to itself, SDL shows that surface
  // through an OpenGL texture, which loads the GL driver (with a software GL, over 60 MB of code)
  // and adds a pass to every frame; on X11, shared memory shows it directly. (Other systems may
  // have no direct way.) A setting in the environment still wins.
  const char* videoDriver = SDL_GetCurrentVideoDriver();
  if (videoDriver && SDL_strcmp(videoDriver, "x11") == 0) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (UseCompositor(window)) {
    // A window without a surface of its own (a driver that has none) falls back to SDL's renderers.
    if (coverByHand) CoverDisplay(window);
    device->frame = compositor::Frame::Create(window, width, height, nullptr);
    if (device->frame) {
      device->frame->SetSharp(sharp);
      device->software = true;
      return device;
    }
  }
  // Sprites are many small draws; let SDL gather them into few driver calls.
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  device->renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (!device->renderer) {
    // No accelerated driver (a headless run, an old machine): draw in software on the window.
    device->renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    device->software = true;
  }
  if (!device->renderer) return fail(SDL_GetError());
  // After the renderer, which may make the window anew (for OpenGL) where it was first placed.
  if (coverByHand) CoverDisplay(window);
  SDL_RendererInfo info;  // a render-driver hint can pick the software renderer as well
  if (SDL_GetRendererInfo(device->renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE))
    device->software = true;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, sharp ? "nearest" : "linear");
  if (SDL_RenderSetLogicalSize(device->renderer, width, height) != 0) return fail(SDL_GetError());
  SDL_SetRenderDrawBlendMode(device->renderer, SDL_BLENDMODE_BLEND);
  device->life->renderer = device->renderer;
  if (device->software && !switches.drawStraight) CreateSwapChain(*device);
  if (switches.mirrorDevices && device->software) {
    device->mirror = compositor::Frame::Create(nullptr, width, height, nullptr);
    if (device->mirror) device->mirror->TrackTurnedEdges();
  }
  return device;
}

void Clear(Device& device, uint8_t red, uint8_t green, uint8_t blue) {
  if (device.mirror) device.mirror->Clear(red, green, blue);
  if (device.frame) {
    device.frame->Clear(red, green, blue);
    return;
  }
  SDL_SetRenderDrawColor(device.renderer, red, green, blue, 255);
  SDL_RenderClear(device.renderer);
}

void Present(Device& device) {
  if (device.mirror) device.mirror->Present();
  if (device.frame) {
    device.frame->Present();
    return;
  }
  if (!device.backBuffer) {
    SDL_RenderPresent(device.renderer);
    return;
  }
  SDL_SetRenderTarget(device.renderer, nullptr);
  SDL_SetRenderDrawColor(device.renderer, 0, 0, 0, 255);  // the bars beside a letterboxed frame
  SDL_RenderClear(device.renderer);
  SDL_RenderCopy(device.renderer, device.backBuffer, nullptr, nullptr);
  SDL_RenderPresent(device.renderer);
  std::swap(device.backBuffer, device.frontBuffer);
  SDL_SetRenderTarget(device.renderer, device.backBuffer);
}

void FrameToWindow(const Device& device, int x, int y, int& windowX, int& windowY) {
  windowX = x;
  windowY = y;
  if (device.frame)
    device.frame->ToWindow(x, y, windowX, windowY);
  else if (device.renderer)
    SDL_RenderLogicalToWindow(device.renderer, static_cast<float>(x), static_cast<float>(y), &windowX,
                              &windowY);
}

std::string RendererName(const Device& device) {
  if (device.frame) return "compositor";
  SDL_RendererInfo info{};
  if (!device.renderer || SDL_GetRendererInfo(device.renderer, &info) != 0 || !info.name) return "none";
  return info.name;
}

std::string DrawingPath(const Device& device) {
  const std::string name = RendererName(device);
  if (name == "opengl") return "OpenGL";
  if (name.rfind("opengles", 0) == 0) return "OpenGL ES";
  return name;
}

const char* CurrentDriver() {
  return SDL_GetCurrentVideoDriver();
}

double Scale(const Device& device) {
  return device.fullScreen ? 1 : device.scale;
}

std::string ErrorText() {
  const char* text = SDL_GetError();
  return text && *text ? text : "unknown error";
}

namespace testing {
void RefuseDevices(int count) {
  switches.refusals = count;
}
void DrawStraightIntoWindow(bool straight) {
  switches.drawStraight = straight;
}
void ChooseCompositor(CompositorChoice choice) {
  switches.compositorChoice = choice;
}
void MirrorIntoCompositor(bool on) {
  switches.mirrorDevices = on;
}
bool ReadMirror(const Device& device, images::Image& frame, std::vector<uint8_t>& turnedEdges) {
  if (!device.mirror) return false;
  device.mirror->ReadFront(frame);
  turnedEdges = device.mirror->TurnedEdges();
  return true;
}
}  // namespace testing

}  // namespace tovak2d::platform::video
