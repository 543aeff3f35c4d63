// SPDX-License-Identifier: Zlib
#include "PackCheck.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "tovak2d/ArchiveLookup.h"
#include "tovak2d/IniBatch.h"

namespace varnel::packs {
namespace {

constexpr std::array<const char*, 4> kEdgeKeys = {"Left", "Right", "Top", "Bottom"};

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string Quoted(std::string_view value) {
  return "\"" + std::string(value) + "\"";
}

// The extracted copies live in the application folder only while they are read: whatever happens
// during the check, none of them stays behind.
class ScratchFiles {
 public:
  ScratchFiles(tovak2d::Extra& extra, std::string prefix, std::filesystem::path folder, bool keep)
      : extra_(extra), prefix_(std::move(prefix)), folder_(std::move(folder)), keep_(keep) {}
  ~ScratchFiles() {
    if (!keep_) RemoveScratch(prefix_, folder_);
  }
  ScratchFiles(const ScratchFiles&) = delete;
  ScratchFiles& operator=(const ScratchFiles&) = delete;

  bool Extract(const std::string& entry, const std::string& suffix) {
    return extra_.PAK_ExtractFile(entry, prefix_ + suffix, false);
  }
  std::string Name(const std::string& suffix) const { return prefix_ + suffix; }
  bool TooLarge(const std::string& suffix) const {
    std::error_code ignored;
    const std::uintmax_t size = std::filesystem::file_size(folder_ / (prefix_ + suffix), ignored);
    return !ignored && size > kMaxIniBytes;
  }
  void Remove(const std::string& suffix) const {
    if (keep_) return;
    std::error_code ignored;
    std::filesystem::remove(folder_ / (prefix_ + suffix), ignored);
  }

  // Whether the pack holds the entry, found the way the game's extraction finds it.
  static bool Holds(const std::string& entry) { return tovak2d::PAK_HoldsEntry(entry); }

