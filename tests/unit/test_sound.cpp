// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <tuple>
#include <thread>
#include <vector>

#include "audio_fixtures.h"
#include "platform/Audio.h"
#include "platform/Dialogs.h"
#include "platform/Wav.h"
#include "tovak2d/Engine.h"
#include "tovak2d/MP3Player.h"

using namespace tovak2d;
using namespace audio_fixtures;

namespace {

// An engine whose sound goes to an output that mixes only when the test renders it.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::audio::testing::UseOfflineOutput(true);
    platform::dialogs::ClearRecordedMessages();
    ASSERT_TRUE(engine_->Tovak2D_Start_OnlySound(nullptr, folder_.path().string()));
  }

  void TearDown() override {
    engine_.reset();
    platform::audio::testing::UseOfflineOutput(false);
    platform::dialogs::ClearRecordedMessages();
    modExtra::piValue = modExtra::degToRad = 0;
  }

  void Create(const std::string& name, const std::vector<int16_t>& samples, int rate = 44100) {
    audio_fixtures::WriteFile(folder_ / "sound" / (name + ".wav"), MakeWav16(samples, 1, rate));
    engine_->CreateSound(name, "\\sound\\" + name + ".wav");
  }

  static std::vector<float> Render(size_t frames) { return platform::audio::testing::Render(frames); }

  audio_fixtures::TempAppFolder folder_;
  std::unique_ptr<Engine> engine_ = std::make_unique<Engine>();
};

// A positive pan takes hundredths of a decibel off the left side, a negative one off the right.
TEST_F(SoundTest, VolumeAndPanAreAttenuationsInHundredthsOfADecibel) {
  Create("tone", std::vector<int16_t>(44100, 16384));  // half of full scale
  const struct {
    int32_t volume, pan;
    double leftDb, rightDb;
  } cases[] = {{50, 0, -50, -50},
               {100, 100, -100, 0},  // 100 dB down is silence
               {100, -30, 0, -30},
               {50, -30, -50, -80},
               {150, 250, -50, -80}};  // out of range, refused one by one: volume 50, pan -30 kept
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.volume << ", " << c.pan);
    engine_->SoundPlay("tone", false, c.volume, c.pan);
    const auto out = Render(1000);
    for (auto [side, db] : {std::pair{0, c.leftDb}, {1, c.rightDb}})
      EXPECT_NEAR(Peak(out, side, 2) / 0.5, db <= -100 ? 0 : std::pow(10.0, db / 20), 1e-6) << side;
  }
}

TEST_F(SoundTest, FrequencyResamplesTheEffect) {
  Create("tone", Sine(1000, 44100, 88200));
  engine_->SoundPlay("tone", false, 100, 0, 22);  // 22 kHz: half the pitch, twice as long
  EXPECT_NEAR(ZeroCrossings(Render(44100)), 2000 * 22000 / 44100, 2);

  engine_->SoundPlay("tone", false, 100, 0, 300);  // 300 kHz is refused: 22 kHz stays
  EXPECT_NEAR(ZeroCrossings(Render(44100)), 2000 * 22000 / 44100, 2);

  engine_->SoundFrequency("tone", 0);  // back to the file's own rate
  engine_->SoundPlay("tone");
  EXPECT_NEAR(ZeroCrossings(Render(44100)), 2000, 2);

  // A file at another rate plays at its own pitch.
  engine_->SoundStop("tone");
  Create("low", Sine(500, 11025, 11025), 11025);
  engine_->SoundPlay("low");
  EXPECT_NEAR(ZeroCrossings(Render(44100)), 1000, 2);
}

