// SPDX-License-Identifier: Zlib
#include <chrono>
#include <cmath>
#include <random>

#include "PackCheck.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modINI.h"

namespace varnel {
namespace {

std::mt19937_64& Generator() {
  // Seeded once: a generator re-seeded from the clock before every draw repeats itself within
  // one tick, and the level and joker retry loops would spin until the clock moved on.
  static std::mt19937_64 generator(
      static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) ^
      static_cast<uint64_t>(std::random_device{}()));
  return generator;
}

void LogError(const std::string& procedure, const std::string& what) {
  oExtra->SaveLog("Error in " + procedure + " : " + what);
}

std::string PackSettingsFile() {
  return std::to_string(intPackSel) + "packinfo.ini";
}

}  // namespace

double Rnd() {
  // 53 random bits: every value of [0, 1) a double can hold in even steps, never 1.
  return static_cast<double>(Generator()() >> 11) * 0x1.0p-53;
}

void SeedRandom(unsigned seed) {
  Generator().seed(seed);
}

bool PickLevel() {
  const std::string levelsText = oExtra->INIRead("General", "NumOfLevels", PackSettingsFile(), false);
  const auto levels = packs::LevelCountFromText(levelsText);
  if (!levels) {
    LogError("PickLevel", "NumOfLevels of " + strPackFile + " is \"" + levelsText + "\", not 1 to 50");
    return false;
  }
  lngNumLevels = *levels;

  bool anyLeft = false;
  for (int32_t n = 1; n <= lngNumLevels; ++n) anyLeft = anyLeft || !LevelUsed[n];
  if (!anyLeft) {
    LogError("PickLevel", "every level of " + strPackFile + " was played in this game");
    return false;
  }
  int32_t level = 0;
  do {
    level = static_cast<int32_t>(std::floor(Rnd() * lngNumLevels + 1));
  } while (LevelUsed[level]);

  LevelUsed[level] = true;
  strLevelPic = std::to_string(level);
  return LoadPicInfo();
}

bool LoadPicInfo() {
  oExtra->PAK_OpenPAK("\\packs\\" + strPackFile, false, "Open File");
  // Without this check a pack lacking its picture description would be played with the
  // rectangles another pack left in the game folder.
  if (!oExtra->PAK_ExtractFile("picinfo.ini", "", false)) {
    LogError("LoadPicInfo", "picinfo.ini cannot be taken out of " + strPackFile);
    return false;
  }
  const std::string file = strAppPath + "\\picinfo.ini";
  for (int d = 1; d <= 5; ++d) {
    Difference& difference = Differences[d];
    for (const auto& [edge, field] :
         {std::pair{"Bottom", &Difference::Bottom}, std::pair{"Top", &Difference::Top},
          std::pair{"Left", &Difference::Left}, std::pair{"Right", &Difference::Right}}) {
      const std::string key = std::to_string(d) + edge;
      const std::string text = ReadIni(strLevelPic, key, file);
      const auto value = packs::NumberFromText(text);
      if (!value || std::fabs(*value) > 3.4e38) {
        LogError("LoadPicInfo", "level " + strLevelPic + " of " + strPackFile + ": " + key + " is \"" + text +
                                    "\", not a number");
        return false;
      }
      difference.*field = static_cast<float>(*value);
    }
  }
  return true;
}

void ResetLevelsUsed() {
  for (int32_t n = 1; n <= packs::kMaxLevels; ++n) LevelUsed[n] = false;
}

void ResetFound() {
  for (int d = 1; d <= 5; ++d) Differences[d].Found = false;
}

}  // namespace varnel
