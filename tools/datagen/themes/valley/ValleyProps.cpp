// SPDX-License-Identifier: Zlib
#include "ValleyProps.h"

#include <algorithm>
#include <cmath>

#include "Art.h"
#include "Math.h"
#include "Painting.h"
#include "Rng.h"

namespace datagen::valley {

static void Shadow(cairo_t* cr, const Item& it, double width) {
  art::GroundShadow(cr, it.x + width * 0.15, it.y, width * 0.6, width * 0.12, 0.28);
}

// What stands on the ground facing one way: its shadow, then the drawing mirrored when it faces the
// other way (the light does not turn with it).
static void Stand(cairo_t* cr, const Item& it, double shadowWidth) {
  Shadow(cr, it, shadowWidth);
  Mirror(cr, it);
}

void PaintTree(cairo_t* cr, const Scene& scene, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  Stand(cr, it, s * 0.45);
  art::Polygon(cr, {{it.x - s * 0.05, it.y},
                    {it.x - s * 0.03, it.y - s * 0.5},
                    {it.x + s * 0.03, it.y - s * 0.5},
                    {it.x + s * 0.06, it.y}});
  art::Fill(cr, Hex(0x5C3E28));
  const double cy = it.y - s * 0.62, r = s * 0.36;
  if (MoodOf(scene).season == kWinter) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int b = 0; b < 7; ++b) {
      double a = -kPi / 2 + rng.Range(-1.1, 1.1);
      double len = r * rng.Range(0.6, 1.1);
      double bx = it.x, by = it.y - s * rng.Range(0.35, 0.55);
      art::StrokeLine(cr, bx, by, bx + std::cos(a) * len, by + std::sin(a) * len, s * 0.025, Hex(0x4E3A2C));
      art::StrokeLine(cr, bx + std::cos(a) * len * 0.6, by + std::sin(a) * len * 0.6 - 1,
                      bx + std::cos(a) * len * 0.95, by + std::sin(a) * len * 0.95 - 1, s * 0.02,
                      Hex(0xFFFFFF), 0.9);
    }
    return;
  }
  for (int k = 0; k < 6; ++k) {
    double bx = it.x + rng.Range(-0.55, 0.55) * r, by = cy + rng.Range(-0.45, 0.35) * r;
    double br = r * rng.Range(0.5, 0.75);
    art::Blob(cr, rng, bx, by, br, br * 0.92, 7, 0.12);
    art::FillShaded(cr, bx - r * 0.2, by - r * 0.2, br * 1.4, Shade(it.color, rng.Range(0.85, 1.05)));
  }
  // Fruit or blossom: the first `count` of nine fixed spots.
  Rng spots(it.seed ^ 0xF00D);
  for (int k = 0; k < 9; ++k) {
    double a = spots.Range(0, 2 * kPi), d = std::sqrt(spots.Uniform()) * r * 0.75;
    if (k >= it.count) continue;
    double fx = it.x + std::cos(a) * d, fy = cy + std::sin(a) * d * 0.8, fr = std::max(1.8, s * 0.055);
    art::Ellipse(cr, fx, fy, fr, fr);
    art::FillShaded(cr, fx, fy, fr, it.accent);
  }
}

void PaintPine(cairo_t* cr, const Scene& scene, const Item& it) {
  const double s = it.size, w = s * 0.38;
  Shadow(cr, it, w);
  cairo_rectangle(cr, it.x - s * 0.03, it.y - s * 0.18, s * 0.06, s * 0.18);
  art::Fill(cr, Hex(0x4A3426));
  const bool snow = MoodOf(scene).season == kWinter;
  for (int tier = 0; tier < 4; ++tier) {
    double top = it.y - s + tier * s * 0.19, bottom = it.y - s * 0.14 - (3 - tier) * s * 0.13;
    double half = w * (0.38 + tier * 0.2);
    art::Polygon(cr, {{it.x, top}, {it.x + half, bottom}, {it.x - half, bottom}});
    art::FillLinear(cr, it.x - half, 0, it.x + half, 0,
                    {{0, Shade(it.color, 1.2)}, {1, Shade(it.color, 0.65)}});
    if (snow) {
      art::Polygon(cr, {{it.x, top},
                        {it.x + half * 0.45, top + (bottom - top) * 0.45},
                        {it.x - half * 0.45, top + (bottom - top) * 0.45}});
      art::Fill(cr, Hex(0xF4F8FF));
    }
  }
}

