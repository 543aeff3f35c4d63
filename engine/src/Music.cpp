// SPDX-License-Identifier: Zlib
#include <memory>
#include <string>

#include "Paths.h"
#include "modExtra.h"
#include "platform/Audio.h"
#include "platform/MusicDecoder.h"
#include "platform/Text.h"
#include "tovak2d/MP3Player.h"

namespace tovak2d {

// The loaded file: its decoder (position and length) and its channel in the mixer (volume,
// balance, running or stopped). All empty until a file is loaded.
struct MusicState {
  std::string shown;  // the file's name as the log shows it
  std::shared_ptr<platform::audio::Output> output;
  std::shared_ptr<platform::music::MusicStream> mediaPos;
  std::unique_ptr<platform::audio::Voice> audio;
};

namespace {

// Stops and lets go of the loaded file; the channel goes before the decoder it reads from.
void ReleaseMedia(MusicState& s) {
  if (s.audio) s.audio->Stop();
  s.audio.reset();
  s.mediaPos.reset();
}

}  // namespace

MP3Player::MP3Player() : d_(std::make_unique<MusicState>()) {
  // The decoder's libraries load beside the rest of the game's start, not in its first LoadMP3.
  platform::music::PreloadDecoder();
}

MP3Player::~MP3Player() {
  ReleaseMedia(*d_);
}

bool MP3Player::LoadMP3(const std::string& FileName) {
  MusicState& s = *d_;
  ReleaseMedia(s);

  const std::string shown = modExtra::AppPath + "\\" + FileName;
  std::string error;
  if (!s.output) s.output = platform::audio::OpenOutput(&error);
  std::shared_ptr<platform::music::MusicStream> stream;
  if (s.output)
    stream =
        platform::music::MusicStream::Open(paths::Resolve(FileName), platform::audio::kOutputRate, &error);
  if (!stream) {
    try {
      modExtra::WriteLog("Error loading MP3 file: " + shown);
    } catch (const modExtra::LogError&) {
    }
    return false;
  }
  s.mediaPos = stream;
  s.shown = shown;
  s.audio = std::make_unique<platform::audio::Voice>(
      s.output, std::static_pointer_cast<platform::audio::StreamSource>(stream));
  s.audio->SetVolume(0);
  s.audio->SetPan(0);
  return true;
}

int32_t MP3Player::GetCurrentPosition() {
  if (!d_->mediaPos) return 0;
  // The game asks for the position every frame: where damaged samples were silenced, the log says
  // so (once per run of them).
  if (const uint64_t damaged = d_->mediaPos->TakeDamagedSamples()) {
    try {
      modExtra::WriteLog("Error in music : " + d_->shown + " : " + std::to_string(damaged) +
                         " damaged samples played as silence");
    } catch (const modExtra::LogError&) {
    }
  }
  return text::RoundHalfEven(d_->mediaPos->Position());
}

int32_t MP3Player::GetDuration() {
  if (!d_->mediaPos) return 0;
  return text::RoundHalfEven(d_->mediaPos->Duration());
}

void MP3Player::SetVolume(int32_t& sndVolume) {
  MusicState& s = *d_;
  if (!s.audio) return;
  if (sndVolume < 1) {
    StopMP3(false);
    return;
  }
  if (sndVolume > 100) sndVolume = 100;
  s.audio->SetVolume(sndVolume * 100 - 10000);
}

void MP3Player::SetVolume() {
  int32_t full = 100;
  SetVolume(full);
}

void MP3Player::PlayMP3(bool StartOver) {
  MusicState& s = *d_;
  if (!s.audio) return;
  if (StartOver) s.mediaPos->Rewind();
  s.audio->Play(false);
}

void MP3Player::StopMP3(bool sndPause) {
  MusicState& s = *d_;
  if (!s.audio) return;
  s.audio->Stop();
  if (!sndPause) s.mediaPos->Rewind();
}

}  // namespace tovak2d
