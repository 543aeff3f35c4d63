// SPDX-License-Identifier: Zlib
// A window with a sprite that turns and follows the mouse, a line of bitmap-font text and a
// system-font caption. S saves a screenshot (screenshot001.bmp, ...), Escape or closing the window
// quits. "--frames N" ends the program by itself after N frames.
//
// The engine takes its files from the folder it is started on, here the program's own folder,
// which must hold font_default.dds (the default bitmap font) and sprite.bmp.
#include <SDL.h>
#include <tovak2d/Engine.h>
#include <tovak2d/Extra.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Key codes of the engine's keyboard (the PC keyboard's scan codes).
constexpr int32_t kKeyEscape = 0x01;
constexpr int32_t kKeyS = 0x1F;
constexpr int32_t kMagenta = 0x00FF00FF;  // the sprite's see-through colour

bool quitRequested = false;

int WatchQuit(void*, SDL_Event* event) {
  if (event->type == SDL_QUIT) quitRequested = true;
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  long frames = -1;
  if (argc == 3 && std::strcmp(argv[1], "--frames") == 0) frames = std::strtol(argv[2], nullptr, 10);

  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "sprite_window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("Tovak2D sprite", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800,
                                        600, SDL_WINDOW_HIDDEN);
  char* base = SDL_GetBasePath();  // ends in '/'; the engine adds its own separator
  std::string folder = base ? base : ".";
  SDL_free(base);
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();

  int status = 0;
  {
    tovak2d::Engine engine;
    tovak2d::Extra extra;
    // Windowed, 800 x 600; the engine shows the window and writes log.txt into the folder.
    if (!window || !engine.Tovak2D_Start(window, folder, 800, 600, false)) {
      std::fprintf(stderr, "sprite_window: the engine did not start, see %s/log.txt\n", folder.c_str());
      status = 1;
    } else {
      SDL_AddEventWatch(WatchQuit, nullptr);
      extra.SetFPSLimit(50);
      tovak2d::Texture font, sprite;
      engine.CreateTexture(font, "font_default.dds");
      engine.CreateTexture(sprite, "sprite.bmp", kMagenta);
      engine.CreateFont("caption", "DejaVu Sans", 12, true);

      float angle = 0;
      for (long frame = 0; frame != frames && !quitRequested; ++frame) {
        tovak2d::Mouse mouse;
        engine.GetMouseState(mouse);
        if (engine.GetKeyDown(kKeyEscape)) break;
        if (engine.GetKeyPressed(kKeyS)) engine.SaveScreenshot();

        engine.ClearScreen(20, 30, 60);
        angle += 3;
        extra.WrapAngle(angle);
        engine.Draw(sprite, static_cast<float>(mouse.X) - 32, static_cast<float>(mouse.Y) - 32, 64, 64, angle);
        engine.DrawText(font, "FPS " + std::to_string(extra.GetFps()), 20, 20);
        engine.DrawFont("caption", 0, 560, 800, 30, "Move the mouse. S saves a screenshot, Escape quits.", -1, 1);
        engine.RenderAll();
      }
      SDL_DelEventWatch(WatchQuit, nullptr);
    }
    engine.Tovak2D_Unload();  // releases the device, the fonts and the sound; the textures go with them
  }
  if (window) SDL_DestroyWindow(window);
  SDL_Quit();
  return status;
}
