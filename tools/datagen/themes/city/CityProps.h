// SPDX-License-Identifier: Zlib
#pragma once

#include <cairo.h>

#include "Color.h"
#include "Scene.h"

namespace datagen {

// The objects and nights of the city pack, shared by the theme and the painters of its objects.
namespace city {

enum Kind {
  kBuilding,
  kTower,
  kSign,
  kBalcony,
  kWaterTank,
  kAntenna,
  kClock,
  kFlag,
  kLamp,
  kCar,
  kBus,
  kTrafficLight,
  kHydrant,
  kBench,
  kTreePot,
  kPerson,
  kCat,
  kMoon,
  kCloud,
  kBirds,
  kPlane,
  kBalloon,
  kFirework,
  kLantern,
  kBoat,
  kStars
};

struct Night {
  const char* name;
  Rgb skyTop, skyLow, glow, street;
  bool rain, snow, harbour, fog;
};

inline constexpr int kNights = 12;
const Night& NightOf(int mood);

// Shared by the theme: the street's top edge and the pavement kerb.
inline constexpr double kStreetTop = 318;

// The painters of the objects, one a kind or a family of kinds.
PaintFunction PaintBuilding, PaintSign, PaintBalcony, PaintWaterTank, PaintAntenna, PaintClock, PaintFlag,
    PaintLamp, PaintCar, PaintBus, PaintTrafficLight, PaintHydrant, PaintBench, PaintTreePot, PaintPerson,
    PaintCat, PaintMoon, PaintCloud, PaintBirds, PaintPlane, PaintBalloon, PaintFirework, PaintLantern,
    PaintBoat, PaintStars;

}  // namespace city
}  // namespace datagen
