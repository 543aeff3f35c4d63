// SPDX-License-Identifier: Zlib
#include "Files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace datagen {

void WriteFile(const std::filesystem::path& path, std::string_view data) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteFile(const std::filesystem::path& path, const Bytes& data) {
  WriteFile(path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace datagen
