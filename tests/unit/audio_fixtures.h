#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

inline void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

inline void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

// A plain 16-bit PCM wave file holding the given interleaved samples.
inline std::string MakeWav16(const std::vector<int16_t>& samples, int channels, int rate) {
  std::string fmt;
  Put16(fmt, 1);
  Put16(fmt, static_cast<uint16_t>(channels));
  Put32(fmt, static_cast<uint32_t>(rate));
  Put32(fmt, static_cast<uint32_t>(rate * channels * 2));
  Put16(fmt, static_cast<uint16_t>(channels * 2));
  Put16(fmt, 16);
  std::string data;
  for (int16_t s : samples) Put16(data, static_cast<uint16_t>(s));
  std::string file = "RIFF";
  Put32(file, static_cast<uint32_t>(4 + 8 + fmt.size() + 8 + data.size()));
  file += "WAVEfmt ";
  Put32(file, static_cast<uint32_t>(fmt.size()));
  file += fmt + "data";
  Put32(file, static_cast<uint32_t>(data.size()));
  return file + data;
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
