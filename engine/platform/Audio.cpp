// SPDX-License-Identifier: Zlib
#include "platform/Audio.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>
#include <utility>

namespace tovak2d::platform::audio {
namespace {

// The one output every engine of the process shares, and the test switches for opening it, all
// guarded by openMutex.
struct SharedOutput {
  std::mutex openMutex;
  std::weak_ptr<Output> current;
  bool offlineOutputs = false;
  bool refuseDevices = false;
  std::string description = "no sound device";
};
SharedOutput shared;

void Callback(void* userdata, Uint8* stream, int length) {
  auto* mixer = static_cast<Mixer*>(userdata);
  mixer->Mix(reinterpret_cast<float*>(stream), static_cast<size_t>(length) / (2 * sizeof(float)));
}

}  // namespace

Output::Output(uint32_t device) : device_(device), mixer_(kOutputRate) {}

Output::~Output() {
  if (device_ == 0) return;
  // Closing waits for a callback in progress, so the mixer is no longer in use afterwards.
  SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::shared_ptr<Output> OpenOutput(std::string* error) {
  std::lock_guard lock(shared.openMutex);
  if (auto open = shared.current.lock()) return open;
  if (shared.refuseDevices) {
    if (error) *error = "no sound device";
    shared.description = "no sound device";
    return nullptr;
  }
  if (shared.offlineOutputs) {
    auto output = std::make_shared<Output>(0);
    shared.current = output;
    shared.description = "sound offline";
    return output;
  }

  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    if (error) *error = SDL_GetError();
    shared.description = std::string("no sound device (") + SDL_GetError() + ")";
    return nullptr;
  }
  const char* driver = SDL_GetCurrentAudioDriver();
  shared.description = std::string("sound ") + (driver ? driver : "unknown");
  // The output is made first so the callback has its mixer from the very first buffer; the
  // device is handed to it once open.
  SDL_AudioSpec wanted{};
  wanted.freq = kOutputRate;
  wanted.format = AUDIO_F32SYS;
  wanted.channels = 2;
  wanted.samples = 1024;  // about 23 ms
  wanted.callback = &Callback;
  auto output = std::make_shared<Output>(0);
  wanted.userdata = &output->GetMixer();
  SDL_AudioSpec obtained{};
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device == 0) {
    if (error) *error = SDL_GetError();
    shared.description = "no sound device (" + shared.description + ": " + SDL_GetError() + ")";
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  char* name = nullptr;
  SDL_AudioSpec defaultSpec{};
  if (SDL_GetDefaultAudioInfo(&name, &defaultSpec, 0) == 0 && name) {
    shared.description += std::string(", device \"") + name + "\"";
    SDL_free(name);
  } else {
    shared.description += ", default device";
  }
  output->device_ = device;
  SDL_PauseAudioDevice(device, 0);
  shared.current = output;
  return output;
}

std::string Describe() {
  std::lock_guard lock(shared.openMutex);
  // An output let go leaves no device behind; a failed opening keeps its reason.
  if (shared.current.expired() && shared.description.rfind("no sound device", 0) != 0) return "no sound device";
  return shared.description;
}

Voice::Voice(std::shared_ptr<Output> output, std::shared_ptr<const Pcm> pcm)
    : output_(std::move(output)), id_(output_->GetMixer().AddVoice(std::move(pcm))) {}

Voice::Voice(std::shared_ptr<Output> output, std::shared_ptr<StreamSource> stream)
    : output_(std::move(output)), id_(output_->GetMixer().AddStream(std::move(stream))) {}

Voice::~Voice() {
  output_->GetMixer().Remove(id_);
}

namespace testing {

void UseOfflineOutput(bool offline) {
  std::lock_guard lock(shared.openMutex);
  shared.offlineOutputs = offline;
}

void RefuseDevice(bool refuse) {
  std::lock_guard lock(shared.openMutex);
  shared.refuseDevices = refuse;
}

std::vector<float> Render(size_t frames) {
  std::shared_ptr<Output> output;
  {
    std::lock_guard lock(shared.openMutex);
    output = shared.current.lock();
  }
  if (!output) return {};
  std::vector<float> out(frames * 2);
  size_t done = 0;
  while (done < frames) {
    const size_t chunk = std::min<size_t>(frames - done, 1024);
    output->GetMixer().WaitForStreams(chunk);
    output->GetMixer().Mix(out.data() + done * 2, chunk);
    done += chunk;
  }
  return out;
}

}  // namespace testing

}  // namespace tovak2d::platform::audio