static void Window(cairo_t* cr, double x, double y, double w, double h, bool lit) {
  cairo_rectangle(cr, x, y, w, h);
  art::Fill(cr, Hex(0xF4EEDC));
  cairo_rectangle(cr, x + 0.8, y + 0.8, w - 1.6, h - 1.6);
  art::Fill(cr, lit ? Hex(0xFFD47A) : Hex(0x41586E));
  art::StrokeLine(cr, x + w / 2, y + 0.8, x + w / 2, y + h - 0.8, 0.6, Hex(0xF4EEDC));
}

void PaintHouse(cairo_t* cr, const Scene& scene, const Item& it) {
  const double s = it.size, w = s * 0.95, wall = s * 0.5, roof = s * 0.42;
  Stand(cr, it, w * 0.7);
  const double left = it.x - w / 2, base = it.y;
  // Chimney on the left of the roof (mirrored houses have it on the right).
  cairo_rectangle(cr, left + w * 0.18, base - wall - roof * 0.85, w * 0.1, roof * 0.5);
  art::Fill(cr, Shade(it.accent, 0.7));
  cairo_rectangle(cr, left, base - wall, w, wall);
  art::FillVertical(cr, base - wall, base, Shade(it.color, 1.08), Shade(it.color, 0.85));
  art::Polygon(cr, {{left - w * 0.07, base - wall + 0.5},
                    {it.x, base - wall - roof},
                    {left + w * 1.07, base - wall + 0.5}});
  art::FillVertical(cr, base - wall - roof, base - wall, Shade(it.accent, 1.1), Shade(it.accent, 0.7));
  if (MoodOf(scene).season == kWinter) {
    art::Polygon(cr, {{left - w * 0.07, base - wall + 0.5},
                      {it.x, base - wall - roof},
                      {left + w * 1.07, base - wall + 0.5},
                      {left + w * 0.9, base - wall - roof * 0.25},
                      {it.x, base - wall - roof * 0.8},
                      {left + w * 0.1, base - wall - roof * 0.25}});
    art::Fill(cr, Hex(0xF6FAFF));
  }
  // The door stands left of centre; windows fill the rest of the front.
  const double dw = w * 0.2, dh = wall * 0.62;
  cairo_rectangle(cr, left + w * 0.12, base - dh, dw, dh);
  art::Fill(cr, Hex(0x6A4430));
  const int windows = std::max(1, it.count);
  const double ww = std::min(w * 0.16, (w * 0.58) / windows - 1.5), wh = wall * 0.36;
  for (int k = 0; k < windows; ++k) {
    double wx = left + w * 0.38 + k * (w * 0.58 / windows);
    Window(cr, wx, base - wall * 0.75, ww, wh, MoodOf(scene).time == kDusk);
  }
}

