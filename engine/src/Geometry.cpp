// SPDX-License-Identifier: Zlib
#include <cmath>
#include <random>

#include "modExtra.h"
#include "tovak2d/Extra.h"

namespace tovak2d {
namespace {

// One generator for the process, seeded once: draws made within one clock tick still differ.
std::mt19937_64& Generator() {
  static std::mt19937_64 generator{std::random_device{}()};
  return generator;
}

}  // namespace

float Extra::Pi() {
  return modExtra::piValue;
}
float Extra::Rad() {
  return modExtra::degToRad;
}

int32_t Extra::RndNum(int32_t MinNum, int32_t MaxNum) {
  const double u = std::uniform_real_distribution<double>(0.0, 1.0)(Generator());
  const double value = u * (static_cast<double>(MaxNum) - MinNum) + MinNum;
  return static_cast<int32_t>(std::nearbyint(value));
}

bool Extra::IsPointInRect(double XPosition, double YPosition, const RECT& CRect) {
  return CRect.Left <= XPosition && XPosition <= CRect.Right && CRect.Top <= YPosition &&
         YPosition <= CRect.Bottom;
}

bool Extra::IsRectInRect(const RECT& Rect1, const RECT& Rect2) {
  // Whether a corner of Rect1 lies in Rect2, not every overlap.
  return IsPointInRect(Rect1.Left, Rect1.Top, Rect2) || IsPointInRect(Rect1.Right, Rect1.Top, Rect2) ||
         IsPointInRect(Rect1.Left, Rect1.Bottom, Rect2) || IsPointInRect(Rect1.Right, Rect1.Bottom, Rect2);
}

bool Extra::IsMouseOverArea(float X1, float Y1, float Width, float Height) {
  const double mouseX = modExtra::lastMouse.X;
  const double mouseY = modExtra::lastMouse.Y;
  const float right = X1 + Width;
  const float bottom = Y1 + Height;
  return X1 < mouseX && mouseX < right && Y1 < mouseY && mouseY < bottom;
}

void Extra::WrapAngle(float& Ang) {
  if (Ang > 359) Ang -= 360;
  if (Ang < 0) Ang += 360;
}

float Extra::GetDistance(float X1, float Y1, float X2, float Y2) {
  const double dx = X1 - X2;
  const double dy = Y1 - Y2;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

float Extra::GetAngle(float X1, float Y1, float X2, float Y2) {
  const float dx = X2 - X1;
  const float dy = Y2 - Y1;
  if (dy == 0 && dx > 0) return 0;
  if (dx == 0 && dy > 0) return 90;
  if (dy == 0 && dx < 0) return 180;
  if (dx == 0 && dy < 0) return 270;
  if (dx == 0 && dy == 0) throw MathError("GetAngle: the two points are the same");
  const double pi = 4.0 * std::atan(1.0);
  const double t = std::fabs(std::atan(static_cast<double>(dx) / dy)) * 180.0 / pi;
  double angle = 0;
  if (dy > 0 && dx > 0)
    angle = 90 - t;
  else if (dy > 0 && dx < 0)
    angle = 90 + t;
  else if (dy < 0 && dx < 0)
    angle = 270 - t;
  else
    angle = 270 + t;
  return static_cast<float>(angle);
}

void Extra::GoToAngle(float& X, float& Y, float Angle, float Speed) {
  const float radians = Angle * modExtra::degToRad;
  X = static_cast<float>(X + Speed * std::cos(radians));
  Y = static_cast<float>(Y + Speed * std::sin(radians));
}

}  // namespace tovak2d
