// SPDX-License-Identifier: Zlib
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "GameHarness.h"
#include "ShellData.h"
#include "TestPacks.h"
#include "modDeclares.h"
#include "modGame.h"

// A session that plays the packs of TestPacks.h through the real main loop with clicks and keys.
namespace play {

inline size_t Occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// A table of ten entries scoring 1000, 900, ... 100, named A to J.
inline std::string FullTable() {
  std::vector<std::pair<std::string, std::string>> scores;
  for (int r = 1; r <= 10; ++r)
    scores.emplace_back(std::to_string(1100 - 100 * r), std::string(1, static_cast<char>('A' + r - 1)));
  return shelldata::Table(scores);
}

class PlaySession {
 public:
  explicit PlaySession(const std::vector<TestPack>& packs,
                       const std::function<void(const std::filesystem::path&)>& extra = nullptr)
      : game(true, [&](const std::filesystem::path& folder) {
          shelldata::OnlyPacks(folder, {});
          for (const TestPack& pack : packs) WritePack(folder, pack);
          if (extra) extra(folder);
        }) {
    Begin();
  }

  // Plays in a game folder the caller prepared and keeps.
  explicit PlaySession(const GameHarness::ExistingFolder& existing) : game(existing) { Begin(); }

  // The index of a pack in the catalogue, or -1.
  static int PackIndex(const std::string& fileName) {
    for (size_t i = 0; i < varnel::PackFiles.size(); ++i)
      if (varnel::PackFiles[i] == fileName) return static_cast<int>(i);
    return -1;
  }

  // A click on the menu's button `index` (0: Start Game, 2: Options).
  void ClickMenu(size_t index) {
    const varnel::MenuItem& item = varnel::MenuItems[index];
    game.Click(static_cast<int>(item.X) + 60, static_cast<int>(item.Y) + 12);
  }

  // The Start Game screen from the menu, then a click on the pack's row.
  void ChoosePack(const std::string& fileName) {
    ClickMenu(0);
    ASSERT_EQ(varnel::intScreen, varnel::kScreenStartGame);
    const int index = PackIndex(fileName);
    ASSERT_GE(index, 0) << fileName << " is not in the catalogue";
    game.Click(500, 20 * index + 175 + 9);
  }

  void PressStart() { game.Click(varnel::bVertical ? 460 : 530, 445); }

  // Runs passes until the pictures are fully shown and clicks count.
  void WaitForPictures() {
    for (int pass = 0; pass < 150 && varnel::sngPlayFade < 100; ++pass) game.Pass();
  }

  void StartLevel() {
    PressStart();
    ASSERT_EQ(varnel::intScreen, varnel::kScreenPlaying);
    WaitForPictures();
  }

  // Screen point of a picture point.
  static std::pair<int, int> OnPicture(bool original, float px, float py) {
    const int x0 = varnel::bVertical ? (original ? 185 : 471) : 350;
    const int y0 = varnel::bVertical ? 100 : (original ? 29 : 315);
    return {x0 + static_cast<int>(px), y0 + static_cast<int>(py)};
  }

  void ClickPicture(bool original, float px, float py) {
    const auto [x, y] = OnPicture(original, px, py);
    game.Click(x, y);
  }

  // Clicks so that the timer stands exactly at `timer` when the click is handled (the pass
  // that handles it advances the timer first).
  void ClickPictureAtTimer(bool original, float px, float py, float timer) {
    const auto [x, y] = OnPicture(original, px, py);
    game.MoveMouse(x, y);
    GameHarness::QueueClick(x, y);
    game.Pass();
    varnel::sngTimer = TimerBefore(timer);
    game.Pass();
  }

  // The timer value that one pass of the running level turns into `after`: a pass adds 1/35 and
  // 1/30 per level, in long double, to the float timer; these floats are the ones that land exactly.
  static float TimerBefore(float after) {
    static const std::map<std::pair<float, float>, float> before = {
        {{1, 7}, 0x1.bc09cp+2f},       {{1, 50}, 0x1.8f8138p+5f},     {{1, 100}, 0x1.8fc09cp+6f},
        {{1, 100.5f}, 0x1.91c09cp+6f}, {{1, 200}, 0x1.8fe04ep+7f},    {{1, 390}, 0x1.85f028p+8f},
        {{1, 400}, 0x1.8ff028p+8f},    {{2, 100.5f}, 0x1.919e7ap+6f}, {{2, 200}, 0x1.8fcf3cp+7f},
        {{3, 100.5f}, 0x1.917c58p+6f}};
    const auto it = before.find({varnel::sngLevel, after});
    if (it != before.end()) return it->second;
    ADD_FAILURE() << "no timer value written down for " << after << " at level " << varnel::sngLevel;
    return after;
  }

  // Finds every difference of the level still hidden, on the original picture.
  void FindAll(const TestLevel& level) {
    for (int d = 1; d <= 5; ++d)
      if (!varnel::Differences[d].Found) ClickPicture(true, level.rects[d - 1][0], level.rects[d - 1][2]);
  }

  // From the start prompt of a one-level pack: the level won, then SUBMIT SCORE.
  void WinAndSubmit(const TestLevel& level) {
    StartLevel();
    FindAll(level);
    game.Pass();
    EXPECT_TRUE(varnel::bPackDone);
    PressStart();  // SUBMIT SCORE stands where START did
  }

  void NextLevel() { game.Click(600, varnel::bVertical ? 574 : 588); }

  bool Drew(const std::string& text) const { return game.Text(text) != nullptr; }

  std::string Log() const { return game.Read("log.txt"); }

  GameHarness game;

 private:
  void Begin() {
    // The game's pacing is not under test: passes run as fast as the machine allows.
    // A game that did not start has no pass to run.
    if (!game.started) return;
    varnel::oExtra->SetFPSLimit(1000);
    game.Pass();
  }
};

}  // namespace play
