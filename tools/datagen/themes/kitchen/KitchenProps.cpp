// SPDX-License-Identifier: Zlib
#include "KitchenProps.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "Art.h"
#include "Math.h"
#include "Rng.h"

namespace datagen::kitchen {

// Light comes from the upper left, so shadows fall to the lower right.
static void DropShadow(cairo_t* cr, double x, double y, double rx, double ry) {
  art::GroundShadow(cr, x + rx * 0.12 + 1.5, y + ry * 0.15 + 2, rx * 1.08, ry * 1.08, 0.32);
}

// Seen from above everything lies at some turn: while it is in scope, what an object draws is
// turned (and mirrored) about its anchor.
class Turned {
 public:
  Turned(cairo_t* cr, const Item& it) : cr_(cr) {
    cairo_save(cr);
    cairo_translate(cr, it.x, it.y);
    cairo_rotate(cr, it.angle);
    if (it.flip) cairo_scale(cr, -1, 1);
    cairo_translate(cr, -it.x, -it.y);
  }
  ~Turned() { cairo_restore(cr_); }
  Turned(const Turned&) = delete;
  Turned& operator=(const Turned&) = delete;

 private:
  cairo_t* cr_;
};

// A flat three-cornered thing (a folded napkin, a wedge of cheese) lit from the top: its corners and
// how far it reaches above and below the anchor, in sizes.
static void Wedge(cairo_t* cr, const Item& it, std::initializer_list<Point> corners, double reach) {
  const double s = it.size;
  std::vector<Point> at;
  for (const Point& c : corners) at.push_back({it.x + c.x * s, it.y + c.y * s});
  art::Polygon(cr, at);
  art::FillVertical(cr, it.y - reach * s, it.y + reach * s, Shade(it.color, 1.1), Shade(it.color, 0.85));
}

static void Disc(cairo_t* cr, double x, double y, double r, const Rgb& c) {
  art::Ellipse(cr, x, y, r, r);
  art::FillShaded(cr, x, y, r, c);
}

// A round thing of radius r on the table at the object's anchor, with its shadow.
static void Served(cairo_t* cr, const Item& it, double r, const Rgb& c) {
  DropShadow(cr, it.x, it.y, r, r);
  Disc(cr, it.x, it.y, r, c);
}

static void Food(cairo_t* cr, const Item& it, double r) {
  Rng rng(it.seed);
  const double x = it.x, y = it.y;
  switch (it.variant) {
    case kFriedEgg:
      art::Blob(cr, rng, x, y, r * 0.7, r * 0.62, 8, 0.12);
      art::Fill(cr, Hex(0xFFFDF6));
      Disc(cr, x + r * 0.1, y - r * 0.05, r * 0.28, Hex(0xFFB820));
      break;
    case kToast:
      art::RoundedRect(cr, x - r * 0.6, y - r * 0.55, r * 1.2, r * 1.1, r * 0.25);
      art::Fill(cr, Hex(0xB07438));
      art::RoundedRect(cr, x - r * 0.5, y - r * 0.45, r * 1.0, r * 0.9, r * 0.2);
      art::Fill(cr, Hex(0xE8B868));
      break;
    case kPancakes:
      for (int k = 0; k < 3; ++k) Disc(cr, x - k * 1.2, y - k * 1.2, r * 0.72, Hex(0xE0A050));
      art::Blob(cr, rng, x - 2, y - 2, r * 0.35, r * 0.3, 7, 0.25);
      art::Fill(cr, Hex(0x9A4A18), 0.85);
      break;
    case kPasta:
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      for (int k = 0; k < 24; ++k) {
        double a = rng.Range(0, 2 * kPi), d = rng.Range(0, r * 0.55);
        double px = x + std::cos(a) * d, py = y + std::sin(a) * d;
        cairo_arc(cr, px, py, rng.Range(2, r * 0.3), rng.Range(0, 6), rng.Range(0, 6) + 3);
        art::Stroke(cr, 1.3, Hex(0xF2D890));
      }
      art::Blob(cr, rng, x, y, r * 0.3, r * 0.28, 7, 0.2);
      art::Fill(cr, Hex(0xC83A20), 0.9);
      break;
    case kSalad:
      for (int k = 0; k < 7; ++k) {
        double a = rng.Range(0, 2 * kPi), d = rng.Range(0, r * 0.5);
        art::Blob(cr, rng, x + std::cos(a) * d, y + std::sin(a) * d, r * 0.25, r * 0.2, 6, 0.3);
        art::Fill(cr, Hsv(rng.Range(0.22, 0.32), 0.6, rng.Range(0.55, 0.8)));
      }
      break;
    case kSlice:
      art::Polygon(cr,
                   {{x - r * 0.5, y + r * 0.4}, {x + r * 0.55, y + r * 0.1}, {x - r * 0.2, y - r * 0.55}});
      art::Fill(cr, Hex(0xF6E8D0));
      art::StrokeLine(cr, x - r * 0.5, y + r * 0.4, x - r * 0.2, y - r * 0.55, r * 0.16, Hex(0xA85A3A));
      break;
    case kSushi:
      for (int k = 0; k < 3; ++k) {
        double sx = x - r * 0.4 + k * r * 0.4;
        Disc(cr, sx, y, r * 0.2, Hex(0x1A2A1A));
        Disc(cr, sx, y, r * 0.15, Hex(0xFAFAF0));
        Disc(cr, sx, y, r * 0.07, Hex(0xF07850));
      }
      break;
    default:
      break;
  }
  // Small round things on top: peas, berries, olives ... the plate's count.
  Rng spots(it.seed ^ 0xABCD);
  for (int k = 0; k < 9; ++k) {
    double a = spots.Range(0, 2 * kPi), d = spots.Range(0.25, 0.62) * r;
    if (k >= it.count) continue;
    Disc(cr, x + std::cos(a) * d, y + std::sin(a) * d, std::max(2.0, r * 0.11), it.accent);
  }
}

void PaintPlate(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  Served(cr, it, r, it.color);
  art::Ellipse(cr, it.x, it.y, r * 0.72, r * 0.72);
  art::Fill(cr, Shade(it.color, 0.93));
  art::Ellipse(cr, it.x, it.y, r * 0.86, r * 0.86);
  art::Stroke(cr, std::max(1.0, r * 0.04), Shade(it.color, 0.82), 0.8);
  Food(cr, it, r * 0.9);
}

void PaintBowl(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  Served(cr, it, r, it.color);
  art::Ellipse(cr, it.x + r * 0.05, it.y + r * 0.05, r * 0.8, r * 0.8);
  art::Fill(cr, Shade(it.color, 0.7));
  Rng rng(it.seed);
  for (int k = 0; k < 9; ++k) {
    double a = rng.Range(0, 2 * kPi), d = std::sqrt(rng.Uniform()) * r * 0.55;
    if (k >= it.count) continue;
    Disc(cr, it.x + std::cos(a) * d, it.y + std::sin(a) * d, r * 0.2, it.accent);
  }
}

void PaintCup(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  Turned turned(cr, it);
  Served(cr, it, r, Hex(0xF6F4EE));
  DropShadow(cr, it.x, it.y, r * 0.62, r * 0.62);
  art::RoundedRect(cr, it.x + r * 0.5, it.y - r * 0.1, r * 0.42, r * 0.2, r * 0.1);
  art::Fill(cr, it.color);
  Disc(cr, it.x, it.y, r * 0.6, it.color);
  art::Ellipse(cr, it.x, it.y, r * 0.48, r * 0.48);
  art::Fill(cr, it.accent);
  art::Ellipse(cr, it.x - r * 0.12, it.y - r * 0.12, r * 0.16, r * 0.1);
  art::Fill(cr, Hex(0xFFFFFF), 0.35);
}

void PaintGlass(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  DropShadow(cr, it.x, it.y, r * 0.9, r * 0.9);
  art::Ellipse(cr, it.x, it.y, r, r);
  art::Fill(cr, Hex(0xE8F4FF), 0.55);
  art::Ellipse(cr, it.x, it.y, r * 0.8, r * 0.8);
  art::Fill(cr, it.color, 0.9);
  art::Ellipse(cr, it.x, it.y, r, r);
  art::Stroke(cr, 1.2, Hex(0xFFFFFF), 0.8);
  art::Ellipse(cr, it.x - r * 0.35, it.y - r * 0.35, r * 0.2, r * 0.12);
  art::Fill(cr, Hex(0xFFFFFF), 0.6);
}

void PaintTeapot(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  Turned turned(cr, it);
  DropShadow(cr, it.x, it.y, r * 1.1, r);
  art::Polygon(cr, {{it.x + r * 0.7, it.y - r * 0.1},
                    {it.x + r * 1.35, it.y - r * 0.18},
                    {it.x + r * 1.35, it.y + r * 0.02},
                    {it.x + r * 0.7, it.y + r * 0.12}});
  art::Fill(cr, Shade(it.color, 0.85));
  art::Ellipse(cr, it.x - r * 0.95, it.y, r * 0.35, r * 0.25);
  art::Stroke(cr, r * 0.12, Shade(it.color, 0.8));
  Disc(cr, it.x, it.y, r, it.color);
  Disc(cr, it.x, it.y, r * 0.45, Shade(it.color, 1.1));
  Disc(cr, it.x, it.y, r * 0.12, it.accent);
}

static void Cutlery(cairo_t* cr, const Item& it, int head) {
  const double s = it.size;
  Turned turned(cr, it);
  art::GroundShadow(cr, it.x + 2, it.y + 2, s * 0.08, s * 0.5, 0.25);
  art::RoundedRect(cr, it.x - s * 0.035, it.y, s * 0.07, s * 0.5, s * 0.03);
  art::FillVertical(cr, it.y, it.y + s * 0.5, Shade(it.color, 1.2), Shade(it.color, 0.8));
  if (head == 0) {  // fork
    for (int k = 0; k < 4; ++k)
      art::StrokeLine(cr, it.x - s * 0.06 + k * s * 0.04, it.y - s * 0.45, it.x - s * 0.06 + k * s * 0.04,
                      it.y - s * 0.2, std::max(0.8, s * 0.018), it.color);
    art::RoundedRect(cr, it.x - s * 0.075, it.y - s * 0.22, s * 0.15, s * 0.24, s * 0.04);
    art::Fill(cr, it.color);
  } else if (head == 1) {  // knife
    cairo_move_to(cr, it.x - s * 0.045, it.y);
    cairo_line_to(cr, it.x - s * 0.045, it.y - s * 0.45);
    cairo_curve_to(cr, it.x + s * 0.02, it.y - s * 0.5, it.x + s * 0.06, it.y - s * 0.4, it.x + s * 0.05,
                   it.y);
    cairo_close_path(cr);
    art::Fill(cr, Shade(it.color, 1.1));
  } else {  // spoon
    art::Ellipse(cr, it.x, it.y - s * 0.3, s * 0.1, s * 0.16);
    art::FillShaded(cr, it.x, it.y - s * 0.3, s * 0.18, it.color);
  }
}

void PaintNapkin(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Turned turned(cr, it);
  art::GroundShadow(cr, it.x + 2, it.y + 2, s * 0.45, s * 0.45, 0.2);
  Wedge(cr, it, {{-0.45, -0.45}, {0.45, -0.45}, {-0.45, 0.45}}, 0.45);
  art::StrokeLine(cr, it.x - s * 0.38, it.y - s * 0.38, it.x + s * 0.3, it.y - s * 0.38, 0.8, it.accent, 0.8);
}

static void PaintFruit(cairo_t* cr, const Item& it, bool leafy) {
  const double r = it.size * 0.5;
  Turned turned(cr, it);
  Served(cr, it, r, it.color);
  if (leafy) {
    art::StrokeLine(cr, it.x, it.y, it.x + r * 0.15, it.y - r * 0.3, std::max(1.0, r * 0.12), Hex(0x5A3A1E));
    cairo_move_to(cr, it.x + r * 0.12, it.y - r * 0.25);
    cairo_curve_to(cr, it.x + r * 0.4, it.y - r * 0.7, it.x + r * 0.8, it.y - r * 0.45, it.x + r * 0.75,
                   it.y - r * 0.35);
    cairo_curve_to(cr, it.x + r * 0.6, it.y - r * 0.15, it.x + r * 0.3, it.y - r * 0.15, it.x + r * 0.12,
                   it.y - r * 0.25);
    art::Fill(cr, it.accent);
  } else {
    art::Ellipse(cr, it.x + r * 0.1, it.y - r * 0.1, r * 0.08, r * 0.08);
    art::Fill(cr, Shade(it.color, 0.6));
  }
}

void PaintLemon(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  Served(cr, it, r, it.color);
  Disc(cr, it.x, it.y, r * 0.85, Shade(it.color, 1.35));
  const int segments = std::clamp(it.count, 5, 12);
  for (int k = 0; k < segments; ++k) {
    double a = k * 2 * kPi / segments;
    art::StrokeLine(cr, it.x, it.y, it.x + std::cos(a) * r * 0.8, it.y + std::sin(a) * r * 0.8, 0.9,
                    Hex(0xFFFFF0));
  }
}

void PaintBanana(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Turned turned(cr, it);
  art::GroundShadow(cr, it.x + 2, it.y + 3, s * 0.5, s * 0.18, 0.25);
  cairo_move_to(cr, it.x - s * 0.5, it.y - s * 0.1);
  cairo_curve_to(cr, it.x - s * 0.2, it.y + s * 0.25, it.x + s * 0.25, it.y + s * 0.25, it.x + s * 0.5,
                 it.y - s * 0.12);
  cairo_curve_to(cr, it.x + s * 0.25, it.y + s * 0.08, it.x - s * 0.2, it.y + s * 0.08, it.x - s * 0.5,
                 it.y - s * 0.1);
  cairo_close_path(cr);
  art::FillVertical(cr, it.y - s * 0.1, it.y + s * 0.2, Shade(it.color, 1.15), Shade(it.color, 0.8));
  art::Ellipse(cr, it.x + s * 0.5, it.y - s * 0.12, s * 0.03, s * 0.03);
  art::Fill(cr, Hex(0x4A3A20));
}

static void PaintBerries(cairo_t* cr, const Item& it, double berry, bool stems) {
  Rng rng(it.seed);
  const double s = it.size;
  for (int k = 0; k < 12; ++k) {
    double a = rng.Range(0, 2 * kPi), d = std::sqrt(rng.Uniform()) * s * 0.4;
    double bx = it.x + std::cos(a) * d, by = it.y + std::sin(a) * d;
    if (k >= it.count) continue;
    DropShadow(cr, bx, by, berry, berry);
    Disc(cr, bx, by, berry, it.color);
    if (stems) art::StrokeLine(cr, bx, by, bx + berry * 0.8, by - berry * 1.4, 0.8, Hex(0x4A6A2A));
  }
}

void PaintStrawberry(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Turned turned(cr, it);
  DropShadow(cr, it.x, it.y, s * 0.35, s * 0.4);
  cairo_move_to(cr, it.x, it.y + s * 0.45);
  cairo_curve_to(cr, it.x - s * 0.5, it.y + s * 0.1, it.x - s * 0.4, it.y - s * 0.35, it.x, it.y - s * 0.3);
  cairo_curve_to(cr, it.x + s * 0.4, it.y - s * 0.35, it.x + s * 0.5, it.y + s * 0.1, it.x, it.y + s * 0.45);
  cairo_close_path(cr);
  art::FillShaded(cr, it.x, it.y, s * 0.45, it.color);
  Rng rng(it.seed);
  for (int k = 0; k < 8; ++k) {
    art::Ellipse(cr, it.x + rng.Range(-0.25, 0.25) * s, it.y + rng.Range(-0.15, 0.3) * s, 0.7, 0.9);
    art::Fill(cr, Hex(0xFFE880));
  }
  art::Star(cr, it.x, it.y - s * 0.3, s * 0.22, s * 0.08, 5);
  art::Fill(cr, Hex(0x3E8A30));
}

void PaintCookie(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double r = it.size * 0.5;
  DropShadow(cr, it.x, it.y, r, r);
  art::Blob(cr, rng, it.x, it.y, r, r * 0.95, 9, 0.06);
  art::FillShaded(cr, it.x, it.y, r, it.color);
  Rng spots(it.seed ^ 0xC0C0);
  for (int k = 0; k < 9; ++k) {
    double a = spots.Range(0, 2 * kPi), d = std::sqrt(spots.Uniform()) * r * 0.7;
    if (k >= it.count) continue;
    art::Blob(cr, spots, it.x + std::cos(a) * d, it.y + std::sin(a) * d, r * 0.13, r * 0.11, 5, 0.3);
    art::Fill(cr, it.accent);
  }
}

void PaintDonut(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  DropShadow(cr, it.x, it.y, r, r);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  art::Ellipse(cr, it.x, it.y, r, r);
  art::Ellipse(cr, it.x, it.y, r * 0.32, r * 0.32);
  art::FillShaded(cr, it.x, it.y, r, Hex(0xD89A58));
  Rng icing(it.seed);
  art::Blob(cr, icing, it.x, it.y, r * 0.85, r * 0.85, 9, 0.06);
  art::Ellipse(cr, it.x, it.y, r * 0.42, r * 0.42);
  art::Fill(cr, it.color);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  Rng rng(it.seed ^ 0xD0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int k = 0; k < 14; ++k) {
    double a = rng.Range(0, 2 * kPi), d = rng.Range(0.5, 0.78) * r, t = rng.Range(0, kPi);
    double sx = it.x + std::cos(a) * d, sy = it.y + std::sin(a) * d;
    if (k >= it.count) continue;
    art::StrokeLine(cr, sx - std::cos(t) * 2, sy - std::sin(t) * 2, sx + std::cos(t) * 2,
                    sy + std::sin(t) * 2, 1.4, Hsv(rng.Uniform(), 0.7, 1.0));
  }
}

void PaintCake(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  DropShadow(cr, it.x, it.y, r * 1.05, r * 1.05);
  Disc(cr, it.x, it.y, r * 1.05, Hex(0xF2F2F0));
  Disc(cr, it.x, it.y, r * 0.88, it.color);
  for (int k = 0; k < 16; ++k) {
    double a = k * 2 * kPi / 16;
    Disc(cr, it.x + std::cos(a) * r * 0.8, it.y + std::sin(a) * r * 0.8, r * 0.07, Shade(it.color, 1.25));
  }
  const int candles = std::clamp(it.count, 0, 9);
  for (int k = 0; k < candles; ++k) {
    double a = k * 2 * kPi / std::max(1, candles) + 0.3, d = candles > 1 ? r * 0.45 : 0;
    double cx = it.x + std::cos(a) * d, cy = it.y + std::sin(a) * d;
    art::Glow(cr, cx, cy, r * 0.25, Hex(0xFFD060), 0.5);
    Disc(cr, cx, cy, r * 0.08, it.accent);
    Disc(cr, cx, cy, r * 0.04, Hex(0xFFF4A0));
  }
}

void PaintBread(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Turned turned(cr, it);
  art::GroundShadow(cr, it.x + 2, it.y + 3, s * 0.55, s * 0.25, 0.3);
  art::RoundedRect(cr, it.x - s * 0.5, it.y - s * 0.22, s, s * 0.44, s * 0.2);
  art::FillShaded(cr, it.x, it.y, s * 0.55, it.color);
  const int cuts = std::clamp(it.count, 1, 6);
  for (int k = 0; k < cuts; ++k) {
    double cx = it.x - s * 0.35 + k * (s * 0.7 / std::max(1, cuts - 1 == 0 ? 1 : cuts - 1));
    if (cuts == 1) cx = it.x;
    art::StrokeLine(cr, cx - s * 0.05, it.y - s * 0.16, cx + s * 0.05, it.y + s * 0.16,
                    std::max(1.0, s * 0.03), Shade(it.color, 1.4));
  }
}

void PaintCheese(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Turned turned(cr, it);
  art::GroundShadow(cr, it.x + 2, it.y + 2, s * 0.5, s * 0.35, 0.3);
  Wedge(cr, it, {{-0.5, 0.35}, {0.5, 0.35}, {0.2, -0.35}}, 0.35);
  Rng rng(it.seed);
  for (int k = 0; k < 7; ++k) {
    double hx = it.x + rng.Range(-0.2, 0.25) * s, hy = it.y + rng.Range(0.0, 0.25) * s;
    if (k >= it.count) continue;
    art::Ellipse(cr, hx, hy, s * 0.06, s * 0.05);
    art::Fill(cr, Shade(it.color, 0.7));
  }
}

void PaintEgg(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Turned turned(cr, it);
  DropShadow(cr, it.x, it.y, s * 0.36, s * 0.46);
  art::Ellipse(cr, it.x, it.y, s * 0.36, s * 0.46);
  art::FillShaded(cr, it.x, it.y, s * 0.5, it.color);
}

void PaintJar(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  Served(cr, it, r, it.color);
  for (int k = 0; k < 12; ++k) {
    double a = k * 2 * kPi / 12;
    art::StrokeLine(cr, it.x + std::cos(a) * r * 0.7, it.y + std::sin(a) * r * 0.7,
                    it.x + std::cos(a) * r * 0.95, it.y + std::sin(a) * r * 0.95, 0.8, Shade(it.color, 0.75));
  }
  Disc(cr, it.x, it.y, r * 0.55, it.accent);
}

void PaintShaker(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  Served(cr, it, r, Hex(0xE8ECF0));
  Disc(cr, it.x, it.y, r * 0.75, Hex(0xC8CCD4));
  const int holes = std::clamp(it.count, 1, 7);
  for (int k = 0; k < holes; ++k) {
    double a = k * 2 * kPi / holes, d = holes > 1 ? r * 0.35 : 0;
    art::Ellipse(cr, it.x + std::cos(a) * d, it.y + std::sin(a) * d, r * 0.09, r * 0.09);
    art::Fill(cr, it.color);
  }
}

void PaintVase(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  DropShadow(cr, it.x, it.y, r * 0.7, r * 0.7);
  Disc(cr, it.x, it.y, r * 0.45, it.accent);
  const int flowers = std::clamp(it.count, 1, 7);
  for (int k = 0; k < flowers; ++k) {
    double a = k * 2 * kPi / flowers + 0.4, d = flowers > 1 ? r * 0.55 : 0;
    double fx = it.x + std::cos(a) * d, fy = it.y + std::sin(a) * d;
    for (int p = 0; p < 6; ++p) {
      double pa = p * kPi / 3;
      art::Ellipse(cr, fx + std::cos(pa) * r * 0.18, fy + std::sin(pa) * r * 0.18, r * 0.15, r * 0.15);
    }
    art::Fill(cr, it.color);
    Disc(cr, fx, fy, r * 0.12, Hex(0xFFD840));
  }
}

void PaintCandle(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  art::Glow(cr, it.x, it.y, r * 3, Hex(0xFFD080), 0.3);
  Served(cr, it, r, Hex(0xB8A070));
  Disc(cr, it.x, it.y, r * 0.6, it.color);
  art::Glow(cr, it.x, it.y, r * 0.6, Hex(0xFFF0A0), 0.9);
}

void PaintTomato(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  Served(cr, it, r, it.color);
  art::Star(cr, it.x, it.y, r * 0.45, r * 0.15, 5, it.angle);
  art::Fill(cr, Hex(0x3A7A28));
}

void PaintLeaf(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Turned turned(cr, it);
  cairo_move_to(cr, it.x - s * 0.5, it.y);
  cairo_curve_to(cr, it.x - s * 0.2, it.y - s * 0.35, it.x + s * 0.3, it.y - s * 0.3, it.x + s * 0.5, it.y);
  cairo_curve_to(cr, it.x + s * 0.3, it.y + s * 0.3, it.x - s * 0.2, it.y + s * 0.35, it.x - s * 0.5, it.y);
  art::FillShaded(cr, it.x, it.y, s * 0.5, it.color);
  art::StrokeLine(cr, it.x - s * 0.5, it.y, it.x + s * 0.45, it.y, 0.8, Shade(it.color, 1.4));
}

void PaintSugar(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  Served(cr, it, r, it.color);
  art::Ellipse(cr, it.x, it.y, r * 0.8, r * 0.8);
  art::Fill(cr, Shade(it.color, 0.8));
  Rng rng(it.seed);
  for (int k = 0; k < 8; ++k) {
    double a = rng.Range(0, 2 * kPi), d = std::sqrt(rng.Uniform()) * r * 0.5;
    if (k >= it.count) continue;
    cairo_save(cr);
    cairo_translate(cr, it.x + std::cos(a) * d, it.y + std::sin(a) * d);
    cairo_rotate(cr, rng.Range(0, 1.5));
    cairo_rectangle(cr, -r * 0.14, -r * 0.14, r * 0.28, r * 0.28);
    art::SetColor(cr, Hex(0xFFFFFF));
    cairo_fill_preserve(cr);
    art::Stroke(cr, 0.5, Hex(0xC8C8C8));
    cairo_restore(cr);
  }
}

void PaintPizza(cairo_t* cr, const Scene&, const Item& it) {
  const double r = it.size * 0.5;
  Served(cr, it, r, Hex(0xD8964A));
  Disc(cr, it.x, it.y, r * 0.85, Hex(0xE04A28));
  Rng rng(it.seed);
  for (int k = 0; k < 14; ++k) {
    double a = rng.Range(0, 2 * kPi), d = std::sqrt(rng.Uniform()) * r * 0.75;
    art::Blob(cr, rng, it.x + std::cos(a) * d, it.y + std::sin(a) * d, r * 0.14, r * 0.12, 6, 0.3);
    art::Fill(cr, Hex(0xFFF2C0), 0.9);
  }
  Rng spots(it.seed ^ 0x9A);
  for (int k = 0; k < 9; ++k) {
    double a = spots.Range(0, 2 * kPi), d = std::sqrt(spots.Uniform()) * r * 0.65;
    if (k >= it.count) continue;
    Disc(cr, it.x + std::cos(a) * d, it.y + std::sin(a) * d, r * 0.13, it.accent);
  }
  for (int k = 0; k < 4; ++k) {
    double a = k * kPi / 4;
    art::StrokeLine(cr, it.x - std::cos(a) * r * 0.85, it.y - std::sin(a) * r * 0.85,
                    it.x + std::cos(a) * r * 0.85, it.y + std::sin(a) * r * 0.85, 0.8, Hex(0x8A3A18), 0.6);
  }
}

// The kinds that share a painter of a family.
void PaintFork(cairo_t* cr, const Scene&, const Item& it) {
  Cutlery(cr, it, 0);
}
void PaintKnife(cairo_t* cr, const Scene&, const Item& it) {
  Cutlery(cr, it, 1);
}
void PaintSpoon(cairo_t* cr, const Scene&, const Item& it) {
  Cutlery(cr, it, 2);
}
void PaintApple(cairo_t* cr, const Scene&, const Item& it) {
  PaintFruit(cr, it, true);
}
void PaintOrange(cairo_t* cr, const Scene&, const Item& it) {
  PaintFruit(cr, it, false);
}
void PaintGrapes(cairo_t* cr, const Scene&, const Item& it) {
  PaintBerries(cr, it, it.size * 0.1, false);
}
void PaintCherries(cairo_t* cr, const Scene&, const Item& it) {
  PaintBerries(cr, it, it.size * 0.12, true);
}

}  // namespace datagen::kitchen
