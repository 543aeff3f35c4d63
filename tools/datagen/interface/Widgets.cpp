// SPDX-License-Identifier: Zlib
#include <cmath>

#include "Art.h"
#include "Filters.h"
#include "Interface.h"
#include "Look.h"
#include "Math.h"
#include "Noise.h"
#include "Rng.h"

namespace datagen::ui {

Canvas Cursor() {
  // The game draws the pointer at 40 % opacity and turns it about (1, 1) when something under it
  // can be clicked, so the tip sits at (1, 1) and the outline is bold.
  Canvas canvas(32, 32);
  cairo_t* cr = canvas.cr();
  auto arrow = [&](double dx, double dy) {
    art::Polygon(cr, {{1.5 + dx, 1.5 + dy},
                      {1.5 + dx, 24 + dy},
                      {7.5 + dx, 18.5 + dy},
                      {12 + dx, 28 + dy},
                      {16 + dx, 26 + dy},
                      {11.5 + dx, 16.8 + dy},
                      {19.5 + dx, 16.5 + dy}});
  };
  arrow(1.5, 1.5);
  art::Fill(cr, {0, 0, 0}, 0.35);
  arrow(0, 0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  art::FillVertical(cr, 1, 28, look::kIvory, look::kGold, 1, true);
  art::Stroke(cr, 1.6, look::kNight);
  return canvas;
}

Canvas Button() {
  // A 120 x 25 pill in the top-left corner of a 128 x 32 texture. The caption is written over it
  // in white, and the game tints it green, red or blue for its choices, so it is a light steel
  // blue that takes a tint well and keeps white text readable.
  Canvas canvas(128, 32);
  cairo_t* cr = canvas.cr();
  // The rim's outer edge stays inside the 120 x 25 the game reads, so nothing leaks past it.
  art::RoundedRect(cr, 1, 1, 118, 23, 11.5);
  art::FillVertical(cr, 0, 25, Hex(0x6A9CC8), Hex(0x24466E), 1, true);
  art::Stroke(cr, 1, look::kMist, 0.9);
  art::RoundedRect(cr, 4, 2.5, 112, 9, 5);
  art::FillLinear(cr, 0, 2.5, 0, 11.5, {{0, {1, 1, 1}, 0.45}, {1, {1, 1, 1}, 0.05}});
  return canvas;
}

Canvas Clue() {
  // A rosette that turns about (31.5, 31.5) under a red or green tint with a white digit on its
  // middle: light grey, so the tint decides its colour, and a darker centre for the digit.
  Canvas canvas(64, 64);
  cairo_t* cr = canvas.cr();
  const double c = 32;
  art::Star(cr, c, c, 31, 25, 12);
  art::FillShaded(cr, c, c, 31, Hex(0xE8E8E8));
  art::Ellipse(cr, c, c, 23, 23);
  art::Stroke(cr, 2, Hex(0xFFFFFF), 0.9);
  art::Ellipse(cr, c, c, 19, 19);
  cairo_pattern_t* g = cairo_pattern_create_radial(c - 5, c - 6, 2, c, c, 20);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.62, 0.62, 0.62);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.30, 0.30, 0.30);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (int i = 0; i < 12; ++i) {
    double a = i * kPi / 6;
    art::Ellipse(cr, c + std::cos(a) * 27.5, c + std::sin(a) * 27.5, 1.5, 1.5);
    art::Fill(cr, Hex(0x808080));
  }
  return canvas;
}

Canvas ClueSelection() {
  // Scaled onto each found difference: a bright ring that reads as "found" on any picture.
  Canvas canvas(64, 64);
  cairo_t* cr = canvas.cr();
  art::Ellipse(cr, 32, 32, 28.5, 28.5);
  art::Stroke(cr, 7, look::kNight, 0.75);
  art::Ellipse(cr, 32, 32, 28.5, 28.5);
  art::Stroke(cr, 4, Hex(0x7CF08A));
  art::Ellipse(cr, 32, 32, 24, 24);
  art::Stroke(cr, 1.2, Hex(0xD8FFE0), 0.7);
  return canvas;
}

