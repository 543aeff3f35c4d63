// SPDX-License-Identifier: Zlib
#include "CityProps.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Art.h"
#include "Math.h"
#include "Painting.h"
#include "Rng.h"

namespace datagen::city {

constexpr double kArchStart = 3.14159265;

static const Night& NightFor(const Scene& s) {
  return NightOf(static_cast<int>(s.mood[0]));
}

// A building standing on (x, y): `size` is its height, `variant` its style (window grid, brick
// with arched windows, glass tower, stepped tower with piers), `count` lit windows out of every
// ten, so nights differ in which rooms are awake. Its ground floor is a shop with an awning.
void PaintBuilding(cairo_t* cr, const Scene& scene, const Item& it) {
  Rng rng(it.seed);
  const Night& night = NightFor(scene);
  const int style = it.variant % 4;
  const double h = it.size, w = h * (0.3 + 0.1 * (it.variant % 3));
  const double left = it.x - w / 2, top = it.y - h;
  Rgb wall = it.color;
  if (style == 1) wall = Mix(Hsv(rng.Range(0.02, 0.07), 0.5, 0.45), night.skyTop, 0.3);
  if (style == 2) wall = Mix(Hex(0x203850), night.skyTop, 0.3);
  // Roof shapes: a gable, a stepped top, a spire or a flat roof with a cornice.
  if (style == 3) {
    cairo_rectangle(cr, left + w * 0.15, top - h * 0.06, w * 0.7, h * 0.06);
    cairo_rectangle(cr, left + w * 0.32, top - h * 0.11, w * 0.36, h * 0.05);
    art::Fill(cr, Shade(wall, 0.9));
    art::StrokeLine(cr, it.x, top - h * 0.11, it.x, top - h * 0.2, 1.2, Shade(wall, 0.8));
  } else if (it.variant % 8 == 1) {
    art::Polygon(cr, {{left - 2, top}, {it.x, top - w * 0.35}, {left + w + 2, top}});
    art::Fill(cr, Shade(wall, 0.7));
  }
  cairo_rectangle(cr, left, top, w, h);
  art::FillVertical(cr, top, it.y, Shade(wall, 1.15), Shade(wall, 0.8));
  cairo_rectangle(cr, left + w * 0.82, top, w * 0.18, h);
  art::Fill(cr, {0, 0, 0}, 0.2);
  cairo_rectangle(cr, left - 1.5, top, w + 3, 3);
  art::Fill(cr, Shade(wall, 0.6));
  if (style == 1)
    for (double y = top + 4; y < it.y - 24; y += 4)
      art::StrokeLine(cr, left, y, left + w, y, 0.5, Shade(wall, 0.7), 0.6);
  if (style == 3)
    for (double x = left + 3; x < left + w - 2; x += w / 5) cairo_rectangle(cr, x, top, 2, h - 24);
  art::Fill(cr, Shade(wall, 1.25), 0.5);

  const double shop = 24;  // the ground floor
  if (style == 2) {
    // Glass tower: bands of glass, some floors lit end to end.
    for (double y = top + 6; y < it.y - shop - 4; y += 7) {
      const bool lit = rng.Int(0, 9) < it.count;
      cairo_rectangle(cr, left + 2, y, w * 0.8 - 3, 4.5);
      art::Fill(cr, lit ? Mix(it.accent, night.glow, 0.3) : Mix(Hex(0x5A8AB0), night.skyLow, 0.4),
                lit ? 0.85 : 0.7);
    }
  } else {
    const double ww = style == 1 ? 5 : 4.5, wh = style == 1 ? 8 : 6, gx = 9, gy = style == 1 ? 13 : 11;
    const int cols = std::max(1, static_cast<int>((w - 6) / gx));
    const int rows = std::max(1, static_cast<int>((h - shop - 14) / gy));
    const double x0 = left + (w - cols * gx + (gx - ww)) / 2;
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) {
        const bool lit = rng.Int(0, 9) < it.count;
        const double wx = x0 + c * gx, wy = top + 8 + r * gy;
        if (wy + wh > it.y - shop - 3) continue;
        if (style == 1) {
          cairo_move_to(cr, wx, wy + wh);
          cairo_line_to(cr, wx, wy + ww / 2);
          // The arch starts a hair short of a half turn; with kPi the windows' edge pixels change.
          cairo_arc(cr, wx + ww / 2, wy + ww / 2, ww / 2, kArchStart, 0);
          cairo_line_to(cr, wx + ww, wy + wh);
          cairo_close_path(cr);
        } else {
          cairo_rectangle(cr, wx, wy, ww, wh);
        }
        art::Fill(cr, lit ? Mix(it.accent, night.glow, rng.Range(0, 0.4)) : Shade(wall, 0.55),
                  lit ? 0.95 : 1);
      }
  }
  // The shop: a lit window under a striped awning.
  const double sy = it.y - shop;
  cairo_rectangle(cr, left + 3, sy + 8, w * 0.8 - 6, shop - 10);
  art::FillVertical(cr, sy + 8, it.y - 2, Mix(night.glow, Hex(0xFFFFFF), 0.2), Shade(night.glow, 0.7), 0.9);
  const Rgb awning = Hsv(rng.Uniform(), 0.6, 0.7);
  for (int k = 0; k < 8; ++k) {
    const double ax = left + 1 + k * (w * 0.8 - 2) / 8;
    art::Polygon(cr, {{ax, sy + 2},
                      {ax + (w * 0.8 - 2) / 8, sy + 2},
                      {ax + (w * 0.8 - 2) / 8 + 1, sy + 9},
                      {ax - 1, sy + 9}});
    art::Fill(cr, k % 2 ? awning : Hex(0xF2EEE4));
  }
}

