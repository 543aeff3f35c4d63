#include <gtest/gtest.h>

#include <array>

#include "Archive.h"
#include "GameFolder.h"
#include "Jpeg.h"
#include "TempAppFolder.h"
#include "tovak2d/Extra.h"

using namespace datagen;
using testsupport::TempAppFolder;

namespace {

// The least a theme needs to give for writing a pack.
class TinyTheme : public Theme {
 public:
  std::string PackName() const override { return "Tiny Pack"; }
  std::string Description() const override { return "Two lines[e]of text"; }
  bool Vertical() const override { return true; }
  Scene Compose(int, Rng&) const override { return {}; }
  void PaintBackground(cairo_t*, const Scene&) const override {}
  void PaintItem(cairo_t*, const Scene&, const Item&) const override {}
  bool Mirrorable(const Item&) const override { return false; }
  bool Countable(const Item&) const override { return false; }
  Item NewItem(const Scene&, Rng&, double, double) const override { return {}; }
};

LevelPictures Level(int n) {
  LevelPictures l;
  l.level = n;
  l.caption = "Level " + std::to_string(n) + "[e]caption";
  for (int d = 0; d < 5; ++d) l.rects.push_back({d * 40, 8, d * 40 + 23, 31, Change::Added});
  const RgbImage image{16, 16, Bytes(16 * 16 * 3, static_cast<uint8_t>(40 * n))};
  l.original = EncodeJpeg(image, 94);
  l.modified = EncodeJpeg({16, 16, Bytes(16 * 16 * 3, static_cast<uint8_t>(40 * n + 7))}, 94);
  return l;
}

}  // namespace

TEST(GameFolderWriter, PacksHoldTheirSettingsRectanglesCaptionsAndPictures) {
  TempAppFolder app;
  GameFolder folder(app.path());
  TinyTheme theme;
  folder.WritePack(theme, {Level(1), Level(2)});
  ASSERT_TRUE(app.Has("packs/Tiny Pack.vnl"));

  tovak2d::Extra extra;
  ASSERT_TRUE(extra.PAK_OpenPAK("packs\\Tiny Pack.vnl"));
  EXPECT_EQ(extra.PAK_FileCount(), 7);
  for (const char* name : {"packinfo.ini", "picinfo.ini", "hscore.ini", "2x.jpg"})
    EXPECT_TRUE(extra.PAK_ExtractFile(name, std::string("got-") + name)) << name;
  // clang-format off
  const std::vector<std::array<const char*, 4>> settings = {
      {"packinfo", "General", "NumOfLevels", "2"}, {"packinfo", "General", "Vertical", "True"},
      {"packinfo", "General", "PackInfo", "Two lines[e]of text"}, {"hscore", "setup", "TopX", "10"},
      {"hscore", "setup", "additionalValues", "0"}, {"picinfo", "2", "PicInfo", "Level 2[e]caption"},
      {"picinfo", "1", "3Left", "80"}, {"picinfo", "1", "3Right", "103"}, {"picinfo", "2", "5Top", "8"},
      {"picinfo", "2", "5Bottom", "31"}};
  // clang-format on
  for (const auto& [file, section, key, value] : settings)
    EXPECT_EQ(extra.INIRead(section, key, std::string("got-") + file + ".ini"), value) << file << " " << key;
  const std::string written = app.Read("got-2x.jpg");
  EXPECT_EQ(Bytes(written.begin(), written.end()), Level(2).modified) << "pictures are stored byte for byte";
}

TEST(GameFolderWriter, TheInterfaceArchiveAndTheOptionsFile) {
  TempAppFolder app;
  GameFolder folder(app.path());
  folder.WriteInterfaceArchive({{"a.jpg", {1, 2, 3}}, {"b.dds", {4, 5}}});
  folder.WriteOptions();
  tovak2d::Extra extra;
  ASSERT_TRUE(extra.PAK_OpenPAK("\\game data\\pictures.vnl"));
  std::vector<std::string> names;
  for (const auto& e : tovak2d::modExtra::PakIndex) names.push_back(e.StoredName);
  EXPECT_EQ(names, (std::vector<std::string>{"a.jpg", "b.dds"})) << "stored under their bare names";
  EXPECT_TRUE(extra.PAK_ExtractFile("b.dds"));
  EXPECT_EQ(app.Read("b.dds"), std::string("\x04\x05", 2));
  for (const char* key : {"Screen", "Music", "Sound", "Particle"})
    EXPECT_EQ(extra.INIRead("Options", key, "game data\\options.ini"), "True") << key;
}

TEST(GameFolderWriter, AFileTheArchiveCannotHoldStopsTheGenerator) {
  TempAppFolder app;
  GameFolder folder(app.path());
  const std::string marker = "`*[S-P-L-I-T]*`!";
  EXPECT_THROW(folder.WriteInterfaceArchive({{"cut.jpg", Bytes(marker.begin(), marker.end())}}),
               std::runtime_error);
}
