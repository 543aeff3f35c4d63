#include <gtest/gtest.h>

#include <algorithm>

#include "GameHarness.h"
#include "ShellData.h"
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

}  // namespace

TEST(ShellMenus, CreditsFirstThenButtonsThatBrightenAndSwitchScreens) {
  GameHarness game(true, shelldata::EnsureInterface);
  ASSERT_TRUE(game.started);
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
  EXPECT_EQ(draws.back().kind, DrawRecord::Kind::Present);

  // The credits screen has no banner.
  EXPECT_FALSE(Shows(game, varnel::texMenuNewGame));

  game.Pass();
  EXPECT_EQ(game.SpritesOf(varnel::texLogo).at(0).AlphaTransp, 99) << "the logo fades from the second pass";

  // A button brightens under the mouse by 5 a pass to 85, and fades back by 1 a pass to 40.

  game.MoveMouse(139, 40);  // the bottom right corner of "Start Game" counts
  EXPECT_EQ(varnel::MenuItems[0].Alpha, 45);
  EXPECT_EQ(varnel::strMenuHover, "Menu_New");
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

  // A click switches screens from the next pass; Exit ends the game.
  struct Screen {
    int y;
    int16_t state;
    const tovak2d::Texture* banner;
  };
  const Screen screens[] = {{60, 2, &varnel::texMenuHighScores},
                            {100, 3, &varnel::texMenuOptions},
                            {130, 4, &varnel::texMenuHelp},
                            {20, 1, &varnel::texMenuNewGame},
                            {170, 5, nullptr}};
  for (const auto& screen : screens) {
    const int16_t before = varnel::intScreen;
    game.Click(80, screen.y);
    EXPECT_EQ(varnel::intScreen, screen.state);
    if (screen.banner) {
      EXPECT_FALSE(Shows(game, *screen.banner)) << "the pass of the click keeps its screen";
    }
    game.Pass();
    if (screen.banner) {
      EXPECT_TRUE(Shows(game, *screen.banner)) << screen.state;
    }
    EXPECT_NE(before, screen.state);
  }

  game.Click(80, 45);  // between two buttons
  EXPECT_EQ(varnel::intScreen, 5);
  EXPECT_TRUE(varnel::bRunning);

  game.Click(80, 210);
  EXPECT_FALSE(varnel::bRunning);
  game.Shutdown();
  const std::string log = game.Read("log.txt");
  EXPECT_EQ(log.substr(log.size() - 19), "APPLICATION ENDED\r\n");
}