void PaintSign(cairo_t* cr, const Scene&, const Item& it) {
  static const char* kWords[] = {"CAFE",  "HOTEL", "BAR",    "OPEN",   "PIZZA",
                                 "BOOKS", "JAZZ",  "BAKERY", "CINEMA", "TEA"};
  const std::string word = kWords[it.variant % 10];
  art::SelectFace(cr, art::Face::SansBold, it.size);
  const double w = art::TextWidth(cr, word) + it.size * 0.8, h = it.size * 1.5;
  art::Glow(cr, it.x, it.y, w * 0.8, it.color, 0.35);
  art::RoundedRect(cr, it.x - w / 2, it.y - h / 2, w, h, h * 0.25);
  art::SetColor(cr, Hex(0x15101E), 0.9);
  cairo_fill_preserve(cr);
  art::Stroke(cr, 1.2, it.accent);
  art::CenteredTextPath(cr, word, it.x, it.y + it.size * 0.36);
  art::Fill(cr, it.color);
}

void PaintBalcony(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  // A lit French window with its curtains drawn aside.
  cairo_rectangle(cr, it.x - s * 0.3, it.y - s * 0.55, s * 0.6, s * 0.55);
  art::FillVertical(cr, it.y - s * 0.55, it.y, Mix(it.accent, Hex(0xFFFFFF), 0.3), Shade(it.accent, 0.75));
  for (int side = -1; side <= 1; side += 2) {
    cairo_move_to(cr, it.x + side * s * 0.3, it.y - s * 0.55);
    cairo_line_to(cr, it.x + side * s * 0.12, it.y - s * 0.55);
    cairo_curve_to(cr, it.x + side * s * 0.2, it.y - s * 0.3, it.x + side * s * 0.25, it.y - s * 0.15,
                   it.x + side * s * 0.3, it.y);
    cairo_close_path(cr);
    art::Fill(cr, Hsv(static_cast<double>(it.seed % 97) / 97.0, 0.5, 0.6));
  }
  Rng rng(it.seed);
  for (int k = 0; k < it.count; ++k) {
    double px = it.x - s * 0.4 + k * s * 0.2;
    art::Blob(cr, rng, px, it.y - s * 0.08, s * 0.09, s * 0.08, 6, 0.2);
    art::Fill(cr, it.color);
  }
  cairo_rectangle(cr, it.x - s * 0.5, it.y, s, 2);
  art::Fill(cr, Hex(0x2A2A30));
  for (int k = 0; k <= 6; ++k)
    art::StrokeLine(cr, it.x - s * 0.5 + k * s / 6, it.y, it.x - s * 0.5 + k * s / 6, it.y + s * 0.22, 0.8,
                    Hex(0x2A2A30));
  art::StrokeLine(cr, it.x - s * 0.5, it.y + s * 0.22, it.x + s * 0.5, it.y + s * 0.22, 1.2, Hex(0x2A2A30));
}

