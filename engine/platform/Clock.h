// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>

namespace tovak2d::platform {

// Time and the window's message processing, as the frame limiter sees them. Tests put a fake
// clock in place to check the limiter without waiting.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t Counter() = 0;    // high-resolution ticks
  virtual int64_t Frequency() = 0;  // ticks per second
  virtual int32_t TickCount() = 0;  // milliseconds
  virtual void SleepMicroseconds(int64_t microseconds) = 0;
  virtual void ProcessMessages() = 0;  // lets the window handle what is pending
};

Clock& CurrentClock();
void SetClock(Clock* clock);  // nullptr brings back the real one

}  // namespace tovak2d::platform
