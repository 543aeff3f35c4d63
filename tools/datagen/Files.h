// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace datagen {

using Bytes = std::vector<uint8_t>;

// Writes the whole file (creating its folder); throws with the path on failure.
void WriteFile(const std::filesystem::path& path, const Bytes& data);
void WriteFile(const std::filesystem::path& path, std::string_view data);
Bytes ReadFile(const std::filesystem::path& path);

// Little-endian helpers for the binary formats.
inline void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 255));
  out.push_back(static_cast<uint8_t>((v >> 8) & 255));
}
inline void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
// The red, green, blue and alpha masks of 32-bit pixels stored B, G, R, A, as BMP and DDS headers
// give them.
inline void PutBgraMasks(Bytes& out) {
  for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) Put32(out, mask);
}
inline void PutText(Bytes& out, std::string_view s) {
  for (char c : s) out.push_back(static_cast<uint8_t>(c));
}

}  // namespace datagen
