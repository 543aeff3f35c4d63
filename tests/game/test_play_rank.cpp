#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "PlayHelpers.h"
#include "modDeclares.h"

using namespace varnel;

namespace {

// The live rank box as drawn: row y -> (rank, name, score).
using Rows = std::map<float, std::tuple<std::string, std::string, std::string>>;

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

using Row = std::tuple<std::string, std::string, std::string>;

}  // namespace

TEST(PlayRank, LiveRankRowsAroundThePlayer) {
  play::TestPack pack{"Garden.vnl", true, {play::PlainLevel()}};
  pack.hscore = play::FullTable();
  play::PlaySession session({pack});
  session.ChoosePack("Garden.vnl");
  ASSERT_EQ(intScreen, kScreenLevelStart);

  sngScore = 2000;
  session.game.Pass();
  EXPECT_EQ(
      LiveRankRows(session.game),
      (Rows{{530, Row{"1.", "YOU", "2000"}}, {545, Row{"2.", "A", "1000"}}, {560, Row{"3.", "B", "900"}}}));

  sngScore = 950;
  session.game.Pass();
  EXPECT_EQ(LiveRankRows(session.game), (Rows{{515, Row{"1.", "A", "1000"}},
                                              {530, Row{"2.", "YOU", "950"}},
                                              {545, Row{"3.", "B", "900"}},
                                              {560, Row{"4.", "C", "800"}}}));

  sngScore = 250;
  session.game.Pass();
  EXPECT_EQ(LiveRankRows(session.game), (Rows{{500, Row{"7.", "G", "400"}},
                                              {515, Row{"8.", "H", "300"}},
                                              {530, Row{"9.", "YOU", "250"}},
                                              {545, Row{"10.", "I", "200"}}}));

  sngScore = 150;
  session.game.Pass();
  EXPECT_EQ(
      LiveRankRows(session.game),
      (Rows{{500, Row{"8.", "H", "300"}}, {515, Row{"9.", "I", "200"}}, {530, Row{"10.", "YOU", "150"}}}));

  // A score equal to rank 10's ranks below it: it does not qualify.
  sngScore = 100;
  session.game.Pass();
  EXPECT_EQ(
      LiveRankRows(session.game),
      (Rows{{500, Row{"9.", "I", "200"}}, {515, Row{"10.", "J", "100"}}, {530, Row{"11.", "YOU", "100"}}}));
}

namespace {

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

TEST(PlayRank, NameEntryStoresTheScoreUnderTheTypedName) {
  const play::TestPack pack{"Garden.vnl", true, {play::PlainLevel()}};
  play::PlaySession session({pack});

  session.ChoosePack(pack.fileName);
  LoseAfterOneFind(session, pack);
  ASSERT_EQ(intScreen, kScreenNameEntry) << "a score above an empty table qualifies";
  EXPECT_TRUE(session.Drew("Please enter your name"));
  EXPECT_TRUE(session.Drew("DONE"));
  const float score = sngScore;

  Type(session.game, {SDL_SCANCODE_J, SDL_SCANCODE_O, SDL_SCANCODE_H, SDL_SCANCODE_N});
  EXPECT_EQ(strPlayerName, "John");
  EXPECT_TRUE(session.Drew("John"));
  Type(session.game, {SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_A});
  EXPECT_EQ(strPlayerName, "Joa");
  Type(session.game, {SDL_SCANCODE_SPACE, SDL_SCANCODE_7, SDL_SCANCODE_B, SDL_SCANCODE_C, SDL_SCANCODE_D,
                      SDL_SCANCODE_E, SDL_SCANCODE_F});
  EXPECT_EQ(strPlayerName, "Joa 7bcd") << "eight characters at most";
  Type(session.game, {SDL_SCANCODE_S});
  EXPECT_EQ(intScreen, kScreenNameEntry) << "S is a letter here, not the screenshot key";
  EXPECT_EQ(strPlayerName, "Joa 7bcd");

  session.game.PressKey(SDL_SCANCODE_RETURN);
  EXPECT_EQ(intScreen, kScreenHighScores);
  EXPECT_TRUE(bRunning);
  const std::string table = session.game.Read("0hscore.ini");
  EXPECT_NE(table.find("1_name=Joa 7bcd\r\n"), std::string::npos) << table;
  EXPECT_NE(table.find("1_score=" + SingleText(score) + "\r\n"), std::string::npos) << table;

  // The next entry starts with the name confirmed last; erased to nothing, Escape stores the default.
  session.ChoosePack(pack.fileName);
  LoseAfterOneFind(session, pack);
  ASSERT_EQ(intScreen, kScreenNameEntry);
  EXPECT_TRUE(session.Drew("Joa 7bcd"));
  for (int i = 0; i < 9; ++i) session.game.PressKey(SDL_SCANCODE_BACKSPACE);
  EXPECT_EQ(strPlayerName, "");
  session.game.PressKey(SDL_SCANCODE_ESCAPE);
  EXPECT_EQ(intScreen, kScreenHighScores);
  EXPECT_TRUE(bRunning) << "Escape confirms the name instead of ending the program";
  EXPECT_NE(session.game.Read("0hscore.ini").find("_name=Varnel X\r\n"), std::string::npos);

  // The DONE button confirms as well.
  session.ChoosePack(pack.fileName);
  LoseAfterOneFind(session, pack);
  ASSERT_EQ(intScreen, kScreenNameEntry);
  EXPECT_EQ(strPlayerName, "Varnel X");
  session.game.Click(400, 300);
  EXPECT_EQ(intScreen, kScreenHighScores);
}

TEST(PlayRank, AScoreOutsideTheTopTenGoesStraightBack) {
  play::TestPack pack{"Garden.vnl", true, {play::PlainLevel()}};
  pack.hscore = play::FullTable();
  play::PlaySession session({pack});
  session.ChoosePack(pack.fileName);
  LoseAfterOneFind(session, pack);
  EXPECT_EQ(intScreen, kScreenHighScores);
  EXPECT_EQ(session.game.Read("0hscore.ini").find("11_name"), std::string::npos) << "nothing was stored";
}

TEST(PlayRank, ADamagedTableIsLoggedOnceAndTakesNoScore) {
  const play::TestPack pack{"Garden.vnl", true, {play::PlainLevel()}, "[setup]\r\nTopX=ten\r\n"};
  play::PlaySession session({pack});
  session.ChoosePack("Garden.vnl");
  session.game.Pass(20);
  const std::string log = session.Log();
  const std::string line = "Error in loading HighScores : ";
  ASSERT_NE(log.find(line), std::string::npos);
  EXPECT_EQ(log.find(line, log.find(line) + 1), std::string::npos) << "one line, not one a frame";
  EXPECT_EQ(LiveRankRows(session.game), (Rows{{530, Row{"", "YOU", "0"}}}));

  LoseAfterOneFind(session, pack);
  EXPECT_EQ(intScreen, kScreenHighScores) << "a score with no table to go to asks for no name";
}

namespace {

// A key struck on a keyboard whose layout types `typed` with the key at `position`, as the window
// system reports it: the position in the scancode, the layout's letter in the key code.
void Strike(GameHarness& game, SDL_Scancode position, SDL_Keycode typed) {
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = SDL_GetWindowID(frmMain::hWnd());
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = position;
    e.key.keysym.sym = typed;
    SDL_PushEvent(&e);
  }
  game.Pass(2);
}

}  // namespace

