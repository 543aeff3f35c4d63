#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "TestFiles.h"

// Game folders for the shell tests: interface pictures and picture packs made on the spot, so a
// test says exactly which pack holds what.
namespace shelldata {

namespace fs = std::filesystem;

using Entries = testsupport::ArchiveEntries;
inline constexpr auto& Archive = testsupport::AppendedArchive;
inline constexpr auto& Put = testsupport::WriteFile;
inline constexpr auto& Bytes = testsupport::ReadFile;

// A small 24-bit bitmap of one colour; the engine tells formats by their bytes, so it serves under any
// picture name.
inline std::string Bmp(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  return testsupport::Bmp(width, height, 24,
                          [=](int, int) { return uint32_t{red} << 16 | green << 8 | blue; });
}

inline const std::vector<std::string> kInterfaceEntries = {
    "back_game_h.jpg",   "back_game_v.jpg",
    "gamemask.dds",      "background.jpg",
    "sky.jpg",           "mouse.bmp",
    "button.bmp",        "vnlogo.jpg",
    "progressroom.dds",  "progressbar.dds",
    "progressbarin.dds", "particles.png",
    "sidemenu.dds",      "newgameselection.dds",
    "highscores.dds",    "packinfo.dds",
    "vnl.dds",           "clue.dds",
    "clueselection.dds", "highscorepacks.dds",
    "menu_newgame.dds",  "menu_highscores.dds",
    "menu_options.dds",  "menu_help.dds",
    "font_default.dds",
};

// Writes "game data/pictures.vnl" with every interface picture except leaveOut.
inline void WriteInterfaceArchive(const fs::path& folder, const std::string& leaveOut = "") {
  Entries entries;
  uint8_t shade = 20;
  for (const auto& name : kInterfaceEntries)
    if (name != leaveOut) entries.emplace_back(name, Bmp(8, 8, shade += 9, 90, 160));
  Put(folder / "game data" / "pictures.vnl", Archive(entries));
}

// Gives a test folder the interface pictures when the built game folder brought none.
inline void EnsureInterface(const fs::path& folder) {
  if (!fs::exists(folder / "game data" / "pictures.vnl")) WriteInterfaceArchive(folder);
}

using testsupport::PackInfo;

// Five rectangles for each of levels 1 to count.
inline std::string PicInfo(int count) {
  std::string out;
  for (int n = 1; n <= count; ++n) {
    out += "[" + std::to_string(n) + "]\r\n";
    for (int d = 1; d <= 5; ++d)
      out += testsupport::RectKeys(d, std::to_string(d * 40), std::to_string(d * 40 + 20),
                                   std::to_string(d * 30), std::to_string(d * 30 + 20));
    out += "PicInfo=Level " + std::to_string(n) + "\r\n";
  }
  return out;
}

inline std::string Table(const std::vector<std::pair<std::string, std::string>>& scores) {
  std::string out = "[setup]\r\nTopX=10\r\nadditionalValues=0\r\n[scores]\r\n";
  for (size_t i = 0; i < scores.size(); ++i)
    out += std::to_string(i + 1) + "_score=" + scores[i].first + "\r\n" + std::to_string(i + 1) +
           "_name=" + scores[i].second + "\r\n";
  return out;
}

// A playable pack: settings, rectangles, a picture pair per level and a table.
inline Entries GoodPack(int levels, bool vertical, const std::string& table, const std::string& info = "") {
  Entries entries = {{"packinfo.ini", PackInfo(std::to_string(levels), vertical ? "True" : "False", info)},
                     {"picinfo.ini", PicInfo(levels)},
                     {"hscore.ini", table}};
  for (int n = 1; n <= levels; ++n) {
    entries.emplace_back(std::to_string(n) + ".jpg", Bmp(16, 16, 200, 40, 40));
    entries.emplace_back(std::to_string(n) + "x.jpg", Bmp(16, 16, 40, 200, 40));
  }
  return entries;
}

inline void WritePack(const fs::path& folder, const std::string& name, const Entries& entries) {
  Put(folder / "packs" / name, Archive(entries));
}

// Replaces the built game's packs with the given ones (none: an empty packs folder).
inline void OnlyPacks(const fs::path& folder, const std::vector<std::pair<std::string, Entries>>& packs) {
  fs::remove_all(folder / "packs");
  fs::create_directories(folder / "packs");
  for (const auto& [name, entries] : packs) WritePack(folder, name, entries);
}

// Prepares a game folder with the interface pictures and only the given packs.
inline std::function<void(const fs::path&)> WithPacks(std::vector<std::pair<std::string, Entries>> packs) {
  return [packs](const fs::path& folder) {
    EnsureInterface(folder);
    OnlyPacks(folder, packs);
  };
}

}  // namespace shelldata
