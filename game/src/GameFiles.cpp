#include "GameFiles.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "modDeclares.h"

namespace varnel {
namespace fs = std::filesystem;
namespace {

bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string GamePath(const std::string& name) {
  std::string relative = name;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  while (!relative.empty() && relative.front() == '/') relative.erase(0, 1);
  return (fs::path(strAppPath) / relative).string();
}

std::optional<std::string> FindGameFile(const std::string& name) {
  const fs::path exact = GamePath(name);
  std::error_code ec;
  if (fs::is_regular_file(exact, ec)) return exact.string();
  const std::string wanted = exact.filename().string();
  for (fs::directory_iterator it(exact.parent_path(), ec), end; !ec && it != end; it.increment(ec))
    if (EqualsNoCase(it->path().filename().string(), wanted) && it->is_regular_file(ec))
      return it->path().string();
  return std::nullopt;
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

std::optional<bool> TextToBoolean(const std::string& text) {
  const std::string value = Trimmed(text);
  if (EqualsNoCase(value, "true")) return true;
  if (EqualsNoCase(value, "false")) return false;
  if (value.empty()) return std::nullopt;
  char* end = nullptr;
  const double number = std::strtod(value.c_str(), &end);
  if (end != value.c_str() + value.size() || !std::isfinite(number)) return std::nullopt;
  return number != 0;
}

}  // namespace varnel
