#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "GameHarness.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "modMain.h"

namespace fs = std::filesystem;
using shelldata::Entries;
using shelldata::WithPacks;
using tovak2d::DrawRecord;

namespace {

const std::string kTableA = shelldata::Table({{"1250", "Ann"}, {"300", "Bob"}});

// The rectangles of two levels with level 2's 3Top no number.
std::string GarbledLevel2() {
  std::string picInfo = shelldata::PicInfo(2);
  picInfo.replace(picInfo.rfind("3Top=90"), 7, "3Top=x");
  return picInfo;
}

const DrawRecord* Row(const GameHarness& game, const std::string& name) {
  const DrawRecord* row = game.Text(name);
  return row && row->fontKey == "titleS" ? row : nullptr;
}

}  // namespace

TEST(ShellCatalogue, CopiesListRowsAndThePackInformation) {
  GameHarness game(
      true, WithPacks({{"alpha.vnl", shelldata::GoodPack(3, true, kTableA, "First line[e]Second line")},
                       {"beta.vnl", shelldata::GoodPack(2, false, shelldata::Table({}))}}));
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_EQ(varnel::PackFiles, (std::vector<std::string>{"alpha.vnl", "beta.vnl"}));
  for (const char* copy : {"0packinfo.ini", "0hscore.ini", "1packinfo.ini", "1hscore.ini"})
    EXPECT_TRUE(game.Has(copy)) << copy;
  EXPECT_EQ(game.Read("0hscore.ini"), kTableA);

  varnel::intScreen = varnel::kScreenStartGame;
  game.MoveMouse(500, 190);  // the bottom edge of row 0
  const DrawRecord* alpha = Row(game, "alpha");
  const DrawRecord* beta = Row(game, "beta");
  ASSERT_NE(alpha, nullptr);
  ASSERT_NE(beta, nullptr);
  EXPECT_EQ(alpha->Y, 175);
  EXPECT_EQ(beta->Y, 195);
  EXPECT_EQ(alpha->X, 360);
  EXPECT_EQ(alpha->Width, 305);
  EXPECT_EQ(alpha->color, varnel::ARGB(255, 100, 255, 100));
  EXPECT_EQ(beta->color, varnel::kWhite);
  EXPECT_EQ(varnel::intPackSel, 0);
  ASSERT_NE(game.Text("Vertical"), nullptr);
  EXPECT_EQ(game.Text("3")->Y, 375);
  EXPECT_EQ(game.Text("1250")->X, 40);
  EXPECT_EQ(game.Text("Ann")->X, 80);
  EXPECT_EQ(game.Text("First line\r\nSecond line")->Width, 375);
  EXPECT_EQ(game.Text("Pack layout")->color, varnel::ARGB(255, 50, 250, 50));
  EXPECT_EQ(varnel::strNumLevels, "3");
  EXPECT_EQ(game.SpritesOf(varnel::texNewGameSel).at(0).AlphaTransp, 70);

  game.MoveMouse(500, 196);
  EXPECT_EQ(varnel::intPackSel, 1);
  EXPECT_EQ(Row(game, "beta")->color, varnel::ARGB(255, 100, 255, 100));
  ASSERT_NE(game.Text("Horizontal"), nullptr);
  EXPECT_EQ(game.Text("2")->Y, 375);

  game.MoveMouse(500, 500);
  EXPECT_EQ(varnel::intPackSel, 1) << "the last hovered pack stays selected";
  EXPECT_EQ(game.Text("Pack layout"), nullptr) << "no row hovered, no information";
  EXPECT_EQ(game.SpritesOf(varnel::texPackInfo).size(), 1u);
}

