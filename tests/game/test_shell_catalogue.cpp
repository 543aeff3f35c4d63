// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "GameHarness.h"
#include "PlayHelpers.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"

namespace fs = std::filesystem;
using play::GoodPack;
using shelldata::Entries;
using shelldata::Table;
using shelldata::WithPacks;
using tovak2d::DrawRecord;

namespace {

const std::string kTableA = Table({{"1250", "Ann"}, {"300", "Bob"}});

const DrawRecord* Row(const GameHarness& game, const std::string& name) {
  const DrawRecord* row = game.Text(name);
  return row && row->fontKey == "titleS" ? row : nullptr;
}

// Every system-font text of the last pass that contains `part`.
std::vector<DrawRecord> TextsWith(const GameHarness& game, const std::string& part) {
  std::vector<DrawRecord> found;
  for (const DrawRecord& d : game.Draws())
    if (d.kind == DrawRecord::Kind::SystemText && d.text.find(part) != std::string::npos) found.push_back(d);
  return found;
}

}  // namespace

TEST(ShellCatalogue, ShutdownPutsBackOnlyChangedTablesAndRemovesTheCopies) {
  const Entries alpha = GoodPack(2, true, kTableA);
  const Entries beta = GoodPack(2, false, Table({}));
  Entries noTable = GoodPack(1, true, "");
  testsupport::RemoveEntry(noTable, "hscore.ini");
  GameHarness game(true, [&](const fs::path& folder) {
    WithPacks({{"alpha.vnl", alpha}, {"beta.vnl", beta}, {"gamma.vnl", alpha}})(folder);
    shelldata::WritePack(folder, "x.vnl", noTable);
    shelldata::WritePack(folder, "y.vnl", noTable);
    shelldata::Put(folder / "1hscore.ini", "stale copy of an earlier run");
    shelldata::Put(folder / "7packinfo.ini", "stale copy of a pack since removed");
    shelldata::Put(folder / "packs" / "own.vnl.saving", "not a save of ours");
  });
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_EQ(varnel::PackFiles.size(), 5u);
  EXPECT_EQ(varnel::PackFiles[3], "x.vnl");
  EXPECT_EQ(game.Read("1hscore.ini"), Table({}));
  EXPECT_FALSE(game.Has("7packinfo.ini"));
  EXPECT_TRUE(game.Has("packs/own.vnl.saving")) << "no pack of that name: no save of ours";

  // A pack without a table gets a copy when the High Scores screen shows it,
  // and a table in the pack only with a score.
  EXPECT_FALSE(game.Has("3hscore.ini"));
  varnel::intScreen = varnel::kScreenHighScores;
  game.MoveMouse(500, 175 + 20 * 3 + 9);
  game.MoveMouse(500, 175 + 20 * 4 + 9);
  EXPECT_TRUE(game.Has("3hscore.ini"));
  shelldata::Put(game.folder / "4hscore.ini", Table({{"10", "Fay"}}));

  // A score entered goes into its pack at once, whole.
  const std::string updated = Table({{"2000", "Cy"}, {"1250", "Ann"}, {"300", "Bob"}});
  shelldata::Put(game.folder / "0hscore.ini", updated);
  varnel::SavePackScore(0);
  const std::string packNow = shelldata::Bytes(game.folder / "packs/alpha.vnl");
  EXPECT_NE(packNow.find(updated), std::string::npos);
  EXPECT_EQ(packNow.find(kTableA), std::string::npos);
  EXPECT_NE(packNow.find("packinfo.ini"), std::string::npos) << "the other entries stay";
  EXPECT_FALSE(game.Has("packs/alpha.vnl.saving"));

  // A copy changed without a save is put back at shutdown; a missing copy is
  // skipped.
  const std::string changed = Table({{"99", "Dee"}});
  shelldata::Put(game.folder / "2hscore.ini", changed);
  fs::remove(game.folder / "1hscore.ini");
  shelldata::Put(game.folder / "picinfo.ini", "[1]\r\n");
  const auto betaTime = fs::last_write_time(game.folder / "packs/beta.vnl");
  const auto alphaTime = fs::last_write_time(game.folder / "packs/alpha.vnl");
  game.Shutdown();
  EXPECT_NE(shelldata::Bytes(game.folder / "packs/gamma.vnl").find(changed), std::string::npos);
  EXPECT_EQ(shelldata::Bytes(game.folder / "packs/beta.vnl"), shelldata::Archive(beta));
  EXPECT_EQ(fs::last_write_time(game.folder / "packs/beta.vnl"), betaTime) << "unchanged, untouched";
  EXPECT_EQ(fs::last_write_time(game.folder / "packs/alpha.vnl"), alphaTime) << "already saved";
  EXPECT_EQ(shelldata::Bytes(game.folder / "packs/x.vnl"), shelldata::Archive(noTable));
  EXPECT_NE(shelldata::Bytes(game.folder / "packs/y.vnl").find("1_name=Fay"), std::string::npos);
  for (const char* copy :
       {"0packinfo.ini", "0hscore.ini", "1packinfo.ini", "2packinfo.ini", "2hscore.ini", "picinfo.ini"})
    EXPECT_FALSE(game.Has(copy)) << copy;
}

