// SPDX-License-Identifier: Zlib
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "Interface.h"
#include "Level.h"
#include "Scene.h"

namespace datagen {

// Writes the game folder's archives and INI files with the engine's own Extra. Every name is
// relative to the engine's application folder (AppPath), which must be `root`: the caller starts
// the engine there first. Each step throws with a clear message when the engine refuses it.
class GameFolder {
 public:
  explicit GameFolder(std::filesystem::path root) : root_(std::move(root)) {}

  // "game data\pictures.vnl" holding the interface pictures under their own names.
  void WriteInterfaceArchive(const std::vector<NamedFile>& pictures);
  // "game data\options.ini": windowed, music, sound and particles all on.
  void WriteOptions();
  // "packs\<pack name>.vnl": settings, picture descriptions, an empty score table, the pictures.
  void WritePack(const Theme& theme, const std::vector<LevelPictures>& levels);

  // The folder the two archives' sources are put in before they are added.
  static constexpr const char* kStaging = "datagen staging";

 private:
  // Makes an empty archive and adds the files (names relative to AppPath) under their stored names.
  void BuildArchive(const std::string& archive,
                    const std::vector<std::pair<std::string, std::string>>& files);
  void Ini(const std::string& file, const std::string& section, const std::string& key,
           const std::string& value);

  std::filesystem::path root_;
};

}  // namespace datagen
