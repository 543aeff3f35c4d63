#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "PlayHelpers.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "modGame.h"

// Failures the player must see on the screen: packs the start-up check left out, a damaged
// high-score table, a score the pack could not take; and the pack names as every screen shows
// them.
namespace {

namespace fs = std::filesystem;
using tovak2d::DrawRecord;

// Every system-font text of the last pass that contains `part`.
std::vector<DrawRecord> TextsWith(const GameHarness& game, const std::string& part) {
  std::vector<DrawRecord> found;
  for (const DrawRecord& d : game.Draws())
    if (d.kind == DrawRecord::Kind::SystemText && d.text.find(part) != std::string::npos) found.push_back(d);
  return found;
}

// Every system-font text of the last pass shows whole in its box.
void ExpectAllWhole(const GameHarness& game) {
  for (const DrawRecord& d : game.Draws()) {
    if (d.kind != DrawRecord::Kind::SystemText) continue;
    EXPECT_TRUE(d.textWidth <= d.boxWidth && d.textHeight <= d.boxHeight)
        << "\"" << d.text << "\" needs " << d.textWidth << " x " << d.textHeight << " in " << d.boxWidth
        << " x " << d.boxHeight;
  }
}

}  // namespace

TEST(ShellFailuresShown, PacksLeftOutAreNamedWithTheirFirstProblemOnBothPackScreens) {
  auto noPictures = shelldata::GoodPack(2, true, shelldata::Table({}));
  noPictures.resize(3);  // settings, rectangles and table, no picture
  auto badLayout = shelldata::GoodPack(1, true, shelldata::Table({}));
  badLayout[0].second = shelldata::PackInfo("1", "sideways");
  GameHarness game(true,
                   shelldata::WithPacks({{"Good.vnl", shelldata::GoodPack(1, true, shelldata::Table({}))},
                                         {"No Pictures.vnl", noPictures},
                                         {"Sideways.vnl", badLayout}}));
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_EQ(varnel::PackFiles, std::vector<std::string>{"Good.vnl"});
  const std::string log = game.Read("log.txt");
  EXPECT_NE(log.find("Pack left out : packs\\No Pictures.vnl : level 1: the picture pair is missing"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("; level 2: the picture pair is missing"), std::string::npos)
      << "the log keeps every problem";

  for (auto [screen, x] :
       {std::pair{varnel::kScreenStartGame, 360.0f}, {varnel::kScreenHighScores, 405.0f}}) {
    varnel::intScreen = screen;
    game.MoveMouse(790, 590);
    ASSERT_NE(game.Text("Good"), nullptr);
    const DrawRecord* heading = game.Text("Left out (see log.txt):");
    ASSERT_NE(heading, nullptr) << "screen " << screen;
    EXPECT_EQ(heading->X, x);
    EXPECT_EQ(heading->Y, 195) << "below the one pack row";
    const DrawRecord* name = game.Text("No Pictures");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->Y, 215);
    const DrawRecord* problem =
        game.Text("level 1: the picture pair is missing (1.jpg + 1x.jpg or 1.bmp + 1x.bmp)");
    ASSERT_NE(problem, nullptr) << "only the first problem";
    EXPECT_EQ(problem->Y, 235);
    EXPECT_EQ(problem->fontKey, "small");
    ASSERT_NE(game.Text("Sideways"), nullptr);
    EXPECT_EQ(game.Text("Sideways")->Y, 295);
    EXPECT_NE(game.Text("packinfo.ini: Vertical \"sideways\" is not True or False"), nullptr);
    ExpectAllWhole(game);

    // A row of the left-out part is no pack: hovering or clicking it starts nothing.
    game.Click(static_cast<int>(x) + 5, 215 + 9);
    EXPECT_EQ(varnel::intScreen, screen);
  }
}

TEST(ShellFailuresShown, WithoutPlayablePacksTheHintAndTheLeftOutListScroll) {
  std::vector<std::pair<std::string, shelldata::Entries>> packs;
  auto empty = shelldata::GoodPack(1, true, shelldata::Table({}));
  empty[0].second = shelldata::PackInfo("0", "True");
  for (int i = 0; i < 5; ++i) packs.emplace_back("Empty " + std::to_string(i) + ".vnl", empty);
  GameHarness game(true, shelldata::WithPacks(packs));
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_TRUE(varnel::PackFiles.empty());
  for (auto screen : {varnel::kScreenStartGame, varnel::kScreenHighScores}) {
    varnel::intScreen = screen;
    varnel::intPackScroll = 0;
    game.MoveMouse(790, 590);
    ASSERT_EQ(TextsWith(game, "No packs found").size(), 1u);
    ExpectAllWhole(game);
    EXPECT_NE(game.Text("Empty 0"), nullptr);
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
    ExpectAllWhole(game);
  }
}

