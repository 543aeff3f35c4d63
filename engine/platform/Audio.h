// SPDX-License-Identifier: Zlib
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Mixer.h"

// The sound output: the engine's mixer, and the SDL audio device that plays it when there is one.
// Sound effects and music share it; it opens with its first user and closes when the last one lets
// go. Without a device the mix still runs, at a device's pace and into nothing, so that music and
// effects are where they would be when a device turns up: a thread of the output's own looks for
// one every two seconds, and replaces a device that went away (a sound server restarted) at once.
namespace tovak2d::platform::audio {

inline constexpr int kOutputRate = 44100;

class Output {
 public:
  explicit Output(bool offline);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  Mixer& GetMixer() { return mixer_; }
  // Whether a device plays the mix now (an offline output counts as one).
  bool HasDevice() const { return hasDevice_; }
  bool Offline() const { return offline_; }

 private:
  friend std::shared_ptr<Output> OpenOutput(std::string* error);

  // Opens SDL's audio on the default device; false, with the driver and SDL's message, when it
  // cannot. Called by the first user and then by the watching thread only.
  bool OpenDevice(std::string* cause);
  void CloseDevice();
  void Watch();
  // Mixes, into nothing, what a device would have played since the pace was set.
  void KeepPace();
  // Waits until the time or the end of the output; false at the end.
  bool SleepUntil(std::chrono::steady_clock::time_point until);

  Mixer mixer_;
  const bool offline_;  // mixing only on request (tests): no device, no thread
  uint32_t device_ = 0;
  std::atomic<bool> hasDevice_{false};
  std::chrono::steady_clock::time_point paceStart_;
  uint64_t paced_ = 0;  // frames mixed into nothing since paceStart_
  std::vector<float> scratch_;
  std::mutex wakeMutex_;
  std::condition_variable wake_;
  bool quit_ = false;
  std::thread watcher_;
};

// The process's output, made on first use. *error tells why no device plays it (empty when one
// does). The default device is used: the one the desktop's sound settings name.
std::shared_ptr<Output> OpenOutput(std::string* error);

// The sound driver and device in use ("sound pulseaudio, device \"Built-in Audio\""), or "no sound
// device", with the cause when asked, for the log.
std::string Describe(bool withCause);
// Counts the changes of what Describe says (a device found, lost or replaced).
uint32_t Changes();

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
// While set, no device can be opened, as on a machine without a sound card, and an open one counts
// as gone.
void RefuseDevice(bool refuse);
// Mixes the next frames of the open output (interleaved stereo), letting streamed music catch
// up first; empty when no output is open.
std::vector<float> Render(size_t frames);
}  // namespace testing

}  // namespace tovak2d::platform::audio
