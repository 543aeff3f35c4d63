#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
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
      // game keeps; so must the next start after a killed one.
      std::set<std::string> baseline = Listing(folder_);
      baseline.insert({"log.txt", "font.ini"});
      Trial(-1);
      EXPECT_EQ(Listing(folder_), baseline) << "a run that ended in order left the folder changed";
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
    ASSERT_TRUE(child.running());
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
    CheckPacks();
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

  // Every pack is whole: its entries byte for byte, one table, and in the table every confirmed score;
  // a score that was being saved when the run died may be there or not.
  void CheckPacks() {
    for (auto& [name, state] : packs_) {
      const Table found = ReadTable(ExpectWholePack(folder_ / "packs" / name, state.original));
      Table withPending = state.table;
      for (const Row& row : state.pending) withPending = WithScore(withPending, row);
      using ::testing::PrintToString;
      EXPECT_TRUE(found == state.table || found == withPending)
          << name << " lost scores: it should hold " << PrintToString(state.table)
          << (state.pending.empty() ? "" : " (or with the pending ones " + PrintToString(withPending) + ")")
          << " but holds " << PrintToString(found);
      state.table = found;
      state.pending.clear();
    }
  }

  uint64_t seed_;
  int trials_;
  fs::path folder_;
  std::map<std::string, PackState> packs_;
  std::vector<double> gaps_;  // seconds from the start and each line of the last unkilled run to the next
  std::string lastPending_, lastKind_;
  int runs_ = 0, killed_ = 0;
};

}  // namespace

TEST(KillWhileSaving, EveryConfirmedScoreSurvivesAKillAndTheNextStartCleansUp) {
  uint64_t seed = std::random_device{}();
  if (const char* given = std::getenv("VARNEL_KILL_SEED")) seed = std::strtoull(given, nullptr, 10);
  const int trials = CountFromEnvironment("VARNEL_KILL_TRIALS", 100, 20);
  std::printf(
      "kill test: seed %llu, %d runs (VARNEL_KILL_SEED and VARNEL_KILL_TRIALS replay or change them)\n",
      static_cast<unsigned long long>(seed), trials);
  std::fflush(stdout);
  KillTest(seed, trials).Run();
}
