// SPDX-License-Identifier: Zlib
#include "FrameTiming.h"

#include <algorithm>
#include <cmath>

#include "platform/Clock.h"
#include "tovak2d/Extra.h"

namespace tovak2d::modExtra {

void FrameLimit(int16_t fps) {
  FrameTimingState& s = frameTiming;
  platform::Clock& clock = platform::CurrentClock();
  if (!s.timerReady) {
    s.perfFrequency = clock.Frequency();
    s.timerReady = true;
  }
  const int64_t now = clock.Counter();
  // A cap of 0 has no period at all; anything else is a whole number of ticks, halves to even.
  const double exactPeriod = fps == 0 ? 0.0 : static_cast<double>(s.perfFrequency) * (1000.0 / fps) / 1000.0;
  const auto period = static_cast<int64_t>(std::nearbyint(exactPeriod));
  const int64_t remaining = s.lastFrameEnd + period - now;

  // Sleep through the wait in slices and spin only its last stretch, so an idle game costs
  // next to nothing while frames still end on time. Messages are handled in every round.
  const int64_t spinTicks = s.perfFrequency / 4000;  // a quarter of a millisecond: the sleep's usual lateness
  s.waitRounds = 0;
  int64_t cur = now;
  do {
    ++s.waitRounds;
    clock.ProcessMessages();
    cur = clock.Counter();
    const int64_t left = remaining - (cur - now);
    if (left > spinTicks) {
      const int64_t sleepTicks = std::min(left - spinTicks, s.perfFrequency / 200);  // at most 5 ms a slice
      clock.SleepMicroseconds(sleepTicks * 1'000'000 / s.perfFrequency);
      cur = clock.Counter();
    }
  } while (cur - now < remaining);

  s.lastFrameEnd = clock.Counter();

  const int32_t t = clock.TickCount();
  ++s.framesCounted;
  // Compared as a wrapping difference, so the rate keeps updating when the tick count wraps.
  if (static_cast<uint32_t>(t) - static_cast<uint32_t>(s.lastFpsTick) > 1000u) {
    s.fpsValue = s.framesCounted;
    s.framesCounted = 0;
    s.lastFpsTick = t;
  }
}

void ResetFrameTiming() {
  frameTiming = {};
}

}  // namespace tovak2d::modExtra

namespace tovak2d {

int32_t Extra::GetFpsTooMuch() {
  return modExtra::frameTiming.waitRounds;
}
int32_t Extra::GetFps() {
  return modExtra::frameTiming.fpsValue;
}
void Extra::SetFPSLimit(int16_t intFPS) {
  modExtra::frameTiming.fpsLimit = intFPS;
}
void Extra::Sleep(int32_t Milliseconds) {
  if (Milliseconds > 0) platform::CurrentClock().SleepMicroseconds(int64_t{Milliseconds} * 1000);
}

}  // namespace tovak2d
