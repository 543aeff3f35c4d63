// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Mixer.h"

// The sound output: one SDL audio device per process, fed by the engine's mixer. Sound effects
// and music share it; it opens with its first user and closes when the last one lets go.
namespace tovak2d::platform::audio {

inline constexpr int kOutputRate = 44100;

class Output;
std::shared_ptr<Output> OpenOutput(std::string* error);

class Output {
 public:
  explicit Output(uint32_t device);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  Mixer& GetMixer() { return mixer_; }

 private:
  friend std::shared_ptr<Output> OpenOutput(std::string* error);

  uint32_t device_;  // 0 when mixing only on request (tests)
  Mixer mixer_;
};

// The process's output; nullptr, with the reason, when no audio device can be opened. The
// default device is used: the one the desktop's sound settings name.
std::shared_ptr<Output> OpenOutput(std::string* error);

// The sound driver and device in use ("pulseaudio, device \"Built-in Audio\""), or that there is
// none and why, for the log.
std::string Describe();

// One voice or stream of the output's mixer, removed again when this goes away.
class Voice {
 public:
  Voice(std::shared_ptr<Output> output, std::shared_ptr<const Pcm> pcm);
  Voice(std::shared_ptr<Output> output, std::shared_ptr<StreamSource> stream);
  ~Voice();
  Voice(const Voice&) = delete;
  Voice& operator=(const Voice&) = delete;

  bool SetVolume(int32_t attenuation) { return mixer().SetVolume(id_, attenuation); }
  bool SetPan(int32_t pan) { return mixer().SetPan(id_, pan); }
  bool SetFrequency(int32_t hertz) { return mixer().SetFrequency(id_, hertz); }
  void SetPosition(size_t frame) { mixer().SetPosition(id_, frame); }
  size_t Position() const { return output_->GetMixer().Position(id_); }
  void Play(bool loop) { mixer().Play(id_, loop); }
  void Stop() { mixer().Stop(id_); }
  bool IsPlaying() const { return output_->GetMixer().IsPlaying(id_); }

 private:
  Mixer& mixer() { return output_->GetMixer(); }

  std::shared_ptr<Output> output_;
  Mixer::Id id_;
};

namespace testing {
// While set, outputs are opened without a device and mix only when Render asks them to.
void UseOfflineOutput(bool offline);
// While set, no output can be opened, as on a machine without a sound card.
void RefuseDevice(bool refuse);
// Mixes the next frames of the open output (interleaved stereo), letting streamed music catch
// up first; empty when no output is open.
std::vector<float> Render(size_t frames);
}  // namespace testing

}  // namespace tovak2d::platform::audio