void PaintBarn(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size, w = s * 1.1, wall = s * 0.52, roof = s * 0.4;
  Stand(cr, it, w * 0.7);
  const double left = it.x - w / 2, base = it.y;
  art::Polygon(cr, {{left, base},
                    {left, base - wall},
                    {left + w * 0.18, base - wall - roof * 0.7},
                    {it.x, base - wall - roof},
                    {left + w * 0.82, base - wall - roof * 0.7},
                    {left + w, base - wall},
                    {left + w, base}});
  art::FillVertical(cr, base - wall - roof, base, Shade(it.color, 1.1), Shade(it.color, 0.8));
  cairo_move_to(cr, left - 1, base - wall);
  cairo_line_to(cr, left + w * 0.18, base - wall - roof * 0.7);
  cairo_line_to(cr, it.x, base - wall - roof);
  cairo_line_to(cr, left + w * 0.82, base - wall - roof * 0.7);
  cairo_line_to(cr, left + w + 1, base - wall);
  art::Stroke(cr, std::max(1.5, s * 0.05), it.accent);
  // The big door sits right of centre with its cross brace.
  const double dx = it.x + w * 0.02, dw = w * 0.34, dh = wall * 0.8;
  cairo_rectangle(cr, dx, base - dh, dw, dh);
  art::SetColor(cr, Shade(it.color, 0.7));
  cairo_fill_preserve(cr);
  cairo_move_to(cr, dx, base - dh);
  cairo_line_to(cr, dx + dw, base);
  cairo_move_to(cr, dx + dw, base - dh);
  cairo_line_to(cr, dx, base);
  art::Stroke(cr, std::max(1.0, s * 0.03), it.accent);
  // Loft windows.
  for (int k = 0; k < std::max(1, it.count); ++k) {
    double wx = it.x - w * 0.3 + k * w * 0.12;
    cairo_rectangle(cr, wx, base - wall - roof * 0.35, w * 0.08, wall * 0.22);
    art::Fill(cr, it.accent);
  }
}

void PaintWindmill(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Stand(cr, it, s * 0.3);
  const double base = it.y, top = it.y - s * 0.62;
  art::Polygon(
      cr, {{it.x - s * 0.15, base}, {it.x - s * 0.08, top}, {it.x + s * 0.08, top}, {it.x + s * 0.15, base}});
  art::FillLinear(cr, it.x - s * 0.15, 0, it.x + s * 0.15, 0,
                  {{0, Shade(it.color, 1.1)}, {1, Shade(it.color, 0.7)}});
  art::Polygon(cr, {{it.x - s * 0.11, top + 1}, {it.x, top - s * 0.12}, {it.x + s * 0.11, top + 1}});
  art::Fill(cr, it.accent);
  cairo_rectangle(cr, it.x - s * 0.1, base - s * 0.16, s * 0.07, s * 0.16);
  art::Fill(cr, Hex(0x5A4030));
  const int sails = std::clamp(it.count, 3, 8);
  const double hub = top - s * 0.02;
  for (int k = 0; k < sails; ++k) {
    double a = it.angle + k * 2 * kPi / sails;
    cairo_save(cr);
    cairo_translate(cr, it.x, hub);
    cairo_rotate(cr, a);
    cairo_rectangle(cr, s * 0.04, -s * 0.035, s * 0.42, s * 0.1);
    art::Fill(cr, Hex(0xF2EAD8), 0.95);
    art::StrokeLine(cr, 0, 0, s * 0.46, 0, std::max(1.0, s * 0.02), Hex(0x5A4030));
    cairo_restore(cr);
  }
  art::Ellipse(cr, it.x, hub, s * 0.035, s * 0.035);
  art::Fill(cr, Hex(0x3A2A20));
}

void PaintFence(cairo_t* cr, const Scene&, const Item& it) {
  const int posts = std::clamp(it.count, 2, 9);
  const double gap = it.size * 0.3, h = it.size * 0.3;
  const double left = it.x - gap * (posts - 1) / 2;
  for (int rail = 0; rail < 2; ++rail)
    art::StrokeLine(cr, left, it.y - h * (0.35 + rail * 0.4), left + gap * (posts - 1),
                    it.y - h * (0.35 + rail * 0.4), std::max(1.0, h * 0.12), Shade(it.color, 0.85));
  for (int k = 0; k < posts; ++k) {
    double x = left + k * gap;
    cairo_rectangle(cr, x - h * 0.08, it.y - h, h * 0.16, h);
    art::Fill(cr, it.color);
  }
}

