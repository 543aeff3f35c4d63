// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "PlayHelpers.h"
#include "modDeclares.h"

using namespace varnel;

namespace {

// The live rank box as drawn: row y -> (rank, name, score).
using Row = std::tuple<std::string, std::string, std::string>;
using Rows = std::map<float, Row>;

Rows LiveRankRows(const GameHarness& game) {
  Rows rows;
  for (const auto& d : game.Draws()) {
    if (d.kind != tovak2d::DrawRecord::Kind::SystemText || d.fontKey != "titleS" || d.Y < 500) continue;
    auto& row = rows[d.Y];
    if (d.X == 5) std::get<0>(row) = d.text;
    if (d.X == 35) std::get<1>(row) = d.text;
    if (d.X == 110) std::get<2>(row) = d.text;
  }
  return rows;
}

// From the start prompt: one find, then misses until the time runs out, then SUBMIT SCORE.
void LoseAfterOneFind(play::PlaySession& session, const play::TestPack& pack) {
  session.StartLevel();
  const play::TestLevel& level = pack.levels[0];
  session.ClickPicture(true, level.rects[0][0], level.rects[0][2]);
  session.ClickPictureAtTimer(true, 250, 5, 400);
  session.game.Pass();
  ASSERT_TRUE(session.Drew("GAME OVER"));
  session.game.Click(460, 445);
}

void Type(GameHarness& game, std::initializer_list<SDL_Scancode> keys) {
  for (SDL_Scancode key : keys) game.PressKey(key);
}

}  // namespace

TEST(PlayRank, LiveRankRowsAroundThePlayer) {
  play::TestPack pack{"Garden.vnl", true, {play::PlainLevel()}};
  pack.hscore = play::FullTable();
  play::PlaySession session({pack});
  // A score outside the top ten goes straight back, storing nothing.
  session.ChoosePack("Garden.vnl");
  LoseAfterOneFind(session, pack);
  EXPECT_EQ(intScreen, kScreenHighScores);
  EXPECT_EQ(session.game.Read("0hscore.ini").find("11_name"), std::string::npos) << "nothing was stored";

  session.ChoosePack("Garden.vnl");
  ASSERT_EQ(intScreen, kScreenLevelStart);

  // Each score against the full table: the rows around the player, a score equal to rank 10's
  // ranking below it (it does not qualify).
  const std::vector<std::pair<float, Rows>> cases = {
      {2000, {{530, Row{"1.", "YOU", "2000"}}, {545, Row{"2.", "A", "1000"}}, {560, Row{"3.", "B", "900"}}}},
      {950,
       {{515, Row{"1.", "A", "1000"}},
        {530, Row{"2.", "YOU", "950"}},
        {545, Row{"3.", "B", "900"}},
        {560, Row{"4.", "C", "800"}}}},
      {250,
       {{500, Row{"7.", "G", "400"}},
        {515, Row{"8.", "H", "300"}},
        {530, Row{"9.", "YOU", "250"}},
        {545, Row{"10.", "I", "200"}}}},
      {150, {{500, Row{"8.", "H", "300"}}, {515, Row{"9.", "I", "200"}}, {530, Row{"10.", "YOU", "150"}}}},
      {100, {{500, Row{"9.", "I", "200"}}, {515, Row{"10.", "J", "100"}}, {530, Row{"11.", "YOU", "100"}}}},
  };
  for (const auto& [score, rows] : cases) {
    sngScore = score;
    session.game.Pass();
    EXPECT_EQ(LiveRankRows(session.game), rows) << score;
  }
}

