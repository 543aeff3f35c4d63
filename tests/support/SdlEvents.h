#pragma once

#include <SDL.h>

#include <cstdint>

// Events pushed into SDL's queue as the window system delivers them to a window.
namespace testsupport {

// An event of the type, addressed to the window: windowID sits at the same place in every
// window-related event.
inline SDL_Event EventFor(SDL_Window* window, Uint32 type) {
  SDL_Event e{};
  e.type = type;
  e.window.windowID = SDL_GetWindowID(window);
  return e;
}

inline void PushKey(SDL_Window* window, SDL_Scancode code, bool down) {
  SDL_Event e = EventFor(window, down ? SDL_KEYDOWN : SDL_KEYUP);
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = code;
  e.key.keysym.sym = SDL_GetKeyFromScancode(code);
  SDL_PushEvent(&e);
}

inline void PushButton(SDL_Window* window, uint8_t button, bool down, int x = 0, int y = 0) {
  SDL_Event e = EventFor(window, down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP);
  e.button.button = button;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  e.button.x = x;
  e.button.y = y;
  SDL_PushEvent(&e);
}

inline void PushMotion(SDL_Window* window, int x, int y) {
  SDL_Event e = EventFor(window, SDL_MOUSEMOTION);
  e.motion.x = x;
  e.motion.y = y;
  SDL_PushEvent(&e);
}

// Notches away from the player are positive.
inline void PushWheel(SDL_Window* window, int notches) {
  SDL_Event e = EventFor(window, SDL_MOUSEWHEEL);
  e.wheel.y = notches;
  e.wheel.preciseY = static_cast<float>(notches);
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  SDL_PushEvent(&e);
}

inline void PushFocus(SDL_Window* window, bool gained) {
  SDL_Event e = EventFor(window, SDL_WINDOWEVENT);
  e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_PushEvent(&e);
}

}  // namespace testsupport
