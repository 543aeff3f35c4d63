// SPDX-License-Identifier: Zlib
#include "GameFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "modDeclares.h"

namespace varnel {
namespace fs = std::filesystem;

std::optional<std::string> FindGameFile(const std::string& name) {
  std::string path = oExtra->NativePath(name);
  std::error_code ec;
  if (path.empty() || !fs::is_regular_file(path, ec)) return std::nullopt;
  return path;
}

bool DeleteGameFile(const std::string& name) {
  const auto found = FindGameFile(name);
  std::error_code ec;
  return found && fs::remove(*found, ec);
}

std::optional<std::string> ReadGameFile(const std::string& name) {
  const auto found = FindGameFile(name);
  if (!found) return std::nullopt;
  std::ifstream in(*found, std::ios::binary);
  if (!in) return std::nullopt;
  std::string contents{std::istreambuf_iterator<char>(in), {}};
  if (in.bad()) return std::nullopt;
  return contents;
}

}  // namespace varnel
