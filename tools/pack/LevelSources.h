// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Image.h"
#include "PackCheck.h"
#include "Session.h"

// What a pack maker hands to make: a folder of picture pairs, optional caption files and an
// optional file of rectangles given by hand.
namespace varnel::pack {

struct SourceLevel {
  int number = 0;
  std::filesystem::path original;  // n.jpg, n.png or n.bmp (.jpeg too, any letter case)
  std::filesystem::path modified;  // nx.jpg, ...
  std::filesystem::path caption;   // n.txt, when there is one
};

// The levels of the folder, numbered 1 to N without gaps. Everything wrong with the folder goes
// into *problems, one line each.
std::vector<SourceLevel> ScanLevels(const std::filesystem::path& folder, std::vector<std::string>* problems);

// A caption file's text for the game: Windows-1252, line breaks as "[e]". Nothing, with the
// reason in *error, when it cannot be read or converted.
std::optional<std::string> ReadCaption(const std::filesystem::path& file, std::string* error);

// The longest INI value the game reads.
inline constexpr size_t kMaxIniText = 254;

// Text from the command line for an INI value: Windows-1252, line breaks as "[e]". Nothing, with
// the reason in *error, when it holds what Windows-1252 cannot or is longer than the game reads.
std::optional<std::string> IniText(const std::string& utf8, std::string* error);

struct HandRects {
  std::optional<std::array<PixelRect, packs::kDifferencesPerLevel>> rects;
  std::string caption;  // "PicInfo", Windows-1252, empty when not given
};

// The rectangles file: the layout of picinfo.ini (a section per level number, keys 1Left to
// 5Bottom, optional PicInfo). A level whose section is absent gets nothing; a section with some
// but not all twenty values, or a value that is no number, is a problem.
std::map<int, HandRects> ReadHandRects(Session& session, const std::filesystem::path& file, int levelCount,
                                       std::vector<std::string>* problems);

}  // namespace varnel::pack
