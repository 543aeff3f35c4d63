// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <string>

#include "DataFolder.h"
#include "Files.h"
#include "Synth.h"
#include "Wma.h"
#include "platform/Wav.h"

namespace {

struct Sound {
  std::vector<double> samples;  // mono, -1 to 1
  int rate = 0;
  double Seconds() const { return static_cast<double>(samples.size()) / rate; }
};

// An effect as the engine's own wave decoder reads it.
Sound LoadEffect(const std::string& name) {
  const datagen::Bytes bytes = datagen::ReadFile(datatest::GameDir() / "sound" / name);
  std::string error;
  auto pcm = tovak2d::platform::wav::Decode(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &error);
  EXPECT_TRUE(pcm.has_value()) << name << ": " << error;
  Sound s;
  if (!pcm) return s;
  s.rate = pcm->rate;
  for (size_t i = 0; i < pcm->samples.size(); i += static_cast<size_t>(pcm->channels))
    s.samples.push_back(pcm->samples[i] / 32768.0);
  return s;
}

double Rms(const std::vector<double>& v, size_t from, size_t count) {
  double sum = 0;
  count = std::min(count, v.size() - std::min(from, v.size()));
  for (size_t i = from; i < from + count; ++i) sum += v[i] * v[i];
  return count ? std::sqrt(sum / static_cast<double>(count)) : 0;
}

}  // namespace

TEST(SoundData, EveryEffectDecodesAndCanBeHeard) {
  std::set<std::vector<double>> keys;  // the four keys are four sounds
  for (const char* name : {"click.wav", "1key.wav", "2key.wav", "3key.wav", "4key.wav", "levelcompleted.wav",
                           "joker.wav", "packcompleted.wav", "gameover.wav"}) {
    SCOPED_TRACE(name);
    Sound s = LoadEffect(name);
    ASSERT_FALSE(s.samples.empty());
    EXPECT_EQ(s.rate, 44100);
    EXPECT_GT(s.Seconds(), 0.05);
    EXPECT_LT(s.Seconds(), 4.0);
    double peak = 0;
    for (double v : s.samples) peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.3) << "not silent";
    EXPECT_LT(peak, 0.99) << "no clipping";
    EXPECT_LT(std::fabs(s.samples.front()), 0.01) << "starts without a click";
    EXPECT_LT(std::fabs(s.samples.back()), 0.01) << "ends without a click";
    if (std::string(name).ends_with("key.wav")) keys.insert(s.samples);
  }
  EXPECT_EQ(keys.size(), 4u);
}

TEST(SoundData, TheMusicPlaysForOverAMinuteAndLoopsWithoutAJump) {
  const std::filesystem::path file = datatest::GameDir() / "sound" / "music.wma";
  double duration = 0;
  const std::vector<float> stereo = datatest::DecodeMusic(file, 44100, 44100 * 200, &duration);
  EXPECT_GE(duration, 60.0);
  std::vector<double> left;
  for (size_t i = 0; i < stereo.size(); i += 2) left.push_back(stereo[i]);
  ASSERT_GE(left.size(), 44100u * 60) << "decodes to at least a minute";
  // Calm but present all the way through.
  for (size_t at = 0; at + 44100 * 5 < left.size(); at += 44100 * 5)
    EXPECT_GT(Rms(left, at, 44100 * 5), 0.02) << "quiet gap at " << at / 44100 << " s";
  // The loop: the end flows into the start at the same loudness, and neither edge clicks.
  const size_t second = 44100;
  double start = Rms(left, second / 10, second), end = Rms(left, left.size() - second - second / 10, second);
  EXPECT_LT(std::max(start, end) / std::min(start, end), 2.0) << "start " << start << ", end " << end;
  double peak = 0;
  for (double v : left) peak = std::max(peak, std::fabs(v));
  EXPECT_LT(std::fabs(left.front()), peak * 0.1);
  EXPECT_LT(std::fabs(left.back()), peak * 0.1);
}

// The music encoder's helper program runs under a deadline.
TEST(AudioPieces, ProgramsAreWaitedForAndStoppedWhenTheyHang) {
  EXPECT_EQ(datagen::RunProgram({"true"}, 10), 0);
  EXPECT_EQ(datagen::RunProgram({"false"}, 10), 1);
  EXPECT_EQ(datagen::RunProgram({"a-program-that-does-not-exist"}, 10), -1);
  EXPECT_EQ(datagen::RunProgram({"sleep", "30"}, 1), -1) << "killed at its deadline";
}

TEST(AudioPieces, DecodedMusicStartsOnItsFirstFrameAndKeepsItsLength) {
  testsupport::TempAppFolder app;
  using namespace datagen;
  // Twenty WMA blocks: a tone in the first two, silence after.
  Pcm piece;
  piece.channels = 2;
  const size_t frames = 20 * kWmaBlock;
  piece.samples.assign(frames * 2, 0.0f);
  for (size_t i = 0; i < 2 * kWmaBlock; ++i)
    piece.samples[2 * i] = piece.samples[2 * i + 1] = static_cast<float>(
        0.5 * std::sin(2 * std::numbers::pi * 1000.0 * static_cast<double>(i) / synth::kRate));
  const auto file = app.path() / "piece.wma";
  WriteFile(file, EncodeWma(piece, app.path()));
  EXPECT_FALSE(std::filesystem::exists(app.path() / "music-source.wav")) << "scratch files are cleaned up";

  const std::vector<float> decoded = datatest::DecodeMusic(file, synth::kRate, frames * 2);
  EXPECT_EQ(decoded.size() / 2, frames) << "no block lost, no padding added";
  EXPECT_GT(testsupport::Peak(decoded, 2 * 512, 1, 2 * 3584), 0.3) << "the tone is where the piece has it";
  EXPECT_LT(testsupport::Peak(decoded, 2 * 6 * kWmaBlock), 0.05) << "and silence where it has silence";
}
