// SPDX-License-Identifier: Zlib
#include "Noise.h"

#include <cmath>

#include "Rng.h"

namespace datagen {

double Noise::Lattice(int64_t x, int64_t y) const {
  uint64_t h = Rng::Mix(seed_ ^ Rng::Mix(static_cast<uint64_t>(x) * 0x9E3779B1ULL + 0x632BE5ABULL) ^
                        Rng::Mix(static_cast<uint64_t>(y) * 0x85EBCA77ULL + 0x27D4EB2FULL));
  return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

double Noise::At(double x, double y) const {
  double fx = std::floor(x), fy = std::floor(y);
  int64_t ix = static_cast<int64_t>(fx), iy = static_cast<int64_t>(fy);
  double tx = x - fx, ty = y - fy;
  // Quintic easing keeps the noise free of visible lattice lines.
  tx = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
  ty = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
  double a = Lattice(ix, iy), b = Lattice(ix + 1, iy);
  double c = Lattice(ix, iy + 1), d = Lattice(ix + 1, iy + 1);
  double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double Noise::Fbm(double x, double y, int octaves, double gain) const {
  double sum = 0, amplitude = 1, total = 0, frequency = 1;
  for (int i = 0; i < octaves; ++i) {
    // Each octave is offset so the lattice points of the octaves do not line up.
    sum += amplitude * At(x * frequency + i * 17.31, y * frequency - i * 9.77);
    total += amplitude;
    amplitude *= gain;
    frequency *= 2.03;
  }
  return sum / total;
}

}  // namespace datagen
