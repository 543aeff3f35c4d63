// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <limits>

#include "EngineState.h"
#include "Paths.h"
#include "modExtra.h"
#include "platform/Audio.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/Wav.h"
#include "tovak2d/Engine.h"

namespace tovak2d {
namespace {

using platform::audio::Voice;

// Sound calls never fail because the log cannot be written.
void Log(const std::string& line) {
  try {
    modExtra::WriteLog(line);
  } catch (const modExtra::LogError&) {
  }
}

// The effect's number (1 to soundCount), 0 when no effect has that name.
size_t FindSound(const SoundState& sound, const std::string& name) {
  const std::string lower = text::ToLower(name);
  for (size_t i = 1; i <= static_cast<size_t>(sound.soundCount) && i < sound.soundNames.size(); ++i)
    if (sound.soundNames[i] == lower) return i;
  return 0;
}

// The effect's voice; none when its file could not be loaded or the device was let go.
Voice* BufferOf(SoundState& sound, size_t index) {
  return index < sound.soundBuffers.size() ? sound.soundBuffers[index].get() : nullptr;
}

// The interface's units become the mixer's with room to spare; a result beyond 32 bits is far
// outside every range and is refused like any other value out of range.
int32_t ToPlatform(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int64_t Attenuation(int32_t sndVolume) {
  return int64_t{sndVolume} * 100 - 10000;
}

void StopAndRewind(Voice* voice, bool sndPause) {
  if (!voice) return;
  voice->Stop();
  if (!sndPause) voice->SetPosition(0);
}

}  // namespace

void Initilize_Soundcard(EngineState& state) {
  SoundState& sound = state.sound;
  std::string error;
  // Without a device the effects are still made and played into nothing: the output looks for a
  // device, and they are heard once it has one.
  sound.dsound = platform::audio::OpenOutput(&error);
  sound.soundOK = sound.dsound != nullptr;
  if (!error.empty()) Log("Error in Initilize_Soundcard() : " + error);
}

void ShutdownSound(EngineState& state) {
  // Names and count stay: the effects are gone, but what was registered is remembered.
  state.sound.soundBuffers = SoundState::MakeBufferTable();
  state.sound.dsound.reset();
}

bool Engine::SoundDeviceFound() {
  return d_->sound.dsound && d_->sound.dsound->HasDevice();
}

void Engine::CreateSound(const std::string& sndName, const std::string& pFilename) {
  SoundState& sound = d_->sound;
  if (!sound.soundOK) return;
  try {
    if (!modExtra::CheckFile(pFilename)) return;
  } catch (const modExtra::LogError&) {
    return;
  }
  const std::string lower = text::ToLower(sndName);
  if (FindSound(sound, lower) != 0) {
    platform::dialogs::ShowMessage("Error importing sound KeyName.\r\n'" + lower + "' already exists!",
                                   "DirectX Error");
    return;
  }

  ++sound.soundCount;
  sound.soundNames.resize(static_cast<size_t>(sound.soundCount) + 1);
  sound.soundBuffers.resize(static_cast<size_t>(sound.soundCount) + 1);
  sound.soundNames.back() = lower;

  // A file that cannot be used leaves the name registered without a sound, as a failed load
  // always has; playing it then does nothing.
  std::string error;
  auto bytes = platform::files::ReadWhole(paths::Resolve(pFilename), &error);
  std::optional<platform::audio::Pcm> pcm;
  if (bytes) pcm = platform::wav::Decode(*bytes, &error);
  if (pcm && !sound.dsound) error = "no sound device";
  if (!pcm || !sound.dsound) {
    Log("Error in CreateSound(" + modExtra::AppPath + "\\" + pFilename + ") : " + error);
    return;
  }
  sound.soundBuffers.back() =
      std::make_unique<Voice>(sound.dsound, std::make_shared<const platform::audio::Pcm>(std::move(*pcm)));
}

void Engine::SoundPlay(const std::string& sndName, bool sndLoop, int32_t sndVolume, int32_t sndPan,
                       int32_t sndFrequency) {
  SoundState& sound = d_->sound;
  if (!sound.soundOK) return;
  const size_t index = FindSound(sound, sndName);
  if (index == 0) return;
  Voice* voice = BufferOf(sound, index);
  if (!voice) return;
  // Each value is tried on its own: one the mixer refuses keeps its old setting.
  const int64_t volume = Attenuation(sndVolume);
  voice->SetVolume(ToPlatform(volume));
  voice->SetPan(ToPlatform(int64_t{sndPan} * 100));
  voice->SetFrequency(ToPlatform(int64_t{sndFrequency} * 1000));
  // A silent effect is not started at all; anything else starts again from its beginning.
  if (volume <= platform::audio::kSilent) return;
  voice->SetPosition(0);
  voice->Play(sndLoop);
}

void Engine::SoundVolume(const std::string& sndName, int32_t sndVolume) {
  SoundState& sound = d_->sound;
  if (!sound.soundOK) return;
  if (Voice* voice = BufferOf(sound, FindSound(sound, sndName)))
    voice->SetVolume(ToPlatform(Attenuation(sndVolume)));
}

void Engine::SoundFrequency(const std::string& sndName, int32_t sndFrequency) {
  SoundState& sound = d_->sound;
  if (!sound.soundOK) return;
  if (Voice* voice = BufferOf(sound, FindSound(sound, sndName)))
    voice->SetFrequency(ToPlatform(int64_t{sndFrequency} * 1000));
}

void Engine::SoundStop(const std::string& sndName, bool sndPause) {
  SoundState& sound = d_->sound;
  if (!sound.soundOK) return;
  if (sndName.empty()) {
    for (size_t i = 1; i <= static_cast<size_t>(sound.soundCount); ++i)
      StopAndRewind(BufferOf(sound, i), sndPause);
    return;
  }
  StopAndRewind(BufferOf(sound, FindSound(sound, sndName)), sndPause);
}

}  // namespace tovak2d
