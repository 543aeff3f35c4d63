// SPDX-License-Identifier: Zlib
#include "modKeys.h"

#include <cctype>
#include <cmath>
#include <string>

#include "modDeclares.h"
#include "modGame.h"

namespace varnel {
namespace {

constexpr size_t kMaxNameLength = 8;

// Upper and lower case of a Windows-1252 letter (the accented letters too); anything else stays.
char Upper(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u < 0x80) return static_cast<char>(std::toupper(u));
  if (u >= 0xE0 && u != 0xF7 && u != 0xFF) return static_cast<char>(u - 0x20);
  if (u == 0x9A || u == 0x9C || u == 0x9E) return static_cast<char>(u - 0x10);
  if (u == 0xFF) return '\x9F';
  return c;
}
char Lower(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u < 0x80) return static_cast<char>(std::tolower(u));
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 0x20);
  if (u == 0x8A || u == 0x8C || u == 0x8E) return static_cast<char>(u + 0x10);
  if (u == 0x9F) return '\xFF';
  return c;
}

}  // namespace

void AddNameChar(const std::string& c) {
  const int sound = static_cast<int>(std::floor(4 * Rnd()) + 1);
  if (bSoundOn) oEngine->SoundPlay(std::to_string(sound) + "key", false, 100, 0, 0);
  if (c == "-" && !strPlayerName.empty()) strPlayerName.pop_back();
  std::string character = c;
  for (char& letter : character) letter = strPlayerName.empty() ? Upper(letter) : Lower(letter);
  if (strPlayerName.size() < kMaxNameLength && character != "-") strPlayerName += character;
}

}  // namespace varnel
