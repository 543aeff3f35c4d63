#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "DataFolder.h"
#include "Sounds.h"
#include "Synth.h"
#include "Wma.h"

using namespace datagen;
using namespace datagen::synth;

namespace {

constexpr double kPi = 3.14159265358979323846;

double Peak(const std::vector<float>& v, size_t from, size_t to) {
  double p = 0;
  for (size_t i = from; i < std::min(to, v.size()); ++i)
    p = std::max(p, static_cast<double>(std::fabs(v[i])));
  return p;
}

}  // namespace

TEST(AudioPieces, EnvelopesRiseHoldAndFadeToNothing) {
  EXPECT_EQ(Envelope(-0.1, 0.1, 0.2, 0.5, 0.3, 1.0), 0);
  EXPECT_DOUBLE_EQ(Envelope(0.05, 0.1, 0.2, 0.5, 0.3, 1.0), 0.5);
  EXPECT_DOUBLE_EQ(Envelope(0.1, 0.1, 0.2, 0.5, 0.3, 1.0), 1.0);
  EXPECT_DOUBLE_EQ(Envelope(0.6, 0.1, 0.2, 0.5, 0.3, 1.0), 0.5);
  EXPECT_LT(Envelope(1.2, 0.1, 0.2, 0.5, 0.3, 1.0), 0.5);
  EXPECT_EQ(Envelope(1.31, 0.1, 0.2, 0.5, 0.3, 1.0), 0) << "silent once released";
  // Let go during the attack, a note fades from where it was, not from full level.
  EXPECT_LE(Envelope(0.06, 0.1, 0.2, 0.5, 0.3, 0.05), 0.5);
}

TEST(AudioPieces, LoopingTracksWrapAndOthersDropWhatRunsOver) {
  Track loop(10.0 / kRate, true), plain(10.0 / kRate, false);
  ASSERT_EQ(loop.Size(), 10u);
  loop.Add(12, 1.0);
  loop.Add(-1, 0.5);
  plain.Add(12, 1.0);
  plain.Add(-1, 0.5);
  EXPECT_FLOAT_EQ(loop.samples[2], 1.0f);
  EXPECT_FLOAT_EQ(loop.samples[9], 0.5f);
  for (float s : plain.samples) EXPECT_EQ(s, 0.0f);
}

TEST(AudioPieces, TheLowPassFilterKeepsTheBassAndDampsTheHiss) {
  auto through = [](double hz) {
    Biquad f = Biquad::LowPass(500);
    double peak = 0;
    for (int i = 0; i < kRate / 2; ++i) {
      double y = f.Process(std::sin(2 * kPi * hz * i / kRate));
      if (i > kRate / 4) peak = std::max(peak, std::fabs(y));
    }
    return peak;
  };
  EXPECT_GT(through(100), 0.9);
  EXPECT_LT(through(8000), 0.01);
}

TEST(AudioPieces, ALoopingHallCarriesTheEndIntoTheStart) {
  Track send(1.0, true);
  Noise(send, 0.9, 0.08, 1.0, Biquad::BandPass(1000, 1), 10, 1);
  std::vector<float> left(send.Size()), right(send.Size());
  Reverb(send, 0.8, 0.3, 1.0, left, right);
  EXPECT_GT(Peak(left, 0, 4410), 1e-4) << "the echo of the end is heard at the start";
  EXPECT_NE(left, right) << "the hall is stereo";
}

TEST(AudioPieces, SoundEffectsAreMadeByNameAndSeed) {
  EXPECT_THROW(MakeSoundEffect("bell.wav", 1), std::invalid_argument);
  const SoundEffect a = MakeSoundEffect("3key.wav", 8), b = MakeSoundEffect("3key.wav", 8);
  EXPECT_EQ(a.pcm.samples, b.pcm.samples);
  EXPECT_EQ(SoundEffectNames().size(), 9u);
}

TEST(AudioPieces, ProgramsAreWaitedForAndStoppedWhenTheyHang) {
  EXPECT_EQ(RunProgram({"true"}, 10), 0);
  EXPECT_EQ(RunProgram({"false"}, 10), 1);
  EXPECT_EQ(RunProgram({"a-program-that-does-not-exist"}, 10), -1);
  EXPECT_EQ(RunProgram({"sleep", "30"}, 1), -1) << "killed at its deadline";
}

TEST(AudioPieces, DecodedMusicStartsOnItsFirstFrameAndKeepsItsLength) {
  testsupport::TempAppFolder app;
  // Twenty WMA blocks: a tone in the first two, silence after.
  Pcm piece;
  piece.channels = 2;
  const size_t frames = 20 * kWmaBlock;
  piece.samples.assign(frames * 2, 0.0f);
  for (size_t i = 0; i < 2 * kWmaBlock; ++i)
    piece.samples[2 * i] = piece.samples[2 * i + 1] =
        static_cast<float>(0.5 * std::sin(2 * kPi * 1000.0 * static_cast<double>(i) / kRate));
  const Bytes wma = EncodeWma(piece, app.path());
  const auto file = app.path() / "piece.wma";
  WriteFile(file, wma);
  EXPECT_FALSE(std::filesystem::exists(app.path() / "music-source.wav")) << "scratch files are cleaned up";

  const std::vector<float> decoded = datatest::DecodeMusic(file, kRate, frames * 2);
  EXPECT_EQ(decoded.size() / 2, frames) << "no block lost, no padding added";
  EXPECT_GT(Peak(decoded, 2 * 512, 2 * 3584), 0.3) << "the tone is where the piece has it";
  EXPECT_LT(Peak(decoded, 2 * 6 * kWmaBlock, decoded.size()), 0.05) << "and silence where it has silence";
}
