#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TempAppFolder.h"
#include "modExtra.h"
#include "tovak2d/Engine.h"
#include "tovak2d/Extra.h"
#include "tovak2d/MP3Player.h"

using namespace tovak2d;
using testsupport::TempAppFolder;

// A newcomer's program calls the engine in the wrong order: every call is harmless, and the
// engine stays usable once it is started properly.
TEST(EngineMisuse, CallsBeforeStartAfterUnloadAndTwiceAreHarmless) {
  TempAppFolder app;
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("test", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr);
  {
    Engine engine;
    Extra extra;
    MP3Player music;
    Texture texture;
    Mouse mouse;

    // Before any start.
    engine.CreateTexture(texture, "nothing.bmp");
    EXPECT_FALSE(texture);
    engine.Draw(texture, 0, 0, 10, 10);
    engine.DrawText(texture, "TEXT", 0, 0);
    engine.CreateFont("caption", "DejaVu Sans", 12);
    engine.DrawFont("caption", 0, 0, 100, 20, "text");
    engine.ClearScreen(10, 20, 30);
    engine.AmbientColor(1, 2, 3);
    engine.RenderAll();
    engine.SaveScreenshot();
    engine.CreateSound("click", "click.wav");
    engine.SoundPlay("click");
    engine.SoundStop();
    EXPECT_FALSE(engine.GetKeyDown(1));
    engine.GetMouseState(mouse);
    engine.SetMousePos(10, 10);
    EXPECT_FALSE(music.LoadMP3("music.wma"));
    // Nothing is written before there is a folder to write into.
    const std::string folder = modExtra::AppPath;
    modExtra::AppPath.clear();
    EXPECT_EQ(extra.INIWrite("Section", "Key", "value", "nowhere-ini-test.ini"), 0);
    extra.SaveLog("a line");
    std::string table = "nowhere-table-test.ini";
    EXPECT_FALSE(extra.HighScore_Create(table));
    EXPECT_FALSE(extra.PAK_OpenPAK("nowhere-archive-test.pak"));
    modExtra::AppPath = folder;
    for (const char* name : {"/nowhere-ini-test.ini", "/log.txt", "/nowhere-table-test.ini"})
      EXPECT_FALSE(std::filesystem::exists(name)) << name;
    music.PlayMP3();
    EXPECT_EQ(music.GetDuration(), 0);
    music.StopMP3(true);
    engine.Tovak2D_Unload();
    engine.Tovak2D_Unload();

    // Started, a texture made, then the engine unloaded while the texture lives on.
    SDL_Surface* dot = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(dot, nullptr);
    SDL_FillRect(dot, nullptr, 0xFFFF0000);
    ASSERT_EQ(SDL_SaveBMP(dot, (app.path() / "dot.bmp").c_str()), 0);
    SDL_FreeSurface(dot);
    ASSERT_TRUE(engine.Tovak2D_Start(window, app.str(), 800, 600, false));
    engine.CreateTexture(texture, "dot.bmp");
    ASSERT_TRUE(texture);
    Texture font = texture;
    engine.Tovak2D_Unload();
    engine.Draw(texture, 0, 0, 10, 10);
    engine.DrawText(font, "AFTER", 0, 0);
    engine.DrawFont("caption", 0, 0, 100, 20, "after");
    engine.RenderAll();
    engine.SoundPlay("click");
    engine.Tovak2D_Unload();

    // And started again: it works as on a first start.
    ASSERT_TRUE(engine.Tovak2D_Start(window, app.str(), 800, 600, false));
    engine.ClearScreen();
    engine.RenderAll();
    engine.Tovak2D_Unload();
  }
  const auto lines = app.LogLines();
  ASSERT_FALSE(lines.empty());
  auto logged = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(logged("Error in SaveScreenshot() : no graphics device"));
  EXPECT_TRUE(logged("Error in CreateFont : DejaVu Sans: no graphics device"));
  EXPECT_TRUE(logged("Error loading MP3 file: " + app.str() + "\\music.wma"));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!"), 2);
  EXPECT_EQ(lines.back(), "APPLICATION ENDED");
  SDL_DestroyWindow(window);
  SDL_Quit();
}
