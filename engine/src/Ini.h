// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Single keys of INI files, by the rules of the Windows profile functions: section and key names
// match without regard to case and surrounding blanks, values are read trimmed, and a write
// changes only the one line it has to. File names are relative to AppPath unless rooted.
namespace tovak2d::modExtra {

// Key byte of values stored scrambled in INI files.
inline constexpr uint8_t kIniCodeByte = 173;

// The key's value, trimmed and at most 254 characters; empty when the file, the section or the
// key is missing. decode unscrambles the value with kIniCodeByte.
std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& fileName,
                         bool decode = false);

// Sets the key's value, creating the file, the section and the key as needed; non-zero on
// success, 0 when the file could not be read or written. A value is cut at its first line break.
int16_t WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& fileName);

// One key to set, for WriteIniValues.
struct IniWrite {
  std::string section, key, value;
};

// Sets the keys in order, as that many WriteIniValue calls would and to the same bytes, with one
// read and one replacement of the file. Non-zero on success; 0 when the file could not be read or
// written, and then it is left as it was (with the reason in *error when given).
int16_t WriteIniValues(const std::vector<IniWrite>& writes, const std::string& fileName,
                       std::string* error = nullptr);

// Every byte combined by exclusive-or with key; applied twice it gives back the text.
std::string XorText(const std::string& text, uint8_t key);

}  // namespace tovak2d::modExtra