TEST(ShellCatalogue, ALongListIsClippedToThePanelAndScrollsWithTheWheel) {
  std::vector<std::pair<std::string, Entries>> packs;
  for (int i = 0; i < 20; ++i)
    packs.emplace_back((i < 10 ? "pack0" : "pack") + std::to_string(i) + ".vnl",
                       GoodPack(1, false, Table({})));
  GameHarness game(true, WithPacks(packs));
  ASSERT_TRUE(game.started);
  game.Pass();
  varnel::intScreen = varnel::kScreenStartGame;
  game.MoveMouse(500, 177);

  auto rowsShown = [&] {
    std::vector<std::string> rows;
    for (const auto& d : game.Draws())
      if (d.kind == DrawRecord::Kind::SystemText && d.X == 360 && d.Height == 18) rows.push_back(d.text);
    return rows;
  };
  ASSERT_EQ(rowsShown().size(), 13u);
  EXPECT_EQ(rowsShown().front(), "pack00");
  EXPECT_NE(game.Text("1 - 13 of 20 (mouse wheel)"), nullptr);

  game.Wheel(-3);  // towards the player: further down the list
  ASSERT_EQ(rowsShown().size(), 13u);
  EXPECT_EQ(rowsShown().front(), "pack03");
  EXPECT_EQ(varnel::intPackSel, 3) << "the row under the mouse is the fourth pack now";

  game.Wheel(-30);
  EXPECT_EQ(rowsShown().front(), "pack07") << "no further than the last row";
  EXPECT_EQ(rowsShown().back(), "pack19");
  EXPECT_NE(game.Text("8 - 20 of 20 (mouse wheel)"), nullptr);
}

// A name in UTF-8 is shown in the game's 8-bit text and saved into the same
// file. A name in 8-bit bytes is shown alike by every screen, the play screen
// in capitals (œ and ÿ have theirs in 0x80-0x9F).
TEST(ShellCatalogue, APackNameOutsideAsciiIsSavedIntoTheSameFile) {
  const std::string eightBit = "\x9Cuvre \xE0 \xFF.d";
  GameHarness game(true, WithPacks({{"Caf\xC3\xA9.vnl", GoodPack(1, true, kTableA)},
                                    {eightBit + ".vnl", GoodPack(1, false, kTableA)}}));
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_EQ(varnel::PackFiles.size(), 2u);
  const auto cafe = std::find(varnel::PackFiles.begin(), varnel::PackFiles.end(), "Caf\xE9.vnl");
  ASSERT_NE(cafe, varnel::PackFiles.end()) << "names are the game's 8-bit text";
  const std::string updated = Table({{"7", "Eve"}});
  shelldata::Put(game.folder / (std::to_string(cafe - varnel::PackFiles.begin()) + "hscore.ini"), updated);
  varnel::SavePackScore(static_cast<int16_t>(cafe - varnel::PackFiles.begin()));
  EXPECT_NE(shelldata::Bytes(game.folder / "packs" / "Caf\xC3\xA9.vnl").find(updated), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(game.folder / "packs"), {}), 2) << "no other file";

  for (auto screen : {varnel::kScreenStartGame, varnel::kScreenHighScores}) {
    varnel::intScreen = screen;
    game.MoveMouse(790, 590);
    EXPECT_NE(Row(game, eightBit), nullptr) << screen;
  }
  varnel::intPackSel = static_cast<int16_t>(cafe == varnel::PackFiles.begin() ? 1 : 0);
  varnel::NewGame();
  game.Pass();
  const DrawRecord* title = game.Text("\x8CUVRE \xC0 \x9F.D");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->fontKey, "titleS");
}

