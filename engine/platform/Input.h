// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tovak2d/Types.h"

namespace tovak2d::platform::video {
struct Device;
}

// The keyboard and the mouse of the game window, read as a state snapshot once per frame. Window
// events are folded into the current state as they arrive; a read hands out the state and what
// happened since the previous read.
namespace tovak2d::platform::input {

inline constexpr int kKeyCount = 256;
inline constexpr uint8_t kDown = 128;  // the byte of a key or button that is down

using KeyBytes = std::array<uint8_t, kKeyCount>;  // indexed by DirectInput key code

struct MouseData {
  int32_t x = 0, y = 0;              // movement since the previous read, in back-buffer pixels
  int32_t z = 0;                     // wheel movement, 120 per notch, positive away from the user
  std::array<uint8_t, 4> buttons{};  // left, right, middle, first extra button
};

struct CursorPoint {
  int32_t x = 0, y = 0;  // back-buffer pixels
};

// Starts following the keyboard and mouse events of the device's window (the message pump hands
// them over). Fails when there is no window.
bool Start(const video::Device* device, std::string* error);
void Stop();

// Each read fails while the window does not have the focus, leaving the caller's data untouched.
// A key or button that went down and up again between two reads is reported down once, so a
// quick tap is not lost between frames.
bool ReadKeyboard(KeyBytes& keys);
bool ReadMouse(MouseData& mouse);
// The last cursor position seen over the window; follows the cursor with or without the focus.
bool ReadCursor(CursorPoint& point);

// Appends the paths (UTF-8) of the drops completed since the last read, each drop's files and
// folders in the order they came, and forgets them. Drops arrive with or without the focus.
void ReadDrops(std::vector<std::string>& paths);

// Moves the cursor to a back-buffer position of the device's window.
void WarpCursor(const video::Device& device, int32_t x, int32_t y);

// Shows (true) or hides the cursor once. Calls are counted: the cursor is visible while the
// shows minus the hides are 0 or more. Returns that difference.
int ShowCursor(bool show);
int CursorShowCount();

// The DirectInput key code of an SDL scancode; 0 for a key that has none.
uint8_t KeyCodeOf(int scancode);

}  // namespace tovak2d::platform::input
