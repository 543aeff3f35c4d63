// SPDX-License-Identifier: Zlib
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "DrawReport.h"
#include "EngineState.h"
#include "FrameTiming.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "platform/Video.h"
#include "tovak2d/Engine.h"

namespace tovak2d {

void Engine::ClearScreen(int16_t vRed, int16_t vGreen, int16_t vBlue) {
  if (!d_->device) return;
  if (drawreport::observing) {
    DrawRecord record;
    record.kind = DrawRecord::Kind::Clear;
    record.color =
        static_cast<int32_t>(0xFF000000u | (uint32_t{static_cast<uint8_t>(vRed)} << 16) |
                             (uint32_t{static_cast<uint8_t>(vGreen)} << 8) | static_cast<uint8_t>(vBlue));
    drawreport::Report(record);
  }
  platform::video::Clear(*d_->device, static_cast<uint8_t>(vRed), static_cast<uint8_t>(vGreen),
                         static_cast<uint8_t>(vBlue));
}

void Engine::AmbientColor(double cRed, double cGreen, double cBlue) {
  d_->ambientRed = text::RoundHalfEven(cRed);
  d_->ambientGreen = text::RoundHalfEven(cGreen);
  d_->ambientBlue = text::RoundHalfEven(cBlue);
}

void Engine::AmbientColor(const std::string& cRed, const std::string& cGreen, const std::string& cBlue) {
  // Each value is taken in turn; the first one that is no number stops the rest.
  int32_t* targets[] = {&d_->ambientRed, &d_->ambientGreen, &d_->ambientBlue};
  const std::string* values[] = {&cRed, &cGreen, &cBlue};
  for (int i = 0; i < 3; ++i) {
    std::string trimmed = text::Trim(*values[i]);
    char* end = nullptr;
    double v = trimmed.empty() ? 0 : std::strtod(trimmed.c_str(), &end);
    if (trimmed.empty() || *end != '\0' || !(v > -2147483648.5 && v < 2147483647.5)) {
      platform::dialogs::ShowMessage("Error in AmbientColor()\r\nWrong RGB value!", "");
      return;
    }
    *targets[i] = text::RoundHalfEven(v);
  }
}

void Engine::RenderAll() {
  EngineState& s = *d_;
  PollInput(s);
  LogSoundChange(s);
  if (s.device) {
    if (drawreport::observing) {
      DrawRecord record;
      record.kind = DrawRecord::Kind::Present;
      drawreport::Report(record);
    }
    if (!s.pendingScreenshots.empty()) SavePendingScreenshots(s);
    platform::video::Present(*s.device);
    s.lastPresent = platform::CurrentClock().Counter();
    // Timed from the second frame: the first one ends without waiting for a previous one.
    if (s.framesPresented++ == 1) s.firstPresent = s.lastPresent;
    // The moment the first frame shows, on the wall clock, so that a launcher can tell how long the
    // start took from its own clock.
    if (s.framesPresented == 1 && std::getenv("TOVAK2D_FRAME_STATS")) {
      const auto now = std::chrono::system_clock::now().time_since_epoch();
      std::fprintf(stderr, "Tovak2D: first frame presented at %lld ns\n",
                   static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    }
  }
  modExtra::FrameLimit(modExtra::frameTiming.fpsLimit == 0 ? int16_t{2048} : modExtra::frameTiming.fpsLimit);
}

void ReportFrameStats(EngineState& s) {
  if (!std::getenv("TOVAK2D_FRAME_STATS") || s.framesPresented < 3) return;
  const double seconds = static_cast<double>(s.lastPresent - s.firstPresent) /
                         static_cast<double>(platform::CurrentClock().Frequency());
  const std::string renderer = s.device ? platform::video::RendererName(*s.device) : "none";
  std::fprintf(stderr, "Tovak2D: %lld frames in %.2f s (%s renderer), %.1f frames a second\n",
               static_cast<long long>(s.framesPresented), seconds, renderer.c_str(),
               static_cast<double>(s.framesPresented - 2) / seconds);
}

}  // namespace tovak2d
