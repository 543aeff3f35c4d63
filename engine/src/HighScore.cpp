#include "tovak2d/Extra.h"

namespace tovak2d {

struct HighScoreTable {};

Extra::Extra() = default;
Extra::~Extra() = default;

bool Extra::HighScore_Create(std::string&, int16_t&, int16_t&) {
  return false;
}
bool Extra::HighScore_Create(std::string& FileName, int16_t& TopX) {
  int16_t additionalValues = 0;
  return HighScore_Create(FileName, TopX, additionalValues);
}
bool Extra::HighScore_Create(std::string& FileName) {
  int16_t topX = 10;
  return HighScore_Create(FileName, topX);
}
bool Extra::HighScore_Create() {
  std::string fileName = "hs.ini";
  return HighScore_Create(fileName);
}
int16_t Extra::HighScore_NewScore(float, const std::string&, const std::vector<std::string>&) {
  return 0;
}
int16_t Extra::HighScore_CheckPos(float) {
  return 0;
}
float Extra::HighScore_GetScore(int16_t) {
  return 0;
}
std::string Extra::HighScore_GetName(int16_t) {
  return {};
}
std::string Extra::HighScore_GetValue(int16_t, int16_t) {
  return {};
}

}  // namespace tovak2d