// Each name entry starts with the name confirmed last; a score the pack cannot take is told. Keys on other
// layouts (the letter typed is the key code, not the key's place): the play script types names on German and
// French layouts.
TEST(PlayRank, NameEntryStoresTheScoreUnderTheTypedName) {
  const play::TestPack pack{"Garden.vnl", true, {play::PlainLevel()}};
  play::PlaySession session({pack});
  auto enterName = [&] {
    session.ChoosePack(pack.fileName);
    LoseAfterOneFind(session, pack);
  };

  enterName();
  ASSERT_EQ(intScreen, kScreenNameEntry) << "a score above an empty table qualifies";
  EXPECT_TRUE(session.Drew("Please enter your name"));
  Type(session.game, {SDL_SCANCODE_J, SDL_SCANCODE_O, SDL_SCANCODE_H, SDL_SCANCODE_N});
  EXPECT_TRUE(session.Drew("John"));
  Type(session.game, {SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_A, SDL_SCANCODE_SPACE,
                      SDL_SCANCODE_7, SDL_SCANCODE_B, SDL_SCANCODE_C, SDL_SCANCODE_D, SDL_SCANCODE_E});
  EXPECT_EQ(strPlayerName, "Joa 7bcd") << "eight characters at most";
  Type(session.game, {SDL_SCANCODE_S});
  EXPECT_EQ(intScreen, kScreenNameEntry) << "S is a letter here, not the screenshot key";
  session.game.PressKey(SDL_SCANCODE_RETURN);
  EXPECT_EQ(intScreen, kScreenHighScores);
  const std::string table = session.game.Read("0hscore.ini");
  EXPECT_NE(table.find("1_name=Joa 7bcd\r\n"), std::string::npos) << table;
  EXPECT_NE(table.find("1_score=40\r\n"), std::string::npos) << table;  // one find at level 1

  // A held key repeats in the window system; it still types once. Escape confirms the name instead
  // of ending the program.
  enterName();
  ASSERT_EQ(intScreen, kScreenNameEntry);
  EXPECT_TRUE(session.Drew("Joa 7bcd"));
  session.game.PressKey(SDL_SCANCODE_X, true);
  EXPECT_EQ(strPlayerName, "Joa 7bcd");
  session.game.PressKey(SDL_SCANCODE_ESCAPE);
  EXPECT_EQ(intScreen, kScreenHighScores);
  EXPECT_TRUE(bRunning);

  // Erased to nothing, the name stored is the default; the DONE button confirms as well as Return.
  enterName();
  for (int i = 0; i < 9; ++i) session.game.PressKey(SDL_SCANCODE_BACKSPACE);
  ASSERT_TRUE(session.Drew("DONE"));
  session.game.Click(400, 300);
  EXPECT_EQ(intScreen, kScreenHighScores);
  EXPECT_NE(session.game.Read("0hscore.ini").find("_name=Varnel X\r\n"), std::string::npos);

  // A pack that cannot take the score: the player is told until another menu screen. (That the pack
  // stays whole, the log names the cause and the next save stores the score: GameFaults, on every
  // write of a session.) A folder in the place of the pack's rewritten copy fails as a full disk would.
  shelldata::Put(session.game.folder / "packs" / "Garden.vnl.saving" / "in the way", "x");
  enterName();
  session.game.PressKey(SDL_SCANCODE_RETURN);
  ASSERT_EQ(intScreen, kScreenHighScores);
  session.game.Pass();
  EXPECT_NE(
      session.game.Text("Your score of 40 could not be stored: the pack file cannot be rewritten (it may "
                        "be read-only, or the disk full)."),
      nullptr);
  session.ClickMenu(2);  // Options
  EXPECT_TRUE(strScoreNotice.empty());
}

// A damaged table is read and logged once; the live rank shows the player alone, and a score for
// it is shown, not stored, with no name asked; the High Scores screen says the table cannot be read,
// as often as the player hovers it; the pack stays as it was.
TEST(PlayRank, ADamagedTableIsLoggedOnceAndTakesNoScore) {
  const play::TestPack pack{"Torn.vnl", true, {play::PlainLevel()}, "[setup]\r\nTopX=ten\r\n"};
  play::PlaySession session({{"Good.vnl", true, {play::PlainLevel()}, play::FullTable()}, pack});
  const std::string before = shelldata::Bytes(session.game.folder / "packs" / "Torn.vnl");
  session.ChoosePack("Torn.vnl");
  session.game.Pass(20);
  EXPECT_EQ(LiveRankRows(session.game), (Rows{{530, Row{"", "YOU", "0"}}}));

  session.WinAndSubmit(pack.levels[0]);
  ASSERT_EQ(intScreen, kScreenHighScores) << "a score with no table to go to asks for no name";
  const std::string score = "656";  // a won level: finds, time left and the bonus
  session.game.Pass();
  const std::string notice =
      "Your score of " + score + " could not be stored: this pack's table cannot be read.";
  ASSERT_NE(session.game.Text(notice), nullptr);
  session.game.Pass(100);
  EXPECT_NE(session.game.Text(notice), nullptr) << "it stays while the player looks";
  for (int round = 0; round < 3; ++round) {
    session.game.MoveMouse(410, 195 + 9);  // Torn
    EXPECT_NE(session.game.Text("this pack's table cannot be read"), nullptr);
    EXPECT_FALSE(session.Drew("0")) << "no rows of zeros";
    session.game.MoveMouse(410, 175 + 9);  // Good, in between
    EXPECT_TRUE(session.Drew("1000"));
  }
  EXPECT_EQ(play::Occurrences(session.Log(), "Error in loading HighScores : "), 1u)
      << "one line, not one a frame";
  EXPECT_EQ(play::Occurrences(session.Log(), "Score not stored : " + score + " in pack Torn.vnl"), 1u)
      << session.Log();

  session.ChoosePack("Torn.vnl");  // a new game clears it
  session.game.Pass();
  EXPECT_TRUE(strScoreNotice.empty());
  session.game.Shutdown();
  EXPECT_EQ(shelldata::Bytes(session.game.folder / "packs" / "Torn.vnl"), before);
}
