// SPDX-License-Identifier: Zlib
#include "SeaProps.h"

#include <algorithm>
#include <cmath>

#include "Art.h"
#include "Math.h"
#include "Painting.h"
#include "Rng.h"

namespace datagen::sea {

static bool Glowing(const Scene& scene) {
  return WatersOf(static_cast<int>(scene.mood[0])).glow;
}

static void FloorShadow(cairo_t* cr, const Item& it, double w) {
  art::GroundShadow(cr, it.x, it.y, w, w * 0.2, 0.3);
}

// A fish facing right with its centre at (x, y): body, tail, fins, stripes and an eye.
static void FishShape(cairo_t* cr, double x, double y, double len, int variant, const Rgb& body,
                      const Rgb& stripe, int stripes, bool glow) {
  const double h = len * (variant == 2 ? 0.62 : variant == 1 ? 0.26 : 0.4);
  if (glow) art::Glow(cr, x, y, len * 0.9, body, 0.35);
  // Tail.
  cairo_move_to(cr, x - len * 0.38, y);
  cairo_line_to(cr, x - len * 0.62, y - h * 0.55);
  cairo_curve_to(cr, x - len * 0.55, y, x - len * 0.55, y, x - len * 0.62, y + h * 0.55);
  cairo_close_path(cr);
  art::Fill(cr, Shade(stripe, 0.9));
  // Top fin.
  cairo_move_to(cr, x - len * 0.15, y - h * 0.42);
  cairo_curve_to(cr, x - len * 0.05, y - h * (variant == 2 ? 1.2 : 0.85), x + len * 0.12, y - h * 0.7,
                 x + len * 0.15, y - h * 0.42);
  cairo_close_path(cr);
  art::Fill(cr, stripe, 0.95);
  if (variant == 2) {
    cairo_move_to(cr, x - len * 0.15, y + h * 0.42);
    cairo_curve_to(cr, x - len * 0.05, y + h * 1.2, x + len * 0.12, y + h * 0.7, x + len * 0.15,
                   y + h * 0.42);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
  art::Ellipse(cr, x, y, len * 0.42, h * 0.5);
  art::FillShaded(cr, x, y, len * 0.45, body, 1, true);
  cairo_save(cr);
  cairo_clip(cr);
  for (int k = 0; k < stripes; ++k) {
    double sx = x + len * (0.22 - k * 0.14);
    cairo_rectangle(cr, sx - len * 0.035, y - h, len * 0.07, h * 2);
    art::Fill(cr, stripe, 0.9);
  }
  cairo_restore(cr);
  art::Ellipse(cr, x + len * 0.26, y - h * 0.1, len * 0.055, len * 0.055);
  art::Fill(cr, Hex(0xFFFFFF));
  art::Ellipse(cr, x + len * 0.27, y - h * 0.1, len * 0.03, len * 0.03);
  art::Fill(cr, Hex(0x101418));
}

void PaintFish(cairo_t* cr, const Scene& scene, const Item& it) {
  Mirror(cr, it);
  FishShape(cr, it.x, it.y, it.size, it.variant, it.color, it.accent, it.count, Glowing(scene));
}

void PaintSchool(cairo_t* cr, const Scene& scene, const Item& it) {
  Mirror(cr, it);
  Scatter(it, 12, 0.6, 0.35, 0.2, 0.26, [&](double fx, double fy, double len) {
    FishShape(cr, fx, fy, len, 1, it.color, it.accent, 0, Glowing(scene));
  });
}

void PaintJelly(cairo_t* cr, const Scene& scene, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  const bool glow = Glowing(scene);
  art::Glow(cr, it.x, it.y, s * (glow ? 1.1 : 0.7), it.color, glow ? 0.55 : 0.2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int k = 0; k < it.count; ++k) {
    double tx = it.x + (k - (it.count - 1) / 2.0) * s * 0.13;
    double sway = rng.Range(-0.2, 0.2) * s;
    cairo_move_to(cr, tx, it.y);
    cairo_curve_to(cr, tx + sway, it.y + s * 0.4, tx - sway, it.y + s * 0.7, tx + sway * 0.5,
                   it.y + s * 1.05);
    art::Stroke(cr, std::max(1.0, s * 0.04), Shade(it.color, 1.2), 0.75);
  }
  cairo_move_to(cr, it.x - s * 0.45, it.y);
  cairo_curve_to(cr, it.x - s * 0.45, it.y - s * 0.6, it.x + s * 0.45, it.y - s * 0.6, it.x + s * 0.45, it.y);
  cairo_curve_to(cr, it.x + s * 0.2, it.y + s * 0.08, it.x - s * 0.2, it.y + s * 0.08, it.x - s * 0.45, it.y);
  cairo_close_path(cr);
  art::FillShaded(cr, it.x, it.y - s * 0.2, s * 0.5, it.color, 0.85);
  art::Ellipse(cr, it.x - s * 0.12, it.y - s * 0.28, s * 0.1, s * 0.06);
  art::Fill(cr, Hex(0xFFFFFF), 0.5);
}

void PaintStar(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  FloorShadow(cr, it, s * 0.5);
  const int arms = std::clamp(it.count, 4, 8);
  cairo_new_sub_path(cr);
  for (int k = 0; k <= arms * 2; ++k) {
    double a = it.angle + k * kPi / arms - kPi / 2;
    double r = k % 2 == 0 ? s * 0.5 : s * 0.2;
    double px = it.x + std::cos(a) * r, py = it.y - s * 0.25 + std::sin(a) * r * 0.7;
    if (k == 0)
      cairo_move_to(cr, px, py);
    else
      cairo_line_to(cr, px, py);
  }
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  art::FillShaded(cr, it.x, it.y - s * 0.25, s * 0.5, it.color, 1, true);
  art::Stroke(cr, s * 0.08, it.color);
  for (int k = 0; k < arms; ++k) {
    double a = it.angle + k * 2 * kPi / arms - kPi / 2;
    art::Ellipse(cr, it.x + std::cos(a) * s * 0.22, it.y - s * 0.25 + std::sin(a) * s * 0.15, s * 0.04,
                 s * 0.04);
    art::Fill(cr, it.accent);
  }
}

void PaintShell(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  FloorShadow(cr, it, s * 0.5);
  cairo_move_to(cr, it.x, it.y);
  cairo_arc(cr, it.x, it.y, s * 0.55, kPi * 1.08, kPi * 1.92);
  cairo_close_path(cr);
  art::FillShaded(cr, it.x, it.y - s * 0.3, s * 0.6, it.color);
  const int ribs = std::clamp(it.count, 3, 10);
  for (int k = 0; k < ribs; ++k) {
    double a = kPi * (1.12 + 0.76 * (k + 0.5) / ribs);
    art::StrokeLine(cr, it.x, it.y, it.x + std::cos(a) * s * 0.52, it.y + std::sin(a) * s * 0.52,
                    std::max(0.7, s * 0.04), it.accent, 0.85);
  }
  cairo_rectangle(cr, it.x - s * 0.12, it.y - s * 0.06, s * 0.24, s * 0.08);
  art::Fill(cr, Shade(it.color, 0.8));
}

void PaintCrab(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  FloorShadow(cr, it, s * 0.55);
  Mirror(cr, it);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int side = -1; side <= 1; side += 2)
    for (int k = 0; k < 3; ++k) {
      double lx = it.x + side * s * (0.18 + k * 0.09);
      art::StrokeLine(cr, lx, it.y - s * 0.2, lx + side * s * 0.22, it.y, std::max(1.0, s * 0.05),
                      Shade(it.color, 0.8));
    }
  art::Ellipse(cr, it.x, it.y - s * 0.25, s * 0.34, s * 0.2);
  art::FillShaded(cr, it.x, it.y - s * 0.3, s * 0.4, it.color);
  // The right claw is the big one.
  const double clawR[2] = {s * 0.1, s * 0.17};
  for (int side = 0; side < 2; ++side) {
    double sx = side == 0 ? -1 : 1, cx = it.x + sx * s * 0.44, cy = it.y - s * 0.5;
    art::StrokeLine(cr, it.x + sx * s * 0.25, it.y - s * 0.32, cx, cy + clawR[side], std::max(1.0, s * 0.06),
                    it.color);
    art::Ellipse(cr, cx, cy, clawR[side], clawR[side] * 0.8);
    art::FillShaded(cr, cx, cy, clawR[side] * 1.2, it.color);
  }
  for (int e = -1; e <= 1; e += 2) {
    art::StrokeLine(cr, it.x + e * s * 0.08, it.y - s * 0.4, it.x + e * s * 0.1, it.y - s * 0.55, 1,
                    Shade(it.color, 0.7));
    art::Ellipse(cr, it.x + e * s * 0.1, it.y - s * 0.57, s * 0.045, s * 0.045);
    art::Fill(cr, Hex(0x101010));
  }
}

void PaintTurtle(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  for (int k = -1; k <= 1; k += 2) {
    art::Ellipse(cr, it.x + s * 0.2, it.y + k * s * 0.28, s * 0.2, s * 0.08);
    art::Fill(cr, it.accent);
    art::Ellipse(cr, it.x - s * 0.26, it.y + k * s * 0.2, s * 0.1, s * 0.05);
    cairo_fill(cr);
  }
  art::Ellipse(cr, it.x + s * 0.46, it.y - s * 0.02, s * 0.12, s * 0.09);
  art::FillShaded(cr, it.x + s * 0.46, it.y, s * 0.14, it.accent);
  art::Ellipse(cr, it.x + s * 0.5, it.y - s * 0.05, s * 0.025, s * 0.025);
  art::Fill(cr, Hex(0x101010));
  art::Ellipse(cr, it.x, it.y, s * 0.38, s * 0.26);
  art::FillShaded(cr, it.x, it.y, s * 0.42, it.color, 1, true);
  cairo_save(cr);
  cairo_clip(cr);
  for (int k = 0; k < 6; ++k) {
    double a = k * kPi / 3;
    art::Ellipse(cr, it.x + std::cos(a) * s * 0.22, it.y + std::sin(a) * s * 0.15, s * 0.09, s * 0.07);
    art::Stroke(cr, std::max(0.8, s * 0.02), Shade(it.color, 0.6));
  }
  art::Ellipse(cr, it.x, it.y, s * 0.1, s * 0.08);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void PaintSeahorse(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, it.x, it.y - s * 0.35);
  cairo_curve_to(cr, it.x + s * 0.25, it.y - s * 0.1, it.x + s * 0.15, it.y + s * 0.25, it.x - s * 0.05,
                 it.y + s * 0.35);
  cairo_curve_to(cr, it.x - s * 0.2, it.y + s * 0.42, it.x - s * 0.2, it.y + s * 0.25, it.x - s * 0.08,
                 it.y + s * 0.25);
  art::Stroke(cr, s * 0.12, it.color);
  art::Ellipse(cr, it.x + s * 0.02, it.y - s * 0.1, s * 0.14, s * 0.22);
  art::FillShaded(cr, it.x, it.y - s * 0.1, s * 0.25, it.color);
  art::Ellipse(cr, it.x + s * 0.02, it.y - s * 0.4, s * 0.1, s * 0.09);
  art::FillShaded(cr, it.x, it.y - s * 0.42, s * 0.12, it.color);
  art::StrokeLine(cr, it.x + s * 0.08, it.y - s * 0.4, it.x + s * 0.25, it.y - s * 0.36, s * 0.07, it.color);
  art::Ellipse(cr, it.x + s * 0.05, it.y - s * 0.42, s * 0.025, s * 0.025);
  art::Fill(cr, Hex(0x101010));
  cairo_move_to(cr, it.x - s * 0.1, it.y - s * 0.2);
  cairo_line_to(cr, it.x - s * 0.28, it.y - s * 0.12);
  cairo_line_to(cr, it.x - s * 0.1, it.y);
  art::Fill(cr, it.accent, 0.9);
}

void PaintOctopus(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  Mirror(cr, it);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int k = 0; k < 6; ++k) {
    double sx = it.x - s * 0.25 + k * s * 0.1, curl = (k % 2 == 0 ? 1 : -1) * s * 0.2;
    cairo_move_to(cr, sx, it.y - s * 0.1);
    cairo_curve_to(cr, sx + curl, it.y + s * 0.15, sx - curl, it.y + s * 0.3, sx + curl * 0.8,
                   it.y + s * 0.45);
    art::Stroke(cr, s * 0.08, Shade(it.color, 0.9));
  }
  art::Ellipse(cr, it.x, it.y - s * 0.3, s * 0.3, s * 0.32);
  art::FillShaded(cr, it.x, it.y - s * 0.35, s * 0.38, it.color);
  for (int e = -1; e <= 1; e += 2) {
    art::Ellipse(cr, it.x + e * s * 0.11 + s * 0.05, it.y - s * 0.2, s * 0.06, s * 0.07);
    art::Fill(cr, Hex(0xFFFFFF));
    art::Ellipse(cr, it.x + e * s * 0.11 + s * 0.07, it.y - s * 0.2, s * 0.03, s * 0.04);
    art::Fill(cr, Hex(0x101010));
  }
  for (int k = 0; k < 4; ++k) {
    art::Ellipse(cr, it.x + rng.Range(-0.2, 0.2) * s, it.y - s * rng.Range(0.35, 0.5), s * 0.03, s * 0.03);
    art::Fill(cr, it.accent, 0.8);
  }
}

