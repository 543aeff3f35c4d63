#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "ReliabilitySupport.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"

// Hundreds of levels in a row through the real main loop, with the frame limit lifted: games won
// and lost on three packs, names entered, every menu screen visited between games. Whatever a
// level, a game or a screen leaves behind would pile up here: memory must stay where it was after
// the first games, and the game folder must hold no file it did not hold before, apart from the
// ones the game keeps.

namespace {

using namespace reliability;

const std::vector<play::TestPack>& Packs() {
  static const std::vector<play::TestPack> packs = [] {
    std::vector<play::TestLevel> three(3, play::PlainLevel("Three in a row")),
        four(4, play::PlainLevel("Four"));
    std::vector<play::TestLevel> five(5, play::PlainLevel("Five[e]on two lines"));
    return std::vector<play::TestPack>{
        {"Garden.vnl", true, three, play::FullTable()},
        {"Harbour.vnl", false, four, shelldata::Table({{"2500", "Ann"}, {"700", "Bob"}})},
        {"Meadow.vnl", true, five}};
  }();
  return packs;
}

// Drives one long session and counts what it did.
class Marathon {
 public:
  explicit Marathon(play::PlaySession& session) : session_(session) {}

  // One game on the pack: every level won, or, when `lose`, the first level lost to misses.
  // Then the score is submitted and, when it ranks, entered under a new name.
  bool Game(const play::TestPack& pack, bool lose) {
    session_.ChoosePack(pack.fileName);
    if (varnel::intScreen != varnel::kScreenLevelStart) return Fail("no start prompt for " + pack.fileName);
    for (size_t level = 0; level < pack.levels.size(); ++level) {
      session_.StartLevel();
      if (varnel::sngPlayFade < 100) return Fail("the pictures did not fade in");
      if (lose) {
        for (int miss = 0; miss < 30 && varnel::sngTimer <= 406; ++miss) session_.ClickPicture(true, 250, 5);
        session_.game.Pass();
        ++levelsLost_;
        if (!session_.Drew("GAME OVER")) return Fail("misses did not end the game");
        break;
      }
      session_.FindAll(pack.levels[level]);
      if (!varnel::bLevelDone) return Fail("five finds did not win a level of " + pack.fileName);
      ++levelsWon_;
      if (level + 1 == pack.levels.size()) break;
      session_.NextLevel();
      if (varnel::intScreen != varnel::kScreenLevelStart) return Fail("NEXT LEVEL did not lead on");
    }
    session_.game.Click(varnel::bVertical ? 460 : 530, 445);  // SUBMIT SCORE
    if (varnel::intScreen == varnel::kScreenNameEntry) {
      for (int erase = 0; erase < 8 && !varnel::strPlayerName.empty(); ++erase)
        session_.game.PressKey(SDL_SCANCODE_BACKSPACE);
      // A name of its own for every entry: R, then the entry number in letters.
      session_.game.PressKey(SDL_SCANCODE_R);
      for (int n = ++entries_; n > 0; n /= 26)
        session_.game.PressKey(static_cast<SDL_Scancode>(SDL_SCANCODE_A + n % 26));
      session_.game.PressKey(SDL_SCANCODE_RETURN);
    }
    if (varnel::intScreen != varnel::kScreenHighScores)
      return Fail("the game did not end on the High Scores");
    ++games_;
    return true;
  }

  // Menu item k (0 Start Game ... 4 Credits), clicked; the screen shows from the next pass.
  bool Visit(int item) {
    session_.ClickMenu(static_cast<size_t>(item));
    if (varnel::intScreen != item + 1)
      return Fail("menu item " + std::to_string(item) + " did not open its screen");
    return true;
  }

  int levels() const { return levelsWon_ + levelsLost_; }
  int levelsWon() const { return levelsWon_; }
  int games() const { return games_; }
  int entries() const { return entries_; }
  const std::string& failure() const { return failure_; }

 private:
  bool Fail(const std::string& why) {
    failure_ = why + " (after " + std::to_string(levels()) + " levels)";
    return false;
  }

  play::PlaySession& session_;
  int levelsWon_ = 0, levelsLost_ = 0, games_ = 0, entries_ = 0;
  std::string failure_;
};

}  // namespace

TEST(Endurance, HundredsOfLevelsKeepMemoryFlatAndLeaveNoFileBehind) {
  const int wanted = CountFromEnvironment("VARNEL_ENDURANCE_LEVELS", 300, 40);
  const fs::path folder = MakeGameFolder(Packs());
  const RemovedAtEnd removal{folder};
  const std::set<std::string> before = Listing(folder);

  long rssStart = 0, rssEnd = 0;
  int32_t passesAtStart = 0, passes = 0;
  int levelsAtStart = 0, levels = 0, games = 0, entries = 0;
  double seconds = 0;
  {
    play::PlaySession session(GameHarness::ExistingFolder{folder});
    ASSERT_TRUE(session.game.started);
    // As fast as the machine allows: the largest cap the engine takes leaves no wait worth a mention.
    varnel::oExtra->SetFPSLimit(INT16_MAX);
    Marathon marathon(session);

    // Warm-up: one game on each pack, every screen once, a lost game; whatever is made once a run
    // (fonts' glyphs, tables, sounds mixed the first time) is made by then.
    for (const play::TestPack& pack : Packs()) ASSERT_TRUE(marathon.Game(pack, false)) << marathon.failure();
    for (int item = 1; item <= 4; ++item) ASSERT_TRUE(marathon.Visit(item)) << marathon.failure();
    ASSERT_TRUE(marathon.Game(Packs()[0], true)) << marathon.failure();
    rssStart = ResidentKilobytes();
    passesAtStart = varnel::lngFrame;
    levelsAtStart = marathon.levels();
    const auto started = std::chrono::steady_clock::now();

    for (int game = 0; marathon.levels() - levelsAtStart < wanted; ++game) {
      ASSERT_TRUE(marathon.Visit(1 + game % 4)) << marathon.failure();
      ASSERT_TRUE(marathon.Game(Packs()[static_cast<size_t>(game) % Packs().size()], game % 7 == 6))
          << marathon.failure();
    }

    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    rssEnd = ResidentKilobytes();
    passes = varnel::lngFrame - passesAtStart;
    levels = marathon.levels() - levelsAtStart;
    games = marathon.games();
    entries = marathon.entries();
    session.game.Shutdown();
  }

  std::printf(
      "endurance: %d levels after the warm-up (%d games, %d names entered in all), %d passes in %.1f s; "
      "resident memory %ld kB after the warm-up, %ld kB at the end (%+ld kB)\n",
      levels, games, entries, passes, seconds, rssStart, rssEnd, rssEnd - rssStart);
  EXPECT_GE(levels, wanted);
#ifndef VARNEL_SANITIZED_BUILD
  // AddressSanitizer holds freed memory back for a while, so there the leak checker judges instead.
  EXPECT_LT(rssEnd - rssStart, 5 * 1024) << "memory grew by " << rssEnd - rssStart << " kB";
#endif
  EXPECT_GT(entries, 0) << "no score was entered";

  // The game keeps its log, the engine's font layout and the options; the packs keep their names.
  std::set<std::string> expected = before;
  expected.insert({"log.txt", "font.ini"});
  EXPECT_EQ(Listing(folder), expected);
}
