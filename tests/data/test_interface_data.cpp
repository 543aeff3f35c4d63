#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <utility>

#include "BitmapFont.h"
#include "Bmp.h"
#include "DataFolder.h"
#include "Dds.h"
#include "Decode.h"
#include "Files.h"
#include "tovak2d/Engine.h"
#include "tovak2d/Extra.h"

namespace fs = std::filesystem;
using testsupport::TempAppFolder;
using XY = std::pair<int, int>;

namespace {

// The 25 pictures in the order the game creates them, with the size each is made at.
struct Expected {
  const char* name;
  int width, height;
};
// clang-format off
const Expected kPictures[] = {
    {"back_game_h.jpg", 800, 600},     {"back_game_v.jpg", 800, 600},    {"gamemask.dds", 1024, 1024},
    {"background.jpg", 800, 600},      {"sky.jpg", 512, 512},            {"mouse.bmp", 32, 32},
    {"button.bmp", 128, 32},           {"vnlogo.jpg", 800, 600},         {"progressroom.dds", 64, 512},
    {"progressbar.dds", 64, 1024},     {"progressbarin.dds", 64, 512},   {"particles.png", 64, 32},
    {"sidemenu.dds", 256, 512},        {"newgameselection.dds", 512, 512}, {"highscores.dds", 256, 512},
    {"packinfo.dds", 256, 256},        {"vnl.dds", 256, 256},            {"clue.dds", 64, 64},
    {"clueselection.dds", 64, 64},     {"highscorepacks.dds", 256, 512}, {"menu_newgame.dds", 512, 128},
    {"menu_highscores.dds", 512, 128}, {"menu_options.dds", 512, 128},   {"menu_help.dds", 512, 128},
    {"font_default.dds", 256, 256},
};
// clang-format on

uint8_t AlphaAt(const datagen::DdsImage& img, int x, int y) {
  return img.rgba[(static_cast<size_t>(y) * static_cast<size_t>(img.width) + static_cast<size_t>(x)) * 4 + 3];
}

class InterfaceData : public ::testing::Test {
 protected:
  void SetUp() override {
    names_ = datatest::ExtractArchive(datatest::GameDir() / "game data" / "pictures.vnl", "ui");
  }
  datagen::Bytes Read(const std::string& name) const { return datagen::ReadFile(app_.path() / "ui" / name); }

  TempAppFolder app_;
  std::vector<std::string> names_;
};

}  // namespace

// The archive holds the 25 pictures under their names, in order, each at the size it is drawn at.
TEST_F(InterfaceData, EveryPictureDecodesAtTheSizeItIsDrawnAt) {
  std::vector<std::string> expected;
  for (const Expected& e : kPictures) {
    SCOPED_TRACE(e.name);
    expected.push_back(e.name);
    auto picture = datagen::DecodePicture(e.name, Read(e.name));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(std::pair(picture->width(), picture->height()), std::pair(e.width, e.height));
  }
  EXPECT_EQ(names_, expected);
  // Textures with transparency are made at power-of-two sizes, so nothing is stretched.
  for (const char* name : {"gamemask.dds", "sidemenu.dds", "font_default.dds", "clue.dds", "button.bmp"}) {
    auto dds = datagen::DecodeDds(Read(name));
    if (std::string(name).ends_with(".dds")) {
      ASSERT_TRUE(dds.has_value()) << name;
      EXPECT_EQ((dds->width & (dds->width - 1)) | (dds->height & (dds->height - 1)), 0) << name;
    }
  }
  EXPECT_EQ(datagen::DecodeDds(Read("gamemask.dds"))->format, datagen::DdsFormat::Dxt5);
  EXPECT_EQ(datagen::DecodeDds(Read("font_default.dds"))->format, datagen::DdsFormat::A8R8G8B8);
}