static void Branch(cairo_t* cr, Rng& rng, double x, double y, double angle, double length, double width,
                   int depth) {
  double ex = x + std::cos(angle) * length, ey = y + std::sin(angle) * length;
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, ex, ey);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
  if (depth == 0) {
    art::Ellipse(cr, ex, ey, width * 0.7, width * 0.7);
    cairo_fill(cr);
    return;
  }
  for (int k = 0; k < 2; ++k)
    Branch(cr, rng, ex, ey, angle + (k == 0 ? -1 : 1) * rng.Range(0.25, 0.6), length * rng.Range(0.6, 0.8),
           width * 0.72, depth - 1);
}

void PaintCoral(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  FloorShadow(cr, it, s * 0.35);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  art::SetColor(cr, Shade(it.color, 0.75));
  Rng copy = rng;
  Branch(cr, copy, it.x + 1, it.y, -kPi / 2, s * 0.32, s * 0.1, 3);
  art::SetColor(cr, it.color);
  Branch(cr, rng, it.x, it.y, -kPi / 2, s * 0.32, s * 0.09, 3);
}

void PaintBrain(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  FloorShadow(cr, it, s * 0.55);
  // Wavering grooves across it.
  Mound(cr, it, s * 0.7, it.y - s * 0.3, s * 0.55, [&] {
    for (int k = 0; k < 7; ++k) {
      double y0 = it.y - s * (0.05 + k * 0.07);
      cairo_move_to(cr, it.x - s * 0.5, y0);
      for (double x = -0.5; x <= 0.5; x += 0.1)
        cairo_line_to(cr, it.x + x * s, y0 + rng.Range(-0.03, 0.03) * s);
      art::Stroke(cr, std::max(0.7, s * 0.025), it.accent, 0.7);
    }
  });
}

