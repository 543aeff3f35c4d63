// SPDX-License-Identifier: Zlib
// Sound-effect loading on hostile bytes, through the engine's CreateSound with the mixer running
// offline (no sound card). The bytes are a wave file: it loads and plays a few frames, or fails
// with a log line and leaves an effect that plays nothing. A fresh engine takes each input, so no
// effect names pile up.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EngineTargets.h"
#include "modExtra.h"
#include "platform/Audio.h"
#include "platform/Dialogs.h"
#include "tovak2d/Engine.h"

using fuzzsupport::Check;
namespace audio = tovak2d::platform::audio;

namespace {

// Held for the whole run so that every engine shares one output instead of opening its own.
std::shared_ptr<audio::Output> output;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::Headless();
  fuzzsupport::Scratch::Get();
  output = fuzzsupport::OpenOfflineOutput();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& scratch = fuzzsupport::Scratch::Get();
  fuzzsupport::Choices choices(data, size);
  const uint8_t choice = choices.Byte();
  scratch.Put("fuzz.wav", choices.Rest());
  {
    tovak2d::Engine engine;
    Check(engine.Tovak2D_Start_OnlySound(nullptr, scratch.appString()), "the sound engine did not start");
    engine.CreateSound("fuzz", "fuzz.wav");
    // Looping, panned, at another rate: the mixer's paths over whatever was loaded.
    engine.SoundPlay("fuzz", choice & 1, 100, (choice >> 1 & 3) * 50 - 100, choice >> 3 & 31);
    for (float sample : audio::testing::Render(512))
      Check(std::isfinite(sample), "the mixer made a sample of no value");
    engine.SoundStop("", choice & 64);
    engine.Tovak2D_Unload();
  }

  scratch.Clear();
  scratch.CheckNoStrays();
  tovak2d::platform::dialogs::ClearRecordedMessages();
  return 0;
}
