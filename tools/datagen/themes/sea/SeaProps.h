// SPDX-License-Identifier: Zlib
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
  double rays;        // strength of the light shafts
  bool glow = false;  // a night sea: jellyfish and some fish glow
};

const Waters& WatersOf(int mood);
inline constexpr int kMoods = 12;

// The painters of the objects, one a kind or a family of kinds.
PaintFunction PaintFish, PaintSchool, PaintJelly, PaintStar, PaintShell, PaintCrab, PaintTurtle,
    PaintSeahorse, PaintOctopus, PaintCoral, PaintBrain, PaintFan, PaintKelp, PaintWeed, PaintRock,
    PaintAnemone, PaintBubbles, PaintChest, PaintAnchor, PaintUrchin, PaintRay, PaintClam, PaintBottle,
    PaintWreck;

}  // namespace sea
}  // namespace datagen
