// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include "PlayHelpers.h"
#include "modDeclares.h"

using namespace varnel;

namespace {

int FoundCount() {
  int found = 0;
  for (int d = 1; d <= 5; ++d) found += Differences[d].Found ? 1 : 0;
  return found;
}

const play::TestLevel& LevelPlayed(const play::TestPack& pack) {
  return pack.levels.at(static_cast<size_t>(std::stoi(strLevelPic) - 1));
}

}  // namespace

TEST(PlayGame, FindsMissesBonusesAndACompletedPack) {
  // The last difference lies under the SUBMIT SCORE button of the panel the find brings up.
  play::TestLevel level5UnderSubmit = play::PlainLevel();
  level5UnderSubmit.rects[4] = {160, 200, 330, 360};
  const play::TestPack pack{"Garden.vnl", true, {level5UnderSubmit, level5UnderSubmit, level5UnderSubmit}};
  play::PlaySession session({pack});
  ASSERT_TRUE(session.game.started);
  session.ChoosePack("Garden.vnl");
  ASSERT_EQ(intScreen, kScreenLevelStart);
  EXPECT_EQ(strLevel, "1");
  EXPECT_TRUE(session.Drew("START"));
  EXPECT_TRUE(session.Drew("GARDEN")) << "the pack title, in capitals";

  // The pictures fade in over 100 passes: clicks on them do nothing and the timer stands.
  session.PressStart();
  ASSERT_EQ(intScreen, kScreenPlaying);
  const play::TestLevel* level = &LevelPlayed(pack);
  session.ClickPicture(true, level->rects[0][0], level->rects[0][2]);
  EXPECT_EQ(FoundCount(), 0);
  EXPECT_EQ(sngTimer, 0.0f);
  session.WaitForPictures();
  ASSERT_EQ(sngPlayFade, 100.0f);

  // Level 1 at timer 7: a find adds Int(1 x 10 / 100 x 400) = 40.
  session.ClickPictureAtTimer(false, level->rects[0][1], level->rects[0][3], 7);
  EXPECT_TRUE(Differences[1].Found) << "the bottom-right corner belongs to the rectangle";
  EXPECT_EQ(sngScore, 40.0f);
  EXPECT_EQ(sngTimer, 7.0f);

  // A miss costs 30 timer units; so does a click on a difference already found, which scores nothing.
  session.ClickPictureAtTimer(true, 5, 300, 50);
  EXPECT_EQ(sngTimer, 80.0f);
  session.ClickPictureAtTimer(true, level->rects[0][0] + 1, level->rects[0][2] + 1, 100);
  EXPECT_EQ(sngTimer, 130.0f);
  EXPECT_EQ(sngScore, 40.0f);

  for (int d = 2; d <= 4; ++d)
    session.ClickPictureAtTimer(true, level->rects[d - 1][0], level->rects[d - 1][2], 200);
  EXPECT_EQ(sngScore, 40.0f + 3 * 20);
  // The last find at timer 100.5 adds Int(0.1 x 306.5) = 30, then the bonus Int(407 - 100.5 + 50) = 356.
  session.ClickPictureAtTimer(true, level->rects[4][0], level->rects[4][2], 100.5f);
  EXPECT_EQ(sngScore, 100.0f + 30 + 356);
  EXPECT_TRUE(bLevelDone);
  EXPECT_FALSE(bTimerOn);
  EXPECT_EQ(sngLevel, 2.0f);
  session.game.Pass(5);
  EXPECT_EQ(sngTimer, 100.5f) << "the timer stands once the level is done";
  EXPECT_TRUE(session.Drew("NEXT LEVEL"));

  session.NextLevel();
  ASSERT_EQ(intScreen, kScreenLevelStart);
  EXPECT_EQ(strLevel, "2");
  EXPECT_EQ(FoundCount(), 0);
  EXPECT_EQ(sngPlayFade, 0.0f);
  session.StartLevel();
  session.FindAll(LevelPlayed(pack));
  ASSERT_TRUE(bLevelDone);
  session.NextLevel();
  session.StartLevel();
  EXPECT_EQ(strLevel, "3");

  // Level 3 at timer 100.5: Int(0.3 x 306.5) = Int(91.95) = 91.
  level = &LevelPlayed(pack);
  const float before = sngScore;
  session.ClickPictureAtTimer(true, level->rects[2][0], level->rects[2][2], 100.5f);
  EXPECT_EQ(sngScore, before + 91);
  session.FindAll(*level);
  ASSERT_TRUE(bLevelDone);
  EXPECT_EQ(intScreen, kScreenPlaying) << "the find did not press SUBMIT SCORE as well";

  // The last level ends the pack: WELLDONE and SUBMIT SCORE instead of NEXT LEVEL, the sound once.
  EXPECT_TRUE(bPackDone);
  EXPECT_FALSE(bEndSoundDue) << "the pack-completed sound was played";
  session.game.Pass(3);
  EXPECT_TRUE(session.Drew("WELLDONE"));
  ASSERT_TRUE(session.Drew("SUBMIT SCORE"));
  EXPECT_EQ(session.game.Text("SUBMIT SCORE")->X, 340) << "the vertical layout's button";
  EXPECT_FALSE(session.Drew("NEXT LEVEL"));
  EXPECT_TRUE(session.Drew("you succesfully completed all"));
  EXPECT_FALSE(bEndSoundDue);
}

