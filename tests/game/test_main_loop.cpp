#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "GameHarness.h"
#include "ShellData.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modMain.h"

namespace {

class MainLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    shelldata::WriteInterfaceArchive(folder.path());  // the game ends at once without its pictures
  }
  testsupport::TempFolder folder;
};

}  // namespace

TEST_F(MainLoop, RunsPassesAndShutsDownWhenTheWindowIsClosed) {
  ASSERT_TRUE(varnel::Startup(folder.path().string()));
  EXPECT_TRUE(varnel::bRunning);
  EXPECT_EQ(varnel::intScreen, varnel::kScreenCredits);
  const std::string title = SDL_GetWindowTitle(varnel::frmMain::hWnd());
  EXPECT_EQ(title, "Varnel v1.0.0");

  for (int pass = 0; pass < 3; ++pass) varnel::RunPass();
  EXPECT_EQ(varnel::lngFrame, 3);
  EXPECT_EQ(varnel::sngLogoFade, 1.5f);
  EXPECT_TRUE(varnel::bMenuShown) << "the credits screen is a menu screen";

  // The close button does not close the window at once: the pass finishes, then the loop ends.
  testsupport::Push(testsupport::WindowEvent(GameHarness::WindowId(), SDL_WINDOWEVENT_CLOSE));
  varnel::RunPass();
  EXPECT_FALSE(varnel::bRunning);
  EXPECT_EQ(varnel::lngFrame, 4);

  varnel::Shutdown();
  const std::string log = testsupport::ReadFile(folder / "log.txt");
  EXPECT_NE(log.find("Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!\r\n"), std::string::npos);
  ASSERT_GE(log.size(), 19u);
  EXPECT_EQ(log.substr(log.size() - 19), "APPLICATION ENDED\r\n") << "the last line of the log";
}

TEST(MainLoopHelpers, CountersFadeAndHoverTest) {
  varnel::lngFrame = INT32_MAX;
  varnel::AdvanceCounters();
  EXPECT_EQ(varnel::lngFrame, 0) << "the pass counter wraps instead of overflowing";

  varnel::sngLogoFade = 0;
  for (int pass = 0; pass < 250; ++pass) varnel::AdvanceLogoFade();
  EXPECT_EQ(varnel::sngLogoFade, 100.0f) << "the logo stops fading at exactly 100";

  varnel::curMouse.X = 10;
  varnel::curMouse.Y = 20;
  EXPECT_TRUE(varnel::IsMouseOver(10, 20, 0, 0)) << "both edges count";
  EXPECT_TRUE(varnel::IsMouseOver(0, 0, 10, 20));
  EXPECT_FALSE(varnel::IsMouseOver(11, 0, 10, 30));
  EXPECT_FALSE(varnel::IsMouseOver(0, 0, 10, 19.5f));
}

TEST(ShellKeys, SSavesAScreenshotAndEscapeEndsTheGameFromAnyMenuScreen) {
  GameHarness game(true, shelldata::EnsureInterface);
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_FALSE(game.Draws().empty());
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
  game.Shutdown();
  const std::string log = game.Read("log.txt");
  EXPECT_EQ(log.substr(log.size() - 19), "APPLICATION ENDED\r\n");
}
