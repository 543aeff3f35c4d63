// SPDX-License-Identifier: Zlib
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "LittleEndian.h"
#include "TempAppFolder.h"
#include "TestFiles.h"

// Helpers shared by the sound and music tests: a fresh application folder per test, hand-made
// wave files and files made by ffmpeg.
namespace audio_fixtures {

using testsupport::Le16;
using testsupport::Le32;
using testsupport::Peak;
using testsupport::TempAppFolder;
using testsupport::WriteFile;

// How often the left channel of interleaved stereo changes sign.
inline int ZeroCrossings(const std::vector<float>& out) {
  int count = 0;
  for (size_t i = 2; i < out.size(); i += 2)
    if ((out[i - 2] < 0) != (out[i] < 0)) ++count;
  return count;
}

// A plain 16-bit PCM wave file holding the given interleaved samples.
inline std::string MakeWav16(const std::vector<int16_t>& samples, int channels, int rate) {
  const auto c = static_cast<uint32_t>(channels), r = static_cast<uint32_t>(rate);
  const std::string fmt = Le16({1, c}) + Le32({r, r * c * 2}) + Le16({c * 2, 16});
  std::string data;
  for (int16_t s : samples) testsupport::Put16(data, static_cast<uint16_t>(s));
  return "RIFF" + Le32({static_cast<uint32_t>(4 + 8 + fmt.size() + 8 + data.size())}) + "WAVEfmt " +
         Le32({static_cast<uint32_t>(fmt.size())}) + fmt + "data" +
         Le32({static_cast<uint32_t>(data.size())}) + data;
}

// Encodes a 440 Hz tone of the given length with ffmpeg; codec holds the codec options. Piped, the
// encoder writes to a pipe, so it cannot go back to put the length in the file's header.
inline bool MakeTone(const std::filesystem::path& out, double seconds, const std::string& codec,
                     int rate = 44100, bool piped = false) {
  const std::string encode =
      "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i sine=frequency=440:sample_rate=" +
      std::to_string(rate) + ":duration=" + std::to_string(seconds) + " " + codec;
  return testsupport::RunCommand(encode + (piped ? " - > " : " ") + testsupport::Quote(out.string()));
}

// A 16-bit mono sine at half of full scale.
inline std::vector<int16_t> Sine(int frequency, int rate, size_t frames) {
  std::vector<int16_t> s(frames);
  for (size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<int16_t>(16384 * std::sin(2 * M_PI * frequency * static_cast<double>(i) / rate));
  return s;
}

}  // namespace audio_fixtures
