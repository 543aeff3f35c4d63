// SPDX-License-Identifier: Zlib
// Sound effects on keys and a piece of music:
//   1  the effect at full volume, centred        2  from the left only
//   3  from the right only                       4  an octave higher (twice the playback rate)
//   5  the effect in a loop; Up and Down make the loop louder or quieter by 10 dB; 6 stops it
//   P  pauses the music, R resumes it; Escape or the window's close button quits.
//
// Volumes are decibels below full: 100 is full, 90 is 10 dB quieter (about a third of the
// amplitude), 50 is 50 dB down, next to silence. Pan runs from -100 (left only) to 100 (right
// only); the frequency is the playback rate in kilohertz, so twice the file's rate sounds an octave
// higher.
//
// The engine takes its files from the folder it is started on, here the program's own folder,
// which must hold font_default.dds, click.wav and music.wma.
#include <SDL.h>
#include <tovak2d/Engine.h>
#include <tovak2d/Extra.h>
#include <tovak2d/Keys.h>
#include <tovak2d/MP3Player.h>

#include <algorithm>
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
      SDL_AddEventWatch(WatchQuit, nullptr);
      extra.SetFPSLimit(50);
      tovak2d::Texture font;
      engine.CreateTexture(font, "font_default.dds");
      // One name, one sound: a second CreateSound under the same name is refused. The loop gets a
      // name of its own so that the single effects do not stop it.
      engine.CreateSound("click", "click.wav");
      engine.CreateSound("loop", "click.wav");
      std::string state = "NONE";
      if (music.LoadMP3("music.wma")) {
        int32_t volume = 90;  // 10 dB below full: music behind the effects
        music.SetVolume(volume);
        music.PlayMP3();
        state = "PLAYING";
      }
      const int32_t fileRate = 44;  // click.wav is made at 44,100 Hz; the engine counts kilohertz
      int32_t loopVolume = 100;

      while (!quitRequested && !engine.GetKeyDown(tovak2d::Key::Escape)) {
        if (engine.GetKeyPressed(tovak2d::Key::Digit1)) engine.SoundPlay("click");
        if (engine.GetKeyPressed(tovak2d::Key::Digit2)) engine.SoundPlay("click", false, 100, -100);
        if (engine.GetKeyPressed(tovak2d::Key::Digit3)) engine.SoundPlay("click", false, 100, 100);
        if (engine.GetKeyPressed(tovak2d::Key::Digit4))
          engine.SoundPlay("click", false, 100, 0, 2 * fileRate);
        if (engine.GetKeyPressed(tovak2d::Key::Digit5)) engine.SoundPlay("loop", true, loopVolume);
        if (engine.GetKeyPressed(tovak2d::Key::Digit6)) engine.SoundStop("loop");
        // Each key is asked every frame: a press is reported once, to the first question after it.
        const bool louder = engine.GetKeyPressed(tovak2d::Key::Up);
        const bool quieter = engine.GetKeyPressed(tovak2d::Key::Down);
        if (louder || quieter) {
          loopVolume = std::clamp(loopVolume + (louder ? 10 : -10), 0, 100);
          engine.SoundVolume("loop", loopVolume);
        }
        const bool pause = engine.GetKeyPressed(tovak2d::Key::P);
        const bool resume = engine.GetKeyPressed(tovak2d::Key::R);
        if (pause && state == "PLAYING") {
          music.StopMP3(true);  // pause: PlayMP3 goes on from here
          state = "PAUSED";
        }
        if (resume && state == "PAUSED") {
          music.PlayMP3();
          state = "PLAYING";
        }
        // Music ends at its length; start it again from the beginning.
        if (state == "PLAYING" && music.GetDuration() > 0 &&
            music.GetCurrentPosition() >= music.GetDuration())
          music.PlayMP3(true);

        engine.ClearScreen(30, 20, 40);
        engine.DrawText(font, "KEYS 1 2 3 4 5 6", 20, 20);
        engine.DrawText(font, "LOOP VOLUME " + std::to_string(loopVolume), 20, 60);
        engine.DrawText(font,
                        "MUSIC " + state + " " + std::to_string(music.GetCurrentPosition()) + " OF " +
                            std::to_string(music.GetDuration()),
                        20, 100);
        engine.RenderAll();
      }
      SDL_DelEventWatch(WatchQuit, nullptr);
      music.StopMP3();
    }
    engine.Tovak2D_Unload();
  }
  if (window) SDL_DestroyWindow(window);
  SDL_Quit();
  return status;
}
