// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Input.h"

namespace tovak2d {

// The edge latches of one key: GetKeyUp saw it down; GetKeyPressed already reported the press.
struct KeyLatch {
  bool upLatch = false;
  bool pressLatch = false;
};

// The keyboard and mouse of one Engine: the devices in use, the last snapshot and the latches
// the key queries keep.
struct InputState {
  bool keyboardReady = false;
  bool mouseReady = false;
  platform::input::KeyBytes keyState{};
  platform::input::MouseData mouseRaw;
  platform::input::CursorPoint cursorPos;
  std::vector<std::string> dropped;  // paths dropped on the window, kept until taken
  std::array<KeyLatch, platform::input::kKeyCount> keyLatch{};
};

}  // namespace tovak2d
