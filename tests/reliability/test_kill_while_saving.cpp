#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "ReliabilitySupport.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"

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

const std::vector<play::TestPack>& Packs() {
  static const std::vector<play::TestPack> packs = [] {
    const std::string table = shelldata::Table({{"900", "Ann"}, {"600", "Bob"}, {"300", "Cy"}});
    return std::vector<play::TestPack>{
        {"Garden.vnl", true, {play::PlainLevel("Garden")}, table},
        {"Harbour.vnl", false, {play::PlainLevel("Quay"), play::PlainLevel("Boats")}, table}};
  }();
  return packs;
}

// Name number n as the name entry makes it: a capital, then small letters.
std::string EntryName(char capital, int n) {
  std::string name(1, capital);
  do {
    name += static_cast<char>('a' + n % 26);
    n /= 26;
  } while (n > 0);
  return name;
}

SDL_Scancode LetterKey(char letter) {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  return static_cast<SDL_Scancode>(SDL_SCANCODE_A + (lower - 'a'));
}

// What a run does, in the child process. Each line it reports is written after the step it names
// has returned.
int PlayAndSave(const fs::path& folder, uint64_t seed, int firstName, const ChildChannel& parent) {
  const auto fail = [&](const std::string& why) {
    parent.Report("error " + why);
    return 1;
  };
  varnel::SeedRandom(static_cast<unsigned>(seed));
  std::mt19937_64 choices(seed);
  play::PlaySession session(GameHarness::ExistingFolder{folder});
  if (!session.game.started) return fail("the game did not start");
  varnel::oExtra->SetFPSLimit(INT16_MAX);
  std::string catalogue;
  for (const std::string& name : varnel::PackFiles) catalogue += " " + name;
  parent.Report("catalogue" + catalogue);
  parent.Report("scanned");
  if (parent.Await() != "go") return 0;

  int nameNumber = firstName;
  const play::TestPack& pack = Packs()[choices() % Packs().size()];
  session.ChoosePack(pack.fileName);
  if (varnel::intScreen != varnel::kScreenLevelStart) return fail("no start prompt for " + pack.fileName);
  for (size_t level = 0; level < pack.levels.size(); ++level) {
    session.StartLevel();
    if (varnel::intScreen != varnel::kScreenPlaying || varnel::sngPlayFade < 100)
      return fail("the level did not start");
    // A few misses first, so that the scores differ from game to game.
    for (auto misses = choices() % 4; misses > 0; --misses) session.ClickPicture(true, 250, 5);
    session.FindAll(pack.levels[level]);
    if (!varnel::bLevelDone) return fail("five finds did not win the level");
    if (level + 1 == pack.levels.size()) break;
    session.NextLevel();
    if (varnel::intScreen != varnel::kScreenLevelStart) return fail("NEXT LEVEL did not lead on");
  }
  session.game.Click(varnel::bVertical ? 460 : 530, 445);  // SUBMIT SCORE
  if (varnel::intScreen == varnel::kScreenNameEntry) {
    const std::string name = EntryName('T', nameNumber++);
    for (const char letter : name) session.game.PressKey(LetterKey(letter));
    if (varnel::strPlayerName != name)
      return fail("typed " + name + ", the game holds " + varnel::strPlayerName);
    parent.Report("pending " + pack.fileName + " " + std::to_string(static_cast<long>(varnel::sngScore)) +
                  " " + name);
    session.game.PressKey(SDL_SCANCODE_RETURN);
    if (varnel::intScreen != varnel::kScreenHighScores) return fail("Enter did not confirm the name");
    parent.Report("confirmed");
  } else if (varnel::intScreen != varnel::kScreenHighScores) {
    return fail("SUBMIT SCORE led nowhere");
  }

  // Tables the shutdown has to put back: a score goes into each catalogue copy the way the name
  // entry puts it there, but without the save that follows at once.
  parent.Report("extras");
  for (size_t index = 0; index < varnel::PackFiles.size(); ++index) {
    const std::string name = EntryName('X', nameNumber++);
    const auto score = static_cast<long>(choices() % 1600) + 1;
    parent.Report("pending " + varnel::PackFiles[index] + " " + std::to_string(score) + " " + name);
    std::string file = std::to_string(index) + "hscore.ini";
    int16_t ranks = 10, values = 0;
    if (!varnel::oExtra->HighScore_Create(file, ranks, values)) return fail("cannot bind " + file);
    varnel::oExtra->HighScore_NewScore(static_cast<float>(score), name, {});
  }
  parent.Report("shutdown");
  session.game.Shutdown();
  parent.Report("done");
  return 0;
}

