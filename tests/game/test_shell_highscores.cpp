#include <gtest/gtest.h>

#include "GameHarness.h"
#include "ShellData.h"
#include "modDeclares.h"

using tovak2d::DrawRecord;

TEST(ShellHighScores, TheHoveredPacksTableAndAClickOnIt) {
  GameHarness game(
      true, shelldata::WithPacks(
                {{"one.vnl", shelldata::GoodPack(1, true, shelldata::Table({}))},
                 {"two.vnl",
                  shelldata::GoodPack(7, false, shelldata::Table({{"1250", "Ann"}, {"12.5", "Bob"}}))}}));
  ASSERT_TRUE(game.started);
  game.Pass();
  varnel::intScreen = varnel::kScreenHighScores;
  game.MoveMouse(300, 300);
  EXPECT_EQ(game.SpritesOf(varnel::texHighScorePacks).at(0).AlphaTransp, 90);
  EXPECT_EQ(game.SpritesOf(varnel::texHighScores).at(0).Y, 200);
  EXPECT_EQ(game.Text("1250"), nullptr) << "no row hovered, no table";

  game.MoveMouse(406, 196);  // just inside the top left corner of row 1
  EXPECT_EQ(varnel::intPackSel, 1);
  const DrawRecord* two = game.Text("two");
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(two->color, varnel::ARGB(255, 255, 255, 0));
  EXPECT_EQ(two->Width, 190);
  EXPECT_EQ(game.Text("one")->color, varnel::kWhite);

  const DrawRecord* first = game.Text("1250");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->X, 40);
  EXPECT_EQ(first->Y, 340);
  EXPECT_EQ(first->fontKey, "HighScores");
  EXPECT_EQ(first->color, varnel::ARGB(255, 230, 255, 255));
  EXPECT_EQ(game.Text("Ann")->X, 80);
  EXPECT_EQ(game.Text("12")->Y, 360) << "scores are stored as whole numbers";
  EXPECT_EQ(game.Text("Bob")->Y, 360);
  int zeros = 0;
  for (const auto& d : game.Draws())
    if (d.text == "0" && d.X == 40) ++zeros;
  EXPECT_EQ(zeros, 8) << "the empty ranks 3 to 10";

  game.Click(406, 196);
  EXPECT_EQ(varnel::strNumLevels, "7");
}
