#pragma once

#include <cairo.h>

#include "Color.h"
#include "Scene.h"

namespace datagen {

// The table tops and things on them in the kitchen pack, seen from above.
namespace kitchen {

enum Kind {
  kPlate,
  kBowl,
  kCup,
  kGlass,
  kTeapot,
  kFork,
  kKnife,
  kSpoon,
  kNapkin,
  kApple,
  kOrange,
  kLemon,
  kBanana,
  kGrapes,
  kCherries,
  kStrawberry,
  kCookie,
  kDonut,
  kCake,
  kBread,
  kCheese,
  kEgg,
  kJar,
  kShaker,
  kVase,
  kCandle,
  kTomato,
  kLeaf,
  kSugar,
  kPizza
};

// What lies on a plate (item variant).
enum Food { kNothing, kFriedEgg, kToast, kPancakes, kPasta, kSalad, kSlice, kSushi };

struct Table {
  const char* name;
  int surface;  // 0 wood, 1 gingham, 2 stripes, 3 dots, 4 plain cloth
  Rgb base, pattern;
};

inline constexpr int kTables = 12;
const Table& TableOf(int mood);

void PaintItem(cairo_t* cr, const Scene& scene, const Item& item);

}  // namespace kitchen
}  // namespace datagen
