// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "ReliabilitySupport.h"
#include "TestFiles.h"

// The real game, started afresh in a forked process on a game folder that lives from run to run,
// wins levels, types names, confirms them and shuts down, and is killed with SIGKILL at a random
// moment of it. Each run tells the parent, line by line, what it has done; after each kill the
// packs must be whole and hold every score whose confirmation had returned, and the next start
// must clean up whatever the killed one left half-done.
//
// A fresh process per run is the point: a start must cope with exactly what a killed process left
// on disk. The game runs through GameHarness rather than as the Varnel program, because the program
// can only be driven through a display server, which would cost seconds a run; here the same
// Startup, main-loop pass and Shutdown run on the dummy video driver with injected input.

namespace {

using namespace reliability;

// What a run does, in the child process: a game with a score entered, then a score put into each
// catalogue copy the way the name entry puts it there but without the save that follows at once,
// so that the shutdown has tables to put back. Each line is reported after the step it names.
int PlayAndSave(const fs::path& folder, uint64_t seed, int firstName, const Report& report) {
  const auto fail = [&](const std::string& why) {
    report("error " + why);
    return 1;
  };
  varnel::SeedRandom(static_cast<unsigned>(seed));
  std::mt19937_64 choices(seed);
  play::PlaySession session(GameHarness::ExistingFolder{folder});
  if (!session.game.started) return fail("the game did not start");
  varnel::oExtra->SetFPSLimit(INT16_MAX);
  report("started");

  // A few misses first, so that the scores differ from game to game.
  const play::TestPack& pack = ScoredPacks()[choices() % ScoredPacks().size()];
  std::string error = WinPack(session, pack, [&] { return static_cast<int>(choices() % 4); });
  if (error.empty()) error = SubmitScore(session, pack.fileName, EntryName('T', firstName), report);
  if (!error.empty()) return fail(error);
  report("extras");
  for (size_t index = 0; index < varnel::PackFiles.size(); ++index) {
    const std::string name = EntryName('X', firstName + 1 + static_cast<int>(index));
    const auto score = static_cast<long>(choices() % 1600) + 1;
    report("pending " + varnel::PackFiles[index] + " " + std::to_string(score) + " " + name);
    std::string file = std::to_string(index) + "hscore.ini";
    int16_t ranks = 10, values = 0;
    if (!varnel::oExtra->HighScore_Create(file, ranks, values)) return fail("cannot bind a table");
    varnel::oExtra->HighScore_NewScore(static_cast<float>(score), name, {});
  }
  report("shutdown");
  session.game.Shutdown();
  report("done");
  return 0;
}

struct PackState {
  std::vector<ArchiveEntry> original;
  Table table;               // every confirmed score
  std::vector<Row> pending;  // written or being written, not yet confirmed
};

class KillTest {
 public:
  KillTest(uint64_t seed, int trials) : seed_(seed), trials_(trials) {}

  void Run() {
    constexpr int kTrialsPerFolder = 25;
    for (int first = 0; first < trials_ && !::testing::Test::HasFatalFailure(); first += kTrialsPerFolder) {
      testsupport::TempFolder folder;
      folder_ = folder.path();
      FillGameFolder(folder_, ScoredPacks());
      for (const play::TestPack& pack : ScoredPacks())
        packs_[pack.fileName] = {
            ReadArchive(folder_ / "packs" / pack.fileName).value(), ReadTable(pack.hscore), {}};
      // A run that ends in order leaves the folder as it was, with the log and the font layout the
      // game keeps; so must the last start after the killed ones.
      std::set<std::string> baseline = Listing(folder_);
      baseline.insert({"log.txt", "font.ini"});
      Trial(-1);
      for (int trial = first; trial < std::min(trials_, first + kTrialsPerFolder); ++trial) {
        Trial(trial);
        if (::testing::Test::HasFatalFailure()) return;
      }
      // A last run that ends in order: its start and shutdown clear everything the killed runs left.
      Trial(-1);
      EXPECT_EQ(Listing(folder_), baseline) << "the game folder gained or lost files";
    }
    std::printf("kill test: %d runs, %d killed\n", trials_, killed_);
  }

