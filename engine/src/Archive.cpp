#include "tovak2d/Extra.h"

namespace tovak2d {

bool Extra::PAK_OpenPAK(const std::string&, bool, const std::string&, const std::string&) {
  return false;
}
bool Extra::PAK_AddFile(const std::string&, std::string&, bool) {
  return false;
}
bool Extra::PAK_AddFile(const std::string& FileName) {
  std::string rename;
  return PAK_AddFile(FileName, rename);
}
bool Extra::PAK_ExtractFile(const std::string&, const std::string&, bool) {
  return false;
}
bool Extra::PAK_ExtractAll(const std::string&) {
  return false;
}
bool Extra::PAK_DeleteFile(const std::string&) {
  return false;
}
int16_t Extra::PAK_FileCount() {
  return 0;
}

}  // namespace tovak2d
