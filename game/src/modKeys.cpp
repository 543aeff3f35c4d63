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

}  // namespace

void AddNameChar(const std::string& c) {
  const int sound = static_cast<int>(std::floor(4 * Rnd()) + 1);
  if (bSoundOn) oEngine->SoundPlay(std::to_string(sound) + "key", false, 100, 0, 0);
  if (c == "-" && !strPlayerName.empty()) strPlayerName.pop_back();
  std::string character = c;
  for (char& letter : character)
    letter = static_cast<char>(strPlayerName.empty() ? std::toupper(static_cast<unsigned char>(letter))
                                                     : std::tolower(static_cast<unsigned char>(letter)));
  if (strPlayerName.size() < kMaxNameLength && character != "-") strPlayerName += character;
}

}  // namespace varnel
