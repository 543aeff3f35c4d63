#include "modExtra.h"
#include "tovak2d/Extra.h"

namespace tovak2d {

float Extra::Pi() {
  return modExtra::piValue;
}
float Extra::Rad() {
  return modExtra::degToRad;
}
int32_t Extra::RndNum(int32_t MinNum, int32_t) {
  return MinNum;
}
bool Extra::IsRectInRect(const RECT&, const RECT&) {
  return false;
}
bool Extra::IsPointInRect(double, double, const RECT&) {
  return false;
}
bool Extra::IsMouseOverArea(float, float, float, float) {
  return false;
}
void Extra::WrapAngle(float&) {}
float Extra::GetDistance(float, float, float, float) {
  return 0;
}
float Extra::GetAngle(float, float, float, float) {
  return 0;
}
void Extra::GoToAngle(float&, float&, float, float) {}

}  // namespace tovak2d