// Where a run was when it was killed, by the last line it wrote.
// kIdle: started, waiting for the parent's word to play.
enum class Phase { kStarting, kIdle, kPlaying, kConfirming, kExtras, kShuttingDown, kDone };

// The moment the parent aims its kill at.
enum class Aim { kNone, kStartup, kAnyTimeInPlay, kConfirmation, kShutdown };

struct PackState {
  std::vector<ArchiveEntry> original;
  Table table;               // every confirmed score
  std::vector<Row> pending;  // written or being written, not yet confirmed
};

// How long the stretches of a run take, in seconds: the shortest start seen (a kill aimed at the
// start must come before it ends), and the longest of the rest in the runs that were not killed.
struct Stretches {
  double start = 1e9, play = 0, confirmation = 0, shutdown = 0;
};

class KillTest {
 public:
  KillTest(uint64_t seed, int trials) : seed_(seed), trials_(trials) {}

  void Run() {
    constexpr int kTrialsPerFolder = 25;
    for (int first = 0; first < trials_ && !::testing::Test::HasFatalFailure(); first += kTrialsPerFolder) {
      StartFolder();
      Trial(-1, Aim::kNone);
      baseline_ = Listing(folder_);
      for (int trial = first; trial < std::min(trials_, first + kTrialsPerFolder); ++trial) {
        // The aims take turns, so that even a short series aims at every part of a run; the moment
        // within the part is random.
        constexpr Aim kAims[] = {
            Aim::kAnyTimeInPlay, Aim::kShutdown, Aim::kConfirmation,  Aim::kStartup,  Aim::kAnyTimeInPlay,
            Aim::kConfirmation,  Aim::kShutdown, Aim::kAnyTimeInPlay, Aim::kShutdown, Aim::kConfirmation};
        const Aim aim = kAims[static_cast<size_t>(trial) % std::size(kAims)];
        Trial(trial, aim);
        if (::testing::Test::HasFatalFailure()) break;
      }
      // A last run that ends in order: everything the killed runs left is gone.
      Trial(-1, Aim::kNone);
      EXPECT_EQ(Listing(folder_), baseline_) << "the game folder gained or lost files";
      std::error_code ec;
      fs::remove_all(folder_, ec);
    }
    std::printf(
        "kill test: %d runs, %d finished before their moment came, %d killed: %d while starting, %d started "
        "and idle, %d while playing and entering names (%d of them between Enter and its confirmation), %d "
        "while shutting down, %d after its shutdown; %d scores confirmed, %d tables found rewritten\n",
        trials_, finishedFirst_, killed_, kills_[Phase::kStarting], kills_[Phase::kIdle],
        kills_[Phase::kPlaying] + kills_[Phase::kConfirming] + kills_[Phase::kExtras],
        kills_[Phase::kConfirming], kills_[Phase::kShuttingDown], kills_[Phase::kDone], confirmed_,
        rewritten_);
    // A series of some length must have hit both parts the test is about.
    if (trials_ >= 20) {
      EXPECT_GT(kills_[Phase::kPlaying] + kills_[Phase::kConfirming], 0)
          << "no kill fell while scores were entered";
      EXPECT_GT(kills_[Phase::kShuttingDown], 0) << "no kill fell during a shutdown";
    }
  }