 private:
  // One run; trial -1 is a run that is not killed. The trials aim at the lines of the last unkilled
  // run's report in turn (0: the start; the last is "shutdown"), so that even a short series aims at
  // every part of a run: a run is killed after a random part of the time that run took from the line
  // aimed at to the next.
  void Trial(int trial) {
    const int run = runs_++;
    const uint64_t seed = seed_ + static_cast<uint64_t>(run) * 7919;
    ASSERT_FALSE(trial >= 0 && gaps_.empty()) << "no unkilled run to aim by";
    // The shutdown, which puts back every table, is aimed at three times as often.
    const size_t aim = trial < 0
                           ? gaps_.size()
                           : std::min(static_cast<size_t>(trial) % (gaps_.size() + 2), gaps_.size() - 1);
    SCOPED_TRACE((trial < 0 ? "an unkilled run" : "run " + std::to_string(trial)) + " (seed " +
                 std::to_string(seed_) + ", aimed at line " + std::to_string(aim) + ")");
    std::mt19937_64 timing(seed);
    ChildProcess child(
        [&](const Report& report) { return PlayAndSave(folder_, seed, run * 10 + 1000, report); });
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(90);
    std::optional<Clock::time_point> killAt;
    std::vector<double> gaps;
    Clock::time_point last = Clock::now();
    const auto aimAt = [&](size_t lines) {
      if (lines != aim || trial < 0) return;
      const double seconds =
          std::uniform_real_distribution<double>(0, std::max(gaps_[aim] * 1.2, 0.002))(timing);
      killAt = last + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    };
    aimAt(0);
    lastKind_ = "start";
    bool killed = false;
    std::string line;
    for (size_t lines = 0;;) {
      const auto read = child.NextLine(line, killAt ? std::min(*killAt, deadline) : deadline);
      if (read == ChildProcess::Read::kEnd) break;
      if (read == ChildProcess::Read::kTimeout) {
        child.Kill();
        killed = true;
        ASSERT_TRUE(killAt && Clock::now() < deadline) << "the run did not finish in time";
        break;
      }
      gaps.push_back(std::chrono::duration<double>(Clock::now() - last).count());
      last = Clock::now();
      Take(line);
      aimAt(++lines);
    }
    // Whatever the run wrote before it died is still in the pipe.
    while (child.NextLine(line, Clock::now() + std::chrono::seconds(5)) == ChildProcess::Read::kLine)
      Take(line);
    if (killed) {
      ++killed_;
    } else {
      EXPECT_TRUE(child.Ended()) << "the run ended badly";
      EXPECT_EQ(lastKind_, "done");
      if (trial < 0) gaps_ = gaps;
    }
    // Every pack is whole: its entries byte for byte, one table, and in the table every confirmed
    // score; a score that was being saved when the run died may be there or not.
    for (auto& [name, state] : packs_) {
      state.table = ExpectWholePack(folder_ / "packs" / name, state.original, state.table, state.pending);
      state.pending.clear();
    }
  }

  // Applies one line of the run's report.
  void Take(const std::string& line) {
    lastKind_ = line.substr(0, line.find(' '));
    if (lastKind_ == "error") {
      ADD_FAILURE() << "the run failed: " << line.substr(6);
    } else if (lastKind_ == "pending") {
      Row row;
      ASSERT_TRUE(ReadPending(line, lastPending_, row) && packs_.contains(lastPending_)) << line;
      packs_[lastPending_].pending.push_back(row);
    } else if (lastKind_ == "confirmed") {
      Confirm(lastPending_);
    } else if (lastKind_ == "done") {
      for (auto& [name, state] : packs_) Confirm(name);
    }
  }

  void Confirm(const std::string& pack) {
    PackState& state = packs_[pack];
    for (const Row& row : state.pending) state.table = WithScore(state.table, row);
    state.pending.clear();
  }

  uint64_t seed_;
  int trials_;
  fs::path folder_;
  std::map<std::string, PackState> packs_;
  std::vector<double> gaps_;  // seconds from the start and each line of the last unkilled run to the next
  std::string lastPending_, lastKind_;
  int runs_ = 0, killed_ = 0;
};

// The endurance run's packs and steps.
const std::vector<play::TestPack>& EndurancePacks() {
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

TEST(KillWhileSaving, EveryConfirmedScoreSurvivesAKillAndTheNextStartCleansUp) {
  const uint64_t seed = TestSeed("kill test", 1208);
  KillTest(seed, CountFromEnvironment("VARNEL_KILL_TRIALS", 100, 20)).Run();
}

// Hundreds of levels in a row through the real main loop, with the frame limit lifted: games won
// and lost on three packs, names entered, every menu screen visited between games. Whatever a
// level, a game or a screen leaves behind would pile up here: memory must stay where it was after
// the first games, and the game folder must hold no file it did not hold before, apart from the
// ones the game keeps.
TEST(Endurance, HundredsOfLevelsKeepMemoryFlatAndLeaveNoFileBehind) {
  const int wanted = CountFromEnvironment("VARNEL_ENDURANCE_LEVELS", 300, 40);
  const uint64_t seed = TestSeed("endurance", 1208);
  SCOPED_TRACE("seed " + std::to_string(seed));
  testsupport::TempFolder folder;
  FillGameFolder(folder.path(), EndurancePacks());
  const std::set<std::string> before = Listing(folder.path());

  long rssStart = 0, rssEnd = 0;
  int levels = 0, entries = 0;
  {
    play::PlaySession session(GameHarness::ExistingFolder{folder.path()});
    ASSERT_TRUE(session.game.started);
    varnel::SeedRandom(static_cast<unsigned>(seed));
    // As fast as the machine allows: the largest cap the engine takes leaves no wait worth a mention.
    varnel::oExtra->SetFPSLimit(INT16_MAX);

    // Warm-up: one game on each pack, every screen once, a lost game; whatever is made once a run
    // (fonts' glyphs, tables, sounds mixed the first time) is made by then.
    for (const play::TestPack& pack : EndurancePacks())
      ASSERT_NO_FATAL_FAILURE(Game(session, pack, false, entries));
    for (int item = 1; item <= 4; ++item) ASSERT_NO_FATAL_FAILURE(Visit(session, item));
    ASSERT_NO_FATAL_FAILURE(Game(session, EndurancePacks()[0], true, entries));
    rssStart = ResidentKilobytes();

    for (int game = 0; levels < wanted; ++game) {
      const play::TestPack& pack = EndurancePacks()[static_cast<size_t>(game) % EndurancePacks().size()];
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
