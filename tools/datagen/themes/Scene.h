// SPDX-License-Identifier: Zlib
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Color.h"

namespace datagen {

class Rng;

// One object of an illustration. What the fields mean in detail is the theme's business; the
// differences change them in the same general ways for every theme.
struct Item {
  int kind = 0;          // which object (theme-specific)
  int variant = 0;       // a shape variation of that object
  double x = 0, y = 0;   // anchor: usually the object's foot or centre
  double size = 10;      // overall size in pixels
  double angle = 0;      // rotation in radians (where the object turns)
  Rgb color, accent;     // main and secondary colour
  bool flip = false;     // mirrored left to right
  int count = 0;         // something countable on it: petals, windows, fruit, stripes ...
  uint64_t seed = 0;     // fine details
  double depth = 0;      // drawing order: larger is nearer and drawn later
  bool scenery = false;  // part of the setting: never removed, moved or changed
};

// The setting of one level: sizes, the mood (time of day, season, palette) and the objects.
struct Scene {
  int width = 0, height = 0;
  int level = 0;
  uint64_t seed = 0;         // background details
  std::vector<double> mood;  // theme-specific numbers chosen per level
  std::string caption;       // the level's caption; "[e]" breaks a line
  std::vector<Item> items;
};

// What every painter of one object is: the themes' props declare their painters with it.
using PaintFunction = void(cairo_t* cr, const Scene& scene, const Item& item);

// A family of illustrations: how a pack's levels are set, populated and painted.
class Theme {
 public:
  virtual ~Theme() = default;
  virtual std::string PackName() const = 0;     // the pack's file name without ".vnl"
  virtual std::string Description() const = 0;  // shown on the pack selection screen
  virtual bool Vertical() const = 0;            // 256 x 380 when true, 380 x 256 otherwise
  virtual int Levels() const { return 12; }

  // The setting and objects of level `level` (1-based); every level differs in setting and layout.
  virtual Scene Compose(int level, Rng& rng) const = 0;
  virtual void PaintBackground(cairo_t* cr, const Scene& scene) const = 0;
  virtual void PaintItem(cairo_t* cr, const Scene& scene, const Item& item) const = 0;
  // Painted over everything (light, haze); must act on each pixel alone.
  virtual void PaintOverlay(cairo_t*, const Scene&) const {}

  // What a difference may do with an item.
  virtual bool Mirrorable(const Item& item) const = 0;
  virtual bool Countable(const Item& item) const = 0;
  virtual int MaxCount(const Item&) const { return 9; }
  // A new object for an "added" difference, standing at about (x, y).
  virtual Item NewItem(const Scene& scene, Rng& rng, double x, double y) const = 0;

  int Width() const { return Vertical() ? 256 : 380; }
  int Height() const { return Vertical() ? 380 : 256; }

 protected:
  // A level's scene of the theme's size, with its own seed drawn from rng.
  Scene NewScene(int level, Rng& rng) const;
};

}  // namespace datagen