void PaintFan(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  cairo_move_to(cr, it.x, it.y);
  cairo_arc(cr, it.x, it.y, s * 0.6, kPi * 1.15, kPi * 1.85);
  cairo_close_path(cr);
  art::Fill(cr, it.color, 0.55);
  for (int k = 0; k < 9; ++k) {
    double a = kPi * (1.15 + 0.7 * k / 8.0);
    art::StrokeLine(cr, it.x, it.y, it.x + std::cos(a) * s * 0.6, it.y + std::sin(a) * s * 0.6,
                    std::max(0.8, s * 0.03), it.color);
  }
  for (int k = 1; k <= 3; ++k) {
    cairo_arc(cr, it.x, it.y, s * 0.15 * k, kPi * 1.15, kPi * 1.85);
    art::Stroke(cr, std::max(0.6, s * 0.02), it.color);
  }
}

void PaintKelp(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  double x = it.x, y = it.y;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const double sway = rng.Range(-1, 1);
  for (int k = 0; k < 14; ++k) {
    double nx = it.x + std::sin(k * 0.45 + sway) * s * 0.08, ny = it.y - (k + 1) * s / 14;
    art::StrokeLine(cr, x, y, nx, ny, std::max(1.2, s * 0.018), Shade(it.color, 0.8));
    for (int side = -1; side <= 1; side += 2) {
      cairo_save(cr);
      cairo_translate(cr, nx, ny);
      cairo_rotate(cr, side * 0.9 + sway * 0.2);
      art::Ellipse(cr, side * s * 0.05, 0, s * 0.06, s * 0.018);
      art::Fill(cr, Shade(it.color, 1.05 - 0.02 * k));
      cairo_restore(cr);
    }
    x = nx;
    y = ny;
  }
}

