// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <algorithm>

#include "GameHarness.h"
#include "ShellData.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "tovak2d/TextureAccess.h"

namespace {

using tovak2d::DrawRecord;

size_t IndexOf(const std::vector<DrawRecord>& draws, const std::function<bool(const DrawRecord&)>& match) {
  return static_cast<size_t>(std::find_if(draws.begin(), draws.end(), match) - draws.begin());
}

bool Shows(const GameHarness& game, const tovak2d::Texture& texture) {
  return !game.SpritesOf(texture).empty();
}

// The process's current folder during a test: a game that worked relative to it would leave
// its files here.
class ElsewhereFolder : public testsupport::TempFolder {
 public:
  ElsewhereFolder() : previous(std::filesystem::current_path()) { std::filesystem::current_path(path()); }
  ~ElsewhereFolder() { std::filesystem::current_path(previous); }
  std::filesystem::path previous;
};

}  // namespace

// The start (every texture made, no picture left extracted), the loop's passes, the mouse and the
// screenshot key every menu screen takes, the shutdown. (Escape and the window's close button end the
// game in the end-to-end scripts.)
TEST(ShellMenus, CreditsFirstThenButtonsThatBrightenAndSwitchScreens) {
  ElsewhereFolder elsewhere;
  GameHarness game(true, [](const std::filesystem::path& folder) {
    shelldata::EnsureInterface(folder);
    shelldata::Put(folder / "picinfo.ini", "[1]\r\n1Left=3\r\n");  // left over by an earlier run
  });
  ASSERT_TRUE(game.started);
  for (const auto& name : shelldata::InterfaceEntries()) EXPECT_FALSE(game.Has(name)) << name;
  EXPECT_FALSE(game.Has("picinfo.ini"));
  for (const auto* texture : {&varnel::texBackGameH, &varnel::texMouse, &varnel::texButton, &varnel::texLogo,
                              &varnel::texParticles, &varnel::texVNL, &varnel::texFontDefault})
    EXPECT_TRUE(static_cast<bool>(*texture));
  EXPECT_FALSE(varnel::texOriginal) << "level pictures come with the level";
  EXPECT_TRUE(varnel::bWindowed && varnel::bMusicOn && varnel::bSoundOn && varnel::bParticlesOn)
      << "the options file of the game folder turns everything on";
  EXPECT_EQ(game.Read("log.txt").find("Error in ReadOptions"), std::string::npos) << "and is read";
  game.Pass();
  const auto& draws = game.Draws();

  const auto logos = game.SpritesOf(varnel::texLogo);
  ASSERT_EQ(logos.size(), 2u) << "the splash logo, then the loading frame's";
  EXPECT_EQ(logos[0].AlphaTransp, 100) << "100 - 0.5 rounded half to even";

  const size_t credits = IndexOf(draws, [](const DrawRecord& d) { return d.text == "DEVELOPED BY"; });
  const size_t logo = IndexOf(draws, [](const DrawRecord& d) {
    return d.texture == tovak2d::TextureAccess::Data(varnel::texLogo).get();
  });
  const size_t firstPresent =
      IndexOf(draws, [](const DrawRecord& d) { return d.kind == DrawRecord::Kind::Present; });
  const size_t loading = IndexOf(draws, [](const DrawRecord& d) { return d.text == "LOADING"; });
  EXPECT_LT(credits, logo);
  EXPECT_LT(logo, firstPresent);
  ASSERT_LT(loading, draws.size());
  EXPECT_GT(loading, firstPresent) << "the catalogue is built after the first frame";
  EXPECT_EQ(draws.front().kind, DrawRecord::Kind::Clear);
  EXPECT_EQ(draws.back().kind, DrawRecord::Kind::Present);
  EXPECT_EQ(std::string(SDL_GetWindowTitle(varnel::frmMain::hWnd())), "Varnel v1.0.0");

  // The credits screen has no banner.
  EXPECT_FALSE(Shows(game, varnel::texMenuNewGame));

  game.Pass();
  EXPECT_EQ(game.SpritesOf(varnel::texLogo).at(0).AlphaTransp, 99) << "the logo fades from the second pass";

  // A button brightens under the mouse by 5 a pass to 85, and fades back by 1 a pass to 40.

  game.MoveMouse(139, 40);  // the bottom right corner of "Start Game" counts
  EXPECT_EQ(varnel::MenuItems[0].Alpha, 45);
  EXPECT_EQ(varnel::strMenuHover, "Menu_New");
  EXPECT_EQ(varnel::curMouse.X, 139);
  game.Pass(10);
  EXPECT_EQ(varnel::MenuItems[0].Alpha, 85);
  const auto buttons = game.SpritesOf(varnel::texButton);
  ASSERT_EQ(buttons.size(), 6u);
  EXPECT_EQ(buttons[0].AlphaTransp, 85);
  EXPECT_EQ(buttons[1].AlphaTransp, 40);

  game.MoveMouse(400, 400);
  EXPECT_EQ(varnel::MenuItems[0].Alpha, 84);
  game.Pass(50);
  EXPECT_EQ(varnel::MenuItems[0].Alpha, 40);
  EXPECT_EQ(varnel::strMenuHover, "");

  // A click switches screens, its banner shown from the next pass; Exit ends the game. (Every button
  // clicked through a real display: the menus script.)
  game.Click(80, 60);
  EXPECT_EQ(varnel::intScreen, varnel::kScreenHighScores);
  EXPECT_FALSE(Shows(game, varnel::texMenuHighScores)) << "the pass of the click keeps its screen";
  game.Pass();
  EXPECT_TRUE(Shows(game, varnel::texMenuHighScores));
  for (auto [y, screen] : {std::pair{100, varnel::kScreenOptions},
                           {130, varnel::kScreenHelp},
                           {20, varnel::kScreenStartGame},
                           {170, varnel::kScreenCredits}}) {
    game.Click(80, y);
    EXPECT_EQ(varnel::intScreen, screen) << y;
  }

  game.Click(80, 45);  // between two buttons
  EXPECT_EQ(varnel::intScreen, 5);
  EXPECT_TRUE(varnel::bRunning);
  game.PressKey(SDL_SCANCODE_S);  // the screenshot key
  EXPECT_TRUE(game.Has("screenshot001.bmp"));
  EXPECT_FALSE(game.Has("screenshot002.bmp")) << "one press, one picture";

  game.Click(80, 210);
  EXPECT_FALSE(varnel::bRunning);
  game.Shutdown();
  EXPECT_FALSE(varnel::texMouse) << "textures are released at shutdown";
  const std::string log = game.Read("log.txt");
  EXPECT_EQ(log.substr(log.size() - 19), "APPLICATION ENDED\r\n");
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path())) << "nothing is written to the current folder";
}
