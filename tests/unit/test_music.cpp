#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "audio_fixtures.h"
#include "modExtra.h"
#include "platform/Audio.h"
#include "tovak2d/MP3Player.h"

using namespace tovak2d;
using audio_fixtures::MakeTone;
using audio_fixtures::ZeroCrossings;

namespace {

constexpr size_t kRate = 44100;

// A player on an output that mixes only when the test renders it, so positions move by exactly
// the audio rendered.
class MusicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!audio_fixtures::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    platform::audio::testing::UseOfflineOutput(true);
    std::filesystem::create_directory(folder_ / "sound");
  }

  void TearDown() override {
    player_.reset();
    platform::audio::testing::UseOfflineOutput(false);
  }

  // Makes sound\<name> with ffmpeg; the codec options follow the name's extension.
  std::string Make(const std::string& name, double seconds, int frequency = 440) {
    const std::map<std::string, std::string> codecs = {{".wma", "-c:a wmav2 -b:a 64k"},
                                                       {".mp3", Mp3Encoder()},
                                                       {".ogg", "-c:a libvorbis"},
                                                       {".flac", "-c:a flac"}};
    const auto it = codecs.find(std::filesystem::path(name).extension().string());
    const std::string codec = it == codecs.end() ? "-c:a pcm_s16le" : it->second;
    EXPECT_TRUE(MakeTone(folder_ / "sound" / name, seconds, codec, frequency)) << name;
    return "\\sound\\" + name;
  }

  // Writes sound\<name> through a pipe, so the stream carries no length of its own.
  void Piped(const std::string& name, const std::string& source, const std::string& codec) {
    ASSERT_TRUE(audio_fixtures::Run("sh -c 'ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i " +
                                        source + " " + codec + " - > \"" +
                                        (folder_ / "sound" / name).string() + "\"'",
                                    60));
  }

  static std::string Mp3Encoder() {
    if (audio_fixtures::FfmpegHasEncoder("libmp3lame")) return "-c:a libmp3lame -b:a 96k";
    return "-c:a libshine -b:a 96k";
  }

  static std::vector<float> Render(double seconds) {
    return platform::audio::testing::Render(static_cast<size_t>(seconds * kRate));
  }

  static float Peak(const std::vector<float>& out) {
    float peak = 0;
    for (float v : out) peak = std::max(peak, std::fabs(v));
    return peak;
  }

  audio_fixtures::TempAppFolder folder_;
  std::unique_ptr<MP3Player> player_ = std::make_unique<MP3Player>();
};

