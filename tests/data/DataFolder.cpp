// SPDX-License-Identifier: Zlib
#include "DataFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "Archive.h"
#include "Files.h"
#include "modExtra.h"
#include "platform/MusicDecoder.h"
#include "tovak2d/Extra.h"

namespace fs = std::filesystem;

namespace datatest {

std::vector<std::string> ExtractArchive(const fs::path& archive, const std::string& folder) {
  const fs::path app = tovak2d::modExtra::AppPath;
  fs::copy_file(archive, app / archive.filename(), fs::copy_options::overwrite_existing);
  tovak2d::Extra extra;
  EXPECT_TRUE(extra.PAK_OpenPAK(archive.filename().string())) << archive;
  std::vector<std::string> names;
  for (const auto& entry : tovak2d::modExtra::PakIndex)
    if (!entry.ShortName.empty()) names.push_back(entry.ShortName);
  EXPECT_TRUE(extra.PAK_ExtractAll(folder)) << archive;
  return names;
}

std::vector<float> DecodeMusic(const fs::path& file, int rate, size_t maxFrames, double* duration) {
  std::string error;
  auto stream = tovak2d::platform::music::MusicStream::Open(file.string(), rate, &error);
  EXPECT_NE(stream, nullptr) << file << ": " << error;
  if (!stream) return {};
  if (duration) *duration = stream->Duration();
  std::vector<float> decoded, buffer(2 * 4096);
  for (int idle = 0; idle < 20 && decoded.size() < 2 * maxFrames;) {
    stream->WaitUntilReady(4096);
    const size_t n = stream->Read(buffer.data(), 4096);
    idle = n == 0 ? idle + 1 : 0;
    decoded.insert(decoded.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(2 * n));
  }
  return decoded;
}

std::vector<fs::path> PackFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(GameDir() / "packs"))
    if (entry.path().extension() == ".vnl") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

Pack LoadPack(const fs::path& file) {
  const fs::path app = tovak2d::modExtra::AppPath;
  Pack pack;
  pack.file = file.filename().string();
  const std::string folder = file.stem().string();
  pack.entries = ExtractArchive(file, folder);
  tovak2d::Extra extra;
  auto ini = [&](const std::string& name) { return folder + "\\" + name; };
  pack.numOfLevels = extra.INIRead("General", "NumOfLevels", ini("packinfo.ini"));
  pack.vertical = extra.INIRead("General", "Vertical", ini("packinfo.ini"));
  pack.description = extra.INIRead("General", "PackInfo", ini("packinfo.ini"));
  std::string scores = ini("hscore.ini");
  int16_t topX = 0, values = 0;
  if (extra.HighScore_Create(scores, topX, values) && extra.HighScore_GetName(1).empty())
    pack.scores = {topX, values, extra.HighScore_CheckPos(1)};
  const int count = std::atoi(pack.numOfLevels.c_str());
  for (int n = 1; n <= count; ++n) {
    PackLevel level;
    level.number = n;
    const std::string section = std::to_string(n);
    level.caption = extra.INIRead(section, "PicInfo", ini("picinfo.ini"));
    for (int d = 1; d <= 5; ++d) {
      auto edge = [&](const char* key) {
        return std::atoi(extra.INIRead(section, std::to_string(d) + key, ini("picinfo.ini")).c_str());
      };
      level.rects.push_back({edge("Left"), edge("Top"), edge("Right"), edge("Bottom")});
    }
    level.originalFile = datagen::ReadFile(app / folder / (section + ".jpg"));
    auto a = datagen::DecodeJpeg(level.originalFile);
    auto b = datagen::DecodeJpeg(datagen::ReadFile(app / folder / (section + "x.jpg")));
    EXPECT_TRUE(a && b) << pack.file << " level " << n << " does not decode";
    if (a) level.original = *a;
    if (b) level.modified = *b;
    pack.levels.push_back(std::move(level));
  }
  return pack;
}

}  // namespace datatest
