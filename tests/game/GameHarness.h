// SPDX-License-Identifier: Zlib
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "SdlEvents.h"
#include "TestFiles.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modMain.h"
#include "tovak2d/Diagnostics.h"
#include "tovak2d/TextureAccess.h"

// Runs the real game headless (dummy video driver) in a copy of the built game folder and records
// what each pass draws. The game's state is process-wide: a test process holds one game at a time,
// and each start resets the game's play state as a new process has it.
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
    testsupport::Push(testsupport::MouseMotion(WindowId(), x, y));
    Pass(2);
  }
  void Click(int x, int y) {
    testsupport::Push(testsupport::MouseMotion(WindowId(), x, y));
    QueueClick(x, y);
    Pass(2);
  }
  // A key struck and released; a repeat is the window system's repeat of a held key, not released.
  void PressKey(SDL_Scancode key, bool repeat = false) {
    const SDL_Keycode typed = SDL_GetKeyFromScancode(key);
    testsupport::Push(testsupport::KeyEvent(WindowId(), SDL_KEYDOWN, key, typed, repeat));
    if (!repeat) testsupport::Push(testsupport::KeyEvent(WindowId(), SDL_KEYUP, key, typed));
    Pass(2);
  }
  void Wheel(int steps) {
    testsupport::Push(testsupport::MouseWheel(WindowId(), steps));
    Pass(2);
  }
  // Paths dropped at once on the window, as SDL delivers a file manager's drop.
  void Drop(const std::vector<std::string>& paths) {
    testsupport::Push(SDL_Event{.drop = {SDL_DROPBEGIN, 0, nullptr, WindowId()}});
    for (const std::string& path : paths)
      testsupport::Push(SDL_Event{.drop = {SDL_DROPFILE, 0, SDL_strdup(path.c_str()), WindowId()}});
    testsupport::Push(SDL_Event{.drop = {SDL_DROPCOMPLETE, 0, nullptr, WindowId()}});
    Pass(2);
  }
  // Queues a press and release of the left button without running a pass.
  static void QueueClick(int x, int y) {
    testsupport::Push(testsupport::MouseButton(WindowId(), SDL_MOUSEBUTTONDOWN, x, y));
    testsupport::Push(testsupport::MouseButton(WindowId(), SDL_MOUSEBUTTONUP, x, y));
  }
  static Uint32 WindowId() { return SDL_GetWindowID(varnel::frmMain::hWnd()); }

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

  // Every system-font text of the last pass that does not fit its box as the engine lays it out, or
  // that a text drawn from the left of its box runs into: texts on one row read as two only with
  // some room between them ("99999Wolfgang" does not).
  std::vector<std::string> Misfits(const std::string& where) const {
    auto shown = [](const tovak2d::DrawRecord& d) { return "\"" + d.text + "\" (" + d.fontKey + ")"; };
    std::vector<std::string> found;
    std::vector<const tovak2d::DrawRecord*> texts;
    for (const auto& d : draws_)
      if (d.kind == tovak2d::DrawRecord::Kind::SystemText && d.lineCount > 0) texts.push_back(&d);
    for (const auto* d : texts)
      if (d->textWidth > d->boxWidth || d->textHeight > d->boxHeight)
        found.push_back(where + ": " + shown(*d) + " needs " + std::to_string(d->textWidth) + " x " +
                        std::to_string(d->textHeight) + " in a box of " + std::to_string(d->boxWidth) +
                        " x " + std::to_string(d->boxHeight));
    constexpr int32_t kMinGap = 3;
    for (const auto* a : texts)
      for (const auto* b : texts)
        if (a->txtPosition == 0 && a->Y == b->Y && a->X < b->X &&
            a->X + static_cast<float>(a->textWidth + kMinGap) > b->X)
          found.push_back(where + ": " + shown(*a) + " runs into " + shown(*b));
    return found;
  }

  std::string Read(const std::string& name) const { return testsupport::ReadFile(folder / name); }
  bool Has(const std::string& name) const { return std::filesystem::exists(folder / name); }

  std::filesystem::path folder;
  bool started = false;

 private:
  void Start() {
    // As a new process has it: the splash logo not faded yet, no game, screen or choice of a run before.
    using namespace varnel;
    intScreen = intPackSel = intPackScroll = 0;
    lngFrame = lngWheelTurn = 0;
    sngLogoFade = sngScore = sngLevel = sngTimer = sngJokerFade = sngPlayFade = 0;
    bMenuShown = bVertical = bLevelDone = bPackDone = bNextLevel = bEndSoundDue = bTimerOn = bJokerLeft =
        false;
    for (std::string* text :
         {&strMenuHover, &strScoreNotice, &strLevel, &strPackFile, &strLevelPic, &strPlayerName})
      text->clear();
    Differences = {};
    LevelUsed = {};
    Particles = {};
    tovak2d::ForgetApplicationFolder();
    tovak2d::SetDrawObserver([this](const tovak2d::DrawRecord& record) { recording_.push_back(record); });
    started = varnel::Startup(folder.string());
  }

  std::vector<tovak2d::DrawRecord> recording_;
  std::vector<tovak2d::DrawRecord> draws_;
  bool shutDown_ = false;
  bool keepFolder_ = false;
};