static void Legs(cairo_t* cr, double x, double y, double spread, double length, double width) {
  for (double dx : {-spread, -spread * 0.45, spread * 0.45, spread})
    art::StrokeLine(cr, x + dx, y - length, x + dx, y, width, Hex(0x2E2A28));
}

void PaintSheep(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  Stand(cr, it, s * 0.45);
  Legs(cr, it.x, it.y, s * 0.28, s * 0.28, std::max(1.0, s * 0.07));
  for (int k = 0; k < 6; ++k) {
    double bx = it.x + rng.Range(-0.3, 0.3) * s, by = it.y - s * 0.45 + rng.Range(-0.1, 0.1) * s;
    art::Ellipse(cr, bx, by, s * 0.22, s * 0.2);
    art::FillShaded(cr, bx, by, s * 0.26, it.color);
  }
  art::Ellipse(cr, it.x + s * 0.42, it.y - s * 0.5, s * 0.13, s * 0.16);
  art::Fill(cr, it.accent);
  art::Ellipse(cr, it.x + s * 0.36, it.y - s * 0.62, s * 0.08, s * 0.04);
  cairo_fill(cr);
}

void PaintCow(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  Stand(cr, it, s * 0.5);
  Legs(cr, it.x, it.y, s * 0.3, s * 0.3, std::max(1.2, s * 0.08));
  art::RoundedRect(cr, it.x - s * 0.4, it.y - s * 0.62, s * 0.8, s * 0.36, s * 0.14);
  art::FillVertical(cr, it.y - s * 0.62, it.y - s * 0.26, Shade(it.color, 1.05), Shade(it.color, 0.82), 1,
                    true);
  cairo_save(cr);
  cairo_clip(cr);
  for (int k = 0; k < it.count; ++k) {
    double sx = it.x + rng.Range(-0.32, 0.28) * s, sy = it.y - s * rng.Range(0.35, 0.55);
    art::Blob(cr, rng, sx, sy, s * 0.1, s * 0.08, 6, 0.25);
    art::Fill(cr, it.accent);
  }
  cairo_restore(cr);
  art::RoundedRect(cr, it.x + s * 0.34, it.y - s * 0.72, s * 0.22, s * 0.2, s * 0.07);
  art::Fill(cr, Shade(it.color, 0.92));
  art::Ellipse(cr, it.x + s * 0.5, it.y - s * 0.56, s * 0.07, s * 0.05);
  art::Fill(cr, Hex(0xE8A0A0));
}

void PaintFlowers(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  for (int k = 0; k < 9; ++k) {
    double fx = it.x + rng.Range(-0.5, 0.5) * s, fy = it.y - rng.Range(0.3, 0.8) * s;
    if (k >= it.count) continue;
    art::StrokeLine(cr, fx, fy, fx + rng.Range(-1, 1), it.y, std::max(0.8, s * 0.05), Hex(0x3E7A30));
    double pr = std::max(1.6, s * 0.12);
    for (int p = 0; p < 5; ++p) {
      double a = p * 2 * kPi / 5;
      art::Ellipse(cr, fx + std::cos(a) * pr, fy + std::sin(a) * pr, pr * 0.8, pr * 0.8);
    }
    art::Fill(cr, it.color);
    art::Ellipse(cr, fx, fy, pr * 0.6, pr * 0.6);
    art::Fill(cr, it.accent);
  }
}

void PaintRock(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  Shadow(cr, it, s * 0.6);
  art::Blob(cr, rng, it.x, it.y - s * 0.3, s * 0.5, s * 0.32, 7, 0.18);
  art::FillShaded(cr, it.x, it.y - s * 0.3, s * 0.6, it.color);
}

