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

// A recessed frame where a level picture lies (the picture covers its inside exactly).
void PictureSlot(cairo_t* cr, double x, double y, double w, double h) {
  for (int i = 10; i >= 1; --i) {
    art::RoundedRect(cr, x - 6 - i + 3, y - 6 - i + 5, w + 12 + 2 * i, h + 12 + 2 * i, 8 + i);
    art::Fill(cr, {0, 0, 0}, 0.04);
  }
  art::RoundedRect(cr, x - 6, y - 6, w + 12, h + 12, 7);
  art::FillVertical(cr, y - 6, y + h + 6, Shade(look::kGold, 0.85), Shade(look::kGold, 0.45));
  art::RoundedRect(cr, x - 3, y - 3, w + 6, h + 6, 4);
  art::Fill(cr, look::kNight);
}

void Label(cairo_t* cr, const char* text, double cx, double baseline, double size, const Rgb& c,
           double alpha = 1) {
  art::SelectFace(cr, art::Face::SansBold, size);
  art::CenteredTextPath(cr, text, cx, baseline);
  art::Fill(cr, c, alpha);
}

// A light plate for text the game writes in dark blue.
void LightPlate(cairo_t* cr, double x, double y, double w, double h) {
  art::RoundedRect(cr, x + 2, y + 3, w, h, h / 2);
  art::Fill(cr, {0, 0, 0}, 0.35);
  art::RoundedRect(cr, x, y, w, h, h / 2);
  art::FillVertical(cr, y, y + h, look::kIvory, Mix(look::kMist, look::kIvory, 0.4), 1, true);
  art::Stroke(cr, 1.5, look::kGold);
}

void TimeBarRecess(cairo_t* cr) {
  art::RoundedRect(cr, 745, 86, 60, 424, 10);
  art::Fill(cr, look::kNight, 0.55);
  Label(cr, "TIME", 775, 78, 12, look::kGold);
}

void Ground(const Canvas& canvas, Rng& rng) {
  cairo_t* cr = canvas.cr();
  scenery::Gradient(cr, 0, 0, kW, kH,
                    {{0, look::kNight}, {0.55, Mix(look::kDeep, look::kSea, 0.45)}, {1, look::kNight}});
  Noise noise(rng.Next());
  Canvas mist(800, 600);
  FillPixels(mist, [](int, int) { return look::kTeal; });
  MaskAlpha(mist,
            [&](int x, int y) { return Clamp01((noise.Fbm(x / 160.0, y / 90.0, 5) - 0.45) * 1.2) * 0.35; });
  canvas.Paint(mist);
  scenery::Bokeh(cr, rng, kW, kH, 40, look::kMist, 0.06);
  scenery::Bokeh(cr, rng, kW, kH, 14, look::kGold, 0.05);
  scenery::Stars(cr, rng, kW, kH, 120, 0.35);
}

}  // namespace

Canvas PlayBackdrop(Rng& rng, bool vertical) {
  Canvas canvas(800, 600);
  cairo_t* cr = canvas.cr();
  Ground(canvas, rng);
  TimeBarRecess(cr);
  if (vertical) {
    look::GlassPanel(cr, 296, -12, 378, 50, 12, 0.75);
    PictureSlot(cr, 185, 100, 256, 380);
    PictureSlot(cr, 471, 100, 256, 380);
    Label(cr, "ORIGINAL", 313, 86, 12, look::kMist, 0.9);
    Label(cr, "MODIFIED", 599, 86, 12, look::kMist, 0.9);
    look::GlassPanel(cr, 4, 96, 154, 238, 10);
    look::Heading(cr, "The picture", 81, 116, 14);
    look::GlassPanel(cr, 8, 388, 148, 62, 10);
    Label(cr, "LEVEL", 82, 409, 11, look::kGold);
    look::GlassPanel(cr, 162, 486, 584, 72, 12, 0.6);
    look::GlassPanel(cr, 0, 468, 158, 136, 10);
    Label(cr, "YOUR RANK", 80, 489, 11, look::kGold);
    LightPlate(cr, 196, 563, 206, 30);
    Label(cr, "SCORE", 228, 583, 11, look::kDeep);
  } else {
    PictureSlot(cr, 350, 29, 380, 256);
    PictureSlot(cr, 350, 315, 380, 256);
    Label(cr, "ORIGINAL", 540, 17, 11, look::kMist, 0.9);
    Label(cr, "MODIFIED", 540, 305, 11, look::kMist, 0.9);
    look::GlassPanel(cr, 8, 26, 222, 72, 10);
    Label(cr, "NOW PLAYING", 119, 47, 11, look::kGold);
    look::GlassPanel(cr, 4, 116, 230, 244, 10);
    look::Heading(cr, "The picture", 119, 138, 14);
    look::GlassPanel(cr, 236, 6, 76, 590, 12, 0.6);
    look::GlassPanel(cr, 4, 424, 230, 172, 10);
    Label(cr, "YOUR RANK", 119, 442, 11, look::kGold);
    Label(cr, "LEVEL", 58, 551, 11, look::kGold);
    Label(cr, "SCORE", 40, 585, 11, look::kGold);
  }
  scenery::Vignette(cr, kW, kH, 0.35);
  AddGrain(canvas, rng, 0.01);
  return canvas;
}

}  // namespace datagen::ui
