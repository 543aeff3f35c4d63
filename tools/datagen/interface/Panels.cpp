// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <cmath>
#include <string>

#include "Art.h"
#include "Filters.h"
#include "Interface.h"
#include "Look.h"
#include "Noise.h"
#include "Rng.h"

namespace datagen::ui {
namespace {

double Smooth(double edge0, double edge1, double v) {
  double t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

// A glass pane whose heading, over an ornament, is centred on it, and bands 20 apart behind the
// rows the game writes into it (none for a pane of no rows).
struct ListPane {
  double x, y, width, height, radius;
  const char* heading;
  double headingBaseline, headingSize, ornamentY, ornamentHalfWidth;
  double rowsX, rowsY, rowsWidth;
  int rows;
};

void DrawListPane(cairo_t* cr, const ListPane& pane) {
  const double centre = pane.x + pane.width / 2;
  look::GlassPanel(cr, pane.x, pane.y, pane.width, pane.height, pane.radius);
  look::Heading(cr, pane.heading, centre, pane.headingBaseline, pane.headingSize);
  look::Ornament(cr, centre, pane.ornamentY, pane.ornamentHalfWidth);
  look::RowBands(cr, pane.rowsX, pane.rowsY, pane.rowsWidth, 20, 19, pane.rows);
}

}  // namespace

Canvas GameMask(Rng& rng) {
  // The game reads 800 x 600 (turned a quarter for upright packs) or 600 x 800 from the top-left
  // corner. The panel is the 800 x 600 part with soft edges: upright packs see all four edges, and
  // wide packs see its left edge and a soft bottom just above the screen's lower border.
  Canvas canvas(1024, 1024);
  Noise noise(rng.Next());
  Canvas panel(800, 600);
  FillPixels(panel, [&](int x, int y) {
    double n = noise.Fbm(x / 140.0, y / 140.0, 5);
    double glow = std::exp(-std::hypot(x - 400.0, y - 300.0) / 420.0);
    Rgb base = Mix(Hex(0x2A3550), Hex(0x4E5E80), glow * 0.8);
    return Mix(base, Hex(0x6A7CA0), (n - 0.5) * 0.5 + 0.1);
  });
  // Fine diagonal lines give the panel the feel of frosted glass.
  cairo_t* pcr = panel.cr();
  for (int i = -600; i < 800; i += 6) art::StrokeLine(pcr, i, 0, i + 600, 600, 1, Hex(0xFFFFFF), 0.025);
  MaskAlpha(panel, [&](int x, int y) {
    double edge =
        std::min({Smooth(0, 70, x), Smooth(0, 70, y), Smooth(0, 70, 800 - x), Smooth(0, 50, 600 - y)});
    return 0.93 * edge;
  });
  canvas.Paint(panel);
  return canvas;
}

Canvas SideMenu(Rng& rng) {
  Canvas canvas(256, 512);
  cairo_t* cr = canvas.cr();
  // A tall pane behind the six buttons, fading out downward; the game draws it half opaque.
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, 168, 0);
  cairo_curve_to(cr, 170, 120, 162, 200, 150, 252);
  cairo_curve_to(cr, 135, 320, 80, 420, 0, 500);
  cairo_close_path(cr);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, 500);
  cairo_pattern_add_color_stop_rgba(fill, 0, look::kDeep.r, look::kDeep.g, look::kDeep.b, 0.95);
  cairo_pattern_add_color_stop_rgba(fill, 0.5, look::kSea.r, look::kSea.g, look::kSea.b, 0.8);
  cairo_pattern_add_color_stop_rgba(fill, 1, look::kNight.r, look::kNight.g, look::kNight.b, 0);
  cairo_set_source(cr, fill);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(fill);
  cairo_pattern_t* rim = cairo_pattern_create_linear(0, 0, 0, 500);
  cairo_pattern_add_color_stop_rgba(rim, 0, look::kGold.r, look::kGold.g, look::kGold.b, 0.9);
  cairo_pattern_add_color_stop_rgba(rim, 1, look::kGold.r, look::kGold.g, look::kGold.b, 0);
  cairo_set_source(cr, rim);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  // Soft wells behind each button row (rows start at y 15 and step by 37).
  for (int k = 0; k < 6; ++k) {
    double y = 15 + 37 * k;
    art::RoundedRect(cr, 12, y - 4, 134, 33, 14);
    art::Fill(cr, look::kNight, 0.45);
  }
  Noise noise(rng.Next());
  for (int i = 0; i < 30; ++i) {
    double y = 250 + i * 8;
    art::StrokeLine(cr, 0, y, 120 - i * 3.5, y + 30, 1, look::kMist, 0.05 + 0.04 * noise.At(i, 0));
  }
  return canvas;
}

