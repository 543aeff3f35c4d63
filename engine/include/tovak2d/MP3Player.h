#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tovak2d/Types.h"

namespace tovak2d {

struct MusicState;

// Plays one music file (Windows Media Audio, MP3, Ogg Vorbis, FLAC, WAV), streamed from disk.
class TOVAK2D_API MP3Player {
 public:
  MP3Player();
  ~MP3Player();
  MP3Player(const MP3Player&) = delete;
  MP3Player& operator=(const MP3Player&) = delete;

  bool LoadMP3(const std::string& FileName);
  int32_t GetCurrentPosition();        // seconds
  int32_t GetDuration();               // seconds
  void SetVolume(int32_t& sndVolume);  // a value above 100 is clamped, in the caller's variable too
  void SetVolume();
  void PlayMP3(bool StartOver = false);
  void StopMP3(bool sndPause = false);

 private:
  std::unique_ptr<MusicState> d_;
};

}  // namespace tovak2d
