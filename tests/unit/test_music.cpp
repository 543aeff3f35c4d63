// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <tuple>

#include "audio_fixtures.h"
#include "platform/Audio.h"
#include "tovak2d/MP3Player.h"

using namespace tovak2d;
using namespace audio_fixtures;

namespace {

// A player on an output that mixes only when the test renders it, so positions move by exactly
// the audio rendered.
class MusicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::audio::testing::UseOfflineOutput(true);
    std::filesystem::create_directory(folder_ / "sound");
  }

  void TearDown() override {
    player_.reset();
    platform::audio::testing::UseOfflineOutput(false);
  }

  // Makes sound\<name>: a wave file written here, any other format by ffmpeg, whose codec
  // options follow the name's extension.
  std::string Make(const std::string& name, double seconds) {
    const std::map<std::string, std::string> codecs = {
        {".wma", "-c:a wmav2 -b:a 64k"}, {".mp3", Mp3Encoder()}, {".flac", "-c:a flac"}};
    const auto it = codecs.find(std::filesystem::path(name).extension().string());
    if (it == codecs.end())
      WriteFile(folder_ / "sound" / name,
                MakeWav16(Sine(440, 44100, static_cast<size_t>(seconds * 44100)), 1, 44100));
    else
      EXPECT_TRUE(MakeTone(folder_ / "sound" / name, seconds, it->second)) << name << ": ffmpeg";
    return "\\sound\\" + name;
  }

  // Debian's ffmpeg has one of the two MP3 encoders, depending on the release.
  static std::string Mp3Encoder() {
    const bool lame = testsupport::RunCommand("ffmpeg -hide_banner -encoders | grep -qw libmp3lame");
    return lame ? "-c:a libmp3lame -b:a 96k" : "-c:a libshine -b:a 96k";
  }

  static std::vector<float> Render(double seconds) {
    return platform::audio::testing::Render(static_cast<size_t>(seconds * 44100));
  }

  audio_fixtures::TempAppFolder folder_;
  std::unique_ptr<MP3Player> player_ = std::make_unique<MP3Player>();
};

// Each file is loaded while the one before it plays: the load stops that one. Lengths are whole
// seconds rounded half to even (2.5 s: 2, 3.5 s: 4).
TEST_F(MusicTest, EveryMusicFormatPlaysItsTone) {
  const std::tuple<std::string, double, int> files[] = {
      {"music.wma", 3, 3}, {"music.mp3", 3, 3}, {"music.flac", 3.5, 4}, {"music.wav", 2.5, 2}};
  for (const auto& [name, seconds, length] : files) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(player_->LoadMP3(Make(name, seconds)));
    EXPECT_EQ(player_->GetDuration(), length);
    EXPECT_EQ(Peak(Render(0.1)), 0.0f) << "loaded, not playing";
    player_->PlayMP3();
    Render(0.2);
    const auto out = Render(0.5);
    EXPECT_NEAR(audio_fixtures::ZeroCrossings(out), 440, 4);
    EXPECT_GT(Peak(out), 0.1f);                   // the tones are made at 1/8 or 1/2 of full scale
    EXPECT_EQ(player_->GetCurrentPosition(), 1);  // 0.7 s rounded
  }
}

// The game's music: Windows Media, paused and resumed by the options, played again from the start
// whenever its position has reached its length.
TEST_F(MusicTest, PauseResumesStopRewindsAndTheEndStaysUntilARestart) {
  ASSERT_TRUE(player_->LoadMP3(Make("end.wma", 3.0)));
  player_->PlayMP3();
  Render(1.2);
  player_->StopMP3(true);
  EXPECT_EQ(Peak(Render(1.0)), 0.0f);
  EXPECT_EQ(player_->GetCurrentPosition(), 1);
  player_->PlayMP3();  // continues where it paused
  Render(1.0);
  EXPECT_EQ(player_->GetCurrentPosition(), 2);
  player_->StopMP3();
  EXPECT_EQ(player_->GetCurrentPosition(), 0);
  EXPECT_EQ(Peak(Render(0.5)), 0.0f);

  player_->PlayMP3();
  Render(4.0);
  EXPECT_EQ(player_->GetCurrentPosition(), player_->GetDuration());
  EXPECT_EQ(Peak(Render(0.5)), 0.0f);
  player_->PlayMP3();  // without starting over there is nothing left to play
  EXPECT_EQ(player_->GetCurrentPosition(), player_->GetDuration());
  player_->PlayMP3(true);
  EXPECT_EQ(player_->GetCurrentPosition(), 0);
  EXPECT_GT(Peak(Render(1.2)), 0.1f);
  EXPECT_EQ(player_->GetCurrentPosition(), 1);
}

