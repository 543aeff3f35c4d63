// SPDX-License-Identifier: Zlib
#include "platform/Wav.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tovak2d::platform::wav {
namespace {

constexpr uint16_t kFormatPcm = 0x0001;
constexpr uint16_t kFormatImaAdpcm = 0x0011;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// No effect needs more: the largest sound buffer the old sound system would make.
constexpr size_t kMaxDecodedBytes = 256u << 20;

struct Format {
  uint16_t tag = 0;
  int channels = 0, rate = 0, blockAlign = 0, bits = 0;
  int samplesPerBlock = 0;  // IMA ADPCM only; 0 when the file does not say
};

uint16_t Read16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

uint32_t Read32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(Read16(b, at)) | static_cast<uint32_t>(Read16(b, at + 2)) << 16;
}

std::optional<audio::Pcm> Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return std::nullopt;
}

std::optional<Format> ParseFormat(std::string_view body, std::string* error) {
  if (body.size() < 16) {
    if (error) *error = "the format chunk is too short";
    return std::nullopt;
  }
  Format f;
  f.tag = Read16(body, 0);
  f.channels = Read16(body, 2);
  f.rate = static_cast<int>(std::min<uint32_t>(Read32(body, 4), 1u << 30));
  f.blockAlign = Read16(body, 12);
  f.bits = Read16(body, 14);
  if (f.tag == kFormatExtensible && body.size() >= 26) f.tag = Read16(body, 24);  // the sub-format
  if (f.tag == kFormatImaAdpcm && body.size() >= 20) f.samplesPerBlock = Read16(body, 18);
  return f;
}

std::optional<audio::Pcm> DecodePcm(const Format& f, std::string_view data, std::string* error) {
  if (f.bits != 8 && f.bits != 16)
    return Fail(error, "PCM of " + std::to_string(f.bits) + " bits is not supported");
  const size_t bytesPerSample = static_cast<size_t>(f.bits / 8);
  const size_t frameBytes = bytesPerSample * static_cast<size_t>(f.channels);
  const size_t samples = data.size() / frameBytes * static_cast<size_t>(f.channels);
  audio::Pcm pcm;
  pcm.channels = f.channels;
  pcm.rate = f.rate;
  pcm.samples.resize(samples);
  for (size_t i = 0; i < samples; ++i) {
    if (f.bits == 8)
      pcm.samples[i] = static_cast<int16_t>((static_cast<int>(static_cast<uint8_t>(data[i])) - 128) * 256);
    else
      pcm.samples[i] = static_cast<int16_t>(Read16(data, i * 2));
  }
  return pcm;
}

