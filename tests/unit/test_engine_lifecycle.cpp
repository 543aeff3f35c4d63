// SPDX-License-Identifier: Zlib
// Starting and unloading the engine on a hidden SDL window like the game's own (the dummy video
// driver), in the right order and in the wrong one.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "TempAppFolder.h"
#include "modExtra.h"
#include "platform/Video.h"
#include "tovak2d/Engine.h"
#include "tovak2d/Extra.h"
#include "tovak2d/MP3Player.h"

using namespace tovak2d;
using XY = std::pair<int, int>;

namespace {

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

  testsupport::TempAppFolder app;
  SDL_Window* window = nullptr;
};

}  // namespace

TEST_F(EngineStart, WritesTheBannerAndTheProgressLine) {
  Engine engine;
  ASSERT_TRUE(engine.Tovak2D_Start(window, app.str(), 800, 600, false));

  auto lines = app.LogLines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], std::string(48, '#'));
  EXPECT_TRUE(StartsWith(lines[1], "### APPLICATION STARTED @ ")) << lines[1];
  EXPECT_EQ(lines[1].size(), std::string("### APPLICATION STARTED @ 2005-03-11 @ 10-30 ###").size());
  EXPECT_EQ(lines[2], std::string(48, '#'));
  EXPECT_EQ(lines[3], "File is missing : " + app.str() + "\\font.ini")
      << "a first start writes the font layout";
  EXPECT_EQ(lines[4], "Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!");
  EXPECT_EQ(lines[5], "Desktop: video dummy, drawing software, sound dummy, default device, scale 1");

  // The window is placed centred with the back buffer's size (no frame on the dummy driver).
  XY size;
  SDL_GetWindowSize(window, &size.first, &size.second);
  EXPECT_EQ(size, XY(800, 600));
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN);

  engine.ClearScreen(10, 20, 30);
  engine.RenderAll();
  engine.Tovak2D_Unload();
  engine.Tovak2D_Unload();
  lines = app.LogLines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[6], "APPLICATION ENDED");
  EXPECT_EQ(lines[7], lines[6]);
}

// A device refused twice, and the game's message for it, are walked in ShellStart: here the retry
// that succeeds, and a start without a window.
TEST_F(EngineStart, ARefusedDeviceIsRetriedWindowedOnce) {
  Engine engine;
  SDL_SetWindowPosition(window, 7, 9);
  platform::video::testing::RefuseDevices(1);
  ASSERT_TRUE(engine.Tovak2D_Start(window, app.str(), 800, 600, true));
  const auto lines = app.LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Engine Init: Step 1, 2, 3, 3, 4, 5, 6, 7, DONE!"), lines.end());
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) << "the retry is windowed";
  XY at;
  SDL_GetWindowPosition(window, &at.first, &at.second);
  EXPECT_EQ(at, XY(7, 9)) << "a full-screen start does not place the window";
  engine.Tovak2D_Unload();

  EXPECT_FALSE(engine.Tovak2D_Start(nullptr, app.str()));
  EXPECT_TRUE(StartsWith(app.LogLines().back(), "Error in Tovak2D_Start : "));
}

// A newcomer's program calls the engine in the wrong order: every call is harmless, and the
// engine stays usable once it is started properly.
TEST_F(EngineStart, CallsBeforeStartAfterUnloadAndTwiceAreHarmless) {
  {
    Engine engine;
    Extra extra;
    MP3Player music;
    Texture texture;

    // Before any start: one call of each kind.
    engine.CreateTexture(texture, "nothing.bmp");
    engine.Draw(texture, 0, 0, 10, 10);
    engine.CreateFont("caption", "DejaVu Sans", 12);
    engine.DrawFont("caption", 0, 0, 100, 20, "text");
    engine.SaveScreenshot();
    engine.SoundPlay("click");
    EXPECT_FALSE(engine.GetKeyDown(1) || music.LoadMP3("music.wma"));
    music.PlayMP3();
    modExtra::AppPath.clear();  // nothing is written before there is a folder to write into
    EXPECT_EQ(extra.INIWrite("Section", "Key", "value", "nowhere-ini-test.ini"), 0);
    EXPECT_FALSE(std::filesystem::exists("/nowhere-ini-test.ini"));
    modExtra::AppPath = app.str();
    engine.Tovak2D_Unload();

    // Started, a texture made, then the engine unloaded while the texture lives on.
    app.Write("dot.bmp", testsupport::Bmp(4, 4, 32, [](int, int) { return 0xFFFF0000u; }));
    ASSERT_TRUE(engine.Tovak2D_Start(window, app.str(), 800, 600, false));
    engine.CreateTexture(texture, "dot.bmp");
    ASSERT_TRUE(texture);
    engine.Tovak2D_Unload();
    engine.Draw(texture, 0, 0, 10, 10);
    engine.DrawText(texture, "AFTER", 0, 0);
    engine.RenderAll();

    // And started again: it works as on a first start.
    ASSERT_TRUE(engine.Tovak2D_Start(window, app.str(), 800, 600, false));
    engine.RenderAll();
    engine.Tovak2D_Unload();
  }
  const auto lines = app.LogLines();
  auto logged = [&](const std::string& line) { return std::count(lines.begin(), lines.end(), line); };
  EXPECT_EQ(logged("Error in SaveScreenshot() : no graphics device"), 1);
  EXPECT_EQ(logged("Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!"), 2);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "APPLICATION ENDED");
}