void PaintWaterTank(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  for (double lx : {-0.3, 0.3})
    art::StrokeLine(cr, it.x + lx * s, it.y, it.x + lx * s * 0.7, it.y - s * 0.4, 1.2, Hex(0x2A2020));
  cairo_rectangle(cr, it.x - s * 0.32, it.y - s * 0.85, s * 0.64, s * 0.48);
  art::FillVertical(cr, it.y - s * 0.85, it.y - s * 0.37, Shade(it.color, 1.1), Shade(it.color, 0.7));
  art::Polygon(
      cr, {{it.x - s * 0.36, it.y - s * 0.85}, {it.x, it.y - s * 1.05}, {it.x + s * 0.36, it.y - s * 0.85}});
  art::Fill(cr, Shade(it.color, 0.6));
}

void PaintAntenna(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  art::StrokeLine(cr, it.x, it.y, it.x, it.y - s, 1.2, Hex(0x303038));
  for (int k = 0; k < 3; ++k)
    art::StrokeLine(cr, it.x - s * 0.2 + k * 0.04 * s, it.y - s * (0.4 + k * 0.2),
                    it.x + s * 0.2 - k * 0.04 * s, it.y - s * (0.4 + k * 0.2), 1, Hex(0x303038));
  for (int k = 0; k < it.count; ++k) {
    double ly = it.y - s * (1 - k * 0.28);
    art::Glow(cr, it.x, ly, 5, it.color, 0.7);
    art::Ellipse(cr, it.x, ly, 1.6, 1.6);
    art::Fill(cr, it.color);
  }
}

void PaintClock(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  art::Glow(cr, it.x, it.y, r * 1.8, Hex(0xFFF0C0), 0.3);
  art::Ellipse(cr, it.x, it.y, r, r);
  art::SetColor(cr, Hex(0xFFF4D8));
  cairo_fill_preserve(cr);
  art::Stroke(cr, std::max(1.0, r * 0.15), it.color);
  const double hour = it.angle, minute = it.angle * 12;
  art::StrokeLine(cr, it.x, it.y, it.x + std::sin(hour) * r * 0.5, it.y - std::cos(hour) * r * 0.5, 1.4,
                  Hex(0x202020));
  art::StrokeLine(cr, it.x, it.y, it.x + std::sin(minute) * r * 0.8, it.y - std::cos(minute) * r * 0.8, 1,
                  Hex(0x202020));
}

void PaintFlag(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  art::StrokeLine(cr, it.x, it.y, it.x, it.y - s, 1.2, Hex(0xC0C0C8));
  cairo_move_to(cr, it.x, it.y - s);
  cairo_curve_to(cr, it.x + s * 0.25, it.y - s * 1.05, it.x + s * 0.35, it.y - s * 0.9, it.x + s * 0.55,
                 it.y - s * 0.95);
  cairo_line_to(cr, it.x + s * 0.55, it.y - s * 0.65);
  cairo_curve_to(cr, it.x + s * 0.35, it.y - s * 0.6, it.x + s * 0.25, it.y - s * 0.75, it.x, it.y - s * 0.7);
  cairo_close_path(cr);
  art::FillVertical(cr, it.y - s, it.y - s * 0.6, it.color, Shade(it.color, 0.7));
  art::Ellipse(cr, it.x + s * 0.27, it.y - s * 0.82, s * 0.06, s * 0.06);
  art::Fill(cr, it.accent);
}

