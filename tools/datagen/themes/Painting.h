// SPDX-License-Identifier: Zlib
#pragma once

#include <cairo.h>

#include "Art.h"
#include "Rng.h"
#include "Scene.h"

namespace datagen {

// Turns what is drawn next about the object's anchor when the object faces the other way.
inline void Mirror(cairo_t* cr, const Item& it) {
  if (!it.flip) return;
  cairo_translate(cr, it.x, 0);
  cairo_scale(cr, -1, 1);
  cairo_translate(cr, -it.x, 0);
}

// A boat's hull on the water line at the anchor, facing right: the deck as long as the boat,
// `depth` above the keel, which runs from `stern` behind the anchor to `bow` ahead of it (in sizes).
inline void Hull(cairo_t* cr, const Item& it, double depth, double stern, double bow) {
  const double s = it.size;
  art::Polygon(cr, {{it.x - s * 0.5, it.y - s * depth},
                    {it.x + s * 0.5, it.y - s * depth},
                    {it.x + s * bow, it.y},
                    {it.x - s * stern, it.y}});
}

// A group of up to `most` small things (birds, fish) scattered about the object's anchor, up to
// spreadX and spreadY times its size either way, each from minScale to maxScale times its size.
// Every place is drawn whether shown or not, so a changed count adds or removes members without
// moving the others; the first `count` are drawn by member(x, y, size).
template <class Member>
void Scatter(const Item& it, int most, double spreadX, double spreadY, double minScale, double maxScale,
             Member member) {
  Rng rng(it.seed);
  for (int k = 0; k < most; ++k) {
    double x = it.x + rng.Range(-spreadX, spreadX) * it.size,
           y = it.y + rng.Range(-spreadY, spreadY) * it.size;
    double size = it.size * rng.Range(minScale, maxScale);
    if (k < it.count) member(x, y, size);
  }
}

// A mound as wide as the object standing on its anchor (a haystack, a brain coral), `rise` high at
// its curve's handles and lit like a ball from (it.x, lightY); lines(), drawn next, stay inside it.
template <class Lines>
void Mound(cairo_t* cr, const Item& it, double rise, double lightY, double radius, Lines lines) {
  const double half = it.size * 0.5;
  cairo_move_to(cr, it.x - half, it.y);
  cairo_curve_to(cr, it.x - half, it.y - rise, it.x + half, it.y - rise, it.x + half, it.y);
  cairo_close_path(cr);
  art::FillShaded(cr, it.x, lightY, radius, it.color, 1, true);
  cairo_save(cr);
  cairo_clip(cr);
  lines();
  cairo_restore(cr);
}

}  // namespace datagen