TEST_F(InterfaceData, CursorAndButtonBackgroundsAreExactlyTheColourKey) {
  for (const char* name : {"mouse.bmp", "button.bmp"}) {
    SCOPED_TRACE(name);
    auto bmp = datagen::DecodeBmp32(Read(name));
    ASSERT_TRUE(bmp.has_value()) << "a 32-bit bitmap with an alpha channel";
    int keyed = 0, opaque = 0;
    for (uint32_t p : bmp->pixels) {
      if ((p >> 24) == 0) {
        EXPECT_EQ(p, datagen::kColourKey) << std::hex << p;
      }
      if (p == datagen::kColourKey) ++keyed;
      if ((p >> 24) == 255) ++opaque;
    }
    EXPECT_GT(keyed, 100);
    EXPECT_GT(opaque, 100);
  }
  auto button = datagen::DecodeBmp32(Read("button.bmp"));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 128; ++x)
      if (x >= 120 || y >= 25) {
        EXPECT_EQ(button->pixels[static_cast<size_t>(y * 128 + x)], datagen::kColourKey);
      }
  EXPECT_EQ(button->pixels[static_cast<size_t>(12 * 128 + 60)] >> 24, 255u)
      << "the button fills its 120 x 25";
  auto mouse = datagen::DecodeBmp32(Read("mouse.bmp"));
  EXPECT_GT(mouse->pixels[static_cast<size_t>(3 * 32 + 2)] >> 24, 0u) << "the tip is at the top-left corner";
  EXPECT_EQ(mouse->pixels[static_cast<size_t>(31 * 32 + 31)], datagen::kColourKey);
}

TEST_F(InterfaceData, TheBitmapFontHoldsEverySignOfTheDefaultLayout) {
  auto font = datagen::DecodeDds(Read("font_default.dds"));
  ASSERT_TRUE(font.has_value());
  using datagen::FontLayout;
  const auto signs = FontLayout::Signs();
  auto coverage = [&](int cell) {
    int count = 0;
    for (int y = 0; y < FontLayout::kGlyph; ++y)
      for (int x = 0; x < FontLayout::kGlyph; ++x)
        if (AlphaAt(*font, FontLayout::CellX(cell) + x, FontLayout::CellY(cell) + y) > 128) ++count;
    return count;
  };
  for (int i = 0; i < FontLayout::kCells; ++i) {
    SCOPED_TRACE("cell " + std::to_string(i) + " '" + signs[static_cast<size_t>(i)] + "'");
    const int expected = signs[static_cast<size_t>(i)].empty()  ? 0
                         : signs[static_cast<size_t>(i)] == "." ? 4
                                                                : 10;
    if (expected == 0) {
      EXPECT_EQ(coverage(i), 0);
    } else {
      EXPECT_GE(coverage(i), expected);
    }
  }
  // Glyphs stay inside their cells: the one-texel gutters between cells are empty.
  for (int k = 0; k <= 11; ++k)
    for (int t = 0; t < 256; ++t) {
      EXPECT_EQ(AlphaAt(*font, 23 * k < 256 ? 23 * k : 255, t), 0) << "column " << 23 * k << " row " << t;
      EXPECT_EQ(AlphaAt(*font, t, 23 * k < 256 ? 23 * k : 255), 0) << "row " << 23 * k << " column " << t;
    }
  // The euro and copyright signs are real glyphs, not the same missing-glyph box.
  auto cellPixels = [&](int cell) {
    std::vector<uint8_t> a;
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < 22; ++x)
        a.push_back(AlphaAt(*font, FontLayout::CellX(cell) + x, FontLayout::CellY(cell) + y));
    return a;
  };
  EXPECT_EQ(signs[101], "\u20AC");
  EXPECT_EQ(signs[103], "\u00A9");
  EXPECT_NE(cellPixels(101), cellPixels(103));
  // White letters, so the game's colours tint them.
  for (int x = 0; x < 22; ++x) {
    const size_t at = (static_cast<size_t>(FontLayout::CellY(12) + 11) * 256 +
                       static_cast<size_t>(FontLayout::CellX(12) + x)) *
                      4;
    if (font->rgba[at + 3] == 255) {
      EXPECT_GE(std::min({font->rgba[at], font->rgba[at + 1], font->rgba[at + 2]}), 200);
    }
  }
}

