// SPDX-License-Identifier: Zlib
#include "LevelSources.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>
#include <system_error>

#include "CommandSupport.h"
#include "tovak2d/CodePage.h"

namespace varnel::pack {
namespace {

namespace fs = std::filesystem;

struct PictureName {
  int number = 0;
  bool modified = false;
};

// "12.jpg" is the original of level 12, "12x.PNG" its modified picture; other names are no pictures.
std::optional<PictureName> ParsePictureName(const std::string& fileName) {
  const std::string name = LowerCase(fileName);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return std::nullopt;
  const std::string extension = name.substr(dot + 1);
  if (extension != "jpg" && extension != "jpeg" && extension != "png" && extension != "bmp")
    return std::nullopt;
  std::string stem = name.substr(0, dot);
  PictureName parsed;
  if (!stem.empty() && stem.back() == 'x') {
    parsed.modified = true;
    stem.pop_back();
  }
  if (stem.empty() || stem.size() > 3 || !std::all_of(stem.begin(), stem.end(), ::isdigit))
    return std::nullopt;
  parsed.number = std::stoi(stem);
  return parsed;
}

std::string LineBreaksAsMarks(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "[e]";
    } else if (text[i] == '\n') {
      out += "[e]";
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::vector<SourceLevel> ScanLevels(const fs::path& folder, std::vector<std::string>* problems) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    problems->push_back(folder.string() + ": no such folder");
    return {};
  }
  std::map<int, SourceLevel> found;
  std::map<int, fs::path> captions;
  for (const auto& item : fs::directory_iterator(folder, ec)) {
    if (!item.is_regular_file()) continue;
    const std::string fileName = item.path().filename().string();
    const std::string lower = LowerCase(fileName);
    if (lower.size() > 4 && lower.substr(lower.size() - 4) == ".txt") {
      const std::string stem = lower.substr(0, lower.size() - 4);
      if (!stem.empty() && stem.size() <= 3 && std::all_of(stem.begin(), stem.end(), ::isdigit))
        captions[std::stoi(stem)] = item.path();
      continue;
    }
    auto picture = ParsePictureName(fileName);
    if (!picture) continue;
    SourceLevel& level = found[picture->number];
    level.number = picture->number;
    fs::path& slot = picture->modified ? level.modified : level.original;
    if (!slot.empty()) {
      problems->push_back("level " + std::to_string(picture->number) + ": both " + slot.filename().string() +
                          " and " + fileName + " are there; keep one");
      continue;
    }
    slot = item.path();
  }
  if (found.empty()) {
    problems->push_back(folder.string() + ": no picture pairs (1.jpg + 1x.jpg, 2.png + 2x.png, ...)");
    return {};
  }
  std::vector<SourceLevel> levels;
  int expected = 1;
  for (auto& [number, level] : found) {
    if (number != expected) {
      problems->push_back("level " + std::to_string(expected) +
                          " is missing: levels are numbered 1, 2, 3, ... " + "without gaps (found level " +
                          std::to_string(number) + ")");
      return {};
    }
    if (level.original.empty())
      problems->push_back("level " + std::to_string(number) + ": the original picture (" +
                          std::to_string(number) + ".jpg, .png or .bmp) is missing");
    if (level.modified.empty())
      problems->push_back("level " + std::to_string(number) + ": the modified picture (" +
                          std::to_string(number) + "x.jpg, .png or .bmp) is missing");
    if (auto caption = captions.find(number); caption != captions.end()) level.caption = caption->second;
    levels.push_back(level);
    ++expected;
  }
  if (static_cast<int>(levels.size()) > packs::kMaxLevels)
    problems->push_back(std::to_string(levels.size()) + " levels: a pack holds at most " +
                        std::to_string(packs::kMaxLevels));
  return levels;
}

std::optional<std::string> ReadCaption(const fs::path& file, std::string* error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    *error = file.string() + ": cannot be read";
    return std::nullopt;
  }
  std::string text(std::istreambuf_iterator<char>(in), {});
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  std::string why;
  auto caption = IniText(text, &why);
  if (!caption) *error = file.string() + ": " + why;
  return caption;
}

std::optional<std::string> IniText(const std::string& utf8, std::string* error) {
  auto text = tovak2d::Utf8ToCp1252(LineBreaksAsMarks(utf8));
  if (!text) {
    *error = "the text holds characters the game cannot show (it shows Windows-1252 text)";
    return std::nullopt;
  }
  // The game reads no further than this; what lies beyond would vanish without a word.
  if (text->size() > kMaxIniText) {
    *error = "the text is " + std::to_string(text->size()) + " characters long; the game reads at most " +
             std::to_string(kMaxIniText);
    return std::nullopt;
  }
  return text;
}

std::map<int, HandRects> ReadHandRects(Session& session, const fs::path& file, int levelCount,
                                       std::vector<std::string>* problems) {
  std::map<int, HandRects> given;
  std::error_code ec;
  auto name = EngineName(file);
  if (!fs::is_regular_file(file, ec) || !name) {
    problems->push_back(file.string() + ": no such rectangles file");
    return given;
  }
  static const char* const kEdges[] = {"Left", "Right", "Top", "Bottom"};
  tovak2d::Extra& extra = session.extra();
  for (int n = 1; n <= levelCount; ++n) {
    const std::string section = std::to_string(n);
    const std::string where = file.filename().string() + ": level " + section + ": ";
    HandRects hand;
    hand.caption = extra.INIRead(section, "PicInfo", *name);
    std::array<PixelRect, packs::kDifferencesPerLevel> rects{};
    std::vector<std::string> missing;
    bool numbersOk = true;
    for (int d = 1; d <= packs::kDifferencesPerLevel; ++d) {
      PixelRect& rect = rects[static_cast<size_t>(d - 1)];
      int* edges[] = {&rect.left, &rect.right, &rect.top, &rect.bottom};
      for (int e = 0; e < 4; ++e) {
        const std::string key = std::to_string(d) + kEdges[e];
        const std::string value = extra.INIRead(section, key, *name);
        if (value.empty()) {
          missing.push_back(key);
        } else if (auto number = packs::NumberFromText(value)) {
          *edges[e] = static_cast<int>(std::lround(*number));
        } else {
          problems->push_back(where + key + " \"" + tovak2d::Cp1252ToUtf8(value) + "\" is not a number");
          numbersOk = false;
        }
      }
    }
    const size_t all = packs::kDifferencesPerLevel * 4;
    if (missing.size() != all && !missing.empty()) {
      std::string list;
      for (const std::string& key : missing) list += (list.empty() ? "" : ", ") + key;
      problems->push_back(where + "give all twenty values or none; missing " + list);
    } else if (missing.empty() && numbersOk) {
      hand.rects = rects;
    }
    if (hand.rects || !hand.caption.empty()) given[n] = hand;
  }
  return given;
}

}  // namespace varnel::pack