TEST(ShellFailuresShown, ADamagedTableIsReadOnceAndSaidSoOnTheHighScoresScreen) {
  GameHarness game(true, shelldata::WithPacks(
                             {{"Good.vnl", shelldata::GoodPack(1, true, shelldata::Table({{"1250", "Ann"}}))},
                              {"Torn.vnl", shelldata::GoodPack(1, true, "[setup]\r\nTopX=ten\r\n")}}));
  ASSERT_TRUE(game.started);
  game.Pass();
  varnel::intScreen = varnel::kScreenHighScores;
  for (int round = 0; round < 3; ++round) {
    game.MoveMouse(410, 195 + 9);  // Torn
    EXPECT_EQ(varnel::intPackSel, 1);
    game.Pass(50);
    EXPECT_NE(game.Text("this pack's table cannot be read"), nullptr);
    EXPECT_EQ(TextsWith(game, "0").size(), 0u) << "no rows of zeros";
    game.MoveMouse(410, 175 + 9);  // Good, in between
    EXPECT_NE(game.Text("1250"), nullptr);
    EXPECT_NE(game.Text("Ann"), nullptr);
  }
  EXPECT_EQ(play::Occurrences(game.Read("log.txt"), "Error in loading HighScores"), 1u)
      << game.Read("log.txt");
}

TEST(ShellFailuresShown, AScoreThePackCannotTakeIsShownAndKeptForTheNextSave) {
  const play::TestPack pack{"Garden.vnl", true, {play::PlainLevel()}, play::FullTable()};
  play::PlaySession session({pack});
  const fs::path packFile = session.game.folder / "packs" / "Garden.vnl";
  const std::string before = shelldata::Bytes(packFile);
  // The pack is rewritten in a copy beside it; a folder in the copy's place makes the rewrite fail
  // as a full disk would.
  shelldata::Put(session.game.folder / "packs" / "Garden.vnl.saving" / "in the way", "x");
  session.ChoosePack("Garden.vnl");
  session.WinAndSubmit(pack.levels[0]);
  const std::string score = varnel::SingleText(varnel::sngScore);
  ASSERT_EQ(varnel::intScreen, varnel::kScreenNameEntry);
  session.game.PressKey(SDL_SCANCODE_RETURN);
  ASSERT_EQ(varnel::intScreen, varnel::kScreenHighScores);
  session.game.Pass();
  EXPECT_NE(session.game.Text("Your score of " + score +
                              " could not be stored: the pack file cannot be rewritten (it may be read-only, "
                              "or the disk full)."),
            nullptr);
  EXPECT_EQ(shelldata::Bytes(packFile), before) << "the pack file is untouched";
  EXPECT_NE(session.Log().find(
                "Error in SavePackScore : the high scores could not be written into pack Garden.vnl"),
            std::string::npos);

  // Another menu screen clears the notice.
  session.ClickMenu(2);  // Options
  EXPECT_TRUE(varnel::strScoreNotice.empty());

  // The table copy keeps the score; once the pack can be rewritten, the save at the end stores it.
  fs::remove_all(session.game.folder / "packs" / "Garden.vnl.saving");
  session.game.Shutdown();
  EXPECT_NE(shelldata::Bytes(packFile).find("Varnel X"), std::string::npos);
}

TEST(ShellFailuresShown, EveryScreenNamesAPackTheSameWayAndThePlayScreenInCapitals) {
  const std::string file = "Caf\xE9 \xE0 la cr\xE8me \x9Cuvre \xFF.d.vnl";
  const play::TestPack pack{file, false, {play::PlainLevel()}};
  play::PlaySession session({pack});
  varnel::intScreen = varnel::kScreenStartGame;
  session.game.MoveMouse(790, 590);
  const std::string shown = "Caf\xE9 \xE0 la cr\xE8me \x9Cuvre \xFF.d";
  EXPECT_NE(session.game.Text(shown), nullptr);
  varnel::intScreen = varnel::kScreenHighScores;
  session.game.MoveMouse(790, 590);
  EXPECT_NE(session.game.Text(shown), nullptr);
  session.ChoosePack(file);
  session.game.Pass();
  const DrawRecord* title = session.game.Text("CAF\xC9 \xC0 LA CR\xC8ME \x8CUVRE \x9F.D");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->fontKey, "titleS");
}