TEST_F(InterfaceData, PanelsAreSeeThroughWhereTheGameLooksThroughThem) {
  auto mask = datagen::DecodeDds(Read("gamemask.dds"));
  ASSERT_TRUE(mask.has_value());
  EXPECT_GE(AlphaAt(*mask, 400, 300), 220) << "the mask hides the pictures";
  EXPECT_GE(AlphaAt(*mask, 300, 400), 220) << "also where wide packs read it";
  EXPECT_EQ(AlphaAt(*mask, 900, 300), 0);
  EXPECT_EQ(AlphaAt(*mask, 300, 700), 0);
  auto marker = datagen::DecodeDds(Read("clueselection.dds"));
  EXPECT_EQ(AlphaAt(*marker, 32, 32), 0) << "a found difference stays visible inside its ring";
  EXPECT_GT(AlphaAt(*marker, 32, 4), 200);
  auto side = datagen::DecodeDds(Read("sidemenu.dds"));
  EXPECT_GT(AlphaAt(*side, 60, 30), 100);
  EXPECT_EQ(AlphaAt(*side, 240, 30), 0);
  for (const char* banner :
       {"menu_newgame.dds", "menu_highscores.dds", "menu_options.dds", "menu_help.dds"}) {
    auto b = datagen::DecodeDds(Read(banner));
    EXPECT_GT(AlphaAt(*b, 256, 50), 200) << banner;
    EXPECT_EQ(AlphaAt(*b, 256, 120), 0) << banner << " keeps clear of the panels below";
  }
}

TEST_F(InterfaceData, TheOptionsFileTurnsEverythingOn) {
  fs::copy_file(datatest::GameDir() / "game data" / "options.ini", app_.path() / "options.ini");
  tovak2d::Extra extra;
  for (const char* key : {"Screen", "Music", "Sound", "Particle"})
    EXPECT_EQ(extra.INIRead("Options", key, "options.ini"), "True") << key;
  const std::string text = app_.Read("options.ini");
  EXPECT_LT(text.find("Screen"), text.find("Music"));
  EXPECT_LT(text.find("Sound"), text.find("Particle"));
}

TEST_F(InterfaceData, TheEngineLoadsEveryPictureAsATexture) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("data", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr);
  {
    tovak2d::Engine engine;
    ASSERT_TRUE(engine.Tovak2D_Start(window, app_.str(), 800, 600, false));
    for (const Expected& e : kPictures) {
      fs::copy_file(app_.path() / "ui" / e.name, app_.path() / e.name, fs::copy_options::overwrite_existing);
      tovak2d::Texture texture;
      const bool keyed = std::string(e.name) == "mouse.bmp" || std::string(e.name) == "button.bmp";
      engine.CreateTexture(texture, e.name, keyed ? 0x00FF00FF : 0);
      EXPECT_TRUE(static_cast<bool>(texture)) << e.name;
      if (!texture) continue;
      EXPECT_EQ(XY(texture.Width(), texture.Height()),
                XY(std::bit_ceil(unsigned(e.width)), std::bit_ceil(unsigned(e.height))))
          << e.name;
    }
    // Level pictures too: each becomes the power-of-two texture the play screen reads whole.
    int levelPictures = 0;
    for (const auto& pack : datatest::PackFiles()) {
      const std::string folder = pack.stem().string();
      datatest::ExtractArchive(pack, folder);
      const bool upright =
          tovak2d::Extra().INIRead("General", "Vertical", folder + "\\packinfo.ini") == "True";
      for (const auto& entry : fs::directory_iterator(app_.path() / folder)) {
        if (entry.path().extension() != ".jpg") continue;
        tovak2d::Texture texture;
        engine.CreateTexture(texture, folder + "\\" + entry.path().filename().string());
        ASSERT_TRUE(static_cast<bool>(texture)) << entry.path();
        EXPECT_EQ(XY(texture.Width(), texture.Height()), upright ? std::pair(256, 512) : std::pair(512, 256))
            << entry.path();
        ++levelPictures;
      }
    }
    EXPECT_GE(levelPictures, 4 * 12 * 2);
    for (const std::string& line : app_.LogLines())
      EXPECT_EQ(line.find("Error in CreateTextureEx"), std::string::npos) << line;
    engine.Tovak2D_Unload();
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
}