TEST_F(MusicTest, EveryMusicFormatPlaysItsTone) {
  for (const std::string name : {"music.wma", "music.mp3", "music.ogg", "music.flac", "music.wav"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(player_->LoadMP3(Make(name, 3.0)));
    EXPECT_EQ(player_->GetDuration(), 3);
    EXPECT_EQ(Peak(Render(0.1)), 0.0f) << "loaded, not playing";
    player_->PlayMP3();
    Render(0.2);
    const auto out = Render(0.5);
    EXPECT_NEAR(ZeroCrossings(out), 440, 4);
    EXPECT_GT(Peak(out), 0.1f);                   // the tone is made at 1/8 of full scale
    EXPECT_EQ(player_->GetCurrentPosition(), 1);  // 0.7 s rounded
  }
}

TEST_F(MusicTest, DurationIsRoundedHalfToEven) {
  ASSERT_TRUE(player_->LoadMP3(Make("a.flac", 61.5)));
  EXPECT_EQ(player_->GetDuration(), 62);
  ASSERT_TRUE(player_->LoadMP3(Make("b.flac", 60.5)));
  EXPECT_EQ(player_->GetDuration(), 60);
  ASSERT_TRUE(player_->LoadMP3(Make("c.wav", 2.5)));
  EXPECT_EQ(player_->GetDuration(), 2);
}

TEST_F(MusicTest, PauseResumesAndStopRewinds) {
  ASSERT_TRUE(player_->LoadMP3(Make("music.wma", 6.0)));
  player_->PlayMP3();
  Render(2.2);
  EXPECT_EQ(player_->GetCurrentPosition(), 2);

  player_->StopMP3(true);
  EXPECT_EQ(Peak(Render(1.0)), 0.0f);
  EXPECT_EQ(player_->GetCurrentPosition(), 2);
  player_->PlayMP3();  // continues where it paused
  Render(1.0);
  EXPECT_EQ(player_->GetCurrentPosition(), 3);

  player_->StopMP3();
  EXPECT_EQ(player_->GetCurrentPosition(), 0);
  EXPECT_EQ(Peak(Render(0.5)), 0.0f);
  player_->PlayMP3();
  Render(1.2);
  EXPECT_EQ(player_->GetCurrentPosition(), 1);

  player_->PlayMP3(true);  // from the start while playing
  EXPECT_EQ(player_->GetCurrentPosition(), 0);
  Render(0.4);
  EXPECT_EQ(player_->GetCurrentPosition(), 0);
}

TEST_F(MusicTest, AtTheEndThePositionStaysAtTheLength) {
  for (const std::string name : {"end.wma", "end.mp3"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(player_->LoadMP3(Make(name, 2.0)));
    player_->PlayMP3();
    Render(3.0);
    EXPECT_EQ(player_->GetCurrentPosition(), player_->GetDuration());
    EXPECT_EQ(Peak(Render(0.5)), 0.0f);
    player_->PlayMP3();  // without starting over there is nothing left to play
    EXPECT_EQ(player_->GetCurrentPosition(), player_->GetDuration());

    // The game's loop: the position has reached the length, so it starts again.
    player_->PlayMP3(true);
    EXPECT_EQ(player_->GetCurrentPosition(), 0);
    const auto out = Render(1.2);
    EXPECT_GT(Peak(out), 0.1f);  // the tone is made at 1/8 of full scale
    EXPECT_EQ(player_->GetCurrentPosition(), 1);
  }
}

TEST_F(MusicTest, StreamsWithoutALengthAreMeasuredAndLoopOnce) {
  // Written to a pipe, a FLAC stream carries no length at all, and WMA and variable-rate MP3 only
  // one guessed from the bit rate (WMA's guess is 5.6 s for this tone, MP3's 4.7 s).
  struct Stream {
    const char* name;
    std::string codec;
  } const streams[] = {
      {"piped.flac", "-c:a flac -f flac"},
      {"piped.wma", "-c:a wmav2 -b:a 64k -f asf"},
      {"piped.mp3", Mp3Encoder() == "-c:a libmp3lame -b:a 96k" ? "-c:a libmp3lame -q:a 4 -f mp3"
                                                               : Mp3Encoder() + " -f mp3"}};
  for (const Stream& stream : streams) {
    SCOPED_TRACE(stream.name);
    Piped(stream.name, "sine=frequency=440:sample_rate=44100:duration=5", stream.codec);
    ASSERT_TRUE(player_->LoadMP3(std::string("\\sound\\") + stream.name));
    EXPECT_EQ(player_->GetDuration(), 5);

    // The game's loop: a pass of 20 ms, and the music starts again once its position reaches
    // its length. It plays through each time (less the half second the whole seconds round
    // away), never restarting on every pass.
    player_->PlayMP3();
    std::vector<double> restartsAt;
    double sinceStart = 0;
    for (int pass = 0; pass < 600; ++pass) {
      Render(0.02);
      sinceStart += 0.02;
      if (player_->GetCurrentPosition() >= player_->GetDuration()) {
        restartsAt.push_back(sinceStart);
        sinceStart = 0;
        player_->PlayMP3(true);
      }
    }
    ASSERT_EQ(restartsAt.size(), 2u);
    for (double at : restartsAt) EXPECT_NEAR(at, 4.5, 0.1);
  }
}

TEST_F(MusicTest, AStreamTooLongToMeasureIsGuessedThenSetByItsEnd) {
  // 60000 packets of 16 samples, more than the load reads: the length measured from the packets
  // read stands until the end has been played, which sets it.
  Piped("long.flac", "sine=frequency=440:sample_rate=8000:duration=120", "-c:a flac -frame_size 16 -f flac");
  ASSERT_TRUE(player_->LoadMP3("\\sound\\long.flac"));
  EXPECT_EQ(player_->GetDuration(), 100);
  player_->PlayMP3();
  Render(119.0);
  EXPECT_EQ(player_->GetCurrentPosition(), 119);
  EXPECT_EQ(player_->GetDuration(), 100) << "not yet at the end";
  Render(2.0);
  EXPECT_EQ(player_->GetDuration(), 120);
  EXPECT_EQ(player_->GetCurrentPosition(), 120);
  player_->PlayMP3(true);
  EXPECT_EQ(player_->GetDuration(), 120) << "the length found stays for the next pass";
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

TEST_F(MusicTest, ASecondLoadStopsTheFirstFile) {
  ASSERT_TRUE(player_->LoadMP3(Make("one.wma", 3.0)));
  player_->PlayMP3();
  Render(1.0);
  ASSERT_TRUE(player_->LoadMP3(Make("two.wav", 3.0, 1000)));
  EXPECT_EQ(player_->GetCurrentPosition(), 0);
  EXPECT_EQ(Peak(Render(0.5)), 0.0f);
  player_->PlayMP3();
  EXPECT_NEAR(ZeroCrossings(Render(0.5)), 1000, 4);
}

TEST_F(MusicTest, MissingOrGarbledFilesAreRefusedAndLogged) {
  player_->PlayMP3(true);  // nothing loaded yet: nothing happens
  player_->StopMP3();
  player_->SetVolume();
  EXPECT_EQ(player_->GetCurrentPosition(), 0);
  EXPECT_EQ(player_->GetDuration(), 0);

  const std::string app = folder_.path().string();
  EXPECT_FALSE(player_->LoadMP3("\\sound\\missing.wma"));
  EXPECT_NE(folder_.Log().find("Error loading MP3 file: " + app + "\\\\sound\\missing.wma"),
            std::string::npos);

  std::mt19937 random(7);
  std::string noise(8192, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  audio_fixtures::WriteFile(folder_ / "sound" / "noise.wma", noise);
  audio_fixtures::WriteFile(folder_ / "sound" / "text.mp3", "this is no music at all\n");
  // A header claiming 620 MHz: the resampler took seconds and gigabytes for it.
  std::string fast = audio_fixtures::MakeWav16(std::vector<int16_t>(400, 1000), 1, 8000);
  fast.replace(24, 4, std::string("\x40\x1f\x00\x25", 4));
  audio_fixtures::WriteFile(folder_ / "sound" / "fast.wav", fast);
  for (const std::string name : {"sound\\noise.wma", "sound\\text.mp3", "sound\\fast.wav"}) {
    EXPECT_FALSE(player_->LoadMP3(name)) << name;
    EXPECT_NE(folder_.Log().find("Error loading MP3 file: " + app + "\\" + name), std::string::npos) << name;
    EXPECT_EQ(player_->GetDuration(), 0);
    player_->PlayMP3();
    EXPECT_EQ(Peak(Render(0.1)), 0.0f);
  }

  // A chunk claiming 2 GB in a file of a few hundred bytes had the reader fill gigabytes.
  std::string huge = audio_fixtures::MakeWav16(std::vector<int16_t>(400, 1000), 1, 8000);
  huge.insert(36, std::string("LIST\x00\x00\x00\x7fINFOISFT\x02\x00\x00\x00x\x00", 22));
  audio_fixtures::WriteFile(folder_ / "sound" / "huge.wav", huge);
  if (player_->LoadMP3("sound\\huge.wav")) Render(0.1);
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  EXPECT_LT(usage.ru_maxrss, 1 << 20) << "kilobytes at most, a gigabyte";
}

// Every decoder path meets cut-off and damaged files: each must be refused or play to its end.
TEST_F(MusicTest, TruncatedAndDamagedFilesNeverCrash) {
  std::mt19937 random(11);
  for (const std::string name : {"f.wma", "f.mp3", "f.ogg", "f.flac", "f.wav"}) {
    Make(name, 1.0);
    const std::string good = audio_fixtures::ReadFile(folder_ / "sound" / name);
    ASSERT_FALSE(good.empty());
    std::vector<std::string> variants;
    for (size_t cut : {size_t{0}, size_t{4}, size_t{40}, size_t{200}, good.size() / 3, good.size() - 1})
      variants.push_back(good.substr(0, cut));
    for (int i = 0; i < 12; ++i) {
      std::string damaged = good;
      const size_t begin = i < 6 ? 0 : damaged.size() / 2;  // the headers, then the sound data
      const size_t span = std::min<size_t>(damaged.size() - begin, 4096);
      for (int flips = 0; flips < 24; ++flips) damaged[begin + random() % span] = static_cast<char>(random());
      variants.push_back(damaged);
    }
    for (size_t v = 0; v < variants.size(); ++v) {
      SCOPED_TRACE(name + " variant " + std::to_string(v));
      audio_fixtures::WriteFile(folder_ / "sound" / "x.bin", variants[v]);
      if (!player_->LoadMP3("sound\\x.bin")) continue;
      player_->PlayMP3();
      Render(1.5);
      EXPECT_LE(player_->GetCurrentPosition(), std::max(player_->GetDuration(), 2));
    }
  }
}

TEST(MusicOnDevice, PlaysOnTheAudioDriversOwnThread) {
  if (!audio_fixtures::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  std::string why;
  if (!platform::audio::OpenOutput(&why)) GTEST_SKIP() << "no audio device: " << why;
  audio_fixtures::TempAppFolder folder;
  ASSERT_TRUE(MakeTone(folder / "music.wma", 3.0, "-c:a wmav2"));
  MP3Player player;
  ASSERT_TRUE(player.LoadMP3("music.wma"));
  player.PlayMP3();
  // The dummy driver plays in real time; the position must get going within a generous while.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (player.GetCurrentPosition() < 1 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_GE(player.GetCurrentPosition(), 1);
  player.StopMP3();
  EXPECT_EQ(player.GetCurrentPosition(), 0);
}

}  // namespace

// A damaged Windows Media file that decodes to samples of no value: they reach the mix as silence,
// effects played over the music stay clean, and the log says so once.
TEST_F(MusicTest, SamplesOfNoValueArePlayedAsSilenceAndLogged) {
  std::filesystem::copy_file(std::filesystem::path(VARNEL_SOURCE_DIR) / "fuzz/regressions/music" /
                                 "wma-decoding-to-samples-of-no-value",
                             folder_ / "sound" / "damaged.wma");
  ASSERT_TRUE(player_->LoadMP3("\\sound\\damaged.wma"));
  int32_t volume = 100;
  player_->SetVolume(volume);
  player_->PlayMP3();
  for (int pass = 0; pass < 20; ++pass) {
    for (float sample : Render(0.1))
      ASSERT_TRUE(std::isfinite(sample) && std::fabs(sample) <= 1.0f) << sample;
    player_->GetCurrentPosition();
  }
  const std::string log = folder_.Log();
  const size_t line = log.find("Error in music : " + folder_.path().string());
  ASSERT_NE(line, std::string::npos) << log;
  EXPECT_NE(log.find("damaged.wma : ", line), std::string::npos) << log;
  EXPECT_NE(log.find(" damaged samples played as silence\r\n", line), std::string::npos) << log;
}