constexpr std::array<int, 89> kImaSteps = {
    7,    8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,   28,
    31,   34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,  118,
    130,  143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,  494,
    544,  598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878, 2066,
    2272, 2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845, 8630,
    9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<int, 16> kImaIndexSteps = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

struct ImaChannel {
  int predictor = 0;
  int index = 0;

  int16_t Next(int nibble) {
    const int step = kImaSteps[static_cast<size_t>(index)];
    int diff = step >> 3;
    if (nibble & 1) diff += step >> 2;
    if (nibble & 2) diff += step >> 1;
    if (nibble & 4) diff += step;
    predictor += (nibble & 8) ? -diff : diff;
    predictor = std::clamp(predictor, -32768, 32767);
    index = std::clamp(index + kImaIndexSteps[static_cast<size_t>(nibble)], 0, 88);
    return static_cast<int16_t>(predictor);
  }
};

std::optional<audio::Pcm> DecodeIma(const Format& f, std::string_view data, std::string* error) {
  const size_t channels = static_cast<size_t>(f.channels);
  const size_t header = 4 * channels;
  const size_t block = static_cast<size_t>(f.blockAlign);
  // Stereo data comes in groups of 4 bytes per channel.
  if (f.bits != 4 || block <= header || (channels == 2 && (block - header) % 8 != 0))
    return Fail(error, "the IMA ADPCM block layout is invalid");
  const size_t fullBlockFrames = (block - header) * 2 / channels + 1;
  const size_t blockFrames = f.samplesPerBlock > 0
                                 ? std::min(static_cast<size_t>(f.samplesPerBlock), fullBlockFrames)
                                 : fullBlockFrames;

  audio::Pcm pcm;
  pcm.channels = f.channels;
  pcm.rate = f.rate;
  pcm.samples.reserve((data.size() / block + 1) * blockFrames * channels);
  for (size_t at = 0; at + header <= data.size(); at += block) {
    const std::string_view b = data.substr(at, std::min(block, data.size() - at));
    std::array<ImaChannel, 2> state;
    for (size_t c = 0; c < channels; ++c) {
      state[c].predictor = static_cast<int16_t>(Read16(b, c * 4));
      state[c].index = std::min<int>(static_cast<uint8_t>(b[c * 4 + 2]), 88);
      pcm.samples.push_back(static_cast<int16_t>(state[c].predictor));
    }
    // Frames this (possibly cut short) block can still give after its header frame.
    const size_t body = b.size() - header;
    const size_t available = channels == 1 ? body * 2 : body / 8 * 8;
    const size_t frames = std::min(blockFrames - 1, available);
    if (channels == 1) {
      for (size_t i = 0; i < frames; ++i) {
        const auto byte = static_cast<uint8_t>(b[header + i / 2]);
        pcm.samples.push_back(state[0].Next(i % 2 == 0 ? byte & 0x0F : byte >> 4));
      }
    } else {
      const size_t start = pcm.samples.size();
      pcm.samples.resize(start + frames * 2);
      for (size_t c = 0; c < 2; ++c) {
        for (size_t i = 0; i < frames; ++i) {
          // Groups of 8 bytes: 4 for the left channel (8 samples), then 4 for the right.
          const size_t group = i / 8, inGroup = i % 8;
          const auto byte = static_cast<uint8_t>(b[header + group * 8 + c * 4 + inGroup / 2]);
          pcm.samples[start + i * 2 + c] = state[c].Next(inGroup % 2 == 0 ? byte & 0x0F : byte >> 4);
        }
      }
    }
  }
  return pcm;
}

}  // namespace

std::optional<audio::Pcm> Decode(std::string_view bytes, std::string* error) {
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
    return Fail(error, "not a RIFF wave file");

  std::optional<Format> format;
  std::optional<std::string_view> data;
  std::optional<uint32_t> factFrames;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string_view id = bytes.substr(at, 4);
    const uint64_t length = Read32(bytes, at + 4);
    const size_t bodyStart = at + 8;
    // A chunk that claims more than the file holds is taken as far as it goes.
    const std::string_view body =
        bytes.substr(bodyStart, static_cast<size_t>(std::min<uint64_t>(length, bytes.size() - bodyStart)));
    if (id == "fmt " && !format) {
      format = ParseFormat(body, error);
      if (!format) return std::nullopt;
    } else if (id == "data" && !data) {
      data = body;
    } else if (id == "fact" && body.size() >= 4) {
      factFrames = Read32(body, 0);
    }
    const uint64_t next = bodyStart + length + (length & 1);
    if (next >= bytes.size()) break;
    at = static_cast<size_t>(next);
  }
  if (!format) return Fail(error, "the file has no format chunk");
  if (!data) return Fail(error, "the file has no data chunk");
  if (format->channels < 1 || format->channels > 2)
    return Fail(error, std::to_string(format->channels) + " channels are not supported");
  if (format->rate < audio::kMinFrequency || format->rate > audio::kMaxFrequency)
    return Fail(error, "the sample rate " + std::to_string(format->rate) + " Hz is not supported");

  std::optional<audio::Pcm> pcm;
  if (format->tag == kFormatPcm) {
    if (data->size() / std::max(format->bits / 8, 1) * 2 > kMaxDecodedBytes)
      return Fail(error, "the sound is too long");
    pcm = DecodePcm(*format, *data, error);
  } else if (format->tag == kFormatImaAdpcm) {
    if (data->size() * 4 > kMaxDecodedBytes) return Fail(error, "the sound is too long");
    pcm = DecodeIma(*format, *data, error);
    // The fact chunk counts the frames really meant; the last block is usually padded.
    if (pcm && factFrames && *factFrames < pcm->Frames())
      pcm->samples.resize(static_cast<size_t>(*factFrames) * static_cast<size_t>(pcm->channels));
  } else {
    return Fail(error, "wave format " + std::to_string(format->tag) + " is not supported");
  }
  if (pcm && pcm->Frames() == 0) return Fail(error, "the file holds no sound");
  return pcm;
}

}  // namespace tovak2d::platform::wav