void PaintLamp(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  art::Glow(cr, it.x + s * 0.22, it.y - s * 0.93, s * 0.7, it.color, 0.35);
  art::GroundShadow(cr, it.x + s * 0.2, it.y + 2, s * 0.35, s * 0.06, 0.25);
  art::Ellipse(cr, it.x + s * 0.22, it.y + 1, s * 0.3, s * 0.05);
  art::Fill(cr, it.color, 0.25);
  art::StrokeLine(cr, it.x, it.y, it.x, it.y - s, std::max(1.5, s * 0.05), Hex(0x26262E));
  cairo_move_to(cr, it.x, it.y - s);
  cairo_curve_to(cr, it.x, it.y - s * 1.08, it.x + s * 0.2, it.y - s * 1.08, it.x + s * 0.22, it.y - s);
  art::Stroke(cr, std::max(1.2, s * 0.04), Hex(0x26262E));
  art::Polygon(cr, {{it.x + s * 0.12, it.y - s * 0.98},
                    {it.x + s * 0.32, it.y - s * 0.98},
                    {it.x + s * 0.27, it.y - s * 0.9},
                    {it.x + s * 0.17, it.y - s * 0.9}});
  art::Fill(cr, it.color);
}

static void Wheel(cairo_t* cr, double x, double y, double r) {
  art::Ellipse(cr, x, y, r, r);
  art::Fill(cr, Hex(0x141418));
  art::Ellipse(cr, x, y, r * 0.45, r * 0.45);
  art::Fill(cr, Hex(0x8A8A90));
}

void PaintCar(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;  // length
  Mirror(cr, it);
  art::GroundShadow(cr, it.x, it.y, s * 0.55, s * 0.06, 0.4);
  // Headlight beam ahead (to the right).
  art::Polygon(cr, {{it.x + s * 0.48, it.y - s * 0.14},
                    {it.x + s * 1.1, it.y - s * 0.22},
                    {it.x + s * 1.1, it.y + s * 0.02}});
  const Rgb beam{1, 0.95, 0.75};
  art::FillLinear(cr, it.x + s * 0.48, 0, it.x + s * 1.1, 0, {{0, beam, 0.45}, {1, beam, 0}});
  art::RoundedRect(cr, it.x - s * 0.5, it.y - s * 0.26, s, s * 0.18, s * 0.06);
  art::FillVertical(cr, it.y - s * 0.26, it.y - s * 0.08, Shade(it.color, 1.15), Shade(it.color, 0.75));
  art::Polygon(cr, {{it.x - s * 0.3, it.y - s * 0.25},
                    {it.x - s * 0.18, it.y - s * 0.42},
                    {it.x + s * 0.15, it.y - s * 0.42},
                    {it.x + s * 0.3, it.y - s * 0.25}});
  art::Fill(cr, Shade(it.color, 0.9));
  art::Polygon(cr, {{it.x - s * 0.24, it.y - s * 0.26},
                    {it.x - s * 0.15, it.y - s * 0.38},
                    {it.x + s * 0.13, it.y - s * 0.38},
                    {it.x + s * 0.24, it.y - s * 0.26}});
  art::Fill(cr, Mix(it.accent, Hex(0x203040), 0.5));
  art::StrokeLine(cr, it.x - s * 0.01, it.y - s * 0.38, it.x - s * 0.01, it.y - s * 0.26, 1,
                  Shade(it.color, 0.8));
  art::Ellipse(cr, it.x + s * 0.47, it.y - s * 0.18, s * 0.035, s * 0.03);
  art::Fill(cr, Hex(0xFFF4C0));
  art::Ellipse(cr, it.x - s * 0.48, it.y - s * 0.18, s * 0.025, s * 0.025);
  art::Fill(cr, Hex(0xFF3020));
  Wheel(cr, it.x - s * 0.3, it.y - s * 0.07, s * 0.085);
  Wheel(cr, it.x + s * 0.3, it.y - s * 0.07, s * 0.085);
}

void PaintBus(cairo_t* cr, const Scene& scene, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  art::GroundShadow(cr, it.x, it.y, s * 0.55, s * 0.05, 0.4);
  art::RoundedRect(cr, it.x - s * 0.5, it.y - s * 0.36, s, s * 0.3, s * 0.05);
  art::FillVertical(cr, it.y - s * 0.36, it.y - s * 0.06, Shade(it.color, 1.1), Shade(it.color, 0.75));
  const int windows = std::clamp(it.count, 2, 7);
  for (int k = 0; k < windows; ++k) {
    double wx = it.x - s * 0.44 + k * (s * 0.82 / windows);
    cairo_rectangle(cr, wx, it.y - s * 0.32, s * 0.82 / windows - 2, s * 0.11);
    art::Fill(cr, Mix(it.accent, NightFor(scene).glow, 0.3));
  }
  cairo_rectangle(cr, it.x + s * 0.4, it.y - s * 0.32, s * 0.08, s * 0.22);
  art::Fill(cr, Hex(0x304050));
  Wheel(cr, it.x - s * 0.3, it.y - s * 0.06, s * 0.07);
  Wheel(cr, it.x + s * 0.3, it.y - s * 0.06, s * 0.07);
}

