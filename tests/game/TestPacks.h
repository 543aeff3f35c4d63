// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "ShellData.h"

// Picture packs made by the tests themselves, so every rectangle, caption and table is known.
namespace play {

// One rectangle in picture pixels: left, right, top, bottom (edges inclusive).
using Rect = std::array<float, 4>;

struct TestLevel {
  std::array<Rect, 5> rects;
  std::string caption;
};

struct TestPack {
  std::string fileName;  // e.g. "Garden.vnl"
  bool vertical = true;
  std::vector<TestLevel> levels;
  std::string hscore = "";  // the pack's table file; empty: none in the pack
};

// The rectangles as picinfo.ini keys; the tests' edges are whole pixels.
inline std::string RectKeys(const TestLevel& level) {
  auto text = [](float v) { return std::to_string(static_cast<int>(v)); };
  std::string keys;
  for (int d = 0; d < 5; ++d) {
    const Rect& r = level.rects[d];
    keys += testsupport::RectKeys(d + 1, text(r[0]), text(r[1]), text(r[2]), text(r[3]));
  }
  return keys;
}

inline std::string PicInfo(const std::vector<TestLevel>& levels) {
  std::string picinfo;
  for (size_t i = 0; i < levels.size(); ++i)
    picinfo +=
        "[" + std::to_string(i + 1) + "]\r\n" + RectKeys(levels[i]) + "PicInfo=" + levels[i].caption + "\r\n";
  return picinfo;
}

inline void WritePack(const std::filesystem::path& folder, const TestPack& pack) {
  shelldata::Entries entries = {{"packinfo.ini", shelldata::PackInfo(std::to_string(pack.levels.size()),
                                                                     pack.vertical ? "True" : "False")}};
  if (!pack.hscore.empty()) entries.emplace_back("hscore.ini", pack.hscore);
  entries.emplace_back("picinfo.ini", PicInfo(pack.levels));
  const int w = pack.vertical ? 256 : 380, h = pack.vertical ? 380 : 256;
  for (size_t i = 0; i < pack.levels.size(); ++i) {
    entries.emplace_back(std::to_string(i + 1) + ".bmp", shelldata::Bmp(w, h, 60, 90, 120));
    entries.emplace_back(std::to_string(i + 1) + "x.bmp", shelldata::Bmp(w, h, 60, 160, 120));
  }
  shelldata::WritePack(folder, pack.fileName, entries);
}

// Five separate squares of 11 x 11 pixels along the picture's diagonal.
inline TestLevel PlainLevel(const std::string& caption = "") {
  TestLevel level;
  for (int d = 0; d < 5; ++d) {
    const auto at = static_cast<float>(20 + 40 * d);
    level.rects[d] = {at, at + 10, at, at + 10};
  }
  level.caption = caption;
  return level;
}

// A playable pack of small pictures (a bitmap serves under a .jpg name): settings, rectangles, a
// picture pair per level and a table.
inline shelldata::Entries GoodPack(int levels, bool vertical, const std::string& table,
                                   const std::string& info = "") {
  shelldata::Entries entries = {
      {"packinfo.ini", shelldata::PackInfo(std::to_string(levels), vertical ? "True" : "False", info)},
      {"picinfo.ini", PicInfo(std::vector<TestLevel>(static_cast<size_t>(levels), PlainLevel("A level")))},
      {"hscore.ini", table}};
  for (int n = 1; n <= levels; ++n) {
    entries.emplace_back(std::to_string(n) + ".jpg", shelldata::Bmp(16, 16, 200, 40, 40));
    entries.emplace_back(std::to_string(n) + "x.jpg", shelldata::Bmp(16, 16, 40, 200, 40));
  }
  return entries;
}

}  // namespace play
