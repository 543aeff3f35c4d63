#pragma once

#include <cairo.h>

#include "Color.h"
#include "Scene.h"

namespace datagen {

// The objects and waters of the sea pack, shared by the theme and the painters of its objects.
namespace sea {

enum Kind {
  kFish,
  kSchool,
  kJelly,
  kStar,
  kShell,
  kCrab,
  kTurtle,
  kSeahorse,
  kOctopus,
  kCoral,
  kBrain,
  kFan,
  kKelp,
  kWeed,
  kRock,
  kAnemone,
  kBubbles,
  kChest,
  kAnchor,
  kUrchin,
  kRay,
  kClam,
  kBottle,
  kWreck
};

// Things that swim are drawn in front of things on the sea floor.
inline constexpr double kSwimmerDepth = 1000;

struct Waters {
  const char* name;
  Rgb top, bottom, sandTop, sandBottom, light;
  double rays;  // strength of the light shafts
  bool glow;    // a night sea: jellyfish and some fish glow
};

const Waters& WatersOf(int mood);
inline constexpr int kMoods = 12;

// The painters of the objects, one a kind or a family of kinds.
void PaintFish(cairo_t* cr, const Scene& scene, const Item& it);
void PaintSchool(cairo_t* cr, const Scene& scene, const Item& it);
void PaintJelly(cairo_t* cr, const Scene& scene, const Item& it);
void PaintStar(cairo_t* cr, const Scene& scene, const Item& it);
void PaintShell(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCrab(cairo_t* cr, const Scene& scene, const Item& it);
void PaintTurtle(cairo_t* cr, const Scene& scene, const Item& it);
void PaintSeahorse(cairo_t* cr, const Scene& scene, const Item& it);
void PaintOctopus(cairo_t* cr, const Scene& scene, const Item& it);
void PaintCoral(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBrain(cairo_t* cr, const Scene& scene, const Item& it);
void PaintFan(cairo_t* cr, const Scene& scene, const Item& it);
void PaintKelp(cairo_t* cr, const Scene& scene, const Item& it);
void PaintWeed(cairo_t* cr, const Scene& scene, const Item& it);
void PaintRock(cairo_t* cr, const Scene& scene, const Item& it);
void PaintAnemone(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBubbles(cairo_t* cr, const Scene& scene, const Item& it);
void PaintChest(cairo_t* cr, const Scene& scene, const Item& it);
void PaintAnchor(cairo_t* cr, const Scene& scene, const Item& it);
void PaintUrchin(cairo_t* cr, const Scene& scene, const Item& it);
void PaintRay(cairo_t* cr, const Scene& scene, const Item& it);
void PaintClam(cairo_t* cr, const Scene& scene, const Item& it);
void PaintBottle(cairo_t* cr, const Scene& scene, const Item& it);
void PaintWreck(cairo_t* cr, const Scene& scene, const Item& it);

}  // namespace sea
}  // namespace datagen