void PaintTrafficLight(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  art::StrokeLine(cr, it.x, it.y, it.x, it.y - s * 0.6, std::max(1.5, s * 0.06), Hex(0x2A2A30));
  art::RoundedRect(cr, it.x - s * 0.1, it.y - s, s * 0.2, s * 0.42, s * 0.05);
  art::Fill(cr, Hex(0x1A1A20));
  const Rgb colours[3] = {Hex(0xFF3A2A), Hex(0xFFC030), Hex(0x40E070)};
  const int on = it.count % 3;
  for (int k = 0; k < 3; ++k) {
    double ly = it.y - s * (0.92 - k * 0.13);
    if (k == on) art::Glow(cr, it.x, ly, s * 0.25, colours[k], 0.6);
    art::Ellipse(cr, it.x, ly, s * 0.055, s * 0.055);
    art::Fill(cr, k == on ? colours[k] : Shade(colours[k], 0.25));
  }
}

void PaintHydrant(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  art::RoundedRect(cr, it.x - s * 0.2, it.y - s * 0.7, s * 0.4, s * 0.7, s * 0.08);
  art::FillVertical(cr, it.y - s * 0.7, it.y, Shade(it.color, 1.2), Shade(it.color, 0.7));
  art::Ellipse(cr, it.x, it.y - s * 0.75, s * 0.18, s * 0.12);
  art::Fill(cr, Shade(it.color, 0.9));
  cairo_rectangle(cr, it.x - s * 0.32, it.y - s * 0.48, s * 0.64, s * 0.12);
  cairo_fill(cr);
}

void PaintBench(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  for (double lx : {-0.4, 0.4})
    art::StrokeLine(cr, it.x + lx * s, it.y, it.x + lx * s, it.y - s * 0.3, 1.5, Hex(0x26262C));
  for (int k = 0; k < 2; ++k) {
    cairo_rectangle(cr, it.x - s * 0.5, it.y - s * (0.32 + k * 0.16), s, s * 0.06);
    art::Fill(cr, it.color);
  }
}

void PaintTreePot(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  art::StrokeLine(cr, it.x, it.y - s * 0.15, it.x, it.y - s * 0.55, std::max(1.5, s * 0.06), Hex(0x4A3426));
  for (int k = 0; k < 5; ++k) {
    double bx = it.x + rng.Range(-0.22, 0.22) * s, by = it.y - s * rng.Range(0.6, 0.85);
    art::Blob(cr, rng, bx, by, s * 0.2, s * 0.18, 7, 0.15);
    art::FillShaded(cr, bx, by, s * 0.25, it.color);
  }
  art::Polygon(cr, {{it.x - s * 0.18, it.y - s * 0.18},
                    {it.x + s * 0.18, it.y - s * 0.18},
                    {it.x + s * 0.13, it.y},
                    {it.x - s * 0.13, it.y}});
  art::Fill(cr, it.accent);
}

