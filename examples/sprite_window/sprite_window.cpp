// SPDX-License-Identifier: Zlib
// A window with a sprite that turns on its centre under the mouse pointer, a line of bitmap-font
// text and a system-font caption. S saves a screenshot (screenshot001.bmp, ...), Escape or the
// window's close button quits.
//
// The engine takes its files from the folder it is started on, here the program's own folder,
// which must hold font_default.dds (the default bitmap font) and sprite.bmp.
#include <SDL.h>
#include <tovak2d/Engine.h>
#include <tovak2d/Extra.h>
#include <tovak2d/Keys.h>

#include <cstdio>
#include <string>

namespace {

bool quitRequested = false;

int WatchQuit(void*, SDL_Event* event) {
  if (event->type == SDL_QUIT) quitRequested = true;
  return 1;
}

}  // namespace

int main() {
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
      // sprite.bmp has an alpha channel, so its background is see-through as it is. A picture
      // without one names its see-through colour, alpha included, for example
      // engine.CreateTexture(sprite, "sprite.jpg", tovak2d::ARGB(255, 255, 0, 255)) for magenta.
      engine.CreateTexture(sprite, "sprite.bmp");
      engine.CreateFont("caption", "DejaVu Sans", 12, true);

      // The texture is the picture stretched to powers of two: the whole texture is the source
      // rectangle, drawn at the picture's own size. Draw turns it about the middle of that size.
      const float textureWidth = static_cast<float>(sprite.Width());
      const float textureHeight = static_cast<float>(sprite.Height());
      const float width = static_cast<float>(sprite.PictureWidth());
      const float height = static_cast<float>(sprite.PictureHeight());

      float angle = 0;
      while (!quitRequested) {
        tovak2d::Mouse mouse;
        engine.GetMouseState(mouse);
        if (engine.GetKeyDown(tovak2d::Key::Escape)) break;
        if (engine.GetKeyPressed(tovak2d::Key::S)) engine.SaveScreenshot();

        engine.ClearScreen(20, 30, 60);
        angle += 3;  // degrees a frame, anticlockwise
        extra.WrapAngle(angle);
        engine.Draw(sprite, static_cast<float>(mouse.X) - width / 2, static_cast<float>(mouse.Y) - height / 2,
                    textureWidth, textureHeight, angle, 100, 0, 0, width, height);
        engine.DrawText(font, "FPS " + std::to_string(extra.GetFps()), 20, 20);
        engine.DrawFont("caption", 0, 560, 800, 30, "Move the mouse. S saves a screenshot, Escape quits.", -1,
                        1);
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
