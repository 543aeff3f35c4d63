// SPDX-License-Identifier: Zlib
#include "GameFolder.h"

#include <stdexcept>

#include "tovak2d/Extra.h"

namespace datagen {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

}  // namespace

void GameFolder::Ini(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
  tovak2d::Extra extra;
  if (extra.INIWrite(section, key, value, file) == 0)
    throw std::runtime_error("the engine could not write " + section + "/" + key + " to " + file);
}

void GameFolder::BuildArchive(const std::string& archive,
                              const std::vector<std::pair<std::string, std::string>>& files) {
  const std::filesystem::path path = root_ / std::filesystem::path(archive).make_preferred();
  std::filesystem::create_directories(path.parent_path());
  WriteFile(path, std::string_view());
  tovak2d::Extra extra;
  if (!extra.PAK_OpenPAK(archive))
    throw std::runtime_error("the engine could not open the new archive " + archive);
  for (const auto& [source, stored] : files) {
    std::string rename = stored;
    if (!extra.PAK_AddFile(source, rename, false))
      throw std::runtime_error("the engine could not add " + source + " to " + archive + " (see log.txt)");
  }
  // Read it back as the game will.
  if (!extra.PAK_OpenPAK(archive) || extra.PAK_FileCount() != static_cast<int16_t>(files.size()))
    throw std::runtime_error(archive + " does not read back with all its entries");
}

void GameFolder::WriteInterfaceArchive(const std::vector<NamedFile>& pictures) {
  const std::string staging = Join(kStaging, "pictures");
  std::vector<std::pair<std::string, std::string>> files;
  for (const NamedFile& f : pictures) {
    WriteFile(root_ / kStaging / "pictures" / f.name, f.data);
    files.emplace_back(Join(staging, f.name), f.name);
  }
  BuildArchive("game data/pictures.vnl", files);
}

void GameFolder::WriteOptions() {
  const std::string file = "game data\\options.ini";
  std::filesystem::create_directories(root_ / "game data");
  for (const char* key : {"Screen", "Music", "Sound", "Particle"}) Ini(file, "Options", key, "True");
}

void GameFolder::WritePack(const Theme& theme, const std::vector<LevelPictures>& levels) {
  const std::string folder = Join(kStaging, theme.PackName());
  std::filesystem::create_directories(root_ / kStaging / theme.PackName());

  const std::string packInfo = Join(folder, "packinfo.ini");
  Ini(packInfo, "General", "NumOfLevels", std::to_string(levels.size()));
  Ini(packInfo, "General", "Vertical", theme.Vertical() ? "True" : "False");
  Ini(packInfo, "General", "PackInfo", theme.Description());

  const std::string scores = Join(folder, "hscore.ini");
  Ini(scores, "setup", "TopX", "10");
  Ini(scores, "setup", "additionalValues", "0");

  const std::string picInfo = Join(folder, "picinfo.ini");
  std::vector<std::pair<std::string, std::string>> files = {
      {packInfo, "packinfo.ini"}, {picInfo, "picinfo.ini"}, {scores, "hscore.ini"}};
  for (const LevelPictures& level : levels) {
    const std::string section = std::to_string(level.level);
    for (size_t d = 0; d < level.rects.size(); ++d) {
      const DiffRect& r = level.rects[d];
      const std::string n = std::to_string(d + 1);
      Ini(picInfo, section, n + "Left", std::to_string(r.left));
      Ini(picInfo, section, n + "Right", std::to_string(r.right));
      Ini(picInfo, section, n + "Top", std::to_string(r.top));
      Ini(picInfo, section, n + "Bottom", std::to_string(r.bottom));
    }
    Ini(picInfo, section, "PicInfo", level.caption);
    for (const auto& [name, data] :
         {std::pair{section + ".jpg", &level.original}, {section + "x.jpg", &level.modified}}) {
      WriteFile(root_ / kStaging / theme.PackName() / name, *data);
      files.emplace_back(Join(folder, name), name);
    }
  }
  BuildArchive("packs/" + theme.PackName() + ".vnl", files);
}

}  // namespace datagen