void PaintPerson(cairo_t* cr, const Scene& scene, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  const Rgb dark = Mix(Hex(0x141420), it.color, 0.35);
  art::StrokeLine(cr, it.x - s * 0.05, it.y, it.x - s * 0.03, it.y - s * 0.4, s * 0.09, dark);
  art::StrokeLine(cr, it.x + s * 0.06, it.y, it.x + s * 0.03, it.y - s * 0.4, s * 0.09, dark);
  art::RoundedRect(cr, it.x - s * 0.11, it.y - s * 0.75, s * 0.22, s * 0.38, s * 0.08);
  art::Fill(cr, it.color);
  art::Ellipse(cr, it.x, it.y - s * 0.85, s * 0.08, s * 0.09);
  art::Fill(cr, Hex(0xD8A888));
  if (NightFor(scene).rain || it.variant == 1) {
    art::StrokeLine(cr, it.x + s * 0.12, it.y - s * 0.55, it.x + s * 0.12, it.y - s * 1.05, 1, Hex(0x202020));
    cairo_move_to(cr, it.x - s * 0.2, it.y - s * 1.0);
    cairo_curve_to(cr, it.x - s * 0.15, it.y - s * 1.25, it.x + s * 0.4, it.y - s * 1.25, it.x + s * 0.45,
                   it.y - s * 1.0);
    cairo_close_path(cr);
    art::Fill(cr, it.accent);
  } else {
    // A bag on one side.
    art::RoundedRect(cr, it.x + s * 0.1, it.y - s * 0.5, s * 0.14, s * 0.14, 1.5);
    art::Fill(cr, it.accent);
  }
}

void PaintCat(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  art::Ellipse(cr, it.x, it.y - s * 0.28, s * 0.3, s * 0.28);
  art::Fill(cr, it.color);
  art::Ellipse(cr, it.x + s * 0.1, it.y - s * 0.68, s * 0.17, s * 0.16);
  cairo_fill(cr);
  for (double ex : {0.0, 0.2}) {
    cairo_move_to(cr, it.x + s * (ex - 0.04), it.y - s * 0.78);
    cairo_line_to(cr, it.x + s * (ex + 0.02), it.y - s * 0.95);
    cairo_line_to(cr, it.x + s * (ex + 0.08), it.y - s * 0.78);
    cairo_fill(cr);
  }
  cairo_move_to(cr, it.x - s * 0.25, it.y - s * 0.1);
  cairo_curve_to(cr, it.x - s * 0.6, it.y - s * 0.1, it.x - s * 0.55, it.y - s * 0.6, it.x - s * 0.4,
                 it.y - s * 0.55);
  cairo_set_line_width(cr, s * 0.08);
  cairo_stroke(cr);
  for (double ex : {0.04, 0.16}) {
    art::Ellipse(cr, it.x + s * ex, it.y - s * 0.7, s * 0.035, s * 0.03);
    art::Fill(cr, it.accent);
  }
}

void PaintMoon(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  art::Glow(cr, it.x, it.y, r * 3, Hex(0xFFF6DC), 0.3);
  art::Ellipse(cr, it.x, it.y, r, r);
  art::FillShaded(cr, it.x, it.y, r * 1.1, Hex(0xFFF4D8));
  Rng rng(it.seed);
  for (int k = 0; k < 5; ++k) {
    double a = rng.Range(0, 2 * kPi), d = rng.Range(0, 0.6) * r;
    art::Ellipse(cr, it.x + std::cos(a) * d, it.y + std::sin(a) * d, r * rng.Range(0.08, 0.18),
                 r * rng.Range(0.08, 0.18));
    art::Fill(cr, Hex(0xD8CCB0), 0.5);
  }
}

void PaintCloud(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  for (int k = 0; k < 6; ++k) {
    double bx = it.x + rng.Range(-0.45, 0.45) * s, by = it.y + rng.Range(-0.08, 0.06) * s;
    art::Ellipse(cr, bx, by, s * rng.Range(0.18, 0.3), s * rng.Range(0.09, 0.15));
    art::FillVertical(cr, by - s * 0.15, by + s * 0.15, Shade(it.color, 1.15), Shade(it.color, 0.75), 0.85);
  }
}

void PaintBirds(cairo_t* cr, const Scene&, const Item& it) {
  // Flapping: wings bent at the shoulders.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Scatter(it, 9, 0.5, 0.3, 0.12, 0.18, [&](double bx, double by, double w) {
    cairo_move_to(cr, bx - w, by - w * 0.2);
    cairo_line_to(cr, bx - w * 0.3, by - w * 0.1);
    cairo_line_to(cr, bx, by + w * 0.2);
    cairo_line_to(cr, bx + w * 0.3, by - w * 0.1);
    cairo_line_to(cr, bx + w, by - w * 0.2);
    art::Stroke(cr, std::max(1.3, w * 0.25), it.color);
  });
}

