// SPDX-License-Identifier: Zlib
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/Mixer.h"

// Music files (Windows Media Audio, MP3, Ogg Vorbis, FLAC, WAV) streamed from disk: a thread of
// the stream's own decodes a little ahead into a small ring buffer, from which the mixer pulls
// stereo float frames. The file is never held in memory as a whole.
namespace tovak2d::platform::music {

// Starts loading the decoding libraries in the background, so that the first Open finds them
// ready; returns at once.
void PreloadDecoder();

class MusicStream final : public audio::StreamSource {
 public:
  static constexpr size_t kRingFrames = 16384;  // about 0.37 s at 44.1 kHz

  // Opens the file (a name as the engine holds it) and decodes its first frames, so a file
  // without playable sound is refused here. nullptr with the reason in *error.
  static std::shared_ptr<MusicStream> Open(std::string_view path, int rate, std::string* error);
  ~MusicStream() override;
  MusicStream(const MusicStream&) = delete;
  MusicStream& operator=(const MusicStream&) = delete;

  // Seconds: from the file's header, or measured at load when the file does not carry it exactly,
  // or, past the bound of that measure, the best guess until the end has been played once.
  double Duration() const;
  // Seconds handed to the mixer since the start; once the end has been played, the length.
  double Position() const;
  // Goes back to the start at once; the decoder follows on its thread.
  void Rewind();
  // How many samples of no value the file decoded to since the last call; they were played as
  // silence.
  uint64_t TakeDamagedSamples();

  size_t Read(float* out, size_t frames) override;
  void WaitUntilReady(size_t frames) override;

  struct Decoder;

 private:
  MusicStream(std::unique_ptr<Decoder> decoder, int rate, std::vector<float> firstFrames);
  void Run();
  size_t PushLocked(const float* frames, size_t count);

  const int rate_;
  std::unique_ptr<Decoder> decoder_;  // used by the decoding thread only, once it runs
  std::vector<float> firstFrames_;

  mutable std::mutex mutex_;
  std::condition_variable workerWake_;
  std::condition_variable dataReady_;
  std::vector<float> ring_;
  size_t ringStart_ = 0, ringFrames_ = 0;
  bool quit_ = false;
  bool rewindRequested_ = false;
  bool decodedEnd_ = false;  // the decoder is done and everything it made is in the ring
  bool playedEnd_ = false;   // ... and the ring has been played out
  uint64_t playedFrames_ = 0;
  double duration_ = 0;
  bool durationExact_ = false;

  std::thread worker_;
};

}  // namespace tovak2d::platform::music