// Written to a pipe, a FLAC stream carries no length at all, and WMA only one guessed from the bit
// rate (5.6 s for this tone): each is measured, and its position reaches the length at the end (less
// the half second the whole seconds round away), where the game starts it again.
TEST_F(MusicTest, StreamsWithoutALengthAreMeasured) {
  for (auto [name, codec] :
       {std::pair{"piped.flac", "-c:a flac -f flac"}, {"piped.wma", "-c:a wmav2 -b:a 64k -f asf"}}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(MakeTone(folder_ / "sound" / name, 5, codec, 44100, true));
    ASSERT_TRUE(player_->LoadMP3("\\sound\\" + std::string(name)));
    EXPECT_EQ(player_->GetDuration(), 5);
    player_->PlayMP3();
    Render(4.4);
    EXPECT_EQ(player_->GetCurrentPosition(), 4);
    Render(0.2);
    EXPECT_EQ(player_->GetCurrentPosition(), 5);
  }
}

TEST_F(MusicTest, VolumeClampsTheCallersValueAndZeroStops) {
  int32_t volume = 150;
  player_->SetVolume(volume);
  EXPECT_EQ(volume, 150) << "nothing loaded: nothing changes";

  ASSERT_TRUE(player_->LoadMP3(Make("music.wav", 4.0)));
  player_->PlayMP3();
  const float full = Peak(Render(0.5));
  volume = 95;
  player_->SetVolume(volume);
  EXPECT_NEAR(Peak(Render(0.5)) / full, std::pow(10.0, -5.0 / 20), 0.01);
  volume = 150;
  player_->SetVolume(volume);
  EXPECT_EQ(volume, 100);
  EXPECT_NEAR(Peak(Render(0.5)), full, 0.01);

  volume = 0;
  player_->SetVolume(volume);
  EXPECT_EQ(player_->GetCurrentPosition(), 0);
  EXPECT_EQ(Peak(Render(0.5)), 0.0f);
  player_->PlayMP3();
  EXPECT_NEAR(Peak(Render(0.5)), full, 0.01) << "the volume was left as it was";
}

// Damaged and cut-off files of every format, and music decoding to samples of no value, are replayed
// by fuzz.replay.music; these are the refusals the player must log.
TEST_F(MusicTest, MissingOrGarbledFilesAreRefusedAndLogged) {
  const std::string app = folder_.path().string();
  EXPECT_FALSE(player_->LoadMP3("\\sound\\missing.wma"));
  EXPECT_NE(folder_.Log().find("Error loading MP3 file: " + app + "\\\\sound\\missing.wma"),
            std::string::npos);

  // A header claiming 620 MHz: the resampler took seconds and gigabytes for it.
  std::string fast = audio_fixtures::MakeWav16(std::vector<int16_t>(400, 1000), 1, 8000);
  fast.replace(24, 4, std::string("\x40\x1f\x00\x25", 4));
  WriteFile(folder_ / "sound" / "fast.wav", fast);
  EXPECT_FALSE(player_->LoadMP3("sound\\fast.wav"));
  EXPECT_NE(folder_.Log().find("Error loading MP3 file: " + app + "\\sound\\fast.wav"), std::string::npos);
  EXPECT_EQ(player_->GetDuration(), 0);
  player_->PlayMP3();
  EXPECT_EQ(Peak(Render(0.1)), 0.0f);

  // A chunk claiming 2 GB in a file of a few hundred bytes had the reader fill gigabytes.
  std::string huge = audio_fixtures::MakeWav16(std::vector<int16_t>(400, 1000), 1, 8000);
  huge.insert(36, std::string("LIST\x00\x00\x00\x7fINFOISFT\x02\x00\x00\x00x\x00", 22));
  WriteFile(folder_ / "sound" / "huge.wav", huge);
  if (player_->LoadMP3("sound\\huge.wav")) Render(0.1);
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  EXPECT_LT(usage.ru_maxrss, 1 << 20) << "kilobytes at most, a gigabyte";
}

}  // namespace
