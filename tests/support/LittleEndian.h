// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// Little-endian fields for hand-made file bytes.
namespace testsupport {

inline void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
// The values one after another, two or four bytes each.
inline std::string Le16(std::initializer_list<uint32_t> values) {
  std::string out;
  for (uint32_t v : values) Put16(out, v);
  return out;
}
inline std::string Le32(std::initializer_list<uint32_t> values) {
  std::string out;
  for (uint32_t v : values) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
  }
  return out;
}

}  // namespace testsupport