void PaintBush(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  Shadow(cr, it, s * 0.55);
  for (int k = 0; k < 4; ++k) {
    double bx = it.x + rng.Range(-0.3, 0.3) * s, by = it.y - s * rng.Range(0.3, 0.45);
    art::Blob(cr, rng, bx, by, s * 0.3, s * 0.26, 7, 0.15);
    art::FillShaded(cr, bx, by, s * 0.36, Shade(it.color, rng.Range(0.85, 1.05)));
  }
  Rng spots(it.seed ^ 0xBEEF);
  for (int k = 0; k < 9; ++k) {
    double bx = it.x + spots.Range(-0.4, 0.4) * s, by = it.y - s * spots.Range(0.2, 0.6);
    if (k >= it.count) continue;
    double r = std::max(1.4, s * 0.06);
    art::Ellipse(cr, bx, by, r, r);
    art::FillShaded(cr, bx, by, r, it.accent);
  }
}

void PaintHaystack(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Shadow(cr, it, s * 0.55);
  // Straw in layers.
  Mound(cr, it, s * 0.9, it.y - s * 0.45, s * 0.6, [&] {
    for (int k = 0; k < 6; ++k) {
      double y = it.y - s * (0.1 + k * 0.12);
      art::StrokeLine(cr, it.x - s * 0.5, y, it.x + s * 0.5, y - s * 0.04, 0.7, Shade(it.color, 0.7), 0.6);
    }
  });
}

void PaintBalloon(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size, cy = it.y - s * 0.55, r = s * 0.38;
  art::StrokeLine(cr, it.x - r * 0.4, cy + r * 0.8, it.x - s * 0.08, it.y - s * 0.08, 0.7, Hex(0x4A3A30));
  art::StrokeLine(cr, it.x + r * 0.4, cy + r * 0.8, it.x + s * 0.08, it.y - s * 0.08, 0.7, Hex(0x4A3A30));
  cairo_rectangle(cr, it.x - s * 0.09, it.y - s * 0.1, s * 0.18, s * 0.1);
  art::Fill(cr, Hex(0x7A5234));
  cairo_move_to(cr, it.x - r * 0.4, cy + r * 0.85);
  cairo_curve_to(cr, it.x - r * 1.3, cy + r * 0.1, it.x - r * 1.1, cy - r * 1.1, it.x, cy - r * 1.1);
  cairo_curve_to(cr, it.x + r * 1.1, cy - r * 1.1, it.x + r * 1.3, cy + r * 0.1, it.x + r * 0.4,
                 cy + r * 0.85);
  cairo_close_path(cr);
  art::FillShaded(cr, it.x, cy, r * 1.2, it.color, 1, true);
  cairo_save(cr);
  cairo_clip(cr);
  const int stripes = std::clamp(it.count, 1, 6);
  for (int k = 0; k < stripes; ++k) {
    double sx = it.x - r * 1.2 + (k + 0.5) * (2.4 * r / stripes);
    art::Ellipse(cr, sx, cy, r * 0.12, r * 1.3);
    art::Fill(cr, it.accent, 0.9);
  }
  cairo_restore(cr);
}

void PaintBirds(cairo_t* cr, const Scene&, const Item& it) {
  // Gliding on curved wings.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Scatter(it, 9, 0.6, 0.35, 0.12, 0.18, [&](double bx, double by, double w) {
    cairo_move_to(cr, bx - w, by - w * 0.3);
    cairo_curve_to(cr, bx - w * 0.5, by - w * 0.7, bx - w * 0.2, by - w * 0.5, bx, by);
    cairo_curve_to(cr, bx + w * 0.2, by - w * 0.5, bx + w * 0.5, by - w * 0.7, bx + w, by - w * 0.3);
    art::Stroke(cr, std::max(1.2, w * 0.22), it.color);
  });
}

