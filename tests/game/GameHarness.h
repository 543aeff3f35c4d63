#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "frmMain.h"
#include "modDeclares.h"
#include "modMain.h"
#include "tovak2d/Diagnostics.h"
#include "tovak2d/TextureAccess.h"

// Runs the real game headless (dummy video driver) in a copy of the built game folder and records
// what each pass draws. The game's state is process-wide, so a test process holds one game: CTest
// runs every test in a process of its own.
class GameHarness {
 public:
  // withData copies the built game data (pictures, sounds, packs); extra prepares the folder
  // further before the game starts.
  explicit GameHarness(bool withData = true,
                       const std::function<void(const std::filesystem::path&)>& extra = nullptr) {
    char pattern[] = "/tmp/varnel-game-XXXXXX";
    folder = mkdtemp(pattern);
    if (withData)
      for (const char* part : {"game data", "sound", "packs"}) {
        const std::filesystem::path from = std::filesystem::path(VARNEL_GAME_DIR) / part;
        if (std::filesystem::exists(from))
          std::filesystem::copy(from, folder / part, std::filesystem::copy_options::recursive);
      }
    if (extra) extra(folder);
    Start();
  }

  // A game folder the caller prepared and keeps: each start finds what the runs before it left.
  struct ExistingFolder {
    std::filesystem::path path;
  };
  explicit GameHarness(const ExistingFolder& existing) : folder(existing.path), keepFolder_(true) { Start(); }

  ~GameHarness() {
    if (started && !shutDown_) varnel::Shutdown();
    tovak2d::SetDrawObserver(nullptr);
    std::error_code ec;
    if (!keepFolder_) std::filesystem::remove_all(folder, ec);
  }

  // Runs passes; Draws() then holds what the last one drew.
  void Pass(int count = 1) {
    for (int i = 0; i < count; ++i) {
      recording_.clear();
      varnel::RunPass();
    }
    draws_ = recording_;
  }

  // Ends the game the way the program does after its loop.
  void Shutdown() {
    varnel::Shutdown();
    shutDown_ = true;
  }

  // Input reaches the game through the window's event queue; the snapshot taken at the end of a
  // pass is what the next pass reads, so each of these runs two passes.
  void MoveMouse(int x, int y) {
    Push(Motion(x, y));
    Pass(2);
  }
  void Click(int x, int y) {
    Push(Motion(x, y));
    Push(Button(SDL_MOUSEBUTTONDOWN, x, y));
    Push(Button(SDL_MOUSEBUTTONUP, x, y));
    Pass(2);
  }
  void PressKey(SDL_Scancode key) {
    Push(Key(SDL_KEYDOWN, key));
    Push(Key(SDL_KEYUP, key));
    Pass(2);
  }

  const std::vector<tovak2d::DrawRecord>& Draws() const { return draws_; }

  std::vector<tovak2d::DrawRecord> SpritesOf(const tovak2d::Texture& texture) const {
    std::vector<tovak2d::DrawRecord> found;
    for (const auto& d : draws_)
      if (d.kind == tovak2d::DrawRecord::Kind::Sprite &&
          d.texture == tovak2d::TextureAccess::Data(texture).get())
        found.push_back(d);
    return found;
  }

  // The first DrawFont or DrawText of exactly this text in the last pass, or nullptr.
  const tovak2d::DrawRecord* Text(const std::string& text) const {
    for (const auto& d : draws_)
      if ((d.kind == tovak2d::DrawRecord::Kind::SystemText ||
           d.kind == tovak2d::DrawRecord::Kind::BitmapText) &&
          d.text == text)
        return &d;
    return nullptr;
  }

  std::string Read(const std::string& name) const {
    std::ifstream in(folder / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Has(const std::string& name) const { return std::filesystem::exists(folder / name); }

  std::filesystem::path folder;
  bool started = false;

 private:
  static void Push(SDL_Event event) { SDL_PushEvent(&event); }
  static Uint32 WindowId() { return SDL_GetWindowID(varnel::frmMain::hWnd()); }
  static SDL_Event Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = WindowId();
    e.motion.x = x;
    e.motion.y = y;
    return e;
  }
  static SDL_Event Button(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = WindowId();
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    return e;
  }
  static SDL_Event Key(Uint32 type, SDL_Scancode code) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = WindowId();
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = code;
    e.key.keysym.sym = SDL_GetKeyFromScancode(code);
    return e;
  }

  void Start() {
    tovak2d::SetDrawObserver([this](const tovak2d::DrawRecord& record) { recording_.push_back(record); });
    started = varnel::Startup(folder.string());
  }

  std::vector<tovak2d::DrawRecord> recording_;
  std::vector<tovak2d::DrawRecord> draws_;
  bool shutDown_ = false;
  bool keepFolder_ = false;
};
