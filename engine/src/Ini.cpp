#include "tovak2d/Extra.h"

namespace tovak2d {

std::string Extra::INIRead(const std::string&, const std::string&, const std::string&, bool) {
  return {};
}
int16_t Extra::INIWrite(const std::string&, const std::string&, const std::string&, const std::string&,
                        bool) {
  return 0;
}
std::string Extra::EnDeCode(const std::string& strOld, uint8_t) {
  return strOld;
}

}  // namespace tovak2d