void PaintKite(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  cairo_move_to(cr, it.x, it.y);
  cairo_curve_to(cr, it.x - s * 0.6, it.y + s * 0.8, it.x + s * 0.2, it.y + s * 1.2, it.x - s * 0.5,
                 it.y + s * 1.8);
  art::Stroke(cr, 0.8, Hex(0x3A3A3A));
  for (int k = 1; k <= 3; ++k) {
    double t = k / 4.0;
    art::Star(cr, it.x - s * 0.3 * t * 1.5, it.y + s * 1.6 * t, s * 0.09, s * 0.04, 4);
    art::Fill(cr, it.accent);
  }
  art::Polygon(cr, {{it.x, it.y - s * 0.55},
                    {it.x + s * 0.32, it.y - s * 0.15},
                    {it.x, it.y},
                    {it.x - s * 0.32, it.y - s * 0.15}});
  art::FillShaded(cr, it.x, it.y - s * 0.25, s * 0.4, it.color);
  art::StrokeLine(cr, it.x, it.y - s * 0.55, it.x, it.y, 0.6, Hex(0xFFFFFF), 0.7);
}

void PaintScarecrow(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Stand(cr, it, s * 0.3);
  art::StrokeLine(cr, it.x, it.y, it.x, it.y - s * 0.8, std::max(1.2, s * 0.06), Hex(0x6A4A30));
  art::StrokeLine(cr, it.x - s * 0.35, it.y - s * 0.55, it.x + s * 0.35, it.y - s * 0.68,
                  std::max(1.2, s * 0.06), Hex(0x6A4A30));
  art::Polygon(cr, {{it.x - s * 0.18, it.y - s * 0.62},
                    {it.x + s * 0.2, it.y - s * 0.66},
                    {it.x + s * 0.16, it.y - s * 0.3},
                    {it.x - s * 0.16, it.y - s * 0.3}});
  art::Fill(cr, it.color);
  art::Ellipse(cr, it.x, it.y - s * 0.8, s * 0.1, s * 0.1);
  art::Fill(cr, Hex(0xE8D29A));
  art::Polygon(cr, {{it.x - s * 0.2, it.y - s * 0.85},
                    {it.x + s * 0.2, it.y - s * 0.85},
                    {it.x + s * 0.06, it.y - s * 1.02},
                    {it.x - s * 0.08, it.y - s * 1.0}});
  art::Fill(cr, it.accent);
}

void PaintSnowman(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Shadow(cr, it, s * 0.35);
  const double r[3] = {s * 0.24, s * 0.18, s * 0.13};
  double y = it.y;
  double centres[3];
  for (int k = 0; k < 3; ++k) {
    y -= r[k];
    centres[k] = y;
    art::Ellipse(cr, it.x, y, r[k], r[k]);
    art::FillShaded(cr, it.x, y, r[k] * 1.2, Hex(0xF8FBFF));
    y -= r[k] * 0.75;
  }
  for (int k = 0; k < it.count; ++k) {
    double by = centres[1] - r[1] * 0.6 + k * r[1] * 0.45;
    art::Ellipse(cr, it.x, by, std::max(1.0, s * 0.025), std::max(1.0, s * 0.025));
    art::Fill(cr, Hex(0x2A2A2A));
  }
  cairo_rectangle(cr, it.x - r[2] * 0.8, centres[2] - r[2] * 1.9, r[2] * 1.6, r[2] * 1.1);
  cairo_rectangle(cr, it.x - r[2] * 1.2, centres[2] - r[2] * 0.85, r[2] * 2.4, r[2] * 0.25);
  art::Fill(cr, it.accent);
  cairo_move_to(cr, it.x, centres[2]);
  cairo_line_to(cr, it.x + r[2] * 1.1, centres[2] + r[2] * 0.15);
  cairo_line_to(cr, it.x, centres[2] + r[2] * 0.3);
  art::Fill(cr, Hex(0xF08A30));
  art::StrokeLine(cr, it.x - r[1], centres[1], it.x - r[1] * 2.2, centres[1] - r[1] * 0.9, 1, Hex(0x5A4030));
}

