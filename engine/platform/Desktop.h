// SPDX-License-Identifier: Zlib
#pragma once

struct SDL_Window;

// What the desktop around the game window offers.
namespace tovak2d::platform::desktop {

// Whether a window manager looks after the window's screen. SDL's desktop full screen asks the
// window manager to cover the screen with the window: without one, nothing does. Answers true
// where this cannot be told (a desktop other than X11 always has its window manager).
bool HasWindowManager(SDL_Window* window);

// The desktop's scale for programs that do not scale themselves: GDK_SCALE when set, else the X
// resources' Xft.dpi / 96, rounded to a quarter; 1 when neither tells (or below 1), and on Wayland,
// whose compositor shows such a window at its output's scale itself.
double Scale(SDL_Window* window);

// Watches the window's X display: when its connection breaks (the X server ended: a logout, a
// crash, a dropped remote session), Xlib would end the process on the spot, in the middle of a
// frame. Instead the connection is marked dead (every later call on it does nothing) and
// DisplayLost turns true, so that the game can end in order. On Wayland, DisplayLost turns true once
// the connection to the compositor broke. Nothing for other video drivers.
void WatchDisplay(SDL_Window* window);
bool DisplayLost();
// Once the game has ended in order after its display went away: SDL's own teardown may still wait
// on the dead server, so the process ends (status 0) two seconds later if it is still there.
void EndSoonAfterLoss();

}  // namespace tovak2d::platform::desktop