TEST_F(SoundTest, PlayRestartsLoopsAndStopsAndNamesIgnoreCase) {
  std::vector<int16_t> ramp(100);
  for (int i = 0; i < 100; ++i) ramp[static_cast<size_t>(i)] = static_cast<int16_t>(i * 100);
  Create("ramp", ramp);

  engine_->SoundPlay("ramp");
  Render(60);
  engine_->SoundPlay("ramp");  // still playing: starts again at sample 0
  auto out = Render(200);
  EXPECT_EQ(out[0], 0.0f);
  EXPECT_FLOAT_EQ(out[10 * 2], 1000 / 32768.0f);
  EXPECT_EQ(Peak(out, 200), 0.0f) << "played once";

  engine_->SoundPlay("ramp", true);
  out = Render(350);
  EXPECT_FLOAT_EQ(out[2 * 349], static_cast<float>(ramp[49]) / 32768.0f) << "the fourth time round";

  // Volume 0 sets silence and does not start the effect.
  engine_->SoundStop();
  engine_->SoundPlay("ramp", true, 0);
  EXPECT_EQ(Peak(Render(300)), 0.0f);

  // Effects mix by adding; a stop without a name stops every one.
  Create("b", std::vector<int16_t>(1000, 2000));
  engine_->SoundPlay("ramp", true);
  engine_->SoundPlay("b", true);
  EXPECT_FLOAT_EQ(Render(2)[2], 2100 / 32768.0f);
  engine_->SoundStop("");
  EXPECT_EQ(Peak(Render(100)), 0.0f);

  // Names ignore case; a second effect of the same name is reported.
  Create("Click", std::vector<int16_t>(100, 1000));
  engine_->CreateSound("CLICK", "\\sound\\Click.wav");
  auto messages = platform::dialogs::RecordedMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Error importing sound KeyName.\r\n'click' already exists!");
  // A program can have such boxes written to the log instead, as one line.
  LogMessageBoxes();
  engine_->CreateSound("click", "\\sound\\Click.wav");
  LogMessageBoxes(false);
  EXPECT_NE(folder_.Log().find(
                "Message box [DirectX Error] Error importing sound KeyName. 'click' already exists!\r\n"),
            std::string::npos);
  engine_->SoundPlay("cLiCk");
  EXPECT_GT(Peak(Render(10)), 0.0f);

  // A file that is no sound is logged.
  audio_fixtures::WriteFile(folder_ / "sound" / "bad.wav", "RIFF....WAVEjunk");
  engine_->CreateSound("bad", "\\sound\\bad.wav");
  const std::string app = folder_.path().string();
  EXPECT_NE(folder_.Log().find("Error in CreateSound(" + app + "\\\\sound\\bad.wav) : "), std::string::npos);
  engine_->SoundPlay("bad");
}

// No device at start (the dummy driver refused until the test allows it): the music is loaded all
// the same and runs on into nothing.
TEST(SoundWithoutDevice, TheMusicRunsOnIntoNothing) {
  audio_fixtures::TempAppFolder folder;
  audio_fixtures::WriteFile(folder / "music.wav", MakeWav16(Sine(440, 8000, 40000), 1, 8000));
  platform::audio::testing::RefuseDevice(true);
  Engine engine;
  MP3Player music;
  ASSERT_TRUE(engine.Tovak2D_Start_OnlySound(nullptr, folder.path().string()));
  ASSERT_TRUE(music.LoadMP3("music.wav"));
  music.PlayMP3();
  for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
       music.GetCurrentPosition() < 1 && std::chrono::steady_clock::now() < end;)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_GE(music.GetCurrentPosition(), 1);
  EXPECT_FALSE(engine.SoundDeviceFound());
  platform::audio::testing::RefuseDevice(false);
}

// Wave files: the sound effects' and the music player's.
std::string Chunk(const std::string& id, const std::string& body) {
  return id + Le32({static_cast<uint32_t>(body.size())}) + body +
         (body.size() % 2 ? std::string(1, '\0') : "");
}

std::string Riff(const std::string& chunks) {
  return "RIFF" + Le32({static_cast<uint32_t>(4 + chunks.size())}) + "WAVE" + chunks;
}

std::string Fmt(uint32_t tag, uint32_t channels, uint32_t rate, uint32_t blockAlign, uint32_t bits) {
  return Le16({tag, channels}) + Le32({rate, rate * blockAlign}) + Le16({blockAlign, bits});
}