void PaintWeed(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int k = 0; k < 6; ++k) {
    double x0 = it.x + rng.Range(-0.2, 0.2) * s, h = s * rng.Range(0.6, 1.0), lean = rng.Range(-0.3, 0.3) * s;
    cairo_move_to(cr, x0, it.y);
    cairo_curve_to(cr, x0 + lean, it.y - h * 0.4, x0 - lean, it.y - h * 0.7, x0 + lean * 0.5, it.y - h);
    art::Stroke(cr, std::max(1.5, s * 0.08), Shade(it.color, rng.Range(0.8, 1.15)));
  }
}

void PaintRock(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  FloorShadow(cr, it, s * 0.6);
  art::Blob(cr, rng, it.x, it.y - s * 0.25, s * 0.5, s * 0.3, 8, 0.15);
  art::FillShaded(cr, it.x, it.y - s * 0.28, s * 0.6, it.color);
  for (int k = 0; k < 3; ++k) {
    art::Ellipse(cr, it.x + rng.Range(-0.3, 0.3) * s, it.y - s * rng.Range(0.2, 0.4), s * 0.06, s * 0.04);
    art::Fill(cr, Hex(0x4A7A4A), 0.6);
  }
}

void PaintAnemone(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const int arms = std::clamp(it.count, 3, 12);
  for (int k = 0; k < arms; ++k) {
    double a = -kPi / 2 + (k - (arms - 1) / 2.0) * 0.25;
    double ex = it.x + std::cos(a) * s * 0.6, ey = it.y - s * 0.2 + std::sin(a) * s * 0.6;
    art::StrokeLine(cr, it.x, it.y - s * 0.2, ex, ey, std::max(1.2, s * 0.08), it.color);
    art::Ellipse(cr, ex, ey, s * 0.05, s * 0.05);
    art::Fill(cr, it.accent);
  }
  art::Ellipse(cr, it.x, it.y - s * 0.12, s * 0.22, s * 0.14);
  art::FillShaded(cr, it.x, it.y - s * 0.12, s * 0.25, Shade(it.color, 0.8));
}

