// SPDX-License-Identifier: Zlib
#include "frmMain.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "modDeclares.h"

namespace varnel::frmMain {
namespace {

SDL_Window* window = nullptr;
std::string struckKeys;

// What a key struck on the window types on the player's keyboard layout: the letter or digit in
// lower case, a blank, or a backspace. Other keys type nothing here.
char TypedCharacter(const SDL_KeyboardEvent& key) {
  const SDL_Keycode code = key.keysym.sym;
  if ((code >= SDLK_a && code <= SDLK_z) || (code >= SDLK_0 && code <= SDLK_9) || code == SDLK_SPACE ||
      code == SDLK_BACKSPACE)
    return static_cast<char>(code);
  return 0;
}

// Runs inside the engine's message processing, on the game's thread, as the window's own
// close handler would.
int OnEvent(void*, SDL_Event* event) {
  bool closing = event->type == SDL_QUIT ||
                 (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_CLOSE && window &&
                  event->window.windowID == SDL_GetWindowID(window));
  if (closing) {
    int16_t cancel = 0;
    Form_Unload(cancel);
  }
  // A held key repeats; one stroke types one character.
  if (event->type == SDL_KEYDOWN && !event->key.repeat && window &&
      (event->key.windowID == SDL_GetWindowID(window) || event->key.windowID == 0))
    if (const char c = TypedCharacter(event->key)) struckKeys += c;
  return 1;
}

}  // namespace

bool Load(std::string* error) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  window = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600,
                            SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!window) {
    if (error) *error = SDL_GetError();
    SDL_Quit();
    return false;
  }
  SDL_AddEventWatch(OnEvent, nullptr);
  Form_Load();
  return true;
}

tovak2d::WindowHandle hWnd() {
  return window;
}

void SetCaption(const std::string& caption) {
  if (window) SDL_SetWindowTitle(window, caption.c_str());
}

void Form_Load() {
  intScreen = kScreenCredits;
}

void Form_Unload(int16_t& Cancel) {
  if (bRunning) {
    Cancel = 1;
    bRunning = false;
  }
}

void Unload() {
  if (!window) return;
  SDL_DelEventWatch(OnEvent, nullptr);
  struckKeys.clear();
  SDL_DestroyWindow(window);
  window = nullptr;
  SDL_Quit();
}

void ShowMessage(const std::string& text) {
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool noDisplay =
      !driver || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0;
  if (std::getenv("TOVAK2D_QUIET_DIALOGS") || noDisplay ||
      SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Varnel", text.c_str(), window) != 0)
    std::fprintf(stderr, "Varnel: %s\n", text.c_str());
}

void ShowMessageAlone(const std::string& text) {
  std::fprintf(stderr, "Varnel: %s\n", text.c_str());
  if (std::getenv("TOVAK2D_QUIET_DIALOGS") || window || SDL_Init(SDL_INIT_VIDEO) != 0) return;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0)
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Varnel", text.c_str(), nullptr);
  SDL_Quit();
}

std::string TakeStruckKeys() {
  std::string keys;
  keys.swap(struckKeys);
  return keys;
}

void DoEvents() {
  SDL_PumpEvents();
}

}  // namespace varnel::frmMain
