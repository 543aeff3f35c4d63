// SPDX-License-Identifier: Zlib
#include "PackNames.h"

namespace varnel::packs {

std::string DisplayName(std::string_view packFileName) {
  const size_t slash = packFileName.find_last_of("\\/");
  const std::string_view name =
      slash == std::string_view::npos ? packFileName : packFileName.substr(slash + 1);
  return name.size() < 4 ? std::string() : std::string(name.substr(0, name.size() - 4));
}

std::string Capitals(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto byte = static_cast<unsigned char>(c);
    unsigned char upper = byte;
    if (byte >= 'a' && byte <= 'z') upper = static_cast<unsigned char>(byte - 0x20);
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) upper = static_cast<unsigned char>(byte - 0x20);
    if (byte == 0x9A || byte == 0x9C || byte == 0x9E) upper = static_cast<unsigned char>(byte - 0x10);
    if (byte == 0xFF) upper = 0x9F;
    c = static_cast<char>(upper);
  }
  return out;
}

std::string TitleName(std::string_view packFileName) {
  return Capitals(DisplayName(packFileName));
}

}  // namespace varnel::packs
