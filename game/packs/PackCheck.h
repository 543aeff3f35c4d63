// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PackNames.h"
#include "tovak2d/Extra.h"

// Whether a picture pack can be played, decided in one place for the game's catalogue and the pack
// tool. A pack that fails here would stop the game half-way through a level (a missing picture, a
// rectangle the hit test cannot read), so the catalogue leaves such packs out.
namespace varnel::packs {

inline constexpr int kMaxLevels = 50;
inline constexpr int kDifferencesPerLevel = 5;
// The largest settings, rectangle or table file a pack may hold: the game reads these files again
// on every frame that shows the pack's information, so one of hundreds of megabytes would stall it.
inline constexpr std::uintmax_t kMaxIniBytes = 1 << 20;

// One difference rectangle in pixels of the picture as shown; both edges belong to it.
struct Rect {
  float Left = 0, Right = 0, Top = 0, Bottom = 0;
};

struct LevelInfo {
  int number = 0;
  std::array<Rect, kDifferencesPerLevel> rects{};
  std::string caption;        // "PicInfo" as stored, "[e]" still standing for line breaks
  std::string originalEntry;  // e.g. "3.jpg"; empty when the level has no usable pair
  std::string modifiedEntry;  // e.g. "3x.jpg"
  bool complete = false;      // every rectangle value read and both pictures present
};

struct PackReport {
  std::vector<std::string> problems;  // one line per problem, naming the entry, level and key
  int numLevels = 0;                  // 0 when "NumOfLevels" is unusable
  bool vertical = false;
  std::string packInfo;           // "PackInfo" as stored
  std::vector<LevelInfo> levels;  // levels 1 to numLevels, in order
  bool ok() const { return problems.empty(); }
};

// Number text as the game converts it: blanks around it, a sign, digits with an optional fraction
// and exponent. Anything else (empty text, words, "inf") is no number.
std::optional<double> NumberFromText(std::string_view text);

// Boolean text: "True" or "False" in any letter case, or a number (non-zero is true).
std::optional<bool> BooleanFromText(std::string_view text);

// The level count of "NumOfLevels": a number rounded half to even, within 1 to kMaxLevels.
std::optional<int> LevelCountFromText(std::string_view text);

// Checks the pack file packFileName, named as the game names it ("\packs\x.vnl", relative to the
// application folder, or a name with a drive letter such as "Z:/home/me/x.vnl").
//
// It opens the pack with PAK_OpenPAK, so the pack stays the open archive afterwards. It extracts,
// one at a time, into the application folder appFolder (the folder given to the engine's start):
// scratchPrefix + "packinfo.ini" and scratchPrefix + "picinfo.ini"; the level pictures it only
// looks up. It removes each of them again before it returns; a file of those names that was there
// before is removed as well, so choose a prefix nothing else uses (a plain file name part: no
// folders).
//
// A caller that checks many packs in a row may keep the scratch files (keepScratch): each check
// then writes over the last one's files instead of making new ones, and the caller removes them
// with RemoveScratch when done.
PackReport CheckPack(tovak2d::Extra& extra, const std::string& packFileName, const std::string& scratchPrefix,
                     const std::filesystem::path& appFolder, bool keepScratch = false);

// Removes the scratch files CheckPack makes with this prefix in appFolder.
void RemoveScratch(const std::string& scratchPrefix, const std::filesystem::path& appFolder);

}  // namespace varnel::packs