TEST(PlayGame, OverlapsJokerAndGameOverOnAHorizontalPack) {
  play::TestLevel overlapping = play::PlainLevel();
  overlapping.rects[1] = {100, 140, 100, 140};
  overlapping.rects[2] = {130, 170, 130, 170};
  const play::TestPack pack{"Harbour.vnl", false, {overlapping}};
  play::PlaySession session({pack});
  session.ChoosePack("Harbour.vnl");
  ASSERT_EQ(intScreen, kScreenLevelStart);
  EXPECT_FALSE(bVertical);
  session.StartLevel();

  // One click inside two rectangles finds both and scores each.
  session.ClickPictureAtTimer(false, 135, 135, 7);
  EXPECT_TRUE(Differences[2].Found);
  EXPECT_TRUE(Differences[3].Found);
  EXPECT_EQ(sngScore, 80.0f);

  // The joker button reveals one more difference and scores it like a find.
  session.game.Click(195, 300);
  EXPECT_FALSE(bJokerLeft);
  EXPECT_EQ(FoundCount(), 3);
  EXPECT_GT(sngScore, 80.0f);
  const float afterJoker = sngScore;
  session.game.PressKey(SDL_SCANCODE_SPACE);
  EXPECT_EQ(FoundCount(), 3) << "one joker per game";
  EXPECT_EQ(sngScore, afterJoker);

  // Misses until the bar runs out: game over stops the timer and offers SUBMIT SCORE.
  session.ClickPictureAtTimer(true, 370, 250, 390);
  EXPECT_EQ(sngTimer, 420.0f);
  session.game.Pass();
  EXPECT_FALSE(bTimerOn);
  EXPECT_TRUE(session.Drew("GAME OVER"));
  ASSERT_TRUE(session.Drew("SUBMIT SCORE"));
  EXPECT_EQ(session.game.Text("SUBMIT SCORE")->X, 410) << "the horizontal layout's button";
  EXPECT_FALSE(bEndSoundDue) << "the game-over sound was played";
  const float timer = sngTimer;
  session.ClickPicture(true, 20, 20);
  EXPECT_EQ(sngTimer, timer) << "clicks no longer count";
  // The button's left edge is where it is drawn: just left of it nothing happens, just right of
  // it the score goes in.
  session.game.Click(408, 445);
  EXPECT_EQ(intScreen, kScreenPlaying);
  session.game.Click(413, 445);
  EXPECT_NE(intScreen, kScreenPlaying);
}

// Space spends the joker (here on the last difference); EXIT, inside the NEXT LEVEL click region, still
// leaves the game; the next game has its joker again.
TEST(PlayGame, JokerCompletesALevelAndExitLeavesTheGame) {
  const play::TestPack pack{"Meadow.vnl", true, {play::PlainLevel(), play::PlainLevel()}};
  play::PlaySession session({pack});
  session.ChoosePack("Meadow.vnl");
  session.StartLevel();
  const play::TestLevel& level = LevelPlayed(pack);
  for (int d = 1; d <= 4; ++d) session.ClickPicture(true, level.rects[d - 1][0], level.rects[d - 1][2]);
  session.game.PressKey(SDL_SCANCODE_SPACE);
  EXPECT_TRUE(bLevelDone) << "the joker found the last difference";
  session.game.Click(700, 574);
  EXPECT_EQ(intScreen, kScreenHighScores);
  EXPECT_FALSE(texOriginal);
  session.ChoosePack("Meadow.vnl");
  session.StartLevel();
  EXPECT_EQ(FoundCount(), 0);
  EXPECT_TRUE(bJokerLeft);
}
