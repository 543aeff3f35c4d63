// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Images.h"
#include "tovak2d/Types.h"

struct SDL_Renderer;
struct SDL_Texture;

// The window and the graphics device on it (an SDL renderer standing for the Direct3D device
// and its sprite batch, or the engine's own CPU compositor where OpenGL is a software one).
namespace tovak2d::platform::video {

namespace compositor {
class Frame;
class Image;
}  // namespace compositor

// Starts and stops the video system; calls nest.
bool StartVideo(std::string* error = nullptr);
void StopVideo();

// Tells the textures of a device whether it still exists: the renderer frees its textures
// itself, so a texture that outlives its device must not free them again.
struct DeviceLife {
  SDL_Renderer* renderer = nullptr;  // null once the device is gone
  bool alive = true;
};

struct Device {
  ~Device();
  WindowHandle window = nullptr;
  SDL_Renderer* renderer = nullptr;
  int width = 0, height = 0;  // the back buffer
  bool fullScreen = false;
  bool software = false;
  double scale = 1;  // the desktop's scale applied to the window (windowed only)
  // The frame being drawn and the frame the window shows, swapped by Present as a flipping swap
  // chain does, so that the frame on screen can be read back. Only the software renderer keeps
  // them: on a GPU renderer, drawing into a texture and copying it into the window costs a
  // full-screen pass a frame (3 ms with a software GL), so it draws straight into the window, as
  // does a renderer that cannot draw into textures. Both are null then.
  SDL_Texture* backBuffer = nullptr;
  SDL_Texture* frontBuffer = nullptr;
  // Software renderer only: a frame-sized texture that turned sprites are mapped into before
  // they are blended into the frame.
  SDL_Texture* scratch = nullptr;
  // The CPU compositor's frame; the device has no renderer then.
  std::unique_ptr<compositor::Frame> frame;
  // Tests only: a compositor frame that an SDL device's drawing goes to as well.
  std::unique_ptr<compositor::Frame> mirror;
  std::shared_ptr<DeviceLife> life;
};

// Centres the window on the primary screen with the given outer size, shows it, and puts it in
// or out of the always-on-top band. Does nothing in full-screen mode.
void PlaceWindow(WindowHandle window, int width, int height, bool fullScreen, bool onTop);
// Places the window again once the window manager has told the size of its frame, which it does
// a moment after the window is shown; run by the message processing.
void FinishPlacement();

// A device drawing a width x height back buffer into the window: full screen (the desktop's
// mode, the buffer scaled and letterboxed) or windowed (scaled into the client area).
std::unique_ptr<Device> CreateDevice(WindowHandle window, int width, int height, bool fullScreen,
                                     std::string* error);

void Clear(Device& device, uint8_t red, uint8_t green, uint8_t blue);
void Present(Device& device);

// A back-buffer pixel's place in the window.
void FrameToWindow(const Device& device, int x, int y, int& windowX, int& windowY);

// The name of the renderer driving the device ("opengl", "software", "compositor", ...).
std::string RendererName(const Device& device);
// How the device draws, for the log: "compositor", "OpenGL", "OpenGL ES", "software" or the
// renderer's name.
std::string DrawingPath(const Device& device);
// SDL's video driver ("x11", "wayland", ...); null before the video system starts.
const char* CurrentDriver();
// The desktop scale the windowed device's window was sized by; 1 in full screen.
double Scale(const Device& device);

// A texture on one device. Its texels are addressed through UVs from 0 to 1, so the image it
// holds may be any size.
struct GpuTexture {
  ~GpuTexture();
  GpuTexture() = default;
  GpuTexture(const GpuTexture&) = delete;
  GpuTexture& operator=(const GpuTexture&) = delete;
  SDL_Texture* texture = nullptr;
  int width = 0, height = 0;  // the image's pixels
  // A copy of the image on a software device, from which turned sprites are drawn.
  std::vector<uint32_t> pixels;
  // The image on a compositor device.
  std::shared_ptr<compositor::Image> cpu;
  std::shared_ptr<DeviceLife> life;
};

// A texture holding width x height ARGB pixels (alpha in the top byte), drawn with alpha blending.
std::shared_ptr<GpuTexture> CreateTexture(Device& device, int width, int height, const uint32_t* argb,
                                          std::string* error);
// The same, taking the texels over: the CPU compositor keeps them without a copy.
std::shared_ptr<GpuTexture> CreateTexture(Device& device, int width, int height, std::vector<uint32_t>&& argb,
                                          std::string* error = nullptr);

struct Rgba {
  uint8_t r = 255, g = 255, b = 255, a = 255;
};

// One corner of a textured triangle: screen position in back-buffer pixels, texture position
// from 0 to 1, and the colour every texel is multiplied by.
struct Vertex {
  float x = 0, y = 0;
  float u = 0, v = 0;
  Rgba color;
};

// Draws triangles (three indices each) of a texture into the back buffer. A texture made on
// another device, or whose device is gone, draws nothing.
void DrawTriangles(Device& device, const GpuTexture& texture, const Vertex* vertices, int vertexCount,
                   const int* indices, int indexCount);

// Draws a textured quad whose corners are the texture's top-left, top-right, bottom-left and
// bottom-right, placed anywhere on the screen (turned, mirrored, scaled). All four corners carry
// the same colour.
void DrawQuad(Device& device, const GpuTexture& texture, const Vertex (&corners)[4]);

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
};
struct ScreenRect {
  float x = 0, y = 0, w = 0, h = 0;
};

// Copies whole pixels of a texture's image into an upright rectangle of the back buffer, mirrored
// as asked, every pixel multiplied by the colour.
void DrawRect(Device& device, const GpuTexture& texture, const PixelRect& source, const ScreenRect& target,
              Rgba color, bool mirrorX = false, bool mirrorY = false);

// The frame being drawn, or the one the window shows (only where the device keeps it).
bool KeepsFrontBuffer(const Device& device);
bool ReadBackBuffer(Device& device, images::Image& frame, std::string* error);
bool ReadFrontBuffer(Device& device, images::Image& frame, std::string* error);

// The reason the last video call failed.
std::string ErrorText();

namespace testing {
// Makes the next `count` device creations fail, as a driver that refuses the mode would.
void RefuseDevices(int count);
// Makes new software devices draw straight into the window, as GPU devices do.
void DrawStraightIntoWindow(bool straight);
// Whether new devices composite on the CPU: as the machine and the settings say, or always, or never.
enum class CompositorChoice { Automatic, Always, Never };
void ChooseCompositor(CompositorChoice choice);
// Makes SDL devices made from now on draw every frame into a compositor frame as well, which marks
// the edges of turned sprites, so that the two pictures of one frame can be compared.
void MirrorIntoCompositor(bool on);
// The mirror's frame last presented and its edge marks (kept until the next frame is cleared);
// false for a device without a mirror.
bool ReadMirror(const Device& device, images::Image& frame, std::vector<uint8_t>& turnedEdges);
}  // namespace testing

}  // namespace tovak2d::platform::video