 private:
  void StartFolder() {
    folder_ = MakeGameFolder(Packs());
    packs_.clear();
    for (const play::TestPack& pack : Packs()) {
      PackState& state = packs_[pack.fileName];
      state.original = ReadArchive(folder_ / "packs" / pack.fileName).value();
      state.table = ReadTable(pack.hscore);
    }
    baseline_.clear();
  }

  // One run; trial -1 is a run that is not killed.
  void Trial(int trial, Aim aim) {
    const int run = runs_++;
    const uint64_t seed = seed_ + static_cast<uint64_t>(run) * 7919;
    const std::string where = trial < 0 ? "an unkilled run" : "run " + std::to_string(trial);
    SCOPED_TRACE(where + " (seed " + std::to_string(seed_) + ", aimed at " + AimName(aim) + ")");
    std::mt19937_64 timing(seed);
    const auto within = [&](double seconds) {
      return std::chrono::duration_cast<Clock::duration>(
          std::chrono::duration<double>(std::uniform_real_distribution<double>(0, seconds)(timing)));
    };
    const int firstName = run * 10 + 1000;

    ChildProcess child(
        [&](const ChildChannel& parent) { return PlayAndSave(folder_, seed, firstName, parent); });
    ASSERT_TRUE(child.running());
    const Clock::time_point started = Clock::now();
    const Clock::time_point deadline = started + std::chrono::seconds(90);
    std::optional<Clock::time_point> killAt;
    if (aim == Aim::kStartup) killAt = started + within(stretches_.start);
    Clock::time_point scanned{}, played{}, enter{}, shutdown{};
    phase_ = Phase::kStarting;

    bool killed = false;
    std::string line;
    for (;;) {
      const auto read = child.NextLine(line, killAt ? std::min(*killAt, deadline) : deadline);
      if (read == ChildProcess::Read::kEnd) break;
      if (read == ChildProcess::Read::kTimeout) {
        child.Kill();
        killed = true;
        ASSERT_TRUE(killAt && Clock::now() < deadline) << "the run did not finish in time";
        break;
      }
      const Clock::time_point now = Clock::now();
      Take(line);
      if (line == "scanned") {
        scanned = now;
        stretches_.start = std::min(stretches_.start, Seconds(now - started));
        CheckListingAfterStart();
        if (aim == Aim::kStartup) continue;
        child.Send("go");
        phase_ = Phase::kPlaying;
        if (aim == Aim::kAnyTimeInPlay) killAt = now + within(stretches_.play);
      } else if (line.rfind("pending ", 0) == 0 && phase_ == Phase::kConfirming) {
        enter = now;
        if (aim == Aim::kConfirmation && !killAt)
          killAt = now + within(std::max(stretches_.confirmation * 1.5, 0.02));
      } else if (line == "confirmed" && trial < 0) {
        stretches_.confirmation = std::max(stretches_.confirmation, Seconds(now - enter));
      } else if (line == "shutdown") {
        shutdown = played = now;
        if (trial < 0) stretches_.play = std::max(stretches_.play, Seconds(played - scanned));
        if ((aim == Aim::kShutdown || aim == Aim::kConfirmation) && !killAt)
          killAt = now + within(std::max(stretches_.shutdown, 0.05));
      } else if (line == "done" && trial < 0) {
        stretches_.shutdown = std::max(stretches_.shutdown, Seconds(now - shutdown));
      }
    }
    // Whatever the run wrote before it died is still in the pipe.
    while (child.NextLine(line, Clock::now() + std::chrono::seconds(5)) == ChildProcess::Read::kLine)
      Take(line);
    if (killed) {
      ++killed_;
      ++kills_[phase_];
    } else {
      if (trial >= 0) ++finishedFirst_;
      EXPECT_TRUE(child.Finish(Clock::now() + std::chrono::seconds(10))) << "the run ended badly";
      EXPECT_EQ(phase_, Phase::kDone);
    }
    CheckPacks();
  }

  static double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

