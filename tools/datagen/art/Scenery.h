// SPDX-License-Identifier: Zlib
#pragma once

#include <cairo.h>

#include <vector>

#include "Canvas.h"
#include "Color.h"

namespace datagen {

class Rng;
class Noise;

// Painting steps shared by the backdrops: skies, ridges, water and weather.
namespace scenery {

struct Stop {
  double at;
  Rgb color;
};

// Fills the rectangle with a vertical gradient through the stops (at from 0 to 1).
void Gradient(cairo_t* cr, double x, double y, double w, double h, const std::vector<Stop>& stops,
              double alpha = 1);

// A ridge of hills or mountains: filled from the noisy line down to `bottom`.
void Ridge(cairo_t* cr, const Noise& noise, double width, double baseY, double amplitude, double scale,
           double bottom, const Rgb& top, const Rgb& low, int octaves = 5);
// The height of that ridge at x (for placing things on it).
double RidgeY(const Noise& noise, double x, double baseY, double amplitude, double scale, int octaves = 5);

void Stars(cairo_t* cr, Rng& rng, double w, double h, int count, double alpha);
// Soft wisps of cloud in a band: noise thresholded into alpha.
void Clouds(const Canvas& canvas, const Noise& noise, double y0, double y1, double scale, double cover,
            const Rgb& lit, const Rgb& shade, double alpha);
// Calm water: ripples of light on a gradient, with a column of glitter below a light source.
void Water(cairo_t* cr, Rng& rng, double w, double y0, double y1, const Rgb& near, const Rgb& far,
           double glitterX, const Rgb& glitter);
// Round out-of-focus lights.
void Bokeh(cairo_t* cr, Rng& rng, double w, double h, int count, const Rgb& c, double alpha);
// Darkens the corners.
void Vignette(cairo_t* cr, double w, double h, double strength);
// A stand of reeds rising from (x, bottom).
void Reeds(cairo_t* cr, Rng& rng, double x, double bottom, double spread, int count, const Rgb& c);
// A fir silhouette standing on (x, y).
void Fir(cairo_t* cr, double x, double y, double height, const Rgb& c);

}  // namespace scenery
}  // namespace datagen
