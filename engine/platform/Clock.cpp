// SPDX-License-Identifier: Zlib
#include "platform/Clock.h"

#include <chrono>
#include <thread>

#include "platform/Events.h"

namespace tovak2d::platform {
namespace {

class SystemClock final : public Clock {
 public:
  int64_t Counter() override {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  int64_t Frequency() override { return 1'000'000'000; }
  int32_t TickCount() override {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now().time_since_epoch())
                  .count();
    return static_cast<int32_t>(static_cast<uint32_t>(ms));  // wraps like the system tick count
  }
  void SleepMicroseconds(int64_t microseconds) override {
    std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
  }
  void ProcessMessages() override { events::ProcessMessages(); }
};

SystemClock systemClock;
Clock* current = &systemClock;

}  // namespace

Clock& CurrentClock() {
  return *current;
}
void SetClock(Clock* clock) {
  current = clock ? clock : &systemClock;
}

}  // namespace tovak2d::platform