 private:
  tovak2d::Extra& extra_;
  std::string prefix_;
  std::filesystem::path folder_;
  bool keep_;
};

void CheckSettings(tovak2d::Extra& extra, const std::string& file, PackReport& report) {
  const std::string levels = extra.INIRead("General", "NumOfLevels", file);
  if (levels.empty()) {
    report.problems.push_back("packinfo.ini: NumOfLevels is missing");
  } else if (!NumberFromText(levels)) {
    report.problems.push_back("packinfo.ini: NumOfLevels " + Quoted(levels) + " is not a number");
  } else if (auto count = LevelCountFromText(levels)) {
    report.numLevels = *count;
  } else {
    report.problems.push_back("packinfo.ini: NumOfLevels " + levels + " is outside 1 to " +
                              std::to_string(kMaxLevels));
  }

  const std::string vertical = extra.INIRead("General", "Vertical", file);
  if (vertical.empty()) {
    report.problems.push_back("packinfo.ini: Vertical is missing");
  } else if (auto value = BooleanFromText(vertical)) {
    report.vertical = *value;
  } else {
    report.problems.push_back("packinfo.ini: Vertical " + Quoted(vertical) + " is not True or False");
  }
  report.packInfo = extra.INIRead("General", "PackInfo", file);
}

// Reads the twenty rectangle values of one level; false when any is unusable.
bool ReadRectangles(tovak2d::Extra& extra, const std::string& file, LevelInfo& level,
                    std::vector<std::string>& problems) {
  const std::string section = std::to_string(level.number);
  const std::string where = "picinfo.ini: level " + section + ": ";
  std::vector<std::string> found;
  int missing = 0;
  for (int d = 1; d <= kDifferencesPerLevel; ++d) {
    Rect& rect = level.rects[static_cast<size_t>(d - 1)];
    float* edges[] = {&rect.Left, &rect.Right, &rect.Top, &rect.Bottom};
    for (size_t e = 0; e < kEdgeKeys.size(); ++e) {
      const std::string key = std::to_string(d) + kEdgeKeys[e];
      const std::string value = extra.INIRead(section, key, file);
      if (value.empty()) {
        ++missing;
        found.push_back(where + key + " is missing");
      } else if (auto number = NumberFromText(value)) {
        *edges[e] = static_cast<float>(*number);
      } else {
        found.push_back(where + key + " " + Quoted(value) + " is not a number");
      }
    }
  }
  level.caption = extra.INIRead(section, "PicInfo", file);
  // Twenty lines for one absent section would bury the other problems.
  if (missing == kDifferencesPerLevel * static_cast<int>(kEdgeKeys.size()) && level.caption.empty()) {
    problems.push_back("picinfo.ini: level " + section + " has no section [" + section + "]");
    return false;
  }
  problems.insert(problems.end(), found.begin(), found.end());
  return found.empty();
}

// The game takes the JPEG pair when the JPEG original is there and the bitmap pair otherwise, so
// a JPEG original without its modified JPEG breaks the level even when bitmaps are present.
bool FindPictures(ScratchFiles& scratch, LevelInfo& level, std::vector<std::string>& problems) {
  const std::string n = std::to_string(level.number);
  const std::string where = "level " + n + ": ";
  std::string extension;
  if (scratch.Holds(n + ".jpg")) {
    extension = ".jpg";
  } else if (scratch.Holds(n + ".bmp")) {
    extension = ".bmp";
  } else {
    problems.push_back(where + "the picture pair is missing (" + n + ".jpg + " + n + "x.jpg or " + n +
                       ".bmp + " + n + "x.bmp)");
    return false;
  }
  if (!scratch.Holds(n + "x" + extension)) {
    problems.push_back(where + n + "x" + extension + " is missing (the game pairs it with " + n + extension +
                       ")");
    return false;
  }
  level.originalEntry = n + extension;
  level.modifiedEntry = n + "x" + extension;
  return true;
}

}  // namespace

std::optional<double> NumberFromText(std::string_view text) {
  const std::string_view number = Trimmed(text);
  size_t i = 0;
  if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
  size_t digits = 0;
  for (; i < number.size() && std::isdigit(static_cast<unsigned char>(number[i])); ++i) ++digits;
  if (i < number.size() && number[i] == '.')
    for (++i; i < number.size() && std::isdigit(static_cast<unsigned char>(number[i])); ++i) ++digits;
  if (digits == 0) return std::nullopt;
  if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
    ++i;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
    size_t exponentDigits = 0;
    for (; i < number.size() && std::isdigit(static_cast<unsigned char>(number[i])); ++i) ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != number.size()) return std::nullopt;
  const double value = std::strtod(std::string(number).c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<bool> BooleanFromText(std::string_view text) {
  const std::string_view value = Trimmed(text);
  if (EqualsNoCase(value, "true")) return true;
  if (EqualsNoCase(value, "false")) return false;
  if (auto number = NumberFromText(value)) return *number != 0;
  return std::nullopt;
}

std::optional<int> LevelCountFromText(std::string_view text) {
  auto number = NumberFromText(text);
  if (!number) return std::nullopt;
  const double rounded = std::nearbyint(*number);
  if (rounded < 1 || rounded > kMaxLevels) return std::nullopt;
  return static_cast<int>(rounded);
}

void RemoveScratch(const std::string& scratchPrefix, const std::filesystem::path& appFolder) {
  std::error_code ignored;
  for (const char* suffix : {"packinfo.ini", "picinfo.ini", "picture"})
    std::filesystem::remove(appFolder / (scratchPrefix + suffix), ignored);
}

PackReport CheckPack(tovak2d::Extra& extra, const std::string& packFileName, const std::string& scratchPrefix,
                     const std::filesystem::path& appFolder, bool keepScratch) {
  PackReport report;
  const size_t slash = packFileName.find_last_of("\\/");
  const std::string fileName = slash == std::string::npos ? packFileName : packFileName.substr(slash + 1);
  if (fileName.size() < 4)
    report.problems.push_back("the file name " + Quoted(fileName) + " is shorter than four characters");

  if (!extra.PAK_OpenPAK(packFileName)) {
    report.problems.push_back("the archive cannot be read");
    return report;
  }
  if (extra.PAK_FileCount() == 0) {
    report.problems.push_back("the file holds no archive entries");
    return report;
  }

  ScratchFiles scratch(extra, scratchPrefix, appFolder, keepScratch);
  // The scratch files are this check's own: nothing else changes them while it reads them.
  tovak2d::IniReadBatch batch;
  const std::string tooLarge = " is larger than " + std::to_string(kMaxIniBytes >> 20) + " MB";
  if (!scratch.Extract("packinfo.ini", "packinfo.ini"))
    report.problems.push_back("packinfo.ini is missing");
  else if (scratch.TooLarge("packinfo.ini"))
    report.problems.push_back("packinfo.ini" + tooLarge);
  else
    CheckSettings(extra, scratch.Name("packinfo.ini"), report);
  scratch.Remove("packinfo.ini");
  if (scratch.Extract("hscore.ini", "picture") && scratch.TooLarge("picture"))
    report.problems.push_back("hscore.ini" + tooLarge);
  scratch.Remove("picture");

  bool havePicInfo = scratch.Extract("picinfo.ini", "picinfo.ini");
  if (!havePicInfo) {
    report.problems.push_back("picinfo.ini is missing");
  } else if (scratch.TooLarge("picinfo.ini")) {
    report.problems.push_back("picinfo.ini" + tooLarge);
    havePicInfo = false;
  }

  for (int n = 1; n <= report.numLevels; ++n) {
    LevelInfo level;
    level.number = n;
    const bool rectsRead =
        havePicInfo && ReadRectangles(extra, scratch.Name("picinfo.ini"), level, report.problems);
    const bool picturesFound = FindPictures(scratch, level, report.problems);
    level.complete = rectsRead && picturesFound;
    report.levels.push_back(std::move(level));
  }
  return report;
}

}  // namespace varnel::packs
