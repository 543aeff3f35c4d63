// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>

// Frame-rate cap and measurement, shared by every Engine and Extra in the process.
namespace tovak2d::modExtra {

struct FrameTimingState {
  int16_t fpsLimit = 0;  // 0: no cap set
  bool timerReady = false;
  int64_t perfFrequency = 0;
  int64_t lastFrameEnd = 0;  // counter at the end of the previous frame's wait
  int32_t waitRounds = 0;
  int32_t framesCounted = 0;
  int32_t fpsValue = 0;
  int32_t lastFpsTick = 0;
};
inline FrameTimingState frameTiming;

// Waits until one frame period (1/fps s) has passed since the end of the previous wait, letting
// the window process its messages, and counts the frames of each second.
void FrameLimit(int16_t fps);

// Puts every counter back to its starting value (tests start each case from a fresh process state).
void ResetFrameTiming();

}  // namespace tovak2d::modExtra
