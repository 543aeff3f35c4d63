// SPDX-License-Identifier: Zlib
// The game's whole session (start, a won level, a name entered, an option changed, a screenshot,
// shutdown) once per N, with the N-th write-side call failing with no space, an I/O error or a
// read-only file system. Each run is a forked process on a fresh copy of one game folder. For
// every N: the run ends by itself, every pack is whole and holds every score it held and every
// score confirmed, nothing outside the game folder is written, and the log or the player names the
// fault. (A run whose fault keeps a pack out of the catalogue or a level from loading plays less;
// the harness's own expectations then print in the child without failing the test.)
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "FaultShim.h"
#include "ReliabilitySupport.h"
#include "TestFiles.h"
#include "modINI.h"
#include "tovak2d/Engine.h"
#include "tovak2d/Extra.h"

namespace {

using namespace reliability;

// The session, in the child. Its last lines tell what the player was told and what the shim saw.
int Session(const fs::path& folder, long failAt, int err, const Report& report) {
  varnel_fault_confine(folder.c_str());
  varnel_fault_arm(failAt, err);
  varnel::SeedRandom(7);
  {
    play::PlaySession session(GameHarness::ExistingFolder{folder});
    if (session.game.started) {
      varnel::oExtra->SetFPSLimit(INT16_MAX);
      // A fault may keep the pack out of the catalogue or its level from loading: the session then
      // plays less.
      if (WinPack(session, ScoredPacks()[0], [] { return 0; }).empty())
        SubmitScore(session, ScoredPacks()[0].fileName, "Zoe", report);
      session.ClickMenu(2);          // Options
      session.game.Click(650, 317);  // particle effects off
      session.game.PressKey(SDL_SCANCODE_S);
      session.game.Pass(2);
    }
    const std::string told = varnel::strScoreNotice + "|" + varnel::OptionsSaveProblem();
    if (session.game.started) session.game.Shutdown();
    report("told " + told);
  }
  report("on " + std::string(varnel_fault_fired_on()));
  report("done " + FaultCountLine());
  return 0;
}

struct Outcome : FaultCount {
  bool ended = false;
  std::string told, firedOn;
  std::vector<std::pair<std::string, Row>> confirmed;
};

class GameFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    FillGameFolder(pristine_.path(), ScoredPacks());
    for (const play::TestPack& pack : ScoredPacks()) {
      original_[pack.fileName] = ReadArchive(pristine_ / "packs" / pack.fileName).value();
      tables_[pack.fileName] = ReadTable(pack.hscore);
    }
  }

  // The session on a fresh copy of the pristine folder.
  Outcome Run(long failAt, int err) {
    std::error_code ec;
    fs::remove_all(work_.path(), ec);
    fs::copy(pristine_.path(), work_.path(), fs::copy_options::recursive, ec);
    Outcome outcome;
    ChildProcess child([&](const Report& report) { return Session(work_.path(), failAt, err, report); });
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    std::string line, pack;
    Row pending;
    ChildProcess::Read read;
    while ((read = child.NextLine(line, deadline)) == ChildProcess::Read::kLine) {
      if (line == "confirmed") outcome.confirmed.emplace_back(pack, pending);
      ReadPending(line, pack, pending);
      if (line.rfind("on ", 0) == 0) outcome.firedOn = line.substr(3);
      if (line.rfind("told ", 0) == 0) outcome.told = line.substr(5);
      if (line.rfind("done ", 0) == 0) ReadFaultCount(line.substr(5), outcome);
    }
    outcome.ended = read == ChildProcess::Read::kEnd && child.Ended();
    if (!outcome.ended && !line.empty()) std::printf("last line of the run: %s\n", line.c_str());
    return outcome;
  }

  testsupport::TempFolder pristine_, work_;
  std::map<std::string, std::vector<ArchiveEntry>> original_;
  std::map<std::string, Table> tables_;
};

TEST_F(GameFaults, EveryFailingWriteOfASessionKeepsThePacksWholeAndIsNamed) {
  // The first start writes the bitmap font's layout, key by key (most of a first session's calls);
  // the sweep covers a player's later sessions, with the layout in place.
  ASSERT_TRUE(Run(0, ENOSPC).ended);
  fs::copy_file(work_ / "font.ini", pristine_ / "font.ini");
  const Outcome clean = Run(0, ENOSPC);
  ASSERT_TRUE(clean.ended);
  ASSERT_EQ(clean.confirmed.size(), 1u) << "the session confirms one score";
  ASSERT_GT(clean.calls, 0);
  EXPECT_EQ(clean.outside, "") << "written outside the game folder";

  // Every N up to 150 (an even spread of 150 beyond); VARNEL_FAULT_REPLAY=N replays one run.
  std::vector<long> sweep = SweepPoints(clean.calls, 150);
  if (const char* one = std::getenv("VARNEL_FAULT_REPLAY")) sweep = {std::strtol(one, nullptr, 10)};
  for (const long n : sweep) {
    const int err = SweepError(n);
    SCOPED_TRACE("call " + std::to_string(n) + " failing with " + std::strerror(err));
    const Outcome outcome = Run(n, err);
    ASSERT_TRUE(outcome.ended) << "the session did not end by itself";
    EXPECT_TRUE(outcome.fired);
    EXPECT_EQ(outcome.outside, "") << "written outside the game folder";
    // Every pack whole, its table holding the old rows and the confirmed ones.
    for (const auto& [name, original] : original_) {
      Table expected = tables_[name];
      for (const auto& [pack, row] : outcome.confirmed)
        if (pack == name) expected = WithScore(expected, row);
      ExpectWholePack(work_ / "packs" / name, original, expected);
    }
    // The log or the player names the cause. The log cannot name a failure of its own; the game goes
    // on without the line.
    const std::string log = testsupport::ReadFile(work_ / "log.txt");
    EXPECT_TRUE(log.find(std::strerror(err)) != std::string::npos || outcome.told != "|" ||
                fs::path(outcome.firedOn).filename() == "log.txt")
        << "named by neither the log nor the player: the failed call on " << outcome.firedOn;
    if (::testing::Test::HasFatalFailure()) return;
  }
}

// What the engine promises a power cut: a rewritten archive's new bytes are on the disk before the
// rename puts them in place, so a cut leaves the old archive or the new one, never an empty one.
TEST(DurableWrites, RewrittenArchivesAreSyncedBeforeTheyTakeThePlaceOfTheOld) {
  testsupport::TempFolder folder;
  testsupport::WriteFile(folder / "pack.vnl", testsupport::RewrittenArchive({{"hscore.ini", "old table"}}));
  testsupport::WriteFile(folder / "added.txt", "added");
  testsupport::WriteFile(folder / "table.ini", "new table");
  tovak2d::Engine engine;
  ASSERT_TRUE(engine.Tovak2D_Start_OnlySound(nullptr, folder.path().string()));
  tovak2d::Extra extra;
  ASSERT_TRUE(extra.PAK_OpenPAK("pack.vnl"));

  ASSERT_TRUE(extra.PAK_AddFile("added.txt"));
  varnel_fault_arm(0, 0);
  ASSERT_TRUE(extra.PAK_DeleteFile("added.txt"));
  EXPECT_GE(varnel_fault_syncs(), 1) << "an archive rewritten without an entry";

  std::string why;
  varnel_fault_arm(0, 0);
  ASSERT_TRUE(extra.PAK_ReplaceEntry("pack.vnl", "table.ini", "hscore.ini", ".saving", why)) << why;
  EXPECT_GE(varnel_fault_syncs(), 1) << "an entry replaced through a copy";
  engine.Tovak2D_Unload();
}

}  // namespace
