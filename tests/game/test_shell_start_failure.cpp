#include <gtest/gtest.h>

#include <cstdlib>

#include "GameHarness.h"
#include "ShellData.h"
#include "frmMain.h"
#include "modDeclares.h"

// A display on which no graphics device can be made (here: a render driver asked for by a name
// this SDL does not know, refused in full screen and again in the windowed retry). The player is
// told why, the log says it, and the game ends in order instead of running a blank window.
TEST(ShellStart, ADeviceRefusedTwiceEndsTheGameWithAMessage) {
  setenv("SDL_RENDER_DRIVER", "no-such-driver", 1);
  testing::internal::CaptureStderr();
  GameHarness game(true, shelldata::EnsureInterface);
  const std::string said = testing::internal::GetCapturedStderr();
  unsetenv("SDL_RENDER_DRIVER");

  EXPECT_FALSE(game.started);
  EXPECT_EQ(varnel::frmMain::hWnd(), nullptr) << "the window is closed";
  const std::string reason = "Error in Tovak2D_Start : there is no render driver named \"no-such-driver\"";
  EXPECT_NE(said.find(reason), std::string::npos) << said;
  const std::string log = game.Read("log.txt");
  EXPECT_NE(log.find("DirectX Error, trying windowed mode!\r\n" + reason + "\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("Engine Init"), std::string::npos) << log;
  EXPECT_EQ(log.substr(log.size() - 19), "APPLICATION ENDED\r\n") << "ended in order";
}
