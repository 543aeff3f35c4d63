#pragma once

#include <cstdint>
#include <string>

// Single keys of INI files, with the rules of the Windows profile functions: section and key names
// match without regard to case and surrounding blanks, values come back trimmed, and a missing file,
// section or key reads as empty text. File names follow the application-folder path rule.
namespace tovak2d::modExtra {

std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& fileName,
                         bool decode = false);

// Non-zero when the value was written.
int16_t WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& fileName);

}  // namespace tovak2d::modExtra
