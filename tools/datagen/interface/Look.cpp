// SPDX-License-Identifier: Zlib
#include "Look.h"

#include "Art.h"

namespace datagen::look {

void GlassPanel(cairo_t* cr, double x, double y, double w, double h, double radius, double opacity) {
  // Soft shadow first, then the glass, a sheen across its top, and the rim.
  for (int i = 6; i >= 1; --i) {
    art::RoundedRect(cr, x - i + 3, y - i + 5, w + 2 * i, h + 2 * i, radius + i);
    art::Fill(cr, {0, 0, 0}, 0.035 * opacity);
  }
  art::RoundedRect(cr, x, y, w, h, radius);
  art::FillVertical(cr, y, y + h, Mix(kDeep, kSea, 0.35), Mix(kNight, kDeep, 0.4), opacity, true);
  cairo_save(cr);
  cairo_clip(cr);
  cairo_pattern_t* sheen = cairo_pattern_create_linear(x, y, x + w * 0.6, y + h * 0.45);
  cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, 0.10 * opacity);
  cairo_pattern_add_color_stop_rgba(sheen, 0.5, 1, 1, 1, 0.03 * opacity);
  cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 1, 1, 0);
  cairo_set_source(cr, sheen);
  cairo_paint(cr);
  cairo_pattern_destroy(sheen);
  cairo_restore(cr);

  art::RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, radius);
  cairo_set_line_width(cr, 1.5);
  cairo_pattern_t* rim = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgba(rim, 0, kMist.r, kMist.g, kMist.b, 0.75 * opacity);
  cairo_pattern_add_color_stop_rgba(rim, 1, kTeal.r, kTeal.g, kTeal.b, 0.35 * opacity);
  cairo_set_source(cr, rim);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
  art::RoundedRect(cr, x + 3.5, y + 3.5, w - 7, h - 7, radius - 3);
  art::Stroke(cr, 1, kMist, 0.12 * opacity);
}

void RowBands(cairo_t* cr, double x, double y, double w, double rowHeight, double bandHeight, int rows) {
  for (int i = 0; i < rows; ++i) {
    art::RoundedRect(cr, x, y + i * rowHeight, w, bandHeight, 4);
    art::Fill(cr, i % 2 == 0 ? kMist : kTeal, i % 2 == 0 ? 0.07 : 0.05);
  }
}

void Heading(cairo_t* cr, const char* text, double cx, double baseline, double size) {
  art::SelectFace(cr, art::Face::SerifBold, size);
  art::CenteredTextPath(cr, text, cx, baseline);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, size * 0.16);
  art::SetColor(cr, kNight, 0.85);
  cairo_stroke_preserve(cr);
  art::FillVertical(cr, baseline - size, baseline, Shade(kGold, 1.25), Shade(kGold, 0.8));
}

void Ornament(cairo_t* cr, double cx, double y, double halfWidth) {
  cairo_pattern_t* g = cairo_pattern_create_linear(cx - halfWidth, 0, cx + halfWidth, 0);
  cairo_pattern_add_color_stop_rgba(g, 0, kGold.r, kGold.g, kGold.b, 0);
  cairo_pattern_add_color_stop_rgba(g, 0.5, kGold.r, kGold.g, kGold.b, 0.8);
  cairo_pattern_add_color_stop_rgba(g, 1, kGold.r, kGold.g, kGold.b, 0);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, cx - halfWidth, y - 0.6, 2 * halfWidth, 1.2);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  art::Polygon(cr, {{cx, y - 4}, {cx + 4, y}, {cx, y + 4}, {cx - 4, y}});
  art::Fill(cr, kGold, 0.9);
}

}  // namespace datagen::look