TEST(Wav, LayoutsDecodeToTheirSamples) {
  const std::vector<int16_t> stereo = {1, -1, 32767, -32768, 1000, 2000};
  std::string cut = MakeWav16(stereo, 2, 22050);
  cut.resize(cut.size() - 3);
  // The extensible layout names PCM in its sub-format.
  const std::string ext = Fmt(0xFFFE, 1, 44100, 2, 16) + Le16({22, 16}) + Le32({4}) +
                          std::string("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
  // IMA ADPCM: a header frame per block and channel, then 8 frames per 8 bytes of stereo data, low
  // nibble first (left 7, 0: +11, +2 at the next step size; right 15, 0: -11, +2); the fact chunk
  // tells how many frames are meant.
  const std::string ima = Fmt(0x11, 2, 22050, 24, 4) + Le16({2, 17});
  const std::string block = Le16({100, 0, static_cast<uint16_t>(-100), 0}) +
                            std::string("\x07\0\0\0\x0F", 5) + std::string(11, '\0');
  const struct {
    std::string file;
    int channels, rate;
    size_t frames;
    std::vector<int16_t> first;  // the first samples
  } cases[] = {
      {MakeWav16(stereo, 2, 22050), 2, 22050, 3, stereo},
      // 8 bits are unsigned around 128; chunks before the format and odd-sized ones are stepped over.
      {Riff(Chunk("LIST", "odd") + Chunk("fmt ", Fmt(1, 1, 8000, 1, 8)) +
            Chunk("data", std::string("\x00\x80\xFF", 3))),
       1,
       8000,
       3,
       {-32768, 0, 32512}},
      {Riff(Chunk("fmt ", ext) + Chunk("data", Le16({1234}))), 1, 44100, 1, {1234}},
      {Riff(Chunk("fmt ", ima) + Chunk("data", block + block + block)),
       2,
       22050,
       3 * 17,
       {100, -100, 111, -111, 113, -109}},
      {Riff(Chunk("fmt ", ima) + Chunk("fact", Le32({20})) + Chunk("data", block + block)), 2, 22050, 20, {}},
      {cut, 2, 22050, 2, {1, -1, 32767, -32768}},  // a data chunk cut short gives its whole frames
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const auto pcm = platform::wav::Decode(cases[i].file, nullptr);
    ASSERT_TRUE(pcm);
    ASSERT_EQ(std::tuple(pcm->channels, pcm->rate, pcm->Frames()),
              std::tuple(cases[i].channels, cases[i].rate, cases[i].frames));
    const auto& first = cases[i].first;
    EXPECT_EQ(std::vector(pcm->samples.begin(), pcm->samples.begin() + std::ssize(first)), first);
  }
}

TEST(Wav, UnsupportedFilesAreRefusedWithAReason) {
  const std::string data = Chunk("data", std::string(8, '\0'));
  const std::pair<std::string, std::string> cases[] = {
      {"", "not a RIFF wave file"},
      {Riff(data), "no format chunk"},
      {Riff(Chunk("fmt ", Fmt(1, 1, 8000, 2, 16))), "no data chunk"},
      {Riff(Chunk("fmt ", Fmt(1, 3, 8000, 6, 16)) + data), "3 channels"},
      {Riff(Chunk("fmt ", Fmt(1, 1, 50, 2, 16)) + data), "sample rate 50"},
      {Riff(Chunk("fmt ", Fmt(1, 1, 8000, 3, 24)) + data), "24 bits"},
      {Riff(Chunk("fmt ", Fmt(3, 1, 8000, 4, 32)) + data), "format 3"},
      {Riff(Chunk("fmt ", Fmt(0x11, 1, 8000, 4, 4)) + data), "block layout"},
      {Riff(Chunk("fmt ", Fmt(1, 1, 8000, 2, 16)) + Chunk("data", "")), "no sound"},
      {Riff(Chunk("fmt ", "short")), "too short"},
  };
  for (const auto& [file, reason] : cases) {
    std::string error;
    EXPECT_FALSE(platform::wav::Decode(file, &error)) << reason;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  }
}

}  // namespace
