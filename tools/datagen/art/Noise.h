// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>

namespace datagen {

// Smooth value noise from a seed: clouds, water, grain and hill lines.
class Noise {
 public:
  explicit Noise(uint64_t seed) : seed_(seed) {}

  // Smooth noise in [0, 1] with features about one unit apart.
  double At(double x, double y) const;
  // Several octaves of At, also in [0, 1].
  double Fbm(double x, double y, int octaves, double gain = 0.5) const;
  // One-dimensional fractal line in [0, 1], for ridges and skylines.
  double Line(double x, int octaves) const { return Fbm(x, 0.37, octaves); }

 private:
  double Lattice(int64_t x, int64_t y) const;
  uint64_t seed_;
};

}  // namespace datagen
