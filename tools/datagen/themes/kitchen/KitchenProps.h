// SPDX-License-Identifier: Zlib
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

// The painters of the objects, one a kind or a family of kinds.
PaintFunction PaintPlate, PaintBowl, PaintCup, PaintGlass, PaintTeapot, PaintNapkin, PaintLemon, PaintBanana,
    PaintStrawberry, PaintCookie, PaintDonut, PaintCake, PaintBread, PaintCheese, PaintEgg, PaintJar,
    PaintShaker, PaintVase, PaintCandle, PaintTomato, PaintLeaf, PaintSugar, PaintPizza, PaintFork,
    PaintKnife, PaintSpoon, PaintApple, PaintOrange, PaintGrapes, PaintCherries;

}  // namespace kitchen
}  // namespace datagen
