// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <vector>

#include "Files.h"

namespace datagen {

// Sound as floating-point samples in [-1, 1]; stereo samples are interleaved left, right.
struct Pcm {
  int rate = 44100;
  int channels = 1;
  std::vector<float> samples;

  double Seconds() const { return static_cast<double>(samples.size()) / channels / rate; }
};

// A canonical 16-bit PCM wave file. Samples beyond [-1, 1] are clamped, never wrapped.
Bytes EncodeWav(const Pcm& pcm);

}  // namespace datagen