  static std::string AimName(Aim aim) {
    static const char* const kNames[] = {"nothing", "the start", "any moment of play", "a confirmation",
                                         "the shutdown"};
    return kNames[static_cast<size_t>(aim)];
  }

  // Applies one line of the run's report.
  void Take(const std::string& line) {
    if (line.rfind("error ", 0) == 0) {
      ADD_FAILURE() << "the run failed: " << line.substr(6);
    } else if (line.rfind("catalogue", 0) == 0) {
      std::set<std::string> listed, expected;
      for (size_t at = line.find(' '); at != std::string::npos;) {
        const size_t next = line.find(' ', at + 1);
        listed.insert(line.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1));
        at = next;
      }
      for (const auto& [name, state] : packs_) expected.insert(name);
      EXPECT_EQ(listed, expected)
          << "the start did not list exactly the packs (a pack failed its check, or a "
             "file left by a killed save was taken for a pack)";
    } else if (line == "scanned") {
      phase_ = Phase::kIdle;
    } else if (line.rfind("pending ", 0) == 0) {
      char pack[64] = {}, name[16] = {};
      long score = 0;
      ASSERT_EQ(std::sscanf(line.c_str(), "pending %63s %ld %15s", pack, &score, name), 3) << line;
      ASSERT_TRUE(packs_.contains(pack)) << line;
      packs_[pack].pending.push_back({score, name});
      lastPending_ = pack;
      if (phase_ == Phase::kPlaying) phase_ = Phase::kConfirming;
    } else if (line == "confirmed") {
      Confirm(lastPending_);
      phase_ = Phase::kPlaying;
    } else if (line == "extras") {
      phase_ = Phase::kExtras;
    } else if (line == "shutdown") {
      phase_ = Phase::kShuttingDown;
    } else if (line == "done") {
      for (auto& [name, state] : packs_) Confirm(name);
      phase_ = Phase::kDone;
    }
  }

  void Confirm(const std::string& pack) {
    PackState& state = packs_[pack];
    for (const Row& row : state.pending) {
      state.table = WithScore(state.table, row);
      ++confirmed_;
    }
    state.pending.clear();
  }

  // The next start has cleaned up after a killed run: the folder holds what it held after a run
  // that ended in order, and the catalogue copies the start has just made.
  void CheckListingAfterStart() {
    if (baseline_.empty()) return;
    std::set<std::string> allowed = baseline_;
    for (size_t index = 0; index < packs_.size(); ++index)
      for (const char* copy : {"packinfo.ini", "hscore.ini"}) allowed.insert(std::to_string(index) + copy);
    for (const std::string& name : Listing(folder_))
      EXPECT_TRUE(allowed.contains(name))
          << "left behind by a killed run and still there after the next start: " << name;
  }

  // Every pack is whole: its entries byte for byte, one table, and in the table every confirmed score;
  // a score that was being saved when the run died may be there or not.
  void CheckPacks() {
    for (auto& [name, state] : packs_) {
      const std::string tableText = ExpectWholePack(folder_ / "packs" / name, state.original);
      const Table found = ReadTable(tableText);
      Table withPending = state.table;
      for (const Row& row : state.pending) withPending = WithScore(withPending, row);
      if (found != state.table && found == withPending) {
        ++rewritten_;
        state.table = found;
      } else if (found != state.table) {
        ADD_FAILURE() << name << " lost scores: it should hold " << Describe(state.table)
                      << (state.pending.empty() ? ""
                                                : "(or with the pending ones " + Describe(withPending) + ")")
                      << " but holds " << Describe(found);
        state.table = found;
      }
      state.pending.clear();
    }
  }

  uint64_t seed_;
  int trials_;
  fs::path folder_;
  std::set<std::string> baseline_;
  std::map<std::string, PackState> packs_;
  std::string lastPending_;
  Phase phase_ = Phase::kStarting;
  Stretches stretches_;
  int runs_ = 0, killed_ = 0, finishedFirst_ = 0, confirmed_ = 0, rewritten_ = 0;
  std::map<Phase, int> kills_;
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
