// SPDX-License-Identifier: Zlib
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

// The names of the interface pictures: those of the built game's picture archive.
inline std::vector<std::string> InterfaceEntries() {
  const auto built = testsupport::ReadArchive(fs::path(VARNEL_GAME_DIR) / "game data" / "pictures.vnl");
  std::vector<std::string> names;
  if (built)
    for (const auto& entry : *built) names.push_back(entry.name);
  return names;
}

// Writes "game data/pictures.vnl" with every interface picture except leaveOut.
inline void WriteInterfaceArchive(const fs::path& folder, const std::string& leaveOut = "") {
  Entries entries;
  uint8_t shade = 20;
  for (const auto& name : InterfaceEntries())
    if (name != leaveOut) entries.emplace_back(name, Bmp(8, 8, shade += 9, 90, 160));
  Put(folder / "game data" / "pictures.vnl", Archive(entries));
}

// Gives a test folder the interface pictures when the built game folder brought none.
inline void EnsureInterface(const fs::path& folder) {
  if (!fs::exists(folder / "game data" / "pictures.vnl")) WriteInterfaceArchive(folder);
}

using testsupport::PackInfo;

inline std::string Table(const std::vector<std::pair<std::string, std::string>>& scores) {
  std::string out = "[setup]\r\nTopX=10\r\nadditionalValues=0\r\n[scores]\r\n";
  for (size_t i = 0; i < scores.size(); ++i)
    out += std::to_string(i + 1) + "_score=" + scores[i].first + "\r\n" + std::to_string(i + 1) +
           "_name=" + scores[i].second + "\r\n";
  return out;
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
