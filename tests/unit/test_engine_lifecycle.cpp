#include <SDL.h>
#include <gtest/gtest.h>

#include <utility>

#include "TempAppFolder.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
#include "platform/Video.h"
#include "tovak2d/Engine.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
using testsupport::TempAppFolder;
using XY = std::pair<int, int>;

namespace {

// A hidden SDL window like the game's own, on the dummy video driver.
class EngineStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window = SDL_CreateWindow("test", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
  }
  void TearDown() override {
    platform::video::testing::RefuseDevices(0);
    SDL_DestroyWindow(window);
    SDL_Quit();
  }

  static bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }
  std::pair<int, int> WindowSize() const {
    std::pair<int, int> size;
    SDL_GetWindowSize(window, &size.first, &size.second);
    return size;
  }

  SDL_Window* window = nullptr;
};

}  // namespace

TEST_F(EngineStart, WritesTheBannerAndTheProgressLine) {
  TempAppFolder app;
  Engine engine;
  Extra extra;
  EXPECT_EQ(engine.Version(), "Tovak2D Engine v0.9.23");
  ASSERT_TRUE(engine.Tovak2D_Start(window, app.str(), 800, 600, false));

  auto lines = app.LogLines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], std::string(48, '#'));
  EXPECT_TRUE(StartsWith(lines[1], "### APPLICATION STARTED @ ")) << lines[1];
  EXPECT_EQ(lines[1].size(), std::string("### APPLICATION STARTED @ 2005-03-11 @ 10-30 ###").size());
  EXPECT_EQ(lines[1].substr(lines[1].size() - 4), " ###");
  EXPECT_EQ(lines[2], std::string(48, '#'));
  EXPECT_EQ(lines[3], "File is missing : " + app.str() + "\\font.ini")
      << "a first start writes the font layout";
  EXPECT_EQ(lines[4], "Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!");

  EXPECT_EQ(modExtra::AppPath, app.str());
  EXPECT_EQ(modExtra::hWndMain, window);
  EXPECT_FLOAT_EQ(extra.Pi(), 3.14159265f);
  EXPECT_FLOAT_EQ(extra.Rad(), 3.14159265f / 180);

  // The window is placed centred with the back buffer's size (no frame on the dummy driver).
  EXPECT_EQ(WindowSize(), std::pair(800, 600));
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN);

  engine.ClearScreen(10, 20, 30);
  engine.RenderAll();
  engine.Tovak2D_Unload();
  engine.Tovak2D_Unload();
  lines = app.LogLines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[5], "APPLICATION ENDED");
  EXPECT_EQ(lines[6], lines[5]);
  engine.ClearScreen();  // after unloading, drawing quietly does nothing
  engine.RenderAll();
}

TEST_F(EngineStart, SizesAreRoundedHalfToEven) {
  TempAppFolder app;
  Engine engine;
  ASSERT_TRUE(engine.Tovak2D_Start(window, app.str(), 800.5f, 601.5f, false, 0, 300));
  EXPECT_EQ(XY(modExtra::resWidth, modExtra::resHeight), std::pair(800, 602));
  // Without an outer width the back buffer's size is used.
  EXPECT_EQ(XY(modExtra::winWidth, modExtra::winHeight), std::pair(800, 602));
  engine.Tovak2D_Unload();

  ASSERT_TRUE(engine.Tovak2D_Start(window, app.str(), 800, 600, false, 640, 480));
  EXPECT_EQ(XY(modExtra::winWidth, modExtra::winHeight), std::pair(640, 480));
  EXPECT_EQ(WindowSize(), std::pair(640, 480));
  engine.Tovak2D_Unload();
}

TEST_F(EngineStart, ARefusedDeviceIsRetriedWindowedOnce) {
  {
    TempAppFolder app;
    Engine engine;
    SDL_SetWindowPosition(window, 7, 9);
    platform::video::testing::RefuseDevices(1);
    ASSERT_TRUE(engine.Tovak2D_Start(window, app.str(), 800, 600, true));
    auto lines = app.LogLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], "DirectX Error, trying windowed mode!");
    EXPECT_EQ(lines[4], "File is missing : " + app.str() + "\\font.ini");
    EXPECT_EQ(lines[5], "Engine Init: Step 1, 2, 3, 3, 4, 5, 6, 7, DONE!");
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) << "the retry is windowed";
    std::pair<int, int> at;
    SDL_GetWindowPosition(window, &at.first, &at.second);
    EXPECT_EQ(at, std::pair(7, 9)) << "a full-screen start does not place the window";
    engine.Tovak2D_Unload();
  }
  {
    TempAppFolder app;
    Engine engine;
    platform::video::testing::RefuseDevices(2);
    EXPECT_FALSE(engine.Tovak2D_Start(window, app.str(), 800, 600, false));
    auto lines = app.LogLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3], "DirectX Error, trying windowed mode!");
    EXPECT_TRUE(StartsWith(lines[4], "Error in Tovak2D_Start : ")) << lines[4];
    engine.ClearScreen();  // no device: nothing happens
    engine.RenderAll();
    engine.Tovak2D_Unload();
  }
  {
    TempAppFolder app;
    Engine engine;
    EXPECT_FALSE(engine.Tovak2D_Start(nullptr, app.str()));
    EXPECT_TRUE(StartsWith(app.LogLines().back(), "Error in Tovak2D_Start : "));
  }
}

TEST_F(EngineStart, SoundOnlyStartLeavesTheScreenAlone) {
  TempAppFolder app;
  Engine engine;
  Extra extra;
  modExtra::resWidth = 123;
  modExtra::winWidth = 45;
  modExtra::fullScreen = true;
  ASSERT_TRUE(engine.Tovak2D_Start_OnlySound(nullptr, app.str()));
  auto lines = app.LogLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], std::string(48, '#'));
  EXPECT_TRUE(StartsWith(lines[1], "### APPLICATION STARTED @ "));
  EXPECT_EQ(lines[2], "### USING ONLY SOUND ENGINE                  ###");
  EXPECT_EQ(lines[2].size(), 48u);
  EXPECT_EQ(lines[3], std::string(48, '#'));
  EXPECT_EQ(modExtra::resWidth, 123);
  EXPECT_EQ(modExtra::winWidth, 45);
  EXPECT_TRUE(modExtra::fullScreen);
  EXPECT_GT(extra.Pi(), 3.14f);
  modExtra::fullScreen = false;
  engine.Tovak2D_Unload();
}

TEST_F(EngineStart, AFolderWithoutWriteAccessStillStarts) {
  TempAppFolder app;
  Engine engine;
  const std::string missing = app.str() + "/does-not-exist";
  // The banner cannot be written: the start says so in a message, and the log lines it cannot
  // write later do not fail it.
  platform::dialogs::ClearRecordedMessages();
  EXPECT_TRUE(engine.Tovak2D_Start(window, missing, 800, 600, false));
  auto messages = platform::dialogs::RecordedMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "DirectX Error");
  EXPECT_EQ(messages[0].text, "Install DirectX 8.1 or better");
  engine.ClearScreen();
  engine.RenderAll();
  engine.Tovak2D_Unload();
}
