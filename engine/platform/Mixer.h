// SPDX-License-Identifier: Zlib
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// The engine's own mixer: every sound effect is one voice playing from memory, every music file
// one stream pulled from its decoder, all mixed into interleaved stereo float frames at one rate.
// Levels are attenuations in hundredths of a decibel, as the sound calls of the engine give them.
namespace tovak2d::platform::audio {

inline constexpr int32_t kSilent = -10000;     // attenuation that means silence
inline constexpr int32_t kPanLimit = 10000;    // pan or balance, -10000 (left) to 10000 (right)
inline constexpr int32_t kMinFrequency = 100;  // Hz; 0 also means the sound's own rate
inline constexpr int32_t kMaxFrequency = 200000;

// Decoded sound: interleaved signed 16-bit samples.
struct Pcm {
  std::vector<int16_t> samples;
  int channels = 1;  // 1 or 2
  int rate = 0;      // frames per second
  size_t Frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// Audio that arrives while it plays, already in the mixer's format (stereo float at its rate).
class StreamSource {
 public:
  virtual ~StreamSource() = default;
  // Copies up to `frames` frames; fewer when the decoder is behind or the end has come.
  virtual size_t Read(float* out, size_t frames) = 0;
  // Waits (a short while at most) until `frames` frames can be read or the end has come; used
  // when mixing runs faster than real time, so that no frame goes missing.
  virtual void WaitUntilReady(size_t frames) = 0;
};

class Mixer {
 public:
  using Id = uint32_t;
  static constexpr size_t kMaxChunk = 4096;  // frames mixed in one go

  explicit Mixer(int rate);
  int Rate() const { return rate_; }

  Id AddVoice(std::shared_ptr<const Pcm> pcm);
  Id AddStream(std::shared_ptr<StreamSource> source);
  void Remove(Id id);

  // Each setter refuses a value outside its range and keeps the old one.
  bool SetVolume(Id id, int32_t attenuation);
  bool SetPan(Id id, int32_t pan);
  bool SetFrequency(Id id, int32_t hertz);  // voices only

  void SetPosition(Id id, size_t frame);  // voices only
  size_t Position(Id id) const;
  void Play(Id id, bool loop);
  void Stop(Id id);  // keeps the position
  bool IsPlaying(Id id) const;

  // Mixes the next frames of every playing voice and stream into out (2 floats a frame).
  void Mix(float* out, size_t frames);
  // Lets every playing stream fill up first, so that offline mixing misses nothing.
  void WaitForStreams(size_t frames);

 private:
  struct Channel {
    Id id = 0;
    std::shared_ptr<const Pcm> pcm;
    std::shared_ptr<StreamSource> stream;
    int32_t volume = 0, pan = 0, frequency = 0;
    float gainLeft = 1, gainRight = 1;
    uint64_t position = 0;  // voices: frames in 32.32 fixed point
    bool playing = false, looping = false;
  };

  Channel* Find(Id id);
  const Channel* Find(Id id) const;
  static void UpdateGains(Channel& channel);
  // Gives the channel the next id and adds it.
  Id Add(Channel channel);
  // Sets a channel's volume or pan under the lock and works its gains out again; false when no
  // channel has that id.
  bool SetGainSetting(Id id, int32_t Channel::*setting, int32_t value);
  void MixVoice(Channel& voice, float* out, size_t frames);
  void MixStream(Channel& stream, float* out, size_t frames);

  const int rate_;
  mutable std::mutex mutex_;
  std::vector<Channel> channels_;
  Id nextId_ = 1;
  std::vector<float> scratch_;
};

}  // namespace tovak2d::platform::audio