void PaintBubbles(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  for (int k = 0; k < 10; ++k) {
    double bx = it.x + rng.Range(-0.15, 0.15) * it.size, by = it.y - k * it.size * 0.11;
    double r = it.size * rng.Range(0.04, 0.08) * (1 + k * 0.06);
    if (k >= it.count) continue;
    art::Ellipse(cr, bx, by, r, r);
    art::Stroke(cr, std::max(0.8, r * 0.25), Hex(0xF0FFFF), 0.85);
    art::Ellipse(cr, bx - r * 0.35, by - r * 0.35, r * 0.3, r * 0.3);
    art::Fill(cr, Hex(0xFFFFFF), 0.9);
  }
}

void PaintChest(cairo_t* cr, const Scene&, const Item& it) {
  Rng rng(it.seed);
  const double s = it.size;
  FloorShadow(cr, it, s * 0.6);
  cairo_rectangle(cr, it.x - s * 0.45, it.y - s * 0.4, s * 0.9, s * 0.4);
  art::FillVertical(cr, it.y - s * 0.4, it.y, Shade(it.color, 1.1), Shade(it.color, 0.7));
  // The open lid, and coins spilling over the front.
  art::Polygon(cr, {{it.x - s * 0.45, it.y - s * 0.4},
                    {it.x - s * 0.4, it.y - s * 0.78},
                    {it.x + s * 0.5, it.y - s * 0.78},
                    {it.x + s * 0.45, it.y - s * 0.4}});
  art::Fill(cr, Shade(it.color, 0.75));
  art::Ellipse(cr, it.x, it.y - s * 0.42, s * 0.42, s * 0.07);
  art::Fill(cr, Hex(0xF2C84A));
  for (double bx : {-0.3, 0.3})
    art::StrokeLine(cr, it.x + bx * s, it.y - s * 0.4, it.x + bx * s, it.y, std::max(1.0, s * 0.06),
                    it.accent);
  for (int k = 0; k < 8; ++k) {
    double cx = it.x + rng.Range(-0.6, 0.6) * s, cy = it.y - rng.Range(0.0, 0.08) * s;
    if (k >= it.count) continue;
    art::Ellipse(cr, cx, cy, s * 0.07, s * 0.04);
    art::FillShaded(cr, cx, cy, s * 0.08, Hex(0xF6D050));
  }
}

