// SPDX-License-Identifier: Zlib
#include "TextureSize.h"

#include <cmath>
#include <cstdlib>

#include "Ini.h"
#include "modExtra.h"
#include "platform/Text.h"

namespace tovak2d::modExtra {
namespace {

bool ToInt32(const std::string& piece, int32_t& value) {
  const std::string trimmed = text::Trim(piece);
  if (trimmed.empty()) return false;
  char* end = nullptr;
  const double number = std::strtod(trimmed.c_str(), &end);
  if (*end != '\0' || !(number > -2147483648.5 && number < 2147483647.5)) return false;
  value = text::RoundHalfEven(number);
  return true;
}

}  // namespace

bool ReadTextureSize(const std::string& fileName, int32_t& width, int32_t& height) {
  width = height = -1;
  if (!CheckFile("t2do.ini")) return false;
  const std::string entry = ReadIniValue("file_texture_sizes", fileName, "t2do.ini");
  if (entry.empty()) return false;

  const std::string value = text::Trim(text::ToLower(entry));
  const size_t x = value.find('x');
  int32_t w = 0, h = 0;
  if (x == std::string::npos || !ToInt32(value.substr(0, x), w) ||
      !ToInt32(value.substr(x + 1, value.find('x', x + 1) - (x + 1)), h))
    throw TextureSizeError("t2do.ini gives no size of the form 256x128 for " + fileName + ": " + entry);
  width = w;
  height = h;
  return true;
}

}  // namespace tovak2d::modExtra
