// SPDX-License-Identifier: Zlib
#include "Wav.h"

#include <algorithm>
#include <cmath>

namespace datagen {

Bytes EncodeWav(const Pcm& pcm) {
  const uint32_t dataBytes = static_cast<uint32_t>(pcm.samples.size() * 2);
  const uint32_t channels = static_cast<uint32_t>(pcm.channels), rate = static_cast<uint32_t>(pcm.rate);
  Bytes out;
  out.reserve(44 + dataBytes);
  PutText(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutText(out, "WAVE");
  PutText(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, channels);
  Put32(out, rate);
  Put32(out, rate * channels * 2);
  Put16(out, channels * 2);
  Put16(out, 16);
  PutText(out, "data");
  Put32(out, dataBytes);
  for (float s : pcm.samples) {
    double v = std::clamp(static_cast<double>(s), -1.0, 1.0);
    auto q = static_cast<int32_t>(std::lround(v * 32767.0));
    Put16(out, static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(q))));
  }
  return out;
}

}  // namespace datagen
