// SPDX-License-Identifier: Zlib
#include "Scenery.h"

#include <cmath>

#include "Art.h"
#include "Filters.h"
#include "Math.h"
#include "Noise.h"
#include "Rng.h"

namespace datagen::scenery {

void Gradient(cairo_t* cr, double x, double y, double w, double h, const std::vector<Stop>& stops,
              double alpha) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
  for (const Stop& s : stops)
    cairo_pattern_add_color_stop_rgba(g, s.at, s.color.r, s.color.g, s.color.b, alpha);
  cairo_rectangle(cr, x, y, w, h);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

double RidgeY(const Noise& noise, double x, double baseY, double amplitude, double scale, int octaves) {
  return baseY - amplitude * (noise.Line(x / scale, octaves) - 0.5) * 2;
}

void Ridge(cairo_t* cr, const Noise& noise, double width, double baseY, double amplitude, double scale,
           double bottom, const Rgb& top, const Rgb& low, int octaves) {
  cairo_move_to(cr, -2, bottom);
  for (double x = -2; x <= width + 2; x += 2)
    cairo_line_to(cr, x, RidgeY(noise, x, baseY, amplitude, scale, octaves));
  cairo_line_to(cr, width + 2, bottom);
  cairo_close_path(cr);
  art::FillVertical(cr, baseY - amplitude, bottom, top, low);
}

void Stars(cairo_t* cr, Rng& rng, double w, double h, int count, double alpha) {
  for (int i = 0; i < count; ++i) {
    double x = rng.Range(0, w), y = rng.Range(0, h) * rng.Range(0.3, 1.0);
    double r = rng.Chance(0.1) ? rng.Range(1.0, 1.6) : rng.Range(0.35, 0.9);
    double a = alpha * rng.Range(0.3, 1.0) * (1 - y / h * 0.7);
    Rgb c = rng.Chance(0.2) ? Hex(0xFFE8C8) : Hex(0xDDEBFF);
    if (r > 1) art::Glow(cr, x, y, r * 4, c, a * 0.35);
    art::Ellipse(cr, x, y, r, r);
    art::Fill(cr, c, a);
  }
}

void Clouds(const Canvas& canvas, const Noise& noise, double y0, double y1, double scale, double cover,
            const Rgb& lit, const Rgb& shade, double alpha) {
  Canvas layer(canvas.width(), canvas.height());
  FillPixels(layer, [&](int x, int y) {
    double t = (y - y0) / (y1 - y0);
    double n = noise.Fbm(x / scale, y / (scale * 0.35), 5);
    return Mix(lit, shade, Clamp01(t * 0.6 + (0.7 - n)));
  });
  MaskAlpha(layer, [&](int x, int y) {
    if (y < y0 || y > y1) return 0.0;
    double t = (y - y0) / (y1 - y0);
    double band = std::sin(t * kPi);
    double n = noise.Fbm(x / scale, y / (scale * 0.35), 5);
    double v = (n - (1 - cover)) / cover;
    return Clamp01(v * 2.2) * band * alpha;
  });
  canvas.Paint(layer);
}

void Water(cairo_t* cr, Rng& rng, double w, double y0, double y1, const Rgb& near, const Rgb& far,
           double glitterX, const Rgb& glitter) {
  cairo_rectangle(cr, 0, y0, w, y1 - y0);
  art::FillVertical(cr, y0, y1, far, near);
  // Ripples get longer and further apart toward the viewer.
  for (double y = y0 + 1; y < y1; y += 1.5 + (y - y0) / (y1 - y0) * 4) {
    double t = (y - y0) / (y1 - y0);
    int count = static_cast<int>(w / 40);
    for (int i = 0; i < count; ++i) {
      double x = rng.Range(-20, w);
      double len = rng.Range(8, 40) * (0.5 + t * 1.5);
      art::StrokeLine(cr, x, y, x + len, y, 0.6 + t, Shade(far, 1.3), rng.Range(0.03, 0.12));
    }
  }
  for (double y = y0 + 1; y < y1; y += 2 + (y - y0) / (y1 - y0) * 5) {
    double t = (y - y0) / (y1 - y0);
    double spread = 18 + t * 70;
    for (int i = 0; i < 3; ++i) {
      double x = glitterX + rng.Normal(spread);
      double len = rng.Range(4, 18) * (0.6 + t);
      double a = rng.Range(0.15, 0.55) * (1 - std::fabs(x - glitterX) / (spread * 2.2));
      if (a > 0) art::StrokeLine(cr, x - len / 2, y, x + len / 2, y, 0.8 + t * 1.2, glitter, a);
    }
  }
}

void Bokeh(cairo_t* cr, Rng& rng, double w, double h, int count, const Rgb& c, double alpha) {
  for (int i = 0; i < count; ++i) {
    double x = rng.Range(0, w), y = rng.Range(0, h), r = rng.Range(6, 38);
    double a = alpha * rng.Range(0.3, 1.0);
    art::Ellipse(cr, x, y, r, r);
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(g, 0, c.r, c.g, c.b, a * 0.5);
    cairo_pattern_add_color_stop_rgba(g, 0.85, c.r, c.g, c.b, a);
    cairo_pattern_add_color_stop_rgba(g, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  }
}

void Vignette(cairo_t* cr, double w, double h, double strength) {
  double r = std::hypot(w, h) / 2;
  cairo_pattern_t* g = cairo_pattern_create_radial(w / 2, h / 2, r * 0.45, w / 2, h / 2, r * 1.05);
  cairo_pattern_add_color_stop_rgba(g, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(g, 1, 0, 0, 0, strength);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void Reeds(cairo_t* cr, Rng& rng, double x, double bottom, double spread, int count, const Rgb& c) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < count; ++i) {
    double x0 = x + rng.Normal(spread);
    double height = rng.Range(40, 110);
    double lean = rng.Normal(25);
    cairo_move_to(cr, x0, bottom);
    cairo_curve_to(cr, x0, bottom - height * 0.5, x0 + lean * 0.5, bottom - height * 0.8, x0 + lean,
                   bottom - height);
    const double width = rng.Range(1.2, 2.6);  // drawn before the shade
    art::Stroke(cr, width, Shade(c, rng.Range(0.7, 1.2)));
    if (rng.Chance(0.25)) {
      double tx = x0 + lean * 0.75, ty = bottom - height * 0.85;
      art::Ellipse(cr, tx, ty, 2.2, 7);
      art::Fill(cr, Shade(c, 0.8));
    }
  }
}

void Fir(cairo_t* cr, double x, double y, double height, const Rgb& c) {
  double w = height * 0.42;
  for (int tier = 0; tier < 4; ++tier) {
    double top = y - height + tier * height * 0.2;
    double bottom = y - height * 0.12 - (3 - tier) * height * 0.06;
    double half = w * (0.35 + tier * 0.22);
    art::Polygon(cr, {{x, top}, {x + half, bottom}, {x - half, bottom}});
  }
  cairo_rectangle(cr, x - height * 0.03, y - height * 0.15, height * 0.06, height * 0.15);
  art::Fill(cr, c);
}

}  // namespace datagen::scenery
