// A small reader and writer of single INI keys, enough for the texture-size and font files until
// the library's full INI module is in place.
#include <string_view>
#include <vector>

#include "Ini.h"
#include "Paths.h"
#include "Text.h"
#include "platform/Files.h"

namespace tovak2d::modExtra {
namespace {

constexpr size_t kLongestValue = 254;
constexpr char kIniKeyByte = static_cast<char>(173);

std::vector<std::string> SplitLines(const std::string& data) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < data.size()) {
    size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    std::string line = data.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// The section name of a "[name]" line, or nothing.
bool SectionOf(const std::string& line, std::string& name) {
  std::string trimmed = text::Trim(line);
  if (trimmed.size() < 2 || trimmed.front() != '[') return false;
  size_t close = trimmed.find(']');
  if (close == std::string::npos) return false;
  name = text::Trim(std::string_view(trimmed).substr(1, close - 1));
  return true;
}

bool KeyOf(const std::string& line, std::string& key, std::string& value) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  key = text::Trim(std::string_view(line).substr(0, eq));
  value = text::Trim(std::string_view(line).substr(eq + 1));
  return true;
}

}  // namespace

std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& fileName,
                         bool decode) {
  auto data = platform::files::ReadWhole(paths::Resolve(fileName));
  if (!data) return {};
  const std::string wantedSection = text::Trim(section);
  const std::string wantedKey = text::Trim(key);
  bool inSection = false;
  for (const std::string& line : SplitLines(*data)) {
    std::string name, value;
    if (SectionOf(line, name)) {
      inSection = text::EqualsNoCase(name, wantedSection);
    } else if (inSection && KeyOf(line, name, value) && text::EqualsNoCase(name, wantedKey)) {
      if (value.size() > kLongestValue) value.resize(kLongestValue);
      if (decode)
        for (char& c : value) c = static_cast<char>(c ^ kIniKeyByte);
      return value;
    }
  }
  return {};
}

int16_t WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& fileName) {
  const std::string path = paths::Resolve(fileName);
  std::vector<std::string> lines;
  if (auto data = platform::files::ReadWhole(path)) lines = SplitLines(*data);

  const std::string wantedSection = text::Trim(section);
  const std::string wantedKey = text::Trim(key);
  const std::string keyLine = wantedKey + "=" + value;
  bool inSection = false, done = false;
  size_t sectionEnd = std::string::npos;  // where a new key of the section goes
  for (size_t i = 0; i < lines.size() && !done; ++i) {
    std::string name, old;
    if (SectionOf(lines[i], name)) {
      if (inSection) break;
      inSection = text::EqualsNoCase(name, wantedSection);
      if (inSection) sectionEnd = i + 1;
    } else if (inSection) {
      if (KeyOf(lines[i], name, old) && text::EqualsNoCase(name, wantedKey)) {
        lines[i] = keyLine;
        done = true;
      } else if (!text::Trim(lines[i]).empty()) {
        sectionEnd = i + 1;
      }
    }
  }
  if (!done) {
    if (sectionEnd == std::string::npos) {
      lines.push_back("[" + wantedSection + "]");
      lines.push_back(keyLine);
    } else {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), keyLine);
    }
  }
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return platform::files::WriteWhole(path, out) ? 1 : 0;
}

}  // namespace tovak2d::modExtra
