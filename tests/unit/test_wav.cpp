#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "audio_fixtures.h"
#include "platform/Wav.h"

using namespace tovak2d;
using audio_fixtures::Le16;
using audio_fixtures::Le32;
using audio_fixtures::MakeWav16;

namespace {

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
  // IMA ADPCM: a header frame per block and channel, then 8 frames per 8 bytes of stereo data;
  // the fact chunk tells how many frames are meant.
  const std::string ima = Fmt(0x11, 2, 22050, 24, 4) + Le16({2, 17});
  const std::string block = Le16({100, 0, static_cast<uint16_t>(-100), 0}) + std::string(16, '\0');
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
      {Riff(Chunk("fmt ", ima) + Chunk("data", block + block + block)), 2, 22050, 3 * 17, {100, -100}},
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
      {"RIFF\0\0\0\0AVI ", "not a RIFF wave file"},
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

TEST(Wav, ImaAdpcmFromFfmpegFollowsItsSource) {
  if (!audio_fixtures::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  audio_fixtures::TempAppFolder folder;
  for (int channels : {1, 2}) {
    SCOPED_TRACE(channels);
    const auto source = audio_fixtures::Sine(440, 22050, 22050, channels, 12000);
    audio_fixtures::WriteFile(folder / "src.wav", MakeWav16(source, channels, 22050));
    ASSERT_TRUE(audio_fixtures::Run("ffmpeg -nostdin -loglevel error -y -i '" +
                                    (folder / "src.wav").string() + "' -c:a adpcm_ima_wav '" +
                                    (folder / "ima.wav").string() + "'"));
    std::string error;
    auto pcm = platform::wav::Decode(audio_fixtures::ReadFile(folder / "ima.wav"), &error);
    ASSERT_TRUE(pcm) << error;
    EXPECT_EQ(std::pair(pcm->channels, pcm->rate), std::pair(channels, 22050));
    // ffmpeg counts its padded last block in the fact chunk: at most one block more.
    ASSERT_GE(pcm->samples.size(), source.size());
    EXPECT_LT(pcm->Frames(), source.size() / static_cast<size_t>(channels) + 2041);
    double squared = 0;
    for (size_t i = 0; i < source.size(); ++i) squared += std::pow(pcm->samples[i] - source[i], 2);
    EXPECT_LT(std::sqrt(squared / static_cast<double>(source.size())), 200.0);  // under 2 % of the tone
  }
}

}  // namespace
