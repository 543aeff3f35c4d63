// SPDX-License-Identifier: Zlib
// Opening music on hostile bytes: MP3Player::LoadMP3 on the bytes as a music file, then a little
// playing through the offline mixer (no sound card). The file either loads, with a length and a
// position that are numbers of seconds, or fails with a log line.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "EngineTargets.h"
#include "modExtra.h"
#include "platform/Audio.h"
#include "tovak2d/MP3Player.h"

using fuzzsupport::Check;
namespace audio = tovak2d::platform::audio;
namespace modExtra = tovak2d::modExtra;

namespace {

std::shared_ptr<audio::Output> output;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::StartIn(modExtra::AppPath);
  output = fuzzsupport::OpenOfflineOutput();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& scratch = fuzzsupport::Enter(modExtra::AppPath);
  scratch.Put("music.wma", {reinterpret_cast<const char*>(data), size});
  {
    tovak2d::MP3Player music;
    if (music.LoadMP3("music.wma")) {
      Check(music.GetDuration() >= 0, "a length below zero");
      music.PlayMP3();
      for (float sample : audio::testing::Render(2048))
        Check(std::isfinite(sample), "the music made a sample of no value");
      Check(music.GetCurrentPosition() >= 0, "a position below zero");
      music.StopMP3();
      music.PlayMP3(true);
    }
  }

  scratch.Clear();
  scratch.CheckNoStrays();
  return 0;
}
