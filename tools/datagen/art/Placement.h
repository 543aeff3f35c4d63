// SPDX-License-Identifier: Zlib
#pragma once

#include <cmath>
#include <vector>

#include "Rng.h"
#include "Scene.h"

namespace datagen {

// Helps a theme spread its objects: a spot is free when no object already placed stands
// closer than the sum of the two radii times `closeness`.
class Placement {
 public:
  bool Free(double x, double y, double radius, double closeness = 0.8) const {
    for (const Spot& s : spots_)
      if (std::hypot(s.x - x, s.y - y) < (s.r + radius) * closeness) return false;
    return true;
  }
  void Take(double x, double y, double radius) { spots_.push_back({x, y, radius}); }

  // Tries a few random spots in the box and takes the first free one.
  bool Find(Rng& rng, double x0, double y0, double x1, double y1, double radius, double& x, double& y,
            double closeness = 0.8, int tries = 30) {
    for (int i = 0; i < tries; ++i) {
      x = rng.Range(x0, x1);
      y = rng.Range(y0, y1);
      if (Free(x, y, radius, closeness)) {
        Take(x, y, radius);
        return true;
      }
    }
    return false;
  }

 private:
  struct Spot {
    double x, y, r;
  };
  std::vector<Spot> spots_;
};

}  // namespace datagen
