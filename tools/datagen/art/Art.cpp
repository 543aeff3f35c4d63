// SPDX-License-Identifier: Zlib
#include "Art.h"

#include <cmath>

#include "Math.h"
#include "Rng.h"

namespace datagen::art {

void SetColor(cairo_t* cr, const Rgb& c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void Fill(cairo_t* cr, const Rgb& c, double alpha) {
  SetColor(cr, c, alpha);
  cairo_fill(cr);
}

void Stroke(cairo_t* cr, double width, const Rgb& c, double alpha) {
  cairo_set_line_width(cr, width);
  SetColor(cr, c, alpha);
  cairo_stroke(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
  radius = std::min({radius, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - radius, y + radius, radius, -kPi / 2, 0);
  cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, kPi / 2);
  cairo_arc(cr, x + radius, y + h - radius, radius, kPi / 2, kPi);
  cairo_arc(cr, x + radius, y + radius, radius, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    double a = turn * 2 * kPi + i * kPi / points - kPi / 2;
    double r = (i % 2 == 0) ? outer : inner;
    if (i == 0)
      cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    else
      cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
}

void Polygon(cairo_t* cr, const std::vector<Point>& corners) {
  if (corners.empty()) return;
  cairo_move_to(cr, corners[0].x, corners[0].y);
  for (size_t i = 1; i < corners.size(); ++i) cairo_line_to(cr, corners[i].x, corners[i].y);
  cairo_close_path(cr);
}

void SmoothClosed(cairo_t* cr, const std::vector<Point>& p) {
  const size_t n = p.size();
  if (n < 3) return;
  cairo_new_sub_path(cr);
  cairo_move_to(cr, p[0].x, p[0].y);
  for (size_t i = 0; i < n; ++i) {
    const Point& p0 = p[(i + n - 1) % n];
    const Point& p1 = p[i];
    const Point& p2 = p[(i + 1) % n];
    const Point& p3 = p[(i + 2) % n];
    cairo_curve_to(cr, p1.x + (p2.x - p0.x) / 6, p1.y + (p2.y - p0.y) / 6, p2.x - (p3.x - p1.x) / 6,
                   p2.y - (p3.y - p1.y) / 6, p2.x, p2.y);
  }
  cairo_close_path(cr);
}

void Blob(cairo_t* cr, Rng& rng, double cx, double cy, double rx, double ry, int lobes, double wobble) {
  std::vector<Point> points;
  double start = rng.Uniform();
  for (int i = 0; i < lobes; ++i) {
    double a = (start + static_cast<double>(i) / lobes) * 2 * kPi;
    double k = 1 + rng.Range(-wobble, wobble);
    points.push_back({cx + std::cos(a) * rx * k, cy + std::sin(a) * ry * k});
  }
  SmoothClosed(cr, points);
}

namespace {

// Fills the path with a pattern and lets the pattern go; `preserve` keeps the path for a stroke.
void FillWith(cairo_t* cr, cairo_pattern_t* pattern, bool preserve) {
  cairo_set_source(cr, pattern);
  if (preserve)
    cairo_fill_preserve(cr);
  else
    cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}

}  // namespace

void FillLinear(cairo_t* cr, double x0, double y0, double x1, double y1,
                std::initializer_list<GradientStop> stops, bool preserve) {
  cairo_pattern_t* g = cairo_pattern_create_linear(x0, y0, x1, y1);
  for (const GradientStop& s : stops)
    cairo_pattern_add_color_stop_rgba(g, s.at, s.color.r, s.color.g, s.color.b, s.alpha);
  FillWith(cr, g, preserve);
}

void FillVertical(cairo_t* cr, double y0, double y1, const Rgb& top, const Rgb& bottom, double alpha,
                  bool preserve) {
  FillLinear(cr, 0, y0, 0, y1, {{0, top, alpha}, {1, bottom, alpha}}, preserve);
}

void FillShaded(cairo_t* cr, double cx, double cy, double radius, const Rgb& base, double alpha,
                bool preserve) {
  Rgb light = Shade(base, 1.45), dark = Shade(base, 0.55);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - radius * 0.35, cy - radius * 0.4, radius * 0.05, cx,
                                                   cy, radius * 1.15);
  cairo_pattern_add_color_stop_rgba(g, 0, light.r, light.g, light.b, alpha);
  cairo_pattern_add_color_stop_rgba(g, 0.55, base.r, base.g, base.b, alpha);
  cairo_pattern_add_color_stop_rgba(g, 1, dark.r, dark.g, dark.b, alpha);
  FillWith(cr, g, preserve);
}

void Glow(cairo_t* cr, double cx, double cy, double radius, const Rgb& c, double alpha) {
  if (radius <= 0) return;
  cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
  cairo_pattern_add_color_stop_rgba(g, 0, c.r, c.g, c.b, alpha);
  cairo_pattern_add_color_stop_rgba(g, 0.4, c.r, c.g, c.b, alpha * 0.45);
  cairo_pattern_add_color_stop_rgba(g, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, g);
  cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void GroundShadow(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha) {
  if (rx <= 0 || ry <= 0) return;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(g, 0, 0, 0, 0, alpha);
  cairo_pattern_add_color_stop_rgba(g, 0.6, 0, 0, 0, alpha * 0.5);
  cairo_pattern_add_color_stop_rgba(g, 1, 0, 0, 0, 0);
  cairo_set_source(cr, g);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_restore(cr);
}

void StrokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width, const Rgb& c,
                double alpha) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  Stroke(cr, width, c, alpha);
}

void SelectFace(cairo_t* cr, Face face, double size) {
  bool serif = face == Face::Serif || face == Face::SerifBold;
  bool bold = face == Face::SansBold || face == Face::SerifBold;
  cairo_select_font_face(cr, serif ? "DejaVu Serif" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  // Outlines without hinting look the same at every size and on every machine.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double TextWidth(cairo_t* cr, const std::string& utf8) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, utf8.c_str(), &e);
  return e.x_advance;
}

void CenteredTextPath(cairo_t* cr, const std::string& utf8, double cx, double baseline) {
  cairo_move_to(cr, cx - TextWidth(cr, utf8) / 2, baseline);
  cairo_text_path(cr, utf8.c_str());
}

}  // namespace datagen::art
