// SPDX-License-Identifier: Zlib
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "Color.h"
#include "Rng.h"
#include "Scene.h"

namespace datagen {

// The valley's objects and settings, shared by the theme and the painters of its objects.
namespace valley {

enum Kind {
  kTree,
  kPine,
  kHouse,
  kBarn,
  kWindmill,
  kFence,
  kSheep,
  kCow,
  kFlowers,
  kRock,
  kBush,
  kHaystack,
  kBalloon,
  kBirds,
  kKite,
  kScarecrow,
  kSnowman,
  kPumpkin,
  kDuck,
  kBoat,
  kWell
};
enum Season { kSpring, kSummer, kAutumn, kWinter };
enum Time { kMorning, kNoon, kGolden, kDusk };
enum Water { kDry, kLake, kRiver };
enum Layout { kFarm, kVillage, kOrchard, kForest };

struct Mood {
  Season season;
  Time time;
  Water water;
  Layout layout;
  double horizon;
};

inline Mood MoodOf(const Scene& s) {
  return {static_cast<Season>(s.mood[0]), static_cast<Time>(s.mood[1]), static_cast<Water>(s.mood[2]),
          static_cast<Layout>(s.mood[3]), s.mood[4]};
}

inline const char* kSeasonNames[] = {"Spring", "Summer", "Autumn", "Winter"};
inline const char* kTimeNames[] = {"morning", "noon", "evening", "dusk"};

// The grass of each season, near the viewer and towards the horizon (snow in winter).
inline Rgb GrassNear(Season s) {
  static const Rgb kNear[] = {Hex(0x7CC25A), Hex(0x5EA843), Hex(0xA9A04A), Hex(0xE8F0F6)};
  return kNear[s < kWinter ? s : kWinter];
}
inline Rgb GrassFar(Season s) {
  static const Rgb kFar[] = {Hex(0x9AD07A), Hex(0x86B860), Hex(0xC8A458), Hex(0xD2E0EC)};
  return kFar[s < kWinter ? s : kWinter];
}
inline Rgb Canopy(Season s, Rng& rng) {
  switch (s) {
    case kSpring:
      return rng.Chance(0.3) ? Hex(0xF2B8CC) : Hsv(rng.Range(0.24, 0.3), 0.6, 0.72);
    case kSummer:
      return Hsv(rng.Range(0.25, 0.33), 0.62, rng.Range(0.5, 0.65));
    case kAutumn:
      return Hsv(rng.Range(0.02, 0.12), 0.78, rng.Range(0.72, 0.9));
    default:
      return Hex(0x6E5A4A);
  }
}

// Ground objects grow toward the viewer.
inline double Perspective(const Mood& m, double y, double height) {
  return 0.38 + 0.95 * std::clamp((y - m.horizon) / (height - m.horizon), 0.0, 1.2);
}

inline bool OnWater(const Mood& m, double x, double y, double width) {
  if (m.water == kLake)
    return y > m.horizon + 2 && y < m.horizon + 30 && x > width * 0.25 && x < width * 0.85;
  if (m.water == kRiver) {
    double centre = width * 0.55 + std::sin((y - m.horizon) / 40.0) * 40 + (y - m.horizon) * 0.6;
    double half = 6 + (y - m.horizon) * 0.22;
    return y > m.horizon && std::fabs(x - centre) < half + 6;
  }
  return false;
}

// The painters of the objects, one a kind or a family of kinds.
PaintFunction PaintTree, PaintPine, PaintHouse, PaintBarn, PaintWindmill, PaintFence, PaintSheep, PaintCow,
    PaintFlowers, PaintRock, PaintBush, PaintHaystack, PaintBalloon, PaintBirds, PaintKite, PaintScarecrow,
    PaintSnowman, PaintPumpkin, PaintDuck, PaintBoat, PaintWell;

}  // namespace valley
}  // namespace datagen
