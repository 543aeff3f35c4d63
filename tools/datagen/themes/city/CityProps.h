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
void PaintBuilding(cairo_t* cr, const Scene& scene, const Item& it);
void PaintSign(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBalcony(cairo_t* cr, const Scene& scene, const Item& it);
void PaintWaterTank(cairo_t* cr, const Scene& scene, const Item& it);
void PaintAntenna(cairo_t* cr, const Scene& scene, const Item& it);
void PaintClock(cairo_t* cr, const Scene& scene, const Item& it);
void PaintFlag(cairo_t* cr, const Scene& scene, const Item& it);
void PaintLamp(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCar(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBus(cairo_t* cr, const Scene& scene, const Item& it);
void PaintTrafficLight(cairo_t* cr, const Scene& scene, const Item& it);
void PaintHydrant(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBench(cairo_t* cr, const Scene& scene, const Item& it);
void PaintTreePot(cairo_t* cr, const Scene& scene, const Item& it);
void PaintPerson(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCat(cairo_t* cr, const Scene& scene, const Item& it);
void PaintMoon(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCloud(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBirds(cairo_t* cr, const Scene& scene, const Item& it);
void PaintPlane(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBalloon(cairo_t* cr, const Scene& scene, const Item& it);
void PaintFirework(cairo_t* cr, const Scene& scene, const Item& it);
void PaintLantern(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBoat(cairo_t* cr, const Scene& scene, const Item& it);
void PaintStars(cairo_t* cr, const Scene& scene, const Item& it);

}  // namespace city
}  // namespace datagen
