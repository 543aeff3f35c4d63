// SPDX-License-Identifier: Zlib
#pragma once

struct SDL_Window;

// What the machine offers for drawing, found without loading a graphics driver into the game.
namespace tovak2d::platform::probe {

// Whether the only OpenGL the window's display (X11 or Wayland) can give is a software one (a virtual X server,
// a remote desktop, a machine without a usable GPU driver): there the engine composites the frame
// itself, which costs a fraction of a software GL's work and none of its memory. Told from the
// system alone, without a GL context: no GPU render node this user may open, an X server without
// direct rendering (neither DRI3 nor DRI2), or Mesa told to render in software. The X11 answer is
// kept per display. False for any video driver other than X11 and Wayland.
bool SoftwareGlOnly(SDL_Window* window);

}  // namespace tovak2d::platform::probe
