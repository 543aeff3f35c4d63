#include <gtest/gtest.h>

#include <string>

#include "PlayHelpers.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "modGame.h"

// A failure the player must see on the screen: no playable pack. (Packs left out: ShellCatalogue; a
// damaged table and a score the pack could not take: PlayRank.)
namespace {

using tovak2d::DrawRecord;

// Every system-font text of the last pass that contains `part`.
std::vector<DrawRecord> TextsWith(const GameHarness& game, const std::string& part) {
  std::vector<DrawRecord> found;
  for (const DrawRecord& d : game.Draws())
    if (d.kind == DrawRecord::Kind::SystemText && d.text.find(part) != std::string::npos) found.push_back(d);
  return found;
}

}  // namespace

TEST(ShellFailuresShown, WithoutPlayablePacksTheHintAndTheLeftOutListScroll) {
  std::vector<std::pair<std::string, shelldata::Entries>> packs;
  auto empty = play::GoodPack(1, true, shelldata::Table({}));
  empty[0].second = shelldata::PackInfo("0", "True");
  for (int i = 0; i < 5; ++i) packs.emplace_back("Empty " + std::to_string(i) + ".vnl", empty);
  GameHarness game(true, shelldata::WithPacks(packs));
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_TRUE(varnel::PackFiles.empty());
  // (Both screens list what was left out: ShellCatalogue.)
  varnel::intScreen = varnel::kScreenHighScores;
  game.MoveMouse(790, 590);
  ASSERT_EQ(TextsWith(game, "No packs found").size(), 1u);
  ASSERT_NE(game.Text("Empty 0"), nullptr);
  EXPECT_EQ(game.Text("Empty 0")->Y, 175 + 20 * 5) << "below the hint and the heading";
  EXPECT_EQ(game.Text("Empty 4"), nullptr) << "below the panel until scrolled";
  EXPECT_NE(game.Text("1 - 13 of 25 (mouse wheel)"), nullptr);

  varnel::intPackScroll = 100;
  game.MoveMouse(790, 590);
  EXPECT_EQ(varnel::intPackScroll, 12);
  EXPECT_EQ(TextsWith(game, "No packs found").size(), 0u);
  ASSERT_NE(game.Text("Empty 4"), nullptr);
  EXPECT_EQ(game.Text("Empty 4")->Y, 175 + 20 * 9);
  EXPECT_EQ(TextsWith(game, "NumOfLevels 0 is outside").size(), 3u) << "entries 2, 3 and 4 show whole";
}
