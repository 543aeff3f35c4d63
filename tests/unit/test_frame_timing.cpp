// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include "FrameTiming.h"
#include "platform/Clock.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;

namespace {

// Time that moves only when the code under test looks at it or sleeps: every counter read costs
// 2 microseconds, so a spinning wait still ends.
class FakeClock final : public platform::Clock {
 public:
  int64_t now = 5'000'000'000;  // nanoseconds
  int64_t slept = 0;
  int messages = 0;

  int64_t Counter() override { return now += 2'000; }
  int64_t Frequency() override { return 1'000'000'000; }
  int32_t TickCount() override { return static_cast<int32_t>(now / 1'000'000); }
  void SleepMicroseconds(int64_t us) override {
    now += us * 1000;
    slept += us * 1000;
  }
  void ProcessMessages() override { ++messages; }
  void Work(double ms) { now += static_cast<int64_t>(ms * 1e6); }
};

class FrameTiming : public ::testing::Test {
 protected:
  void SetUp() override {
    modExtra::ResetFrameTiming();
    platform::SetClock(&clock);
  }
  void TearDown() override {
    platform::SetClock(nullptr);
    modExtra::ResetFrameTiming();
  }
  FakeClock clock;
  Extra extra;
};

}  // namespace

TEST_F(FrameTiming, HoldsThePeriodAndMeasuresTheRatePerSecond) {
  EXPECT_EQ(extra.GetFps(), 0);
  modExtra::FrameLimit(50);  // the first frame does not wait
  EXPECT_EQ(extra.GetFpsTooMuch(), 1);
  EXPECT_EQ(extra.GetFps(), 1);  // the first rate update reports the one frame

  for (int frame = 0; frame < 200; ++frame) {
    const int64_t start = modExtra::frameTiming.lastFrameEnd;
    clock.Work(5);
    clock.slept = 0;
    modExtra::FrameLimit(50);
    const int64_t period = modExtra::frameTiming.lastFrameEnd - start;
    EXPECT_TRUE(period >= 20'000'000 && period < 20'050'000) << period;
    EXPECT_GT(clock.slept, 13'000'000) << "most of the 15 ms wait is spent asleep";
  }
  EXPECT_GT(clock.messages, 10) << "the window handles its messages while the limiter waits";
  EXPECT_NEAR(extra.GetFps(), 50, 1);

  // The rate keeps updating when the millisecond tick count wraps past its largest value.
  clock.now = (int64_t{INT32_MAX} - 500) * 1'000'000;
  modExtra::frameTiming.lastFrameEnd = clock.now;
  modExtra::frameTiming.lastFpsTick = static_cast<int32_t>(clock.now / 1'000'000);
  modExtra::frameTiming.framesCounted = 0;
  for (int frame = 0; frame < 100; ++frame) modExtra::FrameLimit(50);
  EXPECT_NEAR(extra.GetFps(), 50, 1);
}

TEST_F(FrameTiming, LateFramesAndOddCapsDoNotWait) {
  modExtra::FrameLimit(50);
  clock.Work(30);  // longer than the period
  const int64_t before = clock.now;
  modExtra::FrameLimit(50);
  EXPECT_LT(clock.now - before, 100'000);
  // A negative period, and none at all (no division by zero).
  for (int16_t cap : {int16_t{-5}, int16_t{0}}) {
    clock.Work(1);
    modExtra::FrameLimit(cap);
    EXPECT_EQ(extra.GetFpsTooMuch(), 1) << cap;
  }
}