Canvas Particles() {
  Canvas canvas(64, 32);
  cairo_t* cr = canvas.cr();
  // Cell (0, 0): a soft round light; cell (32, 0): a four-pointed sparkle. Both white, so the
  // game's tints colour them.
  cairo_pattern_t* g = cairo_pattern_create_radial(16, 16, 0, 16, 16, 15);
  cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 1);
  cairo_pattern_add_color_stop_rgba(g, 0.25, 1, 1, 1, 0.8);
  cairo_pattern_add_color_stop_rgba(g, 0.6, 1, 1, 1, 0.25);
  cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
  cairo_set_source(cr, g);
  cairo_arc(cr, 16, 16, 15, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(g);

  art::Glow(cr, 48, 16, 10, Hex(0xFFFFFF), 0.6);
  cairo_move_to(cr, 48, 1);
  cairo_curve_to(cr, 49.2, 13, 51, 14.8, 63, 16);
  cairo_curve_to(cr, 51, 17.2, 49.2, 19, 48, 31);
  cairo_curve_to(cr, 46.8, 19, 45, 17.2, 33, 16);
  cairo_curve_to(cr, 45, 14.8, 46.8, 13, 48, 1);
  cairo_close_path(cr);
  art::Fill(cr, Hex(0xFFFFFF), 0.95);
  return canvas;
}

// The time bar: a frame at (751, 94), 49 x 406; behind it the bar at (755, 94), whose inner
// channel (frame columns 8 to 40) is bar columns 4 to 36.
Canvas TimeBarFrame() {
  Canvas canvas(64, 512);
  cairo_t* cr = canvas.cr();
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  art::RoundedRect(cr, 1, 1, 47, 404, 12);
  art::RoundedRect(cr, 8, 12, 33, 382, 7);
  art::FillLinear(
      cr, 1, 0, 48, 0,
      {{0, {0.45, 0.36, 0.2}}, {0.3, {0.98, 0.86, 0.55}}, {0.55, {0.75, 0.6, 0.32}}, {1, {0.38, 0.28, 0.14}}},
      true);
  art::Stroke(cr, 1, look::kNight, 0.8);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  // Tick marks every tenth of the way.
  for (int i = 1; i < 10; ++i) {
    double y = 12 + 382.0 * i / 10;
    art::StrokeLine(cr, 2.5, y, 6.5, y, 1.4, look::kNight, 0.7);
    art::StrokeLine(cr, 42.5, y, 46.5, y, 1.4, look::kNight, 0.7);
  }
  // Glass over the channel: a long highlight on its left side.
  art::RoundedRect(cr, 12, 16, 5, 372, 2.5);
  art::Fill(cr, Hex(0xFFFFFF), 0.18);
  return canvas;
}

Canvas TimeBarBackground(Rng& rng) {
  // The window of 399 rows slides down as time passes, so the whole 799 rows carry an even
  // pattern: a dark channel with slanted stripes.
  Canvas canvas(64, 1024);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 45, 800);
  art::FillLinear(cr, 0, 0, 45, 0, {{0, look::kNight}, {0.45, look::kDeep}, {1, look::kNight}});
  for (int y = -60; y < 820; y += 14) art::StrokeLine(cr, 0, y + 30, 45, y, 4, look::kTeal, 0.12);
  for (int i = 0; i < 40; ++i) {
    double y = rng.Range(0, 800), x = rng.Range(8, 34);
    art::Glow(cr, x, y, rng.Range(1.5, 3), look::kMist, 0.2);
  }
  return canvas;
}

Canvas TimeBarFilling(Rng& rng) {
  // The top rows of the filling are always its visible top edge: a bright rim; the body is a
  // glowing turquoise column, lit from the left like the glass around it.
  Canvas canvas(64, 512);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 45, 406);
  art::FillLinear(
      cr, 0, 0, 45, 0,
      {{0, {0.05, 0.35, 0.42}}, {0.3, {0.35, 0.9, 0.85}}, {0.6, {0.15, 0.65, 0.7}}, {1, {0.04, 0.28, 0.36}}});
  cairo_rectangle(cr, 0, 0, 45, 406);
  art::FillLinear(cr, 0, 0, 0, 406, {{0, {1, 1, 1}, 0}, {1, {0.05, 0.1, 0.3}, 0.45}});
  cairo_rectangle(cr, 0, 0, 45, 4);
  art::Fill(cr, Hex(0xE8FFFA), 0.9);
  for (int i = 0; i < 30; ++i) {
    double x = rng.Range(9, 33), y = rng.Range(10, 400), r = rng.Range(1, 2.6);
    art::Ellipse(cr, x, y, r, r);
    art::Stroke(cr, 0.8, Hex(0xFFFFFF), 0.45);
  }
  return canvas;
}

}  // namespace datagen::ui
