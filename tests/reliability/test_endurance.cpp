#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "ReliabilitySupport.h"
#include "TestFiles.h"

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
        four(4, play::PlainLevel("Four")), five(5, play::PlainLevel("Five[e]on two lines"));
    return std::vector<play::TestPack>{
        {"Garden.vnl", true, three, play::FullTable()},
        {"Harbour.vnl", false, four, shelldata::Table({{"2500", "Ann"}, {"700", "Bob"}})},
        {"Meadow.vnl", true, five}};
  }();
  return packs;
}

// Resident memory of this process in kilobytes.
long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

// One game on the pack: every level won, or, when `lose`, the first level lost to misses. Then the
// score is submitted and, when it ranks, entered (and counted) under a name of its own.
void Game(play::PlaySession& session, const play::TestPack& pack, bool lose, int& entries) {
  if (lose) {
    session.ChoosePack(pack.fileName);
    session.StartLevel();
    ASSERT_GE(varnel::sngPlayFade, 100) << "the pictures did not fade in";
    for (int miss = 0; miss < 30 && varnel::sngTimer <= 406; ++miss) session.ClickPicture(true, 250, 5);
    session.game.Pass();
    ASSERT_TRUE(session.Drew("GAME OVER")) << "misses did not end the game";
  } else {
    ASSERT_EQ(WinPack(session, pack, [] { return 0; }), "");
  }
  const auto count = [&](const std::string& line) { entries += line == "confirmed" ? 1 : 0; };
  ASSERT_EQ(SubmitScore(session, pack.fileName, EntryName('R', entries + 1), count), "");
}

// Menu item k (1 High Scores ... 4 Credits), clicked.
void Visit(play::PlaySession& session, int item) {
  session.ClickMenu(static_cast<size_t>(item));
  ASSERT_EQ(varnel::intScreen, item + 1) << "menu item " << item << " did not open its screen";
}

}  // namespace

TEST(Endurance, HundredsOfLevelsKeepMemoryFlatAndLeaveNoFileBehind) {
  const int wanted = CountFromEnvironment("VARNEL_ENDURANCE_LEVELS", 300, 40);
  testsupport::TempFolder folder;
  FillGameFolder(folder.path(), Packs());
  const std::set<std::string> before = Listing(folder.path());

  long rssStart = 0, rssEnd = 0;
  int levels = 0, entries = 0;
  {
    play::PlaySession session(GameHarness::ExistingFolder{folder.path()});
    ASSERT_TRUE(session.game.started);
    // As fast as the machine allows: the largest cap the engine takes leaves no wait worth a mention.
    varnel::oExtra->SetFPSLimit(INT16_MAX);

    // Warm-up: one game on each pack, every screen once, a lost game; whatever is made once a run
    // (fonts' glyphs, tables, sounds mixed the first time) is made by then.
    for (const play::TestPack& pack : Packs()) ASSERT_NO_FATAL_FAILURE(Game(session, pack, false, entries));
    for (int item = 1; item <= 4; ++item) ASSERT_NO_FATAL_FAILURE(Visit(session, item));
    ASSERT_NO_FATAL_FAILURE(Game(session, Packs()[0], true, entries));
    rssStart = ResidentKilobytes();

    for (int game = 0; levels < wanted; ++game) {
      const play::TestPack& pack = Packs()[static_cast<size_t>(game) % Packs().size()];
      SCOPED_TRACE("after " + std::to_string(levels) + " levels");
      ASSERT_NO_FATAL_FAILURE(Visit(session, 1 + game % 4));
      const bool lose = game % 7 == 6;
      ASSERT_NO_FATAL_FAILURE(Game(session, pack, lose, entries));
      levels += lose ? 1 : static_cast<int>(pack.levels.size());
    }
    rssEnd = ResidentKilobytes();
    session.game.Shutdown();
  }

  std::printf(
      "endurance: %d levels after the warm-up, %d names entered in all; resident memory %ld kB "
      "after the warm-up, %ld kB at the end (%+ld kB)\n",
      levels, entries, rssStart, rssEnd, rssEnd - rssStart);
#ifndef VARNEL_SANITIZED_BUILD
  // AddressSanitizer holds freed memory back for a while, so there the leak checker judges instead.
  EXPECT_LT(rssEnd - rssStart, 5 * 1024) << "memory grew by " << rssEnd - rssStart << " kB";
#endif
  EXPECT_GT(entries, 0) << "no score was entered";

  // The game keeps its log, the engine's font layout and the options; the packs keep their names.
  std::set<std::string> expected = before;
  expected.insert({"log.txt", "font.ini"});
  EXPECT_EQ(Listing(folder.path()), expected);
}
