#include <gtest/gtest.h>

#include "GameHarness.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "modRender.h"

namespace {

shelldata::Entries Pictures(const std::vector<std::string>& names) {
  shelldata::Entries entries = {{"packinfo.ini", shelldata::PackInfo("4", "True")},
                                {"picinfo.ini", shelldata::PicInfo(4)}};
  for (const auto& name : names) entries.emplace_back(name, shelldata::Bmp(16, 8, 10, 20, 30));
  return entries;
}

}  // namespace

// Either picture format, and a level that has both; a pair that cannot be read ends the game
// (PlayData.DamagedLevelData...).
TEST(ShellLevelLoading, TakesThePairOutOfThePackAndLeavesNothingBehind) {
  GameHarness game(true, shelldata::WithPacks({{"p.vnl", Pictures({"1.jpg", "1x.jpg", "2.bmp", "2x.bmp",
                                                                   "3.jpg", "3x.jpg", "3.bmp", "3x.bmp"})}}));
  ASSERT_TRUE(game.started);
  game.Pass();
  varnel::strPackFile = "p.vnl";
  varnel::intScreen = varnel::kScreenLevelStart;

  for (const std::string level : {"1", "2", "3"}) {
    varnel::strLevelPic = level;
    varnel::sngTimer = 123;
    varnel::bTimerOn = false;
    varnel::LoadLevel();
    EXPECT_TRUE(varnel::texOriginal && varnel::texModified) << level;
    EXPECT_EQ(varnel::intScreen, varnel::kScreenPlaying);
    EXPECT_EQ(varnel::sngTimer, 0);
    EXPECT_TRUE(varnel::bTimerOn);
    for (const char* ext : {".jpg", "x.jpg", ".bmp", "x.bmp"})
      EXPECT_FALSE(game.Has(level + ext)) << level + ext;
  }

  // A pack changed since the catalogue was made, with no pictures for a level: logged, and the game
  // goes on with empty pictures.
  varnel::strLevelPic = "4";
  varnel::LoadLevel();
  EXPECT_FALSE(varnel::texOriginal);
  EXPECT_NE(game.Read("log.txt").find("Error in LoadLevel : pack p.vnl has no picture pair for level 4"),
            std::string::npos);
}
