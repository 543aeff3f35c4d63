// SPDX-License-Identifier: Zlib
#pragma once

#include <cairo.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "Color.h"

namespace datagen {

class Rng;

struct Point {
  double x = 0, y = 0;
};

// Drawing primitives shared by the interface pictures and the level illustrations.
namespace art {

void SetColor(cairo_t* cr, const Rgb& c, double alpha = 1);
// Fills the current path with one colour.
void Fill(cairo_t* cr, const Rgb& c, double alpha = 1);
// Strokes the current path with lines `width` wide in one colour.
void Stroke(cairo_t* cr, double width, const Rgb& c, double alpha = 1);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn = 0);
// A closed path through the corners, in order.
void Polygon(cairo_t* cr, const std::vector<Point>& corners);
// A closed curve through the points (Catmull-Rom turned into Bezier segments).
void SmoothClosed(cairo_t* cr, const std::vector<Point>& points);
// An irregular round shape: pebbles, bushes, clouds, coral heads.
void Blob(cairo_t* cr, Rng& rng, double cx, double cy, double rx, double ry, int lobes, double wobble);

struct GradientStop {
  double at;  // from 0 to 1
  Rgb color;
  double alpha = 1;
};

// Fills the current path with a linear gradient from (x0, y0) to (x1, y1) through the stops;
// `preserve` keeps the path for a stroke.
void FillLinear(cairo_t* cr, double x0, double y0, double x1, double y1,
                std::initializer_list<GradientStop> stops, bool preserve = false);
// Fills the current path with a vertical gradient from `top` to `bottom` between y0 and y1.
void FillVertical(cairo_t* cr, double y0, double y1, const Rgb& top, const Rgb& bottom, double alpha = 1,
                  bool preserve = false);
// Fills the current path as a lit ball: highlight toward the upper left, shade toward the lower right.
void FillShaded(cairo_t* cr, double cx, double cy, double radius, const Rgb& base, double alpha = 1,
                bool preserve = false);
// A soft, round patch of light or shade.
void Glow(cairo_t* cr, double cx, double cy, double radius, const Rgb& c, double alpha);
// A soft shadow on the ground below an object.
void GroundShadow(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha);
void StrokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width, const Rgb& c,
                double alpha = 1);

// Text in one of the font families every machine of the project has.
enum class Face { Sans, SansBold, Serif, SerifBold };
void SelectFace(cairo_t* cr, Face face, double size);
// Width of a text in the current face.
double TextWidth(cairo_t* cr, const std::string& utf8);
// Adds the outline of a text centred on (cx, baseline y) to the current path.
void CenteredTextPath(cairo_t* cr, const std::string& utf8, double cx, double baseline);

}  // namespace art
}  // namespace datagen
