#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "GameHarness.h"
#include "ShellData.h"
#include "frmMain.h"
#include "modDeclares.h"

namespace fs = std::filesystem;

namespace {

// The process's current folder during a test: a game that worked relative to it would leave
// its files here.
class ElsewhereFolder : public testsupport::TempFolder {
 public:
  ElsewhereFolder() : previous(fs::current_path()) { fs::current_path(path()); }
  ~ElsewhereFolder() { fs::current_path(previous); }
  bool Empty() const { return fs::is_empty(path()); }
  fs::path previous;
};

}  // namespace

TEST(ShellAssets, StartupMakesEveryTextureAndLeavesNoExtractedFileBehind) {
  ElsewhereFolder elsewhere;
  GameHarness game(true, [](const fs::path& folder) {
    shelldata::EnsureInterface(folder);
    shelldata::Put(folder / "picinfo.ini", "[1]\r\n1Left=3\r\n");  // left over by an earlier run
  });
  ASSERT_TRUE(game.started);
  for (const auto& name : shelldata::InterfaceEntries()) EXPECT_FALSE(game.Has(name)) << name;
  EXPECT_FALSE(game.Has("picinfo.ini"));
  EXPECT_TRUE(elsewhere.Empty()) << "nothing is extracted into the current folder";

  for (const auto* texture : {&varnel::texBackGameH, &varnel::texMouse, &varnel::texButton, &varnel::texLogo,
                              &varnel::texParticles, &varnel::texVNL, &varnel::texFontDefault})
    EXPECT_TRUE(static_cast<bool>(*texture));
  EXPECT_FALSE(varnel::texOriginal) << "level pictures come with the level";

  game.Shutdown();
  EXPECT_FALSE(varnel::texMouse) << "textures are released at shutdown";
}

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