// Packs the start-up check leaves out: one log line each with every problem, untouched, and listed on
// both pack screens below the playable ones with their first problem, as rows that start nothing.
// (Each kind of problem the check finds: PackCheckTest.) The playable ones: the hovered row is selected
// and shows the pack's information (Start Game) or its table (High Scores); a click on a row of the
// high-score list chooses that pack. (The rows' colours: the menus script.)
TEST(ShellCatalogue, PacksThatCannotBePlayedStayOutWithOneLogLineEach) {
  const Entries good = GoodPack(2, false, kTableA);
  Entries noPictures = good;
  noPictures.resize(3);  // settings, rectangles and table, no picture
  const std::vector<std::pair<std::string, Entries>> broken = {{"A pack without pictures.vnl", noPictures},
                                                               {"ab", good}};
  std::vector<std::pair<std::string, Entries>> packs = broken;
  packs.emplace_back("alpha.vnl", GoodPack(3, true, kTableA, "First line[e]Second line"));
  packs.emplace_back("beta.vnl", GoodPack(7, false, Table({{"990", "Cy"}, {"12.5", "Dee"}})));
  GameHarness game(true, [&](const fs::path& folder) {
    WithPacks(packs)(folder);
    shelldata::Put(folder / "packs" / "not a pack.vnl", "just some text");
  });
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_EQ(varnel::PackFiles, (std::vector<std::string>{"alpha.vnl", "beta.vnl"}));
  EXPECT_FALSE(game.Has("2packinfo.ini"));
  EXPECT_EQ(game.Read("0hscore.ini"), kTableA) << "the table's copy the screens read";

  // One line for each, with every problem.
  const std::string log = game.Read("log.txt");
  EXPECT_EQ(play::Occurrences(log, "Pack left out : "), broken.size() + 1);
  EXPECT_NE(log.find("Pack left out : packs\\A pack without pictures.vnl : level 1: the picture pair is "
                     "missing (1.jpg + 1x.jpg or 1.bmp + 1x.bmp); level 2: the picture pair is missing"),
            std::string::npos)
      << log;

  for (auto [screen, x] :
       {std::pair{varnel::kScreenStartGame, 360.0f}, {varnel::kScreenHighScores, 405.0f}}) {
    varnel::intScreen = screen;
    game.MoveMouse(790, 590);
    ASSERT_NE(game.Text("Left out (see log.txt):"), nullptr) << "screen " << screen;
    EXPECT_EQ(Row(game, "ab"), nullptr) << "shown as left out, not as a pack row";
    const DrawRecord* problem =
        game.Text("level 1: the picture pair is missing (1.jpg + 1x.jpg or 1.bmp + 1x.bmp)");
    ASSERT_NE(problem, nullptr) << "only the first problem";
    EXPECT_EQ(problem->X, x);
    EXPECT_EQ(problem->Y, 255) << "below the two pack rows, the heading and the pack's name";
    game.Click(static_cast<int>(x) + 5, 235 + 9);  // a left-out row
    EXPECT_EQ(varnel::intScreen, screen);
  }

  varnel::intScreen = varnel::kScreenStartGame;
  game.MoveMouse(500, 190);  // the bottom edge of row 0
  EXPECT_EQ(varnel::intPackSel, 0);
  ASSERT_NE(game.Text("Vertical"), nullptr);
  EXPECT_EQ(game.Text("3")->Y, 375);
  EXPECT_NE(game.Text("First line\r\nSecond line"), nullptr);
  game.MoveMouse(500, 500);
  EXPECT_EQ(varnel::intPackSel, 0) << "the last hovered pack stays selected";

  varnel::intScreen = varnel::kScreenHighScores;
  game.MoveMouse(406, 196);  // just inside the top left corner of row 1
  EXPECT_EQ(varnel::intPackSel, 1);
  const DrawRecord* first = game.Text("990");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Y, 340);
  EXPECT_EQ(game.Text("12")->Y, 360) << "scores are stored as whole numbers";
  game.Click(406, 196);
  EXPECT_EQ(varnel::strNumLevels, "7");

  game.Shutdown();
  for (const auto& [name, entries] : broken)
    EXPECT_EQ(shelldata::Bytes(game.folder / "packs" / name), shelldata::Archive(entries)) << name;
  EXPECT_EQ(shelldata::Bytes(game.folder / "packs" / "not a pack.vnl"), "just some text");
}

// What a program killed half-way through a save or a level loading leaves: the
// engine's unfinished replacement of a table copy, of the options and of a pack
// being rewritten (itself a readable pack), the rewritten copy of a pack, a
// level's picture pair and description. The next start removes them all, lists
// only the real pack, and keeps files that merely look alike.
TEST(ShellCatalogue, TheNextStartRemovesWhatAStoppedRunLeftAndListsOnlyRealPacks) {
  const std::string packBytes = shelldata::Archive(GoodPack(2, true, Table({{"50", "Ann"}})));
  const std::vector<std::string> leftovers = {"0hscore.ini.tmp-4242",
                                              "game data/options.ini.tmp-17",
                                              "packs/p.vnl.saving.tmp-4242",
                                              "packs/p.vnl.saving",
                                              "1x.bmp",
                                              "50.jpg",
                                              "picinfo.ini"};
  const std::vector<std::string> kept = {"notes.tmp-12a", "game data/tmp-3", "51.jpg", "screenshot1.bmp",
                                         "packs/q.vnl.tmp-draft"};
  GameHarness game(true, [&](const fs::path& folder) {
    WithPacks({})(folder);
    shelldata::Put(folder / "packs" / "p.vnl", packBytes);
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
      << "a pack whose name only looks like an unfinished save is still "
         "offered";
  EXPECT_EQ(shelldata::Bytes(game.folder / "packs" / "p.vnl"), packBytes);
  EXPECT_NE(game.Read("log.txt").find("Removed an unfinished save"), std::string::npos);
}

// No playable pack: the hint, and the list of what was left out scrolls.
TEST(ShellCatalogue, WithoutPlayablePacksTheHintAndTheLeftOutListScroll) {
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
