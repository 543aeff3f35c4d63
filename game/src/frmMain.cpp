// SPDX-License-Identifier: Zlib
#include "frmMain.h"

#include <SDL.h>
#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "modDeclares.h"

namespace varnel::frmMain {
namespace {

SDL_Window* window = nullptr;
bool closeAsked = false;  // the window was closed (or TERM or INT came), even before the game ran
std::string struckKeys;

// The key struck last: its text (which arrives after it, made up by dead keys and compose
// sequences) replaces what the key itself typed; a held key's repeats type nothing.
SDL_Scancode lastScancode = SDL_SCANCODE_UNKNOWN;
bool lastRepeated = true;
size_t lastTypedAt = std::string::npos;  // where in struckKeys the key's own character went

// The letter, digit or blank printed on the key's place of a US keyboard, as the engine's key
// codes name the keys; 0 for any other key.
char LetterOfPlace(SDL_Scancode code) {
  if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return static_cast<char>('a' + (code - SDL_SCANCODE_A));
  if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return static_cast<char>('1' + (code - SDL_SCANCODE_1));
  if (code == SDL_SCANCODE_0) return '0';
  if (code == SDL_SCANCODE_SPACE) return ' ';
  return 0;
}

// A Unicode letter's Windows-1252 byte when that code page holds it; 0 otherwise (the symbols
// between the letters, × and ÷, are not letters).
char Cp1252Letter(uint32_t point) {
  if (point >= 0xC0 && point <= 0xFF && point != 0xD7 && point != 0xF7) return static_cast<char>(point);
  switch (point) {
    case 0x160: return '\x8A';  // Š
    case 0x152: return '\x8C';  // Œ
    case 0x17D: return '\x8E';  // Ž
    case 0x161: return '\x9A';  // š
    case 0x153: return '\x9C';  // œ
    case 0x17E: return '\x9E';  // ž
    case 0x178: return '\x9F';  // Ÿ
    default: return 0;
  }
}

// What one character the layout typed gives the name: a letter, digit or blank of the table (in
// lower case), a letter Windows-1252 stores, or else the letter of the key's place (a Cyrillic
// or Greek layout types Latin letters by position).
char NameCharacter(uint32_t point, SDL_Scancode place) {
  if (point < 0x80 && (std::isalnum(static_cast<int>(point)) || point == ' '))
    return static_cast<char>(std::tolower(static_cast<int>(point)));
  if (const char letter = Cp1252Letter(point)) return letter;
  return LetterOfPlace(place);
}

// The code points of UTF-8 text; a broken sequence ends it.
std::vector<uint32_t> CodePoints(const char* text) {
  std::vector<uint32_t> points;
  for (auto* p = reinterpret_cast<const unsigned char*>(text); *p;) {
    const int length = *p < 0x80 ? 1 : (*p >> 5) == 6 ? 2 : (*p >> 4) == 14 ? 3 : (*p >> 3) == 30 ? 4 : 0;
    if (length == 0) break;
    uint32_t point = length == 1 ? *p : *p & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
      if ((p[i] & 0xC0) != 0x80) return points;
      point = (point << 6) | (p[i] & 0x3F);
    }
    points.push_back(point);
    p += length;
  }
  return points;
}

// Runs inside the engine's message processing, on the game's thread, as the window's own
// close handler would.
int OnEvent(void*, SDL_Event* event) {
  bool closing = event->type == SDL_QUIT ||
                 (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_CLOSE && window &&
                  event->window.windowID == SDL_GetWindowID(window));
  if (closing) {
    closeAsked = true;
    int16_t cancel = 0;
    Form_Unload(cancel);
  }
  // One stroke types one character: the key's own, unless the text it makes says otherwise.
  const bool ours = window && ((event->type == SDL_KEYDOWN &&
                                (event->key.windowID == SDL_GetWindowID(window) || event->key.windowID == 0)) ||
                               (event->type == SDL_TEXTINPUT && (event->text.windowID == SDL_GetWindowID(window) ||
                                                                 event->text.windowID == 0)));
  if (!ours) return 1;
  if (event->type == SDL_KEYDOWN) {
    lastScancode = event->key.keysym.scancode;
    lastRepeated = event->key.repeat != 0;
    lastTypedAt = std::string::npos;
    if (lastRepeated) return 1;
    if (event->key.keysym.sym == SDLK_BACKSPACE) {
      struckKeys += '\b';
    } else if (const char c = NameCharacter(static_cast<uint32_t>(event->key.keysym.sym), lastScancode)) {
      lastTypedAt = struckKeys.size();
      struckKeys += c;
    }
  } else if (!lastRepeated) {
    std::string typed;
    for (const uint32_t point : CodePoints(event->text.text))
      if (const char c = NameCharacter(point, lastScancode)) typed += c;
    if (lastTypedAt != std::string::npos && lastTypedAt < struckKeys.size())
      struckKeys.replace(lastTypedAt, 1, typed);
    else
      struckKeys += typed;
    lastTypedAt = std::string::npos;
  }
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
  closeAsked = false;
  SDL_AddEventWatch(OnEvent, nullptr);
  Form_Load();
  return true;
}

bool CloseAsked() {
  return closeAsked;
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
  // Over the game window a TERM or INT closes the box, and the game then ends as on Escape.
  if (std::getenv("TOVAK2D_QUIET_DIALOGS") || noDisplay || !tovak2d::ShowErrorBox(text, "Varnel", window))
    std::fprintf(stderr, "Varnel: %s\n", text.c_str());
}

void ShowMessageAlone(const std::string& text) {
  std::fprintf(stderr, "Varnel: %s\n", text.c_str());
  if (std::getenv("TOVAK2D_QUIET_DIALOGS") || window || SDL_Init(SDL_INIT_VIDEO) != 0) return;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0) {
    // The box waits for its button alone and would leave SDL's note of a TERM or INT unread: as
    // nothing has been started yet, the game ends on the spot then, as it does once the box closes.
    struct sigaction end {}, oldTerm {}, oldInt {};
    end.sa_handler = [](int) { _exit(1); };
    sigemptyset(&end.sa_mask);
    sigaction(SIGTERM, &end, &oldTerm);
    sigaction(SIGINT, &end, &oldInt);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Varnel", text.c_str(), nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
    sigaction(SIGINT, &oldInt, nullptr);
  }
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
