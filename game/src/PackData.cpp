#include "modDeclares.h"
#include "modGame.h"
#include "modINI.h"

namespace varnel {

void PickLevel() {}
void LoadPicInfo() {}
void ResetLevelsUsed() {}
void ResetFound() {}
std::string ReadIni(const std::string&, const std::string&, const std::string&) {
  return {};
}
double Rnd() {
  return 0;
}
void SeedRandom(unsigned) {}

}  // namespace varnel
