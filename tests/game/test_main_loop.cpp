#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "GameHarness.h"
#include "ShellData.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modMain.h"

// The loop's passes, the keys every menu screen takes (S: a screenshot, Escape: the end), and the
// window's close button, which ends the loop once its pass is done. The game folder holds only the
// interface pictures, without which the game ends at once.
TEST(MainLoop, RunsPassesTakesKeysAndShutsDownWhenTheWindowIsClosed) {
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
  varnel::intScreen = varnel::kScreenOptions;
  game.PressKey(SDL_SCANCODE_ESCAPE);
  EXPECT_FALSE(varnel::bRunning) << "Escape ends the loop";

  // The program would end here; the test goes on to the close button, which does not close the
  // window at once: the pass finishes, then the loop ends.
  varnel::bRunning = true;
  const int32_t frame = varnel::lngFrame;
  testsupport::Push(testsupport::WindowEvent(GameHarness::WindowId(), SDL_WINDOWEVENT_CLOSE));
  varnel::RunPass();
  EXPECT_FALSE(varnel::bRunning);
  EXPECT_EQ(varnel::lngFrame, frame + 1);

  game.Shutdown();
  const std::string log = game.Read("log.txt");
  EXPECT_NE(log.find("Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!\r\n"), std::string::npos);
  ASSERT_GE(log.size(), 19u);
  EXPECT_EQ(log.substr(log.size() - 19), "APPLICATION ENDED\r\n") << "the last line of the log";
}
