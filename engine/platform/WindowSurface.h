// SPDX-License-Identifier: Zlib
#pragma once

struct SDL_Surface;
struct SDL_Window;

// The window's surface the CPU compositor draws into, shown without a graphics driver. On X11 it is
// SDL's own (shared memory). SDL's Wayland driver has no surface of its own and would show one
// through an OpenGL texture: there the surface is one of the engine's shared-memory buffers,
// given to the compositor as it is shown and drawn again once the compositor lets go of it.
namespace tovak2d::platform::video {

// As SDL_GetWindowSurface: the surface for the window's current size (a new one after a resize
// and, where it is not kept, after every showing); null, with SDL's error set, when there is none.
SDL_Surface* WindowSurface(SDL_Window* window);
// As SDL_UpdateWindowSurface: shows the surface; non-zero when the surface no longer fits the
// window (asked for anew with WindowSurface) or cannot be shown.
int UpdateWindowSurface(SDL_Window* window);
// Whether the surface stays the same from one showing to the next, holding the picture shown.
bool WindowSurfaceKept(SDL_Window* window);
// Lets go of what WindowSurface made for the window, before the window goes.
void ReleaseWindowSurface(SDL_Window* window);

}  // namespace tovak2d::platform::video
