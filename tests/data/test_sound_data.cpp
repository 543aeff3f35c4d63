#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "DataFolder.h"
#include "Files.h"
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

// Zero crossings a second: a rough measure of pitch.
double Crossings(const std::vector<double>& v, int rate, size_t from, size_t count) {
  int n = 0;
  count = std::min(count, v.size() - std::min(from, v.size()));
  for (size_t i = from + 1; i < from + count; ++i)
    if ((v[i - 1] < 0) != (v[i] < 0)) ++n;
  return count ? n * static_cast<double>(rate) / static_cast<double>(count) : 0;
}

}  // namespace

TEST(SoundData, EveryEffectDecodesAndCanBeHeard) {
  for (const char* name : {"click.wav", "1key.wav", "2key.wav", "3key.wav", "4key.wav", "levelcompleted.wav",
                           "joker.wav", "packcompleted.wav", "gameover.wav"}) {
    SCOPED_TRACE(name);
    Sound s = LoadEffect(name);
    ASSERT_FALSE(s.samples.empty());
    EXPECT_EQ(s.rate, 44100);
    EXPECT_GT(s.Seconds(), 0.05);
    EXPECT_LT(s.Seconds(), 4.0);
    double peak = 0, loudest = 0;
    for (double v : s.samples) peak = std::max(peak, std::fabs(v));
    for (size_t at = 0; at < s.samples.size(); at += 441)
      loudest = std::max(loudest, Rms(s.samples, at, 2205));
    EXPECT_GT(loudest, 0.05) << "not silent";
    EXPECT_GT(peak, 0.3);
    EXPECT_LT(peak, 0.99) << "no clipping";
    EXPECT_LT(std::fabs(s.samples.front()), 0.01) << "starts without a click";
    EXPECT_LT(std::fabs(s.samples.back()), 0.01) << "ends without a click";
  }
}

TEST(SoundData, EffectsSoundLikeTheirNames) {
  // Taps are short; the four keys are not the same sound.
  std::vector<Sound> keys;
  for (int k = 1; k <= 4; ++k) keys.push_back(LoadEffect(std::to_string(k) + "key.wav"));
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_LT(keys[i].Seconds(), 0.3);
    for (size_t j = 0; j < i; ++j) {
      double d = 0;
      for (size_t k = 0; k < std::min(keys[i].samples.size(), keys[j].samples.size()); ++k)
        d += std::fabs(keys[i].samples[k] - keys[j].samples[k]);
      EXPECT_GT(d / static_cast<double>(keys[i].samples.size()), 0.005)
          << "keys " << j + 1 << " and " << i + 1;
    }
  }
  EXPECT_LT(LoadEffect("click.wav").Seconds(), 0.3);
  // The jingle and the fanfare take their time; the fanfare is the longer.
  Sound level = LoadEffect("levelcompleted.wav"), pack = LoadEffect("packcompleted.wav");
  EXPECT_GT(level.Seconds(), 1.0);
  EXPECT_GT(pack.Seconds(), level.Seconds());
  // The jingle climbs, the game-over sound falls, the joker glitters high.
  EXPECT_GT(Crossings(level.samples, level.rate, 19000, 2000),
            Crossings(level.samples, level.rate, 200, 2000));
  Sound over = LoadEffect("gameover.wav");
  EXPECT_GT(over.Seconds(), 1.5);
  const size_t q = over.samples.size() / 4;
  EXPECT_GT(Crossings(over.samples, over.rate, 0, q), 1.3 * Crossings(over.samples, over.rate, 3 * q, q / 2));
  Sound joker = LoadEffect("joker.wav");
  EXPECT_GT(Crossings(joker.samples, joker.rate, 0, joker.samples.size() / 2), 1500);
}

TEST(SoundData, TheMusicIsWindowsMediaAudioOfOverAMinuteThatLoopsWithoutAJump) {
  const std::filesystem::path file = datatest::GameDir() / "sound" / "music.wma";
  const datagen::Bytes bytes = datagen::ReadFile(file);
  const uint8_t asf[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                           0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
  ASSERT_GT(bytes.size(), 16u);
  EXPECT_TRUE(std::equal(asf, asf + 16, bytes.begin())) << "an ASF container";

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