TEST(PlayRank, NameEntryTakesTheLettersOfThePlayersLayout) {
  const play::TestPack pack{"Garden.vnl", true, {play::PlainLevel()}};
  play::PlaySession session({pack});

  // German (QWERTZ): Y and Z change places; the key right of L types a letter the entry does
  // not take.
  session.ChoosePack(pack.fileName);
  LoseAfterOneFind(session, pack);
  ASSERT_EQ(intScreen, kScreenNameEntry);
  Strike(session.game, SDL_SCANCODE_Y, SDLK_z);
  Strike(session.game, SDL_SCANCODE_O, SDLK_o);
  Strike(session.game, SDL_SCANCODE_E, SDLK_e);
  Strike(session.game, SDL_SCANCODE_Z, SDLK_y);
  Strike(session.game, SDL_SCANCODE_SEMICOLON, 0xF6);  // ö
  EXPECT_EQ(strPlayerName, "Zoey");
  session.game.PressKey(SDL_SCANCODE_RETURN);
  ASSERT_EQ(intScreen, kScreenHighScores);
  EXPECT_NE(session.game.Read("0hscore.ini").find("1_name=Zoey\r\n"), std::string::npos);

  // French (AZERTY): A, Z, Q, W and M sit elsewhere; the digits stay on the number row.
  session.ChoosePack(pack.fileName);
  LoseAfterOneFind(session, pack);
  ASSERT_EQ(intScreen, kScreenNameEntry);
  for (int i = 0; i < 4; ++i) Strike(session.game, SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE);
  ASSERT_EQ(strPlayerName, "");
  Strike(session.game, SDL_SCANCODE_Q, SDLK_a);
  Strike(session.game, SDL_SCANCODE_W, SDLK_z);
  Strike(session.game, SDL_SCANCODE_A, SDLK_q);
  Strike(session.game, SDL_SCANCODE_Z, SDLK_w);
  Strike(session.game, SDL_SCANCODE_SEMICOLON, SDLK_m);
  Strike(session.game, SDL_SCANCODE_M, SDLK_COMMA);
  Strike(session.game, SDL_SCANCODE_SPACE, SDLK_SPACE);
  Strike(session.game, SDL_SCANCODE_2, SDLK_2);
  EXPECT_EQ(strPlayerName, "Azqwm 2");

  // A held key repeats in the window system; it still types once.
  SDL_Event repeat{};
  repeat.type = SDL_KEYDOWN;
  repeat.key.windowID = SDL_GetWindowID(frmMain::hWnd());
  repeat.key.state = SDL_PRESSED;
  repeat.key.repeat = 1;
  repeat.key.keysym.scancode = SDL_SCANCODE_X;
  repeat.key.keysym.sym = SDLK_x;
  SDL_PushEvent(&repeat);
  session.game.Pass(2);
  EXPECT_EQ(strPlayerName, "Azqwm 2");
  session.game.PressKey(SDL_SCANCODE_ESCAPE);
  EXPECT_NE(session.game.Read("0hscore.ini").find("_name=Azqwm 2\r\n"), std::string::npos);
}
