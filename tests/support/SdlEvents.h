// SPDX-License-Identifier: Zlib
#pragma once

#include <SDL.h>

#include <cstdint>

// Input events as SDL queues them for a window: what a player's mouse, keyboard and window
// manager send. The builders make one event; the Push helpers queue it for an SDL window.
namespace testsupport {

inline SDL_Event MouseMotion(Uint32 window, int x, int y) {
  SDL_Event e{};
  e.motion = {SDL_MOUSEMOTION, 0, window, 0, 0, x, y, 0, 0};
  return e;
}

// A button press (SDL_MOUSEBUTTONDOWN) or release, the left button unless told.
inline SDL_Event MouseButton(Uint32 window, Uint32 type, int x, int y, uint8_t button = SDL_BUTTON_LEFT) {
  const auto state = static_cast<Uint8>(type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED);
  SDL_Event e{};
  e.button = {type, 0, window, 0, button, state, 1, 0, x, y};
  return e;
}

// The key at `position` typing `typed` on the player's layout; `repeat` when the key is held.
inline SDL_Event KeyEvent(Uint32 window, Uint32 type, SDL_Scancode position, SDL_Keycode typed,
                          bool repeat = false) {
  SDL_Event e{};
  e.type = type;
  e.key.windowID = window;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.scancode = position;
  e.key.keysym.sym = typed;
  return e;
}

// Wheel steps: negative y turns it towards the player.
inline SDL_Event MouseWheel(Uint32 window, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = window;
  e.wheel.y = y;
  e.wheel.preciseY = static_cast<float>(y);
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  return e;
}

inline void Push(SDL_Event event) {
  SDL_PushEvent(&event);
}

// The same events queued for an SDL window, the key typing what the US layout puts there.
inline void PushKey(SDL_Window* window, SDL_Scancode code, bool down) {
  Push(KeyEvent(SDL_GetWindowID(window), down ? SDL_KEYDOWN : SDL_KEYUP, code, SDL_GetKeyFromScancode(code)));
}

inline void PushButton(SDL_Window* window, uint8_t button, bool down, int x = 0, int y = 0) {
  Push(MouseButton(SDL_GetWindowID(window), down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, x, y, button));
}

inline void PushWheel(SDL_Window* window, int notches) {
  Push(MouseWheel(SDL_GetWindowID(window), notches));
}

inline void PushFocus(SDL_Window* window, bool gained) {
  const Uint8 event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_Event e{};
  e.window = {SDL_WINDOWEVENT, 0, SDL_GetWindowID(window), event, 0, 0, 0, 0, 0};
  Push(e);
}

}  // namespace testsupport
