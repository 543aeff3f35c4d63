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
void PaintPlate(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBowl(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCup(cairo_t* cr, const Scene& scene, const Item& it);
void PaintGlass(cairo_t* cr, const Scene& scene, const Item& it);
void PaintTeapot(cairo_t* cr, const Scene& scene, const Item& it);
void PaintNapkin(cairo_t* cr, const Scene& scene, const Item& it);
void PaintLemon(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBanana(cairo_t* cr, const Scene& scene, const Item& it);
void PaintStrawberry(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCookie(cairo_t* cr, const Scene& scene, const Item& it);
void PaintDonut(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCake(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBread(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCheese(cairo_t* cr, const Scene& scene, const Item& it);
void PaintEgg(cairo_t* cr, const Scene& scene, const Item& it);
void PaintJar(cairo_t* cr, const Scene& scene, const Item& it);
void PaintShaker(cairo_t* cr, const Scene& scene, const Item& it);
void PaintVase(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCandle(cairo_t* cr, const Scene& scene, const Item& it);
void PaintTomato(cairo_t* cr, const Scene& scene, const Item& it);
void PaintLeaf(cairo_t* cr, const Scene& scene, const Item& it);
void PaintSugar(cairo_t* cr, const Scene& scene, const Item& it);
void PaintPizza(cairo_t* cr, const Scene& scene, const Item& it);
void PaintFork(cairo_t* cr, const Scene& scene, const Item& it);
void PaintKnife(cairo_t* cr, const Scene& scene, const Item& it);
void PaintSpoon(cairo_t* cr, const Scene& scene, const Item& it);
void PaintApple(cairo_t* cr, const Scene& scene, const Item& it);
void PaintOrange(cairo_t* cr, const Scene& scene, const Item& it);
void PaintGrapes(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCherries(cairo_t* cr, const Scene& scene, const Item& it);

}  // namespace kitchen
}  // namespace datagen