void PaintPumpkin(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Shadow(cr, it, s * 0.5);
  for (int k = -2; k <= 2; ++k) {
    art::Ellipse(cr, it.x + k * s * 0.14, it.y - s * 0.3, s * 0.2, s * 0.3);
    art::FillShaded(cr, it.x + k * s * 0.1, it.y - s * 0.35, s * 0.4,
                    Shade(it.color, 1 - std::abs(k) * 0.08));
  }
  art::StrokeLine(cr, it.x, it.y - s * 0.58, it.x + s * 0.08, it.y - s * 0.75, std::max(1.2, s * 0.07),
                  Hex(0x4E6A2A));
}

void PaintDuck(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  art::Ellipse(cr, it.x, it.y - s * 0.2, s * 0.45, s * 0.22);
  art::FillShaded(cr, it.x, it.y - s * 0.25, s * 0.5, it.color);
  art::Ellipse(cr, it.x + s * 0.35, it.y - s * 0.5, s * 0.16, s * 0.15);
  art::Fill(cr, it.accent);
  cairo_move_to(cr, it.x + s * 0.48, it.y - s * 0.52);
  cairo_line_to(cr, it.x + s * 0.66, it.y - s * 0.47);
  cairo_line_to(cr, it.x + s * 0.48, it.y - s * 0.42);
  art::Fill(cr, Hex(0xF0A030));
  art::StrokeLine(cr, it.x - s * 0.5, it.y + 1, it.x + s * 0.5, it.y + 1, 0.8, Hex(0xFFFFFF), 0.5);
}

void PaintBoat(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  Hull(cr, it, 0.18, 0.4, 0.36);
  art::FillVertical(cr, it.y - s * 0.18, it.y, Shade(it.color, 1.1), Shade(it.color, 0.7));
  art::StrokeLine(cr, it.x, it.y - s * 0.18, it.x, it.y - s * 0.95, 1, Hex(0x4A3A30));
  art::Polygon(
      cr, {{it.x + 1, it.y - s * 0.92}, {it.x + s * 0.42, it.y - s * 0.24}, {it.x + 1, it.y - s * 0.24}});
  art::FillVertical(cr, it.y - s, it.y, Shade(it.accent, 1.15), Shade(it.accent, 0.85));
  art::StrokeLine(cr, it.x - s * 0.55, it.y + 1, it.x + s * 0.55, it.y + 1, 0.8, Hex(0xFFFFFF), 0.5);
}

void PaintWell(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Shadow(cr, it, s * 0.45);
  art::RoundedRect(cr, it.x - s * 0.32, it.y - s * 0.35, s * 0.64, s * 0.35, s * 0.05);
  art::FillVertical(cr, it.y - s * 0.35, it.y, Shade(it.color, 1.1), Shade(it.color, 0.75));
  for (int k = 0; k < 3; ++k)
    art::StrokeLine(cr, it.x - s * 0.32, it.y - s * 0.1 * (k + 1), it.x + s * 0.32, it.y - s * 0.1 * (k + 1),
                    0.6, Shade(it.color, 0.6));
  art::StrokeLine(cr, it.x - s * 0.28, it.y - s * 0.35, it.x - s * 0.28, it.y - s * 0.85,
                  std::max(1.0, s * 0.05), Hex(0x5A4030));
  art::StrokeLine(cr, it.x + s * 0.28, it.y - s * 0.35, it.x + s * 0.28, it.y - s * 0.85,
                  std::max(1.0, s * 0.05), Hex(0x5A4030));
  art::Polygon(
      cr, {{it.x - s * 0.42, it.y - s * 0.8}, {it.x, it.y - s * 1.05}, {it.x + s * 0.42, it.y - s * 0.8}});
  art::Fill(cr, it.accent);
}

}  // namespace datagen::valley
