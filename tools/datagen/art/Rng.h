// SPDX-License-Identifier: Zlib
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace datagen {

// A small generator of our own (SplitMix64), so the same seed gives the same data with any
// standard library: the distributions of <random> are not the same everywhere.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  // A generator for one part of the data: parts do not shift each other's numbers.
  Rng Fork(uint64_t salt) const { return Rng(Mix(state_ ^ Mix(salt + 0x51ED27A3B1C5F00DULL))); }

  uint64_t Next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    return Mix(state_);
  }
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
  int Int(int lo, int hiInclusive) {
    return lo + static_cast<int>(Next() % static_cast<uint64_t>(hiInclusive - lo + 1));
  }
  bool Chance(double p) { return Uniform() < p; }
  double Sign() { return Chance(0.5) ? 1.0 : -1.0; }
  // Roughly bell-shaped around 0 with the given spread.
  double Normal(double spread) { return (Uniform() + Uniform() + Uniform() - 1.5) * spread * 1.15; }

  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<size_t>(Int(0, static_cast<int>(items.size()) - 1))];
  }
  template <typename T>
  void Shuffle(std::vector<T>& items) {
    for (size_t i = items.size(); i > 1; --i) {
      size_t j = static_cast<size_t>(Next() % i);
      std::swap(items[i - 1], items[j]);
    }
  }

  static uint64_t Mix(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

 private:
  uint64_t state_;
};

}  // namespace datagen
