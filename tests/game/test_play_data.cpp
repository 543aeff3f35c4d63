// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <set>

#include "PlayHelpers.h"
#include "modDeclares.h"
#include "modRender.h"

using namespace varnel;

// Draws made one right after another, within one tick of any clock, still differ; a seed repeats them.
TEST(PlayData, RandomDrawsDifferWithinOneTick) {
  std::set<double> draws;
  for (int i = 0; i < 1000; ++i) {
    const double r = Rnd();
    ASSERT_TRUE(r >= 0.0 && r < 1.0) << r;
    draws.insert(r);
  }
  EXPECT_GT(draws.size(), 990u);
  SeedRandom(7);
  const double first = Rnd();
  SeedRandom(7);
  EXPECT_EQ(Rnd(), first);
}

TEST(PlayData, LevelsComeInRandomOrderWithoutRepeats) {
  std::vector<play::TestLevel> levels(5, play::PlainLevel());
  levels[3].caption = "one[e]two[e][e]four";
  const play::TestPack pack{"Five.vnl", true, levels};
  play::PlaySession session({pack});
  session.ChoosePack("Five.vnl");
  ASSERT_EQ(intScreen, kScreenLevelStart);

  std::set<std::string> seen{strLevelPic};
  const std::string first = strLevelPic;
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(PickLevel());
    EXPECT_TRUE(seen.insert(strLevelPic).second) << "level " << strLevelPic << " came twice";
  }
  EXPECT_EQ(seen, (std::set<std::string>{"1", "2", "3", "4", "5"}));
  EXPECT_FALSE(PickLevel()) << "every level was played";
  EXPECT_NE(session.Log().find("Error in PickLevel : every level of Five.vnl was played in this game"),
            std::string::npos);

  // Level 4: its caption breaks at every [e].
  ResetLevelsUsed();
  for (int n : {1, 2, 3, 5}) LevelUsed[n] = true;
  ASSERT_TRUE(PickLevel());
  ASSERT_EQ(strLevelPic, "4");
  session.game.Pass();
  const auto* caption = session.game.Text("one\r\ntwo\r\n\r\nfour");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->Y, 125);
}

TEST(PlayData, DamagedLevelDataEndsTheGameWithAMessage) {
  const play::TestPack pack{"Broken.vnl", true, {play::PlainLevel()}};
  play::PlaySession session({pack});

  // The pack changes after the catalogue was made: a rectangle value is no number any more.
  auto rewrite = [&](const std::string& picinfo, const std::string& modified) {
    const shelldata::Entries entries{{"packinfo.ini", "[General]\r\nNumOfLevels=1\r\nVertical=True\r\n"},
                                     {"picinfo.ini", "[1]\r\n" + picinfo},
                                     {"1.bmp", shelldata::Bmp(256, 380, 60, 90, 120)},
                                     {"1x.bmp", modified}};
    shelldata::WritePack(session.game.folder, "Broken.vnl", entries);
  };
  std::string keys = play::RectKeys(pack.levels[0]);
  rewrite(std::string(keys).replace(keys.find("2Left=60"), 8, "2Left=abc"),
          shelldata::Bmp(256, 380, 60, 160, 120));
  session.ChoosePack("Broken.vnl");
  EXPECT_EQ(intScreen, kScreenHighScores);
  EXPECT_NE(
      session.Log().find("Error in LoadPicInfo : level 1 of Broken.vnl: 2Left is \"abc\", not a number"),
      std::string::npos)
      << session.Log();

  // A picture that is in the pack but cannot be decoded: the game stops at START.
  rewrite(keys, shelldata::Bmp(256, 380, 60, 160, 120).substr(0, 30));
  session.ChoosePack("Broken.vnl");
  ASSERT_EQ(intScreen, kScreenLevelStart);
  session.PressStart();
  EXPECT_EQ(intScreen, kScreenHighScores);
  EXPECT_FALSE(bTimerOn);
  EXPECT_NE(
      session.Log().find("Error in LoadLevel : picture 1x (.jpg or .bmp) of Broken.vnl is missing or cannot "
                         "be read"),
      std::string::npos)
      << session.Log();
  for (const char* leftOver : {"1.bmp", "1x.bmp", "1.jpg", "1x.jpg"})
    EXPECT_FALSE(session.game.Has(leftOver));

  // Either picture format, and a level that has both, loads with nothing left extracted; a level
  // without pictures (the pack changed since the catalogue was made) is logged and played without.
  shelldata::Entries entries = {
      {"packinfo.ini", shelldata::PackInfo("4", "True")},
      {"picinfo.ini", play::PicInfo(std::vector<play::TestLevel>(4, play::PlainLevel()))}};
  for (const char* name : {"1.jpg", "1x.jpg", "2.bmp", "2x.bmp", "3.jpg", "3x.jpg", "3.bmp", "3x.bmp"})
    entries.emplace_back(name, shelldata::Bmp(16, 8, 10, 20, 30));
  shelldata::WritePack(session.game.folder, "Broken.vnl", entries);
  strPackFile = "Broken.vnl";
  for (const std::string level : {"1", "2", "3"}) {
    strLevelPic = level;
    sngTimer = 123;
    bTimerOn = false;
    LoadLevel();
    EXPECT_TRUE(texOriginal && texModified) << level;
    EXPECT_EQ(intScreen, kScreenPlaying);
    EXPECT_EQ(sngTimer, 0);
    EXPECT_TRUE(bTimerOn);
    for (const char* ext : {".jpg", "x.jpg", ".bmp", "x.bmp"}) EXPECT_FALSE(session.game.Has(level + ext));
  }
  strLevelPic = "4";
  LoadLevel();
  EXPECT_FALSE(texOriginal);
  EXPECT_NE(session.Log().find("Error in LoadLevel : pack Broken.vnl has no picture pair for level 4"),
            std::string::npos);
}
