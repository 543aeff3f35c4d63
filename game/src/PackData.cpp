#include <charconv>
#include <chrono>
#include <cmath>
#include <random>

#include "modDeclares.h"
#include "modGame.h"
#include "modINI.h"

namespace varnel {
namespace {

constexpr int32_t kMaxLevels = 50;

std::mt19937_64& Generator() {
  // Seeded once: a generator re-seeded from the clock before every draw repeats itself within
  // one tick, and the level and joker retry loops would spin until the clock moved on.
  static std::mt19937_64 generator(
      static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) ^
      static_cast<uint64_t>(std::random_device{}()));
  return generator;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
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

std::string ReadIni(const std::string& Section, const std::string& KeyName, const std::string& FileName) {
  return oExtra->INIRead(Section, KeyName, FileName, false);
}

bool TextToNumber(const std::string& text, double& value) {
  std::string number = Trimmed(text);
  if (!number.empty() && number.front() == '+') number.erase(0, 1);
  if (number.empty() || !(std::isdigit(static_cast<unsigned char>(number.front())) || number.front() == '-' ||
                          number.front() == '.'))
    return false;
  double parsed = 0;
  const char* end = number.data() + number.size();
  const auto result = std::from_chars(number.data(), end, parsed);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool TextToBool(const std::string& text, bool& value) {
  const std::string word = Trimmed(text);
  if (word.size() == 4 || word.size() == 5) {
    std::string lower;
    for (char c : word) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "true" || lower == "false") {
      value = lower == "true";
      return true;
    }
  }
  double number = 0;
  if (!TextToNumber(word, number)) return false;
  value = number != 0;
  return true;
}

bool PickLevel() {
  const std::string levelsText = oExtra->INIRead("General", "NumOfLevels", PackSettingsFile(), false);
  double levels = 0;
  if (!TextToNumber(levelsText, levels) || std::nearbyint(levels) < 1 ||
      std::nearbyint(levels) > kMaxLevels) {
    LogError("PickLevel", "NumOfLevels of " + strPackFile + " is \"" + levelsText + "\", not 1 to 50");
    return false;
  }
  lngNumLevels = static_cast<int32_t>(std::nearbyint(levels));

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
      double value = 0;
      if (!TextToNumber(text, value) || std::fabs(value) > 3.4e38) {
        LogError("LoadPicInfo", "level " + strLevelPic + " of " + strPackFile + ": " + key + " is \"" + text +
                                    "\", not a number");
        return false;
      }
      difference.*field = static_cast<float>(value);
    }
  }
  return true;
}

void ResetLevelsUsed() {
  for (int32_t n = 1; n <= kMaxLevels; ++n) LevelUsed[n] = false;
}

void ResetFound() {
  for (int d = 1; d <= 5; ++d) Differences[d].Found = false;
}

}  // namespace varnel
