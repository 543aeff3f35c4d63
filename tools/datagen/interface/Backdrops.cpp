// SPDX-License-Identifier: Zlib
#include <cmath>

#include "Art.h"
#include "Filters.h"
#include "Interface.h"
#include "Look.h"
#include "Noise.h"
#include "Rng.h"
#include "Scenery.h"

namespace datagen::ui {
namespace {

constexpr double kW = 800, kH = 600;

// A lake among hills at dusk, the world the menus are set in. `horizon` is where the water starts.
void EveningLake(const Canvas& canvas, Rng& rng, double horizon) {
  cairo_t* cr = canvas.cr();
  using look::kDeep, look::kNight, look::kPeach, look::kSea, look::kTeal;
  scenery::Gradient(cr, 0, 0, kW, horizon,
                    {{0, kNight},
                     {0.45, Mix(kDeep, kSea, 0.5)},
                     {0.8, Mix(kTeal, kPeach, 0.35)},
                     {1, Mix(kPeach, Hex(0xF6D2A0), 0.4)}});
  const double sunX = 560;
  art::Glow(cr, sunX, horizon, 260, Hex(0xFFC890), 0.45);
  scenery::Stars(cr, rng, kW, horizon * 0.6, 170, 0.8);

  // A thin crescent moon high on the right.
  cairo_push_group(cr);
  art::Ellipse(cr, 650, 105, 26, 26);
  art::Fill(cr, Hex(0xFFF4DA));
  cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
  art::Ellipse(cr, 661, 98, 24, 24);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_fill(cr);
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
  art::Glow(cr, 645, 110, 70, Hex(0xFFF4DA), 0.18);

  Noise clouds(rng.Next());
  scenery::Clouds(canvas, clouds, 150, horizon - 30, 150, 0.45, Hex(0xF6C8B0), Hex(0x5A5C8C), 0.55);

  Noise far(rng.Next()), middle(rng.Next()), near(rng.Next());
  Rgb haze = Mix(kTeal, kPeach, 0.3);
  scenery::Ridge(cr, far, kW, horizon - 45, 40, 260, horizon + 2, Mix(haze, look::kLavender, 0.45),
                 Mix(haze, kSea, 0.3));
  scenery::Ridge(cr, middle, kW, horizon - 18, 26, 180, horizon + 2, Mix(kSea, look::kLavender, 0.35),
                 Mix(kSea, kDeep, 0.4));
  scenery::Ridge(cr, near, kW, horizon + 4, 14, 120, horizon + 8, Mix(kDeep, kSea, 0.35), kNight);
  for (int i = 0; i < 26; ++i) {
    double x = 380 + rng.Range(0, 420);
    double y = scenery::RidgeY(near, x, horizon + 4, 14, 120) + 3;
    scenery::Fir(cr, x, y, rng.Range(14, 34), Mix(kNight, kSea, 0.25));
  }

  scenery::Water(cr, rng, kW, horizon + 6, kH, kNight, Mix(kSea, look::kLavender, 0.25), sunX, Hex(0xFFD9A8));
  scenery::Reeds(cr, rng, 30, kH + 4, 40, 30, Mix(kNight, kSea, 0.2));
  scenery::Reeds(cr, rng, 770, kH + 4, 35, 24, Mix(kNight, kSea, 0.2));
}

}  // namespace

Canvas MenuBackdrop(Rng& rng) {
  Canvas canvas(800, 600);
  EveningLake(canvas, rng, 405);
  scenery::Vignette(canvas.cr(), kW, kH, 0.45);
  AddGrain(canvas, rng, 0.012);
  return canvas;
}

Canvas Sky(Rng& rng) {
  // Wisps of bright cloud on a mid-blue ground: at 30 % opacity, turning slowly, they make the
  // backdrop drift without hiding it. The ground stays mid-dark so it neither washes out nor
  // darkens the screen.
  Canvas canvas(512, 512);
  Noise noise(rng.Next()), detail(rng.Next());
  FillPixels(canvas, [&](int x, int y) {
    double n = noise.Fbm(x / 110.0, y / 110.0, 6);
    double d = detail.Fbm(x / 28.0, y / 28.0, 3);
    double wisp = Clamp01((n - 0.42) * 3.2) * (0.75 + 0.25 * d);
    Rgb ground = Mix(look::kDeep, look::kLavender, 0.35 + 0.2 * d);
    return Mix(ground, Hex(0xEAF2FF), wisp * 0.85);
  });
  AddGrain(canvas, rng, 0.01);
  return canvas;
}

Canvas Logo(Rng& rng) {
  Canvas canvas(800, 600);
  EveningLake(canvas, rng, 470);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, kW, kH);
  art::Fill(cr, look::kNight, 0.45);
  scenery::Vignette(cr, kW, kH, 0.7);