TEST(ShellCatalogue, ShutdownPutsBackOnlyChangedTablesAndRemovesTheCopies) {
  const Entries alpha = shelldata::GoodPack(2, true, kTableA);
  const Entries beta = shelldata::GoodPack(2, false, shelldata::Table({}));
  GameHarness game(true, [&](const fs::path& folder) {
    WithPacks({{"alpha.vnl", alpha}, {"beta.vnl", beta}, {"gamma.vnl", alpha}})(folder);
    shelldata::Put(folder / "1hscore.ini", "stale copy of an earlier run");
    shelldata::Put(folder / "7packinfo.ini", "stale copy of a pack since removed");
    shelldata::Put(folder / "packs" / "beta.vnl.saving", "half a pack");
    shelldata::Put(folder / "packs" / "own.vnl.saving", "not a save of ours");
  });
  ASSERT_TRUE(game.started);
  game.Pass();
  EXPECT_FALSE(game.Has("packs/beta.vnl.saving")) << "an unfinished save is cleared away";
  EXPECT_TRUE(game.Has("packs/own.vnl.saving")) << "no pack of that name: not ours";
  EXPECT_EQ(varnel::PackFiles.size(), 3u);
  EXPECT_EQ(game.Read("1hscore.ini"), shelldata::Table({}));
  EXPECT_FALSE(game.Has("7packinfo.ini"));

  // A score entered goes into its pack at once, whole.
  const std::string updated = shelldata::Table({{"2000", "Cy"}, {"1250", "Ann"}, {"300", "Bob"}});
  shelldata::Put(game.folder / "0hscore.ini", updated);
  varnel::SavePackScore(0);
  const std::string packNow = shelldata::Bytes(game.folder / "packs/alpha.vnl");
  EXPECT_NE(packNow.find(updated), std::string::npos);
  EXPECT_EQ(packNow.find(kTableA), std::string::npos);
  EXPECT_NE(packNow.find("packinfo.ini"), std::string::npos) << "the other entries stay";
  EXPECT_FALSE(game.Has("packs/alpha.vnl.saving"));

  // A copy changed without a save is put back at shutdown; a missing copy is skipped.
  const std::string changed = shelldata::Table({{"99", "Dee"}});
  shelldata::Put(game.folder / "2hscore.ini", changed);
  fs::remove(game.folder / "1hscore.ini");
  shelldata::Put(game.folder / "picinfo.ini", "[1]\r\n");
  const auto betaTime = fs::last_write_time(game.folder / "packs/beta.vnl");
  const auto alphaTime = fs::last_write_time(game.folder / "packs/alpha.vnl");
  game.Shutdown();
  EXPECT_NE(shelldata::Bytes(game.folder / "packs/gamma.vnl").find(changed), std::string::npos);
  EXPECT_EQ(shelldata::Bytes(game.folder / "packs/beta.vnl"), shelldata::Archive(beta))
      << "unchanged, untouched";
  EXPECT_EQ(fs::last_write_time(game.folder / "packs/beta.vnl"), betaTime);
  EXPECT_EQ(fs::last_write_time(game.folder / "packs/alpha.vnl"), alphaTime) << "already saved";
  for (const char* copy :
       {"0packinfo.ini", "0hscore.ini", "1packinfo.ini", "2packinfo.ini", "2hscore.ini", "picinfo.ini"})
    EXPECT_FALSE(game.Has(copy)) << copy;
}

TEST(ShellCatalogue, AnEmptyPacksFolderShowsAHint) {
  GameHarness game(true, WithPacks({}));
  ASSERT_TRUE(game.started);
  game.Pass();
  EXPECT_TRUE(varnel::PackFiles.empty());
  varnel::intScreen = varnel::kScreenStartGame;
  game.Click(500, 185);
  EXPECT_EQ(varnel::intScreen, varnel::kScreenStartGame);
  int hints = 0;
  for (const auto& d : game.Draws())
    if (d.text.find("No packs found") != std::string::npos) ++hints;
  EXPECT_EQ(hints, 1);
  game.Shutdown();
  EXPECT_FALSE(game.Has("0hscore.ini"));
}

TEST(ShellCatalogue, ALongListIsClippedToThePanelAndScrollsWithTheWheel) {
  std::vector<std::pair<std::string, Entries>> packs;
  for (int i = 0; i < 20; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "pack%02d.vnl", i);
    packs.emplace_back(name, shelldata::GoodPack(1, false, shelldata::Table({})));
  }
  GameHarness game(true, WithPacks(packs));
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_EQ(varnel::PackFiles.size(), 20u);
  varnel::intScreen = varnel::kScreenStartGame;
  game.MoveMouse(500, 177);

  auto rowsShown = [&] {
    std::vector<std::string> rows;
    for (const auto& d : game.Draws())
      if (d.kind == DrawRecord::Kind::SystemText && d.X == 360 && d.Height == 18) rows.push_back(d.text);
    return rows;
  };
  auto rows = rowsShown();
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_EQ(rows.front(), "pack00");
  EXPECT_NE(game.Text("1 - 13 of 20 (mouse wheel)"), nullptr);

  game.Wheel(-3);  // towards the player: further down the list
  rows = rowsShown();
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_EQ(rows.front(), "pack03");
  EXPECT_EQ(varnel::intPackSel, 3) << "the row under the mouse is the fourth pack now";
  EXPECT_EQ(Row(game, "pack03")->Y, 175);

  game.Wheel(-30);
  rows = rowsShown();
  EXPECT_EQ(rows.front(), "pack07") << "no further than the last row";
  EXPECT_EQ(rows.back(), "pack19");
  EXPECT_NE(game.Text("8 - 20 of 20 (mouse wheel)"), nullptr);
}

TEST(ShellCatalogue, APackNameOutsideAsciiIsSavedIntoTheSameFile) {
  GameHarness game(true, WithPacks({{"Caf\xC3\xA9.vnl", shelldata::GoodPack(1, true, kTableA)}}));
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_EQ(varnel::PackFiles, std::vector<std::string>{"Caf\xE9.vnl"}) << "names are the game's 8-bit text";
  const std::string updated = shelldata::Table({{"7", "Eve"}});
  shelldata::Put(game.folder / "0hscore.ini", updated);
  varnel::SavePackScore(0);
  EXPECT_NE(shelldata::Bytes(game.folder / "packs" / "Caf\xC3\xA9.vnl").find(updated), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(game.folder / "packs"), {}), 1) << "no second file";
}

