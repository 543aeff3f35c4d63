#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

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