void PaintAnchor(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  cairo_save(cr);
  cairo_translate(cr, it.x, it.y);
  cairo_rotate(cr, it.angle);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const Rgb c = it.color;
  art::StrokeLine(cr, 0, -s * 0.1, 0, -s * 0.85, s * 0.08, c);
  art::StrokeLine(cr, -s * 0.2, -s * 0.7, s * 0.2, -s * 0.7, s * 0.07, c);
  cairo_arc(cr, 0, -s * 0.92, s * 0.08, 0, 2 * kPi);
  art::Stroke(cr, s * 0.04, c);
  cairo_arc(cr, 0, -s * 0.45, s * 0.36, kPi * 0.15, kPi * 0.85);
  cairo_set_line_width(cr, s * 0.08);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void PaintUrchin(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  FloorShadow(cr, it, s * 0.5);
  for (int k = 0; k < 22; ++k) {
    double a = k * 2 * kPi / 22;
    art::StrokeLine(cr, it.x, it.y - s * 0.25, it.x + std::cos(a) * s * 0.5,
                    it.y - s * 0.25 + std::sin(a) * s * 0.45, 0.9, Shade(it.color, 0.8));
  }
  art::Ellipse(cr, it.x, it.y - s * 0.25, s * 0.25, s * 0.22);
  art::FillShaded(cr, it.x, it.y - s * 0.25, s * 0.3, it.color);
}

void PaintRay(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  Mirror(cr, it);
  cairo_move_to(cr, it.x + s * 0.4, it.y);
  cairo_curve_to(cr, it.x + s * 0.1, it.y - s * 0.5, it.x - s * 0.2, it.y - s * 0.3, it.x - s * 0.35, it.y);
  cairo_curve_to(cr, it.x - s * 0.2, it.y + s * 0.3, it.x + s * 0.1, it.y + s * 0.5, it.x + s * 0.4, it.y);
  cairo_close_path(cr);
  art::FillShaded(cr, it.x, it.y, s * 0.5, it.color);
  art::StrokeLine(cr, it.x - s * 0.33, it.y, it.x - s * 0.75, it.y + s * 0.08, std::max(1.0, s * 0.025),
                  it.color);
  art::Ellipse(cr, it.x + s * 0.28, it.y - s * 0.06, s * 0.025, s * 0.025);
  art::Fill(cr, Hex(0x101010));
  for (int k = 0; k < 3; ++k) {
    art::Ellipse(cr, it.x + s * (0.05 - k * 0.08), it.y - s * (0.12 - k * 0.05), s * 0.035, s * 0.035);
    art::Fill(cr, it.accent, 0.8);
  }
}

void PaintClam(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  FloorShadow(cr, it, s * 0.55);
  cairo_move_to(cr, it.x - s * 0.5, it.y - s * 0.1);
  cairo_curve_to(cr, it.x - s * 0.45, it.y - s * 0.7, it.x + s * 0.45, it.y - s * 0.7, it.x + s * 0.5,
                 it.y - s * 0.1);
  cairo_close_path(cr);
  art::FillShaded(cr, it.x, it.y - s * 0.35, s * 0.55, it.color);
  art::Ellipse(cr, it.x, it.y - s * 0.08, s * 0.5, s * 0.14);
  art::Fill(cr, Shade(it.accent, 0.7));
  for (int k = 0; k < it.count; ++k) {
    double px = it.x + (k - (it.count - 1) / 2.0) * s * 0.2;
    art::Ellipse(cr, px, it.y - s * 0.12, s * 0.08, s * 0.08);
    art::FillShaded(cr, px, it.y - s * 0.12, s * 0.09, Hex(0xF8F4FF));
  }
  cairo_move_to(cr, it.x - s * 0.5, it.y - s * 0.05);
  cairo_curve_to(cr, it.x - s * 0.4, it.y + s * 0.12, it.x + s * 0.4, it.y + s * 0.12, it.x + s * 0.5,
                 it.y - s * 0.05);
  cairo_close_path(cr);
  art::Fill(cr, Shade(it.color, 0.85));
}

void PaintBottle(cairo_t* cr, const Scene&, const Item& it) {
  const double s = it.size;
  FloorShadow(cr, it, s * 0.5);
  cairo_save(cr);
  cairo_translate(cr, it.x, it.y - s * 0.12);
  cairo_rotate(cr, it.flip ? -1.3 : 1.3);
  art::RoundedRect(cr, -s * 0.15, -s * 0.2, s * 0.3, s * 0.55, s * 0.1);
  cairo_rectangle(cr, -s * 0.06, -s * 0.42, s * 0.12, s * 0.24);
  art::Fill(cr, it.color, 0.75);
  cairo_rectangle(cr, -s * 0.07, -s * 0.48, s * 0.14, s * 0.08);
  art::Fill(cr, Hex(0x8A6A4A));
  cairo_rectangle(cr, -s * 0.08, -s * 0.05, s * 0.16, s * 0.3);
  art::Fill(cr, Hex(0xF4E8C8));
  cairo_restore(cr);
}

void PaintWreck(cairo_t* cr, const Scene& scene, const Item& it) {
  const Waters& w = WatersOf(static_cast<int>(scene.mood[0]));
  const double s = it.size;
  const Rgb wood = Mix(Hex(0x4A3A2E), w.bottom, 0.45);
  art::Polygon(cr, {{it.x - s * 0.5, it.y - s * 0.32},
                    {it.x + s * 0.45, it.y - s * 0.22},
                    {it.x + s * 0.35, it.y + 2},
                    {it.x - s * 0.42, it.y + 2}});
  art::FillVertical(cr, it.y - s * 0.32, it.y, Shade(wood, 1.2), Shade(wood, 0.8));
  for (int k = 1; k < 4; ++k)
    art::StrokeLine(cr, it.x - s * 0.47, it.y - s * (0.32 - k * 0.08), it.x + s * 0.42,
                    it.y - s * (0.22 - k * 0.07), 0.8, Shade(wood, 0.6));
  art::StrokeLine(cr, it.x - s * 0.05, it.y - s * 0.28, it.x + s * 0.12, it.y - s * 0.95, s * 0.035, wood);
  art::StrokeLine(cr, it.x - s * 0.1, it.y - s * 0.75, it.x + s * 0.3, it.y - s * 0.7, s * 0.02, wood);
  for (int k = 0; k < 3; ++k) {
    art::Ellipse(cr, it.x - s * (0.3 - k * 0.2), it.y - s * 0.2, s * 0.03, s * 0.03);
    art::Fill(cr, Shade(wood, 0.45));
  }
}

}  // namespace datagen::sea
