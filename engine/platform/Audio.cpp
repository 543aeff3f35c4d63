// SPDX-License-Identifier: Zlib
#include "platform/Audio.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <utility>

namespace tovak2d::platform::audio {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRetryEvery = std::chrono::seconds(2);
// How often an open device is asked whether it is still there.
constexpr auto kCheckEvery = std::chrono::milliseconds(250);
// Without a device, a longer stall than this (a suspended machine) is not made up for.
constexpr uint64_t kMostCatchUp = 2 * kOutputRate;

// The one output every engine of the process shares, and the test switches for opening it.
struct SharedOutput {
  std::mutex openMutex;  // one first opening at a time
  std::weak_ptr<Output> current;
  bool offlineOutputs = false;
  std::atomic<bool> refuseDevices{false};

  std::mutex stateMutex;  // guards what Describe tells
  std::string description = "no sound device";
  std::string cause;  // why there is no device
  std::atomic<uint32_t> changes{0};
};
SharedOutput shared;

void SetState(const std::string& description, const std::string& cause) {
  std::lock_guard lock(shared.stateMutex);
  if (description == shared.description && cause == shared.cause) return;
  shared.description = description;
  shared.cause = cause;
  ++shared.changes;
}

// libasound prints its own complaints (no card, an unknown PCM: sixteen lines for one failed
// opening) on standard error, and the engine logs the cause itself. SDL loads the same library, so
// a handler set here holds for its calls too; the library then stays loaded for the process.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsa() {
  static std::once_flag once;
  std::call_once(once, [] {
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library) return;
    using SetHandler = int (*)(void (*)(const char*, int, const char*, int, const char*, ...));
    if (auto set = reinterpret_cast<SetHandler>(dlsym(library, "snd_lib_error_set_handler"))) set(&QuietAlsa);
  });
}

void Callback(void* userdata, Uint8* stream, int length) {
  auto* mixer = static_cast<Mixer*>(userdata);
  mixer->Mix(reinterpret_cast<float*>(stream), static_cast<size_t>(length) / (2 * sizeof(float)));
}

}  // namespace

Output::Output(bool offline)
    : mixer_(kOutputRate), offline_(offline), hasDevice_(offline), paceStart_(Clock::now()) {}

Output::~Output() {
  if (watcher_.joinable()) {
    {
      std::lock_guard lock(wakeMutex_);
      quit_ = true;
    }
    wake_.notify_all();
    watcher_.join();
  }
  // Closing waits for a callback in progress, so the mixer is no longer in use afterwards.
  CloseDevice();
}

bool Output::OpenDevice(std::string* cause) {
  if (shared.refuseDevices) {
    *cause = "no device can be opened";
    return false;
  }
  SilenceAlsa();
  // The driver is chosen again on every try: a sound server that was not there before is found.
  if (SDL_AudioInit(nullptr) != 0) {
    *cause = SDL_GetError();
    return false;
  }
  const char* current = SDL_GetCurrentAudioDriver();
  const std::string driver = current ? current : "unknown";
  SDL_AudioSpec wanted{};
  wanted.freq = kOutputRate;
  wanted.format = AUDIO_F32SYS;
  wanted.channels = 2;
  wanted.samples = 1024;  // about 23 ms
  wanted.callback = &Callback;
  wanted.userdata = &mixer_;
  SDL_AudioSpec obtained{};
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device == 0) {
    *cause = driver + ", default device: " + SDL_GetError();
    SDL_AudioQuit();
    return false;
  }
  std::string description = "sound " + driver;
  char* name = nullptr;
  SDL_AudioSpec defaultSpec{};
  if (SDL_GetDefaultAudioInfo(&name, &defaultSpec, 0) == 0 && name) {
    description += std::string(", device \"") + name + "\"";
    SDL_free(name);
  } else {
    description += ", default device";
  }
  device_ = device;
  hasDevice_ = true;
  SDL_PauseAudioDevice(device, 0);
  SetState(description, "");
  return true;
}

void Output::CloseDevice() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);
  SDL_AudioQuit();
  device_ = 0;
  hasDevice_ = false;
  // The pace goes on from here.
  paceStart_ = Clock::now();
  paced_ = 0;
}

bool Output::SleepUntil(Clock::time_point until) {
  std::unique_lock lock(wakeMutex_);
  return !wake_.wait_until(lock, until, [this] { return quit_; });
}

void Output::KeepPace() {
  const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - paceStart_);
  const auto due = static_cast<uint64_t>(elapsed.count()) * kOutputRate / 1000000;
  if (due > paced_ + kMostCatchUp) paced_ = due - kMostCatchUp;
  scratch_.resize(Mixer::kMaxChunk * 2);
  while (paced_ + Mixer::kMaxChunk <= due) {
    // Nothing waits for this mix: the music's decoder may take its time.
    mixer_.WaitForStreams(Mixer::kMaxChunk);
    mixer_.Mix(scratch_.data(), Mixer::kMaxChunk);
    paced_ += Mixer::kMaxChunk;
  }
}

void Output::Watch() {
  auto nextTry = Clock::now() + kRetryEvery;
  std::string cause;
  for (;;) {
    if (device_ != 0) {
      if (!SleepUntil(Clock::now() + kCheckEvery)) return;
      if (SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED && !shared.refuseDevices) continue;
      // Gone (unplugged, its sound server ended): SDL has played on into nothing meanwhile. The
      // new default device takes over now, or as soon as there is one.
      CloseDevice();
      if (!OpenDevice(&cause)) SetState("no sound device", cause);
      nextTry = Clock::now() + kRetryEvery;
      continue;
    }
    KeepPace();
    if (Clock::now() >= nextTry) {
      // A failure that goes on is not news: the cause first found stands.
      if (OpenDevice(&cause)) continue;
      nextTry = Clock::now() + kRetryEvery;
    }
    const auto nextChunk =
        paceStart_ + std::chrono::microseconds((paced_ + Mixer::kMaxChunk) * 1000000 / kOutputRate);
    if (!SleepUntil(std::min(nextChunk, nextTry))) return;
  }
}

std::shared_ptr<Output> OpenOutput(std::string* error) {
  std::lock_guard lock(shared.openMutex);
  if (error) error->clear();
  if (auto open = shared.current.lock()) {
    if (error && !open->HasDevice()) {
      std::lock_guard state(shared.stateMutex);
      *error = shared.cause;
    }
    return open;
  }
  auto output = std::make_shared<Output>(shared.offlineOutputs);
  shared.current = output;
  if (output->offline_) {
    SetState("sound offline", "");
    return output;
  }
  std::string cause;
  if (!output->OpenDevice(&cause)) {
    SetState("no sound device", cause);
    if (error) *error = cause;
  }
  // SDL keeps per-thread data (its error text) for threads it did not make and frees it only when
  // asked, so the watcher frees it before it ends.
  output->watcher_ = std::thread([raw = output.get()] {
    raw->Watch();
    SDL_TLSCleanup();
  });
  return output;
}

std::string Describe(bool withCause) {
  std::lock_guard open(shared.openMutex);
  std::lock_guard lock(shared.stateMutex);
  // An output let go leaves no device behind.
  if (shared.current.expired()) return "no sound device";
  if (!withCause || shared.cause.empty()) return shared.description;
  return shared.description + " (" + shared.cause + ")";
}

uint32_t Changes() {
  return shared.changes;
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
  shared.refuseDevices = refuse;
}

std::vector<float> Render(size_t frames) {
  std::shared_ptr<Output> output;
  {
    std::lock_guard lock(shared.openMutex);
    output = shared.current.lock();
  }
  if (!output || !output->Offline()) return {};
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