  // Two small framed pictures, the second one with a ring around its difference.
  auto framed = [&](double cx, double cy, double turn, bool modified) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, turn);
    for (int i = 8; i >= 1; --i) {
      art::RoundedRect(cr, -92 - i + 6, -66 - i + 9, 184 + 2 * i, 132 + 2 * i, 6 + i);
      art::Fill(cr, {0, 0, 0}, 0.05);
    }
    art::RoundedRect(cr, -92, -66, 184, 132, 5);
    art::Fill(cr, look::kIvory);
    cairo_rectangle(cr, -82, -56, 164, 112);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    art::FillVertical(cr, -56, 20, Hex(0x7FB6D8), Hex(0xF3D6A6));
    art::Glow(cr, 30, -20, 40, Hex(0xFFF0C0), 0.8);
    art::Ellipse(cr, 30, -20, 13, 13);
    art::Fill(cr, Hex(0xFFE9A8));
    cairo_move_to(cr, -90, 20);
    cairo_curve_to(cr, -50, -10, -10, 0, 20, 10);
    cairo_curve_to(cr, 50, 18, 70, 0, 90, 5);
    cairo_line_to(cr, 90, 60);
    cairo_line_to(cr, -90, 60);
    cairo_close_path(cr);
    art::FillVertical(cr, -10, 60, Hex(0x6FA860), Hex(0x2F6040));
    // The tree: the original has three apples, the copy only one.
    cairo_rectangle(cr, -45, -5, 7, 30);
    art::Fill(cr, Hex(0x5A3A24));
    art::Ellipse(cr, -42, -14, 24, 20);
    art::FillShaded(cr, -42, -14, 24, Hex(0x3F8A48));
    int apples = modified ? 1 : 3;
    const double ax[3] = {-52, -34, -44}, ay[3] = {-18, -10, -2};
    for (int i = 0; i < apples; ++i) {
      art::Ellipse(cr, ax[i], ay[i], 3.6, 3.6);
      art::FillShaded(cr, ax[i], ay[i], 3.6, Hex(0xD8402C));
    }
    cairo_restore(cr);
    if (modified) {
      art::Ellipse(cr, -42, -12, 21, 19);
      art::Stroke(cr, 3, look::kGold);
    }
    cairo_restore(cr);
  };
  framed(318, 245, -0.09, false);
  framed(482, 238, 0.08, true);

  art::SelectFace(cr, art::Face::SerifBold, 92);
  const char* title = "VARNEL";
  art::CenteredTextPath(cr, title, 400, 440);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 7);
  art::SetColor(cr, look::kNight, 0.9);
  cairo_stroke_preserve(cr);
  art::FillVertical(cr, 370, 440, Hex(0xFFF0C8), Hex(0xD9A24C));
  look::Ornament(cr, 400, 462, 190);
  art::SelectFace(cr, art::Face::Sans, 21);
  art::CenteredTextPath(cr, "spot the five differences", 400, 494);
  art::Fill(cr, look::kMist, 0.95);
  AddGrain(canvas, rng, 0.01);
  return canvas;
}

}  // namespace datagen::ui