void PaintPlane(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  art::StrokeLine(cr, it.x - s * 0.5, it.y, it.x + s * 0.5, it.y, s * 0.08, it.color);
  art::Polygon(cr, {{it.x - s * 0.05, it.y},
                    {it.x - s * 0.25, it.y + s * 0.35},
                    {it.x + s * 0.05, it.y},
                    {it.x - s * 0.25, it.y - s * 0.35}});
  art::Fill(cr, it.color);
  cairo_move_to(cr, it.x - s * 0.45, it.y);
  cairo_line_to(cr, it.x - s * 0.55, it.y - s * 0.18);
  cairo_line_to(cr, it.x - s * 0.4, it.y);
  cairo_fill(cr);
  const Rgb red = Hex(0xFF4030), green = Hex(0x40FF70);
  art::Glow(cr, it.x - s * 0.25, it.y - s * 0.35, 5, red, 0.8);
  art::Glow(cr, it.x - s * 0.25, it.y + s * 0.35, 5, green, 0.8);
  art::Glow(cr, it.x + s * 0.5, it.y, 4, Hex(0xFFFFFF), 0.9);
}

void PaintBalloon(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  art::StrokeLine(cr, it.x, it.y, it.x + s * 0.1, it.y + s * 0.8, 0.7, Hex(0xD0D0D0), 0.8);
  art::Ellipse(cr, it.x, it.y - s * 0.2, s * 0.28, s * 0.34);
  art::FillShaded(cr, it.x, it.y - s * 0.2, s * 0.35, it.color);
}

void PaintFirework(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double r = it.size * 0.5;
  art::Glow(cr, it.x, it.y, r * 1.3, it.color, 0.25);
  const int rays = std::clamp(it.count, 6, 16);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int k = 0; k < rays; ++k) {
    double a = k * 2 * kPi / rays + rng.Range(-0.05, 0.05);
    double x1 = it.x + std::cos(a) * r, y1 = it.y + std::sin(a) * r;
    art::StrokeLine(cr, it.x + std::cos(a) * r * 0.3, it.y + std::sin(a) * r * 0.3, x1, y1, 1.4, it.color,
                    0.9);
    art::Ellipse(cr, x1, y1, 1.6, 1.6);
    art::Fill(cr, it.accent);
  }
}

void PaintLantern(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  const int count = std::clamp(it.count, 2, 8);
  cairo_move_to(cr, it.x - s * 0.5, it.y);
  cairo_curve_to(cr, it.x - s * 0.2, it.y + s * 0.15, it.x + s * 0.2, it.y + s * 0.15, it.x + s * 0.5, it.y);
  art::Stroke(cr, 0.8, Hex(0x202020));
  for (int k = 0; k < count; ++k) {
    double t = (k + 0.5) / count, lx = it.x - s * 0.5 + t * s;
    double ly = it.y + s * 0.15 * 4 * t * (1 - t) * 0.75 + 3;
    art::Glow(cr, lx, ly, 6, it.color, 0.5);
    art::Ellipse(cr, lx, ly, 2.2, 3);
    art::Fill(cr, it.color);
  }
}

void PaintBoat(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  Hull(cr, it, 0.15, 0.45, 0.4);
  art::Fill(cr, it.color);
  cairo_rectangle(cr, it.x - s * 0.25, it.y - s * 0.3, s * 0.4, s * 0.15);
  art::Fill(cr, Shade(it.color, 1.3));
  for (int k = 0; k < 3; ++k) {
    cairo_rectangle(cr, it.x - s * 0.2 + k * s * 0.12, it.y - s * 0.26, s * 0.07, s * 0.06);
    art::Fill(cr, it.accent);
  }
}

void PaintStars(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  for (int k = 0; k < 7; ++k) {
    double sx = it.x + rng.Range(-0.5, 0.5) * it.size, sy = it.y + rng.Range(-0.5, 0.5) * it.size;
    if (k >= it.count) continue;
    art::Glow(cr, sx, sy, 5, it.color, 0.5);
    art::Star(cr, sx, sy, 3.2, 1.2, 4);
    art::Fill(cr, it.color);
  }
}

}  // namespace datagen::city
