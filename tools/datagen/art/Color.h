// SPDX-License-Identifier: Zlib
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace datagen {

// A colour with channels from 0 to 1 (not premultiplied).
struct Rgb {
  double r = 0, g = 0, b = 0;
};

inline double Clamp01(double v) {
  return std::clamp(v, 0.0, 1.0);
}

inline Rgb Hex(uint32_t rgb) {
  return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0};
}

inline Rgb Mix(const Rgb& a, const Rgb& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Multiplies the brightness: below 1 darkens, above 1 lightens (clamped).
inline Rgb Shade(const Rgb& c, double f) {
  if (f <= 1) return {c.r * f, c.g * f, c.b * f};
  double t = std::min(f - 1, 1.0);
  return Mix(c, {1, 1, 1}, t);
}

// Hue in turns (0 to 1), saturation and value from 0 to 1.
inline Rgb Hsv(double h, double s, double v) {
  h = h - std::floor(h);
  double i = std::floor(h * 6), f = h * 6 - i;
  double p = v * (1 - s), q = v * (1 - f * s), t = v * (1 - (1 - f) * s);
  switch (static_cast<int>(i) % 6) {
    case 0:
      return {v, t, p};
    case 1:
      return {q, v, p};
    case 2:
      return {p, v, t};
    case 3:
      return {p, q, v};
    case 4:
      return {t, p, v};
    default:
      return {v, p, q};
  }
}

inline void ToHsv(const Rgb& c, double& h, double& s, double& v) {
  double mx = std::max({c.r, c.g, c.b}), mn = std::min({c.r, c.g, c.b}), d = mx - mn;
  v = mx;
  s = mx > 0 ? d / mx : 0;
  if (d <= 0) {
    h = 0;
    return;
  }
  if (mx == c.r)
    h = (c.g - c.b) / d / 6;
  else if (mx == c.g)
    h = ((c.b - c.r) / d + 2) / 6;
  else
    h = ((c.r - c.g) / d + 4) / 6;
  if (h < 0) h += 1;
}

// The same colour with its hue turned by `turn` (in turns).
inline Rgb HueShift(const Rgb& c, double turn) {
  double h, s, v;
  ToHsv(c, h, s, v);
  return Hsv(h + turn, s, v);
}

inline uint8_t ToByte(double v) {
  return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0));
}

}  // namespace datagen
