// SPDX-License-Identifier: Zlib
#include <cmath>

#include "Art.h"
#include "Interface.h"
#include "Look.h"
#include "Rng.h"

namespace datagen::ui {

Canvas Banner(Rng& rng, const std::string& title) {
  // Drawn at (240, 0), rocking by up to a degree; the screen's panels begin about 130 pixels
  // down, so the ribbon keeps to the upper 100 rows.
  Canvas canvas(512, 128);
  cairo_t* cr = canvas.cr();
  const double cx = 256, top = 16, bottom = 84;

  // Ribbon tails folded behind the plate.
  for (int side = -1; side <= 1; side += 2) {
    double inner = cx + side * 190, outer = cx + side * 246;
    art::Polygon(cr, {{inner, top + 14},
                      {outer, top + 14},
                      {outer - side * 16, (top + bottom) / 2 + 7},
                      {outer, bottom + 10},
                      {inner, bottom + 10}});
    art::FillVertical(cr, top, bottom + 10, Shade(look::kSea, 0.8), Shade(look::kDeep, 0.7));
    art::Polygon(cr, {{inner, bottom + 10}, {inner + side * 14, bottom}, {inner + side * 14, bottom + 10}});
    art::Fill(cr, look::kNight);
  }

  for (int i = 6; i >= 1; --i) {
    art::RoundedRect(cr, cx - 204 - i + 2, top - i + 4, 408 + 2 * i, bottom - top + 2 * i, 16 + i);
    art::Fill(cr, {0, 0, 0}, 0.05);
  }
  art::RoundedRect(cr, cx - 204, top, 408, bottom - top, 16);
  art::FillVertical(cr, top, bottom, Mix(look::kSea, look::kTeal, 0.35), look::kDeep, 1, true);
  art::Stroke(cr, 2.5, look::kGold);
  art::RoundedRect(cr, cx - 197, top + 6, 394, bottom - top - 12, 11);
  art::Stroke(cr, 1, look::kGold, 0.45);
  // A few sparkles on the plate.
  for (int i = 0; i < 10; ++i) {
    double x = cx + rng.Range(-185, 185), y = rng.Range(top + 10, bottom - 10);
    art::Glow(cr, x, y, rng.Range(3, 7), look::kMist, 0.25);
  }

  double size = 42;
  art::SelectFace(cr, art::Face::SerifBold, size);
  while (art::TextWidth(cr, title) > 340 && size > 20) art::SelectFace(cr, art::Face::SerifBold, size -= 2);
  const double baseline = (top + bottom) / 2 + size * 0.36;
  art::CenteredTextPath(cr, title, cx, baseline);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 5);
  art::SetColor(cr, look::kNight, 0.9);
  cairo_stroke_preserve(cr);
  art::FillVertical(cr, baseline - size * 0.75, baseline, Hex(0xFFF4D6), look::kGold);
  return canvas;
}

}  // namespace datagen::ui
