// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "GameHarness.h"
#include "ShellData.h"
#include "frmMain.h"
#include "modDeclares.h"

namespace fs = std::filesystem;

// A game that cannot start ends in order: the player is told why, the log says it and ends, the
// window is closed and no picture is left extracted. (A graphics device refused: the menus script.)
TEST(ShellAssets, AGameThatCannotStartEndsInOrderWithAMessage) {
  const struct {
    bool withData;
    std::function<void(const fs::path&)> prepare;
    std::string said, logged;
  } cases[] = {
      {false, nullptr, "game data/pictures.vnl is missing", "Error in LoadTextures : The picture archive"},
      {true, [](const fs::path& folder) { shelldata::WriteInterfaceArchive(folder, "clue.dds"); },
       "lacks clue.dds.", "lacks clue.dds."},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    GameHarness game(c.withData, c.prepare);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(game.started);
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    EXPECT_EQ(varnel::frmMain::hWnd(), nullptr) << "the window is closed";
    const std::string log = game.Read("log.txt");
    EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    EXPECT_EQ(log.substr(log.size() - 19), "APPLICATION ENDED\r\n");
    for (const auto& name : shelldata::InterfaceEntries()) EXPECT_FALSE(game.Has(name)) << name;
  }
}
