#pragma once

#include <cairo.h>

#include "Scene.h"

namespace datagen {

// Turns what is drawn next about the object's anchor when the object faces the other way.
inline void Mirror(cairo_t* cr, const Item& it) {
  if (!it.flip) return;
  cairo_translate(cr, it.x, 0);
  cairo_scale(cr, -1, 1);
  cairo_translate(cr, -it.x, 0);
}

}  // namespace datagen
