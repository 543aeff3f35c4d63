#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "GameHarness.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "modMain.h"

namespace fs = std::filesystem;

// A child process saves score after score into a pack and is killed at some moment of it: the
// pack is always whole, holding every entry once, its table one of those saved.
TEST(ShellSaveKill, APackKilledDuringASaveIsTheOldOrTheNewOneWhole) {
  const shelldata::Entries pack = shelldata::GoodPack(3, true, shelldata::Table({{"1", "Start"}}));
  GameHarness game(true, [&](const fs::path& folder) {
    shelldata::EnsureInterface(folder);
    shelldata::OnlyPacks(folder, {{"p.vnl", pack}});
  });
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_EQ(varnel::PackFiles.size(), 1u);

  for (int round = 0; round < 12; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int score = 2; score < 100000; ++score) {
        shelldata::Put(game.folder / "0hscore.ini", shelldata::Table({{std::to_string(score), "Kim"}}));
        varnel::SavePackScore(0);
      }
      _exit(0);
    }
    usleep(static_cast<useconds_t>(3000 + 7919 * round % 40000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    ASSERT_TRUE(varnel::oExtra->PAK_OpenPAK("\\packs\\p.vnl")) << round;
    EXPECT_EQ(varnel::oExtra->PAK_FileCount(), static_cast<int16_t>(pack.size())) << round;
    for (const auto& [name, contents] : pack) {
      ASSERT_TRUE(varnel::oExtra->PAK_ExtractFile(name, "check.out")) << round << " " << name;
      const std::string extracted = game.Read("check.out");
      if (name == "hscore.ini")
        EXPECT_NE(extracted.find("_name="), std::string::npos) << round;
      else
        EXPECT_EQ(extracted, contents) << round << " " << name;
    }
  }
}

// What a program killed half-way through a save or a level loading leaves: the engine's unfinished
// replacement of a table copy, of the options and of a pack being rewritten (itself a readable
// pack), the rewritten copy of a pack, a level's picture pair and description. The next start
// removes them all, lists only the real pack, and keeps files that merely look alike.
TEST(ShellSaveKill, TheNextStartRemovesWhatAStoppedRunLeftAndListsOnlyRealPacks) {
  const shelldata::Entries pack = shelldata::GoodPack(2, true, shelldata::Table({{"50", "Ann"}}));
  const std::string packBytes = shelldata::Archive(pack);
  const std::vector<std::string> leftovers = {"0hscore.ini.tmp-4242",
                                              "game data/options.ini.tmp-17",
                                              "packs/p.vnl.saving.tmp-4242",
                                              "packs/p.vnl.saving",
                                              "1.bmp",
                                              "1x.bmp",
                                              "50.jpg",
                                              "50x.jpg",
                                              "picinfo.ini"};
  const std::vector<std::string> kept = {"notes.tmp-", "notes.tmp-12a",   "game data/tmp-3",
                                         "51.jpg",     "screenshot1.bmp", "packs/q.vnl.tmp-draft"};
  GameHarness game(true, [&](const fs::path& folder) {
    shelldata::EnsureInterface(folder);
    shelldata::OnlyPacks(folder, {{"p.vnl", pack}});
    for (const auto& name : leftovers) shelldata::Put(folder / name, packBytes);
    for (const auto& name : kept) shelldata::Put(folder / name, packBytes);
  });
  ASSERT_TRUE(game.started);
  game.Pass();

  for (const auto& name : leftovers) EXPECT_FALSE(game.Has(name)) << name;
  for (const auto& name : kept) EXPECT_TRUE(game.Has(name)) << name;
  std::vector<std::string> listed = varnel::PackFiles;
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"p.vnl", "q.vnl.tmp-draft"}))
      << "a pack whose name only looks like an unfinished save is still offered";
  EXPECT_EQ(shelldata::Bytes(game.folder / "packs" / "p.vnl"), packBytes);
  EXPECT_NE(game.Read("log.txt").find("Removed an unfinished save"), std::string::npos);
}
