// SPDX-License-Identifier: Zlib
#pragma once

#include <cairo.h>

#include "Color.h"

namespace datagen {

// The one palette of the interface: a calm evening of deep blue and teal with a warm gold accent.
namespace look {

inline const Rgb kNight = Hex(0x0B1630);
inline const Rgb kDeep = Hex(0x14284A);
inline const Rgb kSea = Hex(0x1F5A6E);
inline const Rgb kTeal = Hex(0x3A9AA6);
inline const Rgb kMist = Hex(0xA9D6E0);
inline const Rgb kGold = Hex(0xF2C46D);
inline const Rgb kPeach = Hex(0xF0A878);
inline const Rgb kLavender = Hex(0x8C86C8);
inline const Rgb kIvory = Hex(0xF6F1E4);

// A pane of dark frosted glass with a thin light rim: every panel the game draws text on.
void GlassPanel(cairo_t* cr, double x, double y, double w, double h, double radius, double opacity = 0.82);

// Faint alternating bands behind list rows, so a row is easy to follow with the eye.
void RowBands(cairo_t* cr, double x, double y, double w, double rowHeight, double bandHeight, int rows);

// A small heading in gold letters with a dark outline.
void Heading(cairo_t* cr, const char* text, double cx, double baseline, double size);

// A thin gold ornament line with a diamond in the middle.
void Ornament(cairo_t* cr, double cx, double y, double halfWidth);

}  // namespace look
}  // namespace datagen
