// SPDX-License-Identifier: Zlib
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
#include "FontState.h"
#include "tovak2d/CodePage.h"
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

// The font texture is drawn by the engine's default layout (written to font.ini when it is missing):
// every sign of it has a glyph in its cell, empty cells stay empty, and glyphs keep to their cells.
TEST_F(InterfaceData, TheBitmapFontHoldsEverySignOfTheDefaultLayout) {
  auto font = datagen::DecodeDds(Read("font_default.dds"));
  ASSERT_TRUE(font.has_value());
  using datagen::FontLayout;
  const auto signs = FontLayout::Signs();
  const auto engineSigns = tovak2d::DefaultSigns();
  ASSERT_EQ(signs.size(), engineSigns.size());
  auto cellPixels = [&](int cell) {
    std::vector<uint8_t> alpha;
    for (int y = 0; y < FontLayout::kGlyph; ++y)
      for (int x = 0; x < FontLayout::kGlyph; ++x)
        alpha.push_back(AlphaAt(*font, FontLayout::CellX(cell) + x, FontLayout::CellY(cell) + y));
    return alpha;
  };
  for (int i = 0; i < FontLayout::kCells; ++i) {
    const std::string sign = signs[static_cast<size_t>(i)];
    SCOPED_TRACE("cell " + std::to_string(i) + " '" + sign + "'");
    const std::string engineSign = tovak2d::Cp1252ToUtf8(engineSigns[static_cast<size_t>(i)]);
    EXPECT_EQ(sign, engineSign == " " ? "" : engineSign);
    const tovak2d::LetterSpecs at = tovak2d::DefaultLetterPos(i);
    EXPECT_EQ(XY(at.X, at.Y), XY(FontLayout::CellX(i), FontLayout::CellY(i)));
    const auto alpha = cellPixels(i);
    const auto covered = std::count_if(alpha.begin(), alpha.end(), [](uint8_t a) { return a > 128; });
    EXPECT_EQ(covered == 0, sign.empty()) << covered;
    EXPECT_GE(covered, sign.empty() ? 0 : sign == "." ? 4 : 10);
  }
  EXPECT_NE(cellPixels(101), cellPixels(103)) << "the euro and copyright signs are not one missing-glyph box";
}

// The cursor and buttons are clear where they show the colour key; panels where the game looks through.
TEST_F(InterfaceData, CursorButtonsAndPanelsAreSeeThroughWhereTheGameLooksThroughThem) {
  for (const char* name : {"mouse.bmp", "button.bmp"}) {
    SCOPED_TRACE(name);
    auto bmp = datagen::DecodeBmp32(Read(name));
    ASSERT_TRUE(bmp.has_value()) << "a 32-bit bitmap with an alpha channel";
    EXPECT_TRUE(std::all_of(bmp->pixels.begin(), bmp->pixels.end(),
                            [](uint32_t p) { return (p >> 24) != 0 || p == datagen::kColourKey; }));
  }
  auto mouse = datagen::DecodeBmp32(Read("mouse.bmp"));
  EXPECT_GT(mouse->pixels[static_cast<size_t>(3 * 32 + 2)] >> 24, 0u) << "the tip is at the top-left corner";
  auto mask = datagen::DecodeDds(Read("gamemask.dds"));
  ASSERT_TRUE(mask.has_value());
  EXPECT_GE(AlphaAt(*mask, 400, 300), 220) << "the mask hides the pictures";
  EXPECT_EQ(AlphaAt(*mask, 900, 300), 0);
  EXPECT_EQ(AlphaAt(*mask, 300, 700), 0);
  auto marker = datagen::DecodeDds(Read("clueselection.dds"));
  EXPECT_EQ(AlphaAt(*marker, 32, 32), 0) << "a found difference stays visible inside its ring";
  EXPECT_GT(AlphaAt(*marker, 32, 4), 200);
  for (const char* banner :
       {"menu_newgame.dds", "menu_highscores.dds", "menu_options.dds", "menu_help.dds"}) {
    auto b = datagen::DecodeDds(Read(banner));
    EXPECT_GT(AlphaAt(*b, 256, 50), 200) << banner;
    EXPECT_EQ(AlphaAt(*b, 256, 120), 0) << banner << " keeps clear of the panels below";
  }
}

TEST_F(InterfaceData, EveryPictureDecodesAtItsSizeAndTheEngineLoadsItAsATexture) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("data", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr);
  {
    tovak2d::Engine engine;
    ASSERT_TRUE(engine.Tovak2D_Start(window, app_.str(), 800, 600, false));
    // The archive holds the 25 pictures under their names, in order, each at the size it is drawn at.
    std::vector<std::string> expected;
    for (const Expected& e : kPictures) {
      expected.push_back(e.name);
      auto picture = datagen::DecodePicture(e.name, Read(e.name));
      ASSERT_TRUE(picture.has_value()) << e.name;
      EXPECT_EQ(XY(picture->width(), picture->height()), XY(e.width, e.height)) << e.name;
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
    EXPECT_EQ(names_, expected);
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
