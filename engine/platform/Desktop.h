// SPDX-License-Identifier: Zlib
#pragma once

struct SDL_Window;

// What the desktop around the game window offers.
namespace tovak2d::platform::desktop {

// Whether a window manager looks after the window's screen. SDL's desktop full screen asks the
// window manager to cover the screen with the window: without one, nothing does. Answers true
// where this cannot be told (a desktop other than X11 always has its window manager).
bool HasWindowManager(SDL_Window* window);

}  // namespace tovak2d::platform::desktop
