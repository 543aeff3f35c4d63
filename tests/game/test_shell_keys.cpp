#include <gtest/gtest.h>

#include "GameHarness.h"
#include "ShellData.h"
#include "modDeclares.h"

TEST(ShellKeys, SSavesAScreenshotAndEscapeEndsTheGameFromAnyMenuScreen) {
  GameHarness game(true, [](const std::filesystem::path& folder) { shelldata::EnsureInterface(folder); });
  ASSERT_TRUE(game.started);
  game.Pass();
  game.PressKey(SDL_SCANCODE_S);
  EXPECT_TRUE(game.Has("screenshot001.bmp"));
  EXPECT_FALSE(game.Has("screenshot002.bmp")) << "one press, one picture";

  varnel::intScreen = varnel::kScreenOptions;
  game.PressKey(SDL_SCANCODE_ESCAPE);
  EXPECT_FALSE(varnel::bRunning);
  game.Shutdown();
  const std::string log = game.Read("log.txt");
  EXPECT_EQ(log.substr(log.size() - 19), "APPLICATION ENDED\r\n");
}