TEST(ShellCatalogue, APackWithoutATableGetsOneOnlyWithAScore) {
  Entries noTable = shelldata::GoodPack(1, true, "");
  testsupport::RemoveEntry(noTable, "hscore.ini");
  GameHarness game(true, WithPacks({{"a.vnl", noTable}, {"b.vnl", noTable}}));
  ASSERT_TRUE(game.started);
  game.Pass();
  EXPECT_FALSE(game.Has("0hscore.ini"));
  varnel::intScreen = varnel::kScreenHighScores;
  game.MoveMouse(500, 184);
  game.MoveMouse(500, 204);
  EXPECT_TRUE(game.Has("0hscore.ini")) << "the table was bound to show it";
  shelldata::Put(game.folder / "1hscore.ini", shelldata::Table({{"10", "Fay"}}));
  game.Shutdown();
  EXPECT_EQ(shelldata::Bytes(game.folder / "packs/a.vnl"), shelldata::Archive(noTable));
  EXPECT_NE(shelldata::Bytes(game.folder / "packs/b.vnl").find("1_name=Fay"), std::string::npos);
}

TEST(ShellCatalogue, PacksThatCannotBePlayedStayOutWithOneLogLineEach) {
  const Entries good = shelldata::GoodPack(2, false, kTableA);
  auto with = [&](const std::string& entry, const std::string& contents) {
    Entries pack = good;
    testsupport::SetEntry(pack, entry, contents);
    return pack;
  };
  auto without = [&](const std::string& entry) {
    Entries pack = good;
    testsupport::RemoveEntry(pack, entry);
    return pack;
  };
  // One of each part the check reads: an entry, a setting, a rectangle and the file name (the check
  // itself is tested apart, kind by kind).
  const std::vector<std::pair<std::string, Entries>> broken = {
      {"no settings.vnl", without("packinfo.ini")},
      {"word count.vnl", with("packinfo.ini", shelldata::PackInfo("many", "True"))},
      {"garbled rectangle.vnl", with("picinfo.ini", GarbledLevel2())},
      {"ab", good},
  };
  std::vector<std::pair<std::string, Entries>> packs = broken;
  packs.emplace_back("good.vnl", good);
  GameHarness game(true, [&](const fs::path& folder) {
    WithPacks(packs)(folder);
    shelldata::Put(folder / "packs" / "not a pack.vnl", "just some text");
  });
  ASSERT_TRUE(game.started);
  game.Pass();
  EXPECT_EQ(varnel::PackFiles, std::vector<std::string>{"good.vnl"});
  EXPECT_TRUE(game.Has("0packinfo.ini"));
  EXPECT_FALSE(game.Has("1packinfo.ini"));

  std::vector<std::string> leftOut;
  std::istringstream log(game.Read("log.txt"));
  for (std::string line; std::getline(log, line);)
    if (line.rfind("Pack left out : ", 0) == 0) leftOut.push_back(line);
  ASSERT_EQ(leftOut.size(), broken.size() + 1) << "one line for each";
  auto lineFor = [&](const std::string& name) {
    for (const auto& line : leftOut)
      if (line.find("packs\\" + name + " : ") != std::string::npos) return line;
    return std::string("<none for " + name + ">");
  };
  EXPECT_NE(lineFor("no settings.vnl").find("packinfo.ini is missing"), std::string::npos);
  EXPECT_NE(lineFor("word count.vnl").find("is not a number"), std::string::npos);
  EXPECT_NE(lineFor("garbled rectangle.vnl").find("3Top"), std::string::npos);
  EXPECT_NE(lineFor("ab").find("shorter than four characters"), std::string::npos);
  EXPECT_NE(lineFor("not a pack.vnl").find("no archive entries"), std::string::npos);
  for (const char* scratch : {"packcheck_packinfo.ini", "packcheck_picinfo.ini", "packcheck_picture"})
    EXPECT_FALSE(game.Has(scratch)) << scratch;

  varnel::intScreen = varnel::kScreenStartGame;
  game.MoveMouse(500, 184);
  EXPECT_NE(Row(game, "good"), nullptr);
  EXPECT_EQ(Row(game, "ab"), nullptr);

  game.Shutdown();
  for (const auto& [name, entries] : broken)
    EXPECT_EQ(shelldata::Bytes(game.folder / "packs" / name), shelldata::Archive(entries))
        << "untouched: " << name;
  EXPECT_EQ(shelldata::Bytes(game.folder / "packs" / "not a pack.vnl"), "just some text");
}

// What a program killed half-way through a save or a level loading leaves: the engine's unfinished
// replacement of a table copy, of the options and of a pack being rewritten (itself a readable
// pack), the rewritten copy of a pack, a level's picture pair and description. The next start
// removes them all, lists only the real pack, and keeps files that merely look alike.
TEST(ShellCatalogue, TheNextStartRemovesWhatAStoppedRunLeftAndListsOnlyRealPacks) {
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
    WithPacks({{"p.vnl", pack}})(folder);
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