Canvas PackListPanel(Rng&) {
  Canvas canvas(512, 512);
  // Drawn at (275, 90): the title banner above reaches y 128 (texture row 38), so the pane
  // starts below it. Rows are 20 pixels apart from screen y 175 (row 85), text x 360 to 665.
  DrawListPane(canvas.cr(),
               {15, 44, 445, 340, 16, "Choose a picture pack", 73, 17, 80, 150, 80, 84, 315, 14});
  return canvas;
}

Canvas PackInfoPanel(Rng&) {
  Canvas canvas(256, 256);
  cairo_t* cr = canvas.cr();
  // Drawn at (-30, 263). The game writes its labels at screen y 315, 358 and 400 (rows 52, 95,
  // 137), each centred in a column 115 wide from x 35 (row centre 122), and the best score and its
  // holder at y 420 (row 157) from x 40 and x 80.
  DrawListPane(cr, {34, 16, 180, 222, 14, "Pack", 41, 14, 93, 58, 0, 0, 0, 0});
  look::Ornament(cr, 124, 134, 58);
  art::RoundedRect(cr, 44, 155, 160, 40, 8);
  art::Fill(cr, look::kNight, 0.45);
  return canvas;
}

Canvas ScoreTablePanel(Rng&) {
  Canvas canvas(256, 512);
  cairo_t* cr = canvas.cr();
  // Drawn at (-30, 200): the menu buttons end at screen y 225; the game writes ranks 1 to 10 at
  // y 340 to 520 (rows 140 to 320), the score from x 40 (column 70) and the name from x 80.
  DrawListPane(cr, {38, 72, 178, 292, 14, "Top Ten", 108, 20, 121, 70, 46, 137, 164, 10});
  // The game writes no rank numbers, so the panel carries them beside the rows.
  art::SelectFace(cr, art::Face::SansBold, 10);
  for (int rank = 1; rank <= 10; ++rank) {
    std::string text = std::to_string(rank) + ".";
    cairo_move_to(cr, 66 - art::TextWidth(cr, text), 140 + 20 * (rank - 1) + 11);
    cairo_text_path(cr, text.c_str());
    art::Fill(cr, look::kGold, 0.9);
  }
  return canvas;
}

Canvas ScorePacksPanel(Rng&) {
  Canvas canvas(256, 512);
  // Drawn at (370, 90): pack rows are 20 apart from screen y 175 (row 85), text x 405 to 595.
  DrawListPane(canvas.cr(), {12, 42, 236, 340, 14, "Packs", 72, 17, 79, 70, 32, 84, 196, 14});
  return canvas;
}

Canvas Emblem(Rng&) {
  Canvas canvas(256, 256);
  cairo_t* cr = canvas.cr();
  art::Ellipse(cr, 128, 128, 118, 118);
  art::FillShaded(cr, 128, 128, 118, look::kSea);
  art::Ellipse(cr, 128, 128, 110, 110);
  art::Stroke(cr, 4, look::kGold);
  art::SelectFace(cr, art::Face::SerifBold, 64);
  art::CenteredTextPath(cr, "VNL", 128, 150);
  art::Fill(cr, look::kIvory);
  return canvas;
}

}  // namespace datagen::ui
