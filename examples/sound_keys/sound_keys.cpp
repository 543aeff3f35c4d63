// SPDX-License-Identifier: Zlib
// Sound effects on keys and a piece of music:
//   1  the effect at full volume, centred       2  quieter, from the left
//   3  from the right at a higher pitch          4  looping; 5 stops it
//   P  pauses the music, R resumes it, Escape quits.
// "--frames N" ends the program by itself after N frames, playing each effect once on the way.
//
// The engine takes its files from the folder it is started on, here the program's own folder,
// which must hold font_default.dds, click.wav and music.wma.
#include <SDL.h>
#include <tovak2d/Engine.h>
#include <tovak2d/Extra.h>
#include <tovak2d/MP3Player.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Key codes of the engine's keyboard (the PC keyboard's scan codes).
constexpr int32_t kKeyEscape = 0x01, kKey1 = 0x02, kKey2 = 0x03, kKey3 = 0x04, kKey4 = 0x05, kKey5 = 0x06;
constexpr int32_t kKeyP = 0x19, kKeyR = 0x13;

}  // namespace

int main(int argc, char** argv) {
  long frames = -1;
  if (argc == 3 && std::strcmp(argv[1], "--frames") == 0) frames = std::strtol(argv[2], nullptr, 10);

  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "sound_keys: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("Tovak2D sound", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800,
                                        600, SDL_WINDOW_HIDDEN);
  char* base = SDL_GetBasePath();  // ends in '/'; the engine adds its own separator
  std::string folder = base ? base : ".";
  SDL_free(base);
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();

  int status = 0;
  {
    tovak2d::Engine engine;
    tovak2d::Extra extra;
    tovak2d::MP3Player music;
    if (!window || !engine.Tovak2D_Start(window, folder, 800, 600, false)) {
      std::fprintf(stderr, "sound_keys: the engine did not start, see %s/log.txt\n", folder.c_str());
      status = 1;
    } else {
      extra.SetFPSLimit(50);
      tovak2d::Texture font;
      engine.CreateTexture(font, "font_default.dds");
      // One name, one sound: a second CreateSound under the same name is refused.
      engine.CreateSound("click", "click.wav");
      engine.CreateSound("loop", "click.wav");
      if (music.LoadMP3("music.wma")) {
        int32_t volume = 60;
        music.SetVolume(volume);
        music.PlayMP3();
      }

      std::string state = "PLAYING";
      for (long frame = 0; frame != frames; ++frame) {
        const bool scripted = frames > 0;  // a run of N frames presses every key once by itself
        auto pressed = [&](int32_t key, long when) {
          return engine.GetKeyPressed(key) || (scripted && frame == when);
        };
        if (engine.GetKeyDown(kKeyEscape)) break;
        if (pressed(kKey1, 5)) engine.SoundPlay("click");
        if (pressed(kKey2, 10)) engine.SoundPlay("click", false, 70, -5000);
        if (pressed(kKey3, 15)) engine.SoundPlay("click", false, 100, 5000, 66150);
        if (pressed(kKey4, 20)) engine.SoundPlay("loop", true, 80);
        if (pressed(kKey5, 25)) engine.SoundStop("loop");
        if (pressed(kKeyP, 30)) {
          music.StopMP3(true);  // pause: PlayMP3 goes on from here
          state = "PAUSED";
        }
        if (pressed(kKeyR, 35)) {
          music.PlayMP3();
          state = "PLAYING";
        }
        // Music ends at its length; start it again from the beginning.
        if (state == "PLAYING" && music.GetDuration() > 0 && music.GetCurrentPosition() >= music.GetDuration())
          music.PlayMP3(true);

        engine.ClearScreen(30, 20, 40);
        engine.DrawText(font, "KEYS 1 2 3 4 5", 20, 20);
        engine.DrawText(font, "MUSIC " + state + " " + std::to_string(music.GetCurrentPosition()) + " OF " +
                                  std::to_string(music.GetDuration()),
                        20, 60);
        engine.RenderAll();
      }
      music.StopMP3();
    }
    engine.Tovak2D_Unload();
  }
  if (window) SDL_DestroyWindow(window);
  SDL_Quit();
  return status;
}
