#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "GameHarness.h"
#include "ShellData.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modMain.h"

// The loop's passes, the mouse and the screenshot key every menu screen takes. (Escape and the window's
// close button end the game in the end-to-end scripts.) The game folder holds only the interface
// pictures, without which the game ends at once.
TEST(MainLoop, RunsPassesAndTakesTheMouseAndTheScreenshotKey) {
  GameHarness game(false,
                   [](const std::filesystem::path& folder) { shelldata::WriteInterfaceArchive(folder); });
  ASSERT_TRUE(game.started);
  EXPECT_EQ(varnel::intScreen, varnel::kScreenCredits);
  EXPECT_EQ(std::string(SDL_GetWindowTitle(varnel::frmMain::hWnd())), "Varnel v1.0.0");
  game.Pass(3);
  EXPECT_EQ(varnel::lngFrame, 3);
  EXPECT_EQ(varnel::sngLogoFade, 1.5f);
  EXPECT_TRUE(varnel::bMenuShown) << "the credits screen is a menu screen";
  EXPECT_EQ(game.Draws().front().kind, tovak2d::DrawRecord::Kind::Clear);
  EXPECT_EQ(game.Draws().back().kind, tovak2d::DrawRecord::Kind::Present);

  game.MoveMouse(123, 456);
  EXPECT_EQ(varnel::curMouse.X, 123);
  EXPECT_EQ(varnel::curMouse.Y, 456);
  game.PressKey(SDL_SCANCODE_S);
  EXPECT_TRUE(game.Has("screenshot001.bmp"));
  EXPECT_FALSE(game.Has("screenshot002.bmp")) << "one press, one picture";
}
