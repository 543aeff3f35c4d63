// SPDX-License-Identifier: Zlib
#pragma once

#include <cairo.h>

#include <optional>
#include <span>
#include <stdexcept>
#include <string>

#include "Rng.h"
#include "Scene.h"

namespace datagen {

// Draws one object of a scene.
using Painter = PaintFunction*;

// An object's place in the drawing order: base + perFoot * the height of its anchor, so things
// standing lower on the picture can come nearer.
struct Depth {
  double base = 0;
  double perFoot = 0;
};

// The range an object's size is drawn from.
struct SizeRange {
  double min = 0, max = 0;
};

// Whether a difference may change how many of something an object shows, and up to how many.
enum class Counting {
  kNever,
  kAlways,
  kWhenAny  // only objects that were given some (a tree without fruit stays without)
};
struct Recount {
  Counting when = Counting::kNever;
  int max = 0;
};

// One kind of object of a theme: how it is drawn, how large it comes, what differences may do
// with it and which colours it takes. `Setting` is what the theme chose for the level (the night,
// the waters, the season ...) and what sizes and colours may depend on.
template <class Setting>
struct ObjectType {
  int kind = 0;
  Painter paint = nullptr;
  // The size is drawn first; an empty range leaves it to the palette, for objects whose size
  // depends on the setting or follows another draw.
  SizeRange size = {};
  Recount recount = {};
  bool mirrorable = false;
  bool scenery = false;  // part of the setting: never removed, moved or changed
  bool recedes = false;  // smaller the farther back it stands, where the setting has a perspective
  std::optional<Depth> depth = std::nullopt;  // none: as the setting laid it
  // Colours, and whatever else the object draws (variant, count, turn, side), in its own order.
  void (*palette)(Item& item, const Setting& setting, Rng& rng) = nullptr;
};

// The one routine that makes an object of a table. The draws come in a fixed order (seed, what the
// setting draws for every object, size, palette): another order would change every picture made
// from the same seed.
template <class Setting>
Item MakeObject(const ObjectType<Setting>& type, const Setting& setting, Rng& rng, double x, double y) {
  Item it;
  it.kind = type.kind;
  it.x = x;
  it.y = y;
  it.seed = rng.Next() | 1;
  if constexpr (requires { setting.Lay(it, rng); }) setting.Lay(it, rng);
  if (type.depth) it.depth = type.depth->base + type.depth->perFoot * y;
  if (type.size.max > 0) it.size = rng.Range(type.size.min, type.size.max);
  if constexpr (requires { setting.Perspective(y); })
    if (type.recedes) it.size *= setting.Perspective(y);
  it.scenery = type.scenery;
  if (type.palette) type.palette(it, setting, rng);
  return it;
}

// A theme whose objects are a table, one row a kind in the order of the kinds: painting and what
// differences may do are read from the rows.
template <class Setting>
class TableTheme : public Theme {
 public:
  void PaintItem(cairo_t* cr, const Scene& scene, const Item& item) const override {
    TypeOf(item.kind).paint(cr, scene, item);
  }
  bool Mirrorable(const Item& item) const override { return TypeOf(item.kind).mirrorable; }
  bool Countable(const Item& item) const override {
    const Counting when = TypeOf(item.kind).recount.when;
    return when == Counting::kAlways || (when == Counting::kWhenAny && item.count > 0);
  }
  int MaxCount(const Item& item) const override { return TypeOf(item.kind).recount.max; }

 protected:
  explicit TableTheme(std::span<const ObjectType<Setting>> objects) : objects_(objects) {}

  const ObjectType<Setting>& TypeOf(int kind) const {
    if (kind < 0 || static_cast<size_t>(kind) >= objects_.size() ||
        objects_[static_cast<size_t>(kind)].kind != kind)
      throw std::logic_error(PackName() + ": no row for object kind " + std::to_string(kind));
    return objects_[static_cast<size_t>(kind)];
  }
  Item Make(int kind, const Setting& setting, Rng& rng, double x, double y) const {
    return MakeObject(TypeOf(kind), setting, rng, x, y);
  }

 private:
  std::span<const ObjectType<Setting>> objects_;
};

}  // namespace datagen
