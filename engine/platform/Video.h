#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tovak2d/Types.h"

struct SDL_Renderer;

// The window and the graphics device on it (an SDL renderer standing for the Direct3D device
// and its sprite batch).
namespace tovak2d::platform::video {

// Starts and stops the video system; calls nest.
bool StartVideo(std::string* error = nullptr);
void StopVideo();

struct Device {
  ~Device();
  WindowHandle window = nullptr;
  SDL_Renderer* renderer = nullptr;
  int width = 0, height = 0;  // the back buffer
  bool fullScreen = false;
  bool software = false;
};

// Centres the window on the primary screen with the given outer size, shows it, and puts it in
// or out of the always-on-top band. Does nothing in full-screen mode.
void PlaceWindow(WindowHandle window, int width, int height, bool fullScreen, bool onTop);

// A device drawing a width x height back buffer into the window: full screen (the desktop's
// mode, the buffer scaled and letterboxed) or windowed (scaled into the client area).
std::unique_ptr<Device> CreateDevice(WindowHandle window, int width, int height, bool fullScreen,
                                     std::string* error);

void Clear(Device& device, uint8_t red, uint8_t green, uint8_t blue);
void Present(Device& device);

// The name of the renderer driving the device ("opengl", "software", ...).
std::string RendererName(const Device& device);

// The reason the last video call failed.
std::string ErrorText();

namespace testing {
// Makes the next `count` device creations fail, as a driver that refuses the mode would.
void RefuseDevices(int count);
}  // namespace testing

}  // namespace tovak2d::platform::video
