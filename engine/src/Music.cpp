#include "tovak2d/MP3Player.h"

namespace tovak2d {

struct MusicState {};

MP3Player::MP3Player() : d_(std::make_unique<MusicState>()) {}
MP3Player::~MP3Player() = default;

bool MP3Player::LoadMP3(const std::string&) {
  return false;
}
int32_t MP3Player::GetCurrentPosition() {
  return 0;
}
int32_t MP3Player::GetDuration() {
  return 0;
}
void MP3Player::SetVolume(int32_t& sndVolume) {
  if (sndVolume > 100) sndVolume = 100;
}
void MP3Player::SetVolume() {}
void MP3Player::PlayMP3(bool) {}
void MP3Player::StopMP3(bool) {}

}  // namespace tovak2d
