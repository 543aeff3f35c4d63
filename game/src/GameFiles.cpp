#include "GameFiles.h"

#include <algorithm>
#include <cctype>
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

// Characters 0x80 to 0x9F of Windows-1252; 0 where the code page has none, which the engine
// takes as the control character of the same value.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The game's names are 8-bit text as the engine lists them; the file system's are UTF-8.
std::string Utf8Of(const std::string& cp1252) {
  std::string out;
  for (const char c : cp1252) {
    const auto byte = static_cast<unsigned char>(c);
    char32_t code = byte;
    if (byte >= 0x80 && byte < 0xA0) code = kCp1252High[byte - 0x80] ? kCp1252High[byte - 0x80] : code;
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::string GamePath(const std::string& name) {
  std::string relative = Utf8Of(name);
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

}  // namespace varnel
