#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "LittleEndian.h"
#include "TempAppFolder.h"
#include "TestFiles.h"
#include "modExtra.h"

// Helpers shared by the input, sound and music tests: a fresh application folder per test,
// hand-made wave files and files made by the ffmpeg and sox command-line tools.
namespace audio_fixtures {

using testsupport::TempAppFolder;

// How often the left channel of interleaved stereo changes sign.
inline int ZeroCrossings(const std::vector<float>& out) {
  int count = 0;
  for (size_t i = 2; i < out.size(); i += 2)
    if ((out[i - 2] < 0) != (out[i] < 0)) ++count;
  return count;
}

using testsupport::Le16;
using testsupport::Le32;
using testsupport::Put16;
using testsupport::Put32;

// A plain 16-bit PCM wave file holding the given interleaved samples.
inline std::string MakeWav16(const std::vector<int16_t>& samples, int channels, int rate) {
  const auto c = static_cast<uint32_t>(channels), r = static_cast<uint32_t>(rate);
  const std::string fmt = Le16({1, c}) + Le32({r, r * c * 2}) + Le16({c * 2, 16});
  std::string data;
  for (int16_t s : samples) Put16(data, static_cast<uint16_t>(s));
  return "RIFF" + Le32({static_cast<uint32_t>(4 + 8 + fmt.size() + 8 + data.size())}) + "WAVEfmt " +
         Le32({static_cast<uint32_t>(fmt.size())}) + fmt + "data" +
         Le32({static_cast<uint32_t>(data.size())}) + data;
}

using testsupport::ReadFile;
using testsupport::WriteFile;

// Runs a shell command with a time limit; true when it succeeded.
inline bool Run(const std::string& command, int seconds = 30) {
  std::string line = "timeout " + std::to_string(seconds) + " " + command + " >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

inline bool HaveTool(const std::string& tool) {
  return Run("sh -c 'command -v " + tool + "'", 5);
}

inline bool FfmpegHasEncoder(const std::string& encoder) {
  return Run("sh -c 'ffmpeg -hide_banner -encoders 2>/dev/null | grep -qw " + encoder + "'", 20);
}

// Encodes a sine tone of the given length with ffmpeg; extra holds the codec options.
inline bool MakeTone(const std::filesystem::path& out, double seconds, const std::string& extra,
                     int frequency = 440, int rate = 44100) {
  return Run("ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i sine=frequency=" +
                 std::to_string(frequency) + ":sample_rate=" + std::to_string(rate) +
                 ":duration=" + std::to_string(seconds) + " " + extra + " '" + out.string() + "'",
             60);
}

}  // namespace audio_fixtures
