// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include "PlayHelpers.h"
#include "modDeclares.h"

using namespace varnel;

namespace {

const std::string kNote = "the changes will take effect next time you run the game";

std::function<void(const std::filesystem::path&)> OptionsFile(const std::string& text) {
  return [text](const std::filesystem::path& folder) {
    shelldata::Put(folder / "game data" / "options.ini", text);
  };
}

std::string Options(const GameHarness& game) {
  return game.Read("game data/options.ini");
}

}  // namespace

TEST(PlayOptions, AMissingFileGivesTheDefaultsALogLineAndANewFile) {
  GameHarness game(true, [](const std::filesystem::path& folder) {
    std::filesystem::remove(folder / "game data" / "options.ini");
  });
  ASSERT_TRUE(game.started);
  EXPECT_TRUE(bWindowed && bMusicOn && bSoundOn && bParticlesOn);
  EXPECT_EQ(Options(game), "[Options]\r\nScreen=True\r\nMusic=True\r\nSound=True\r\nParticle=True\r\n");
  EXPECT_NE(game.Read("log.txt").find("Error in ReadOptions : game data\\options.ini is missing or garbled"),
            std::string::npos);
}

TEST(PlayOptions, GarbledValuesFallBackOneByOne) {
  GameHarness game(true, OptionsFile("[Options]\r\nScreen=true\r\nMusic=maybe\r\nSound= 0 \r\n"));
  ASSERT_TRUE(game.started);
  // Music is not a Boolean and Particle is missing: their defaults; Sound is a number: 0 is False.
  EXPECT_TRUE(bMusicOn && bParticlesOn && !bSoundOn);
  EXPECT_EQ(Options(game), "[Options]\r\nScreen=True\r\nMusic=True\r\nSound=False\r\nParticle=True\r\n");
  const std::string log = game.Read("log.txt");
  EXPECT_NE(log.find("Music=\"maybe\", Particle=\"\")"), std::string::npos) << log;
}

TEST(PlayOptions, ScreenBoundsNoteAndSavingOrNot) {
  play::PlaySession session(
      {}, OptionsFile("[Options]\r\nScreen=True\r\nMusic=True\r\nSound=False\r\nParticle=1\r\n"));
  EXPECT_EQ(Options(session.game), "[Options]\r\nScreen=True\r\nMusic=True\r\nSound=False\r\nParticle=1\r\n")
      << "a readable file is left as it is";
  session.ClickMenu(2);  // Options
  ASSERT_EQ(intScreen, kScreenOptions);
  session.game.Pass();
  EXPECT_TRUE(session.Drew("PARTICLE EFFECTS"));
  EXPECT_FALSE(session.Drew(kNote)) << "no note before the first click in the screen row";

  // Each click and the options it leaves, saved with all four keys: the right choice begins at
  // X 600, the left one ends at X 420, between them nothing counts; the music switches at once.
  const struct {
    int x, y;
    bool particles, music;
  } clicks[] = {{600, 317, false, true}, {420, 307, true, true},  {500, 317, true, true},
                {420, 328, true, true},  {700, 327, false, true}, {650, 217, false, false},
                {370, 217, false, true}};
  for (const auto& c : clicks) {
    session.game.Click(c.x, c.y);
    EXPECT_EQ(bParticlesOn, c.particles) << c.x << ", " << c.y;
    EXPECT_EQ(bMusicOn, c.music) << c.x << ", " << c.y;
    EXPECT_EQ(Options(session.game),
              std::string("[Options]\r\nScreen=True\r\nMusic=") + (c.music ? "True" : "False") +
                  "\r\nSound=False\r\nParticle=" + (c.particles ? "True" : "False") + "\r\n");
  }

  // Full screen takes effect at the next start: the note shows until the choice is undone.
  session.game.Click(650, 167);
  EXPECT_FALSE(bWindowed);
  EXPECT_TRUE(bScreenChanged);
  EXPECT_TRUE(session.Drew(kNote));
  session.game.Pass();
  EXPECT_TRUE(session.Drew(kNote));
  session.game.Click(370, 167);
  EXPECT_TRUE(bWindowed);
  EXPECT_FALSE(session.Drew(kNote));

  // Options the file cannot take keep their new values for the run; the log and the screen say
  // why, and the next save that works clears the note.
  const std::string before = Options(session.game);
  const std::filesystem::path file = session.game.folder / "game data" / "options.ini";
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  session.game.Click(370, 317);
  EXPECT_TRUE(bParticlesOn) << "the choice holds for the run";
  EXPECT_EQ(Options(session.game), before) << "the file stays as it was";
  const std::string why = "the options could not be saved (the file is read-only): they stay for this run";
  EXPECT_TRUE(session.Drew(why));
  session.game.Click(370, 257);
  EXPECT_TRUE(bSoundOn);
  const std::string log = session.game.Read("log.txt");
  const std::string line =
      "Error in SaveOptions : game data\\options.ini could not be written (the file is read-only)";
  ASSERT_NE(log.find(line), std::string::npos) << log;
  EXPECT_EQ(log.find(line), log.rfind(line)) << "one log line per cause, not one per click";

  std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  session.game.Click(650, 317);
  EXPECT_EQ(Options(session.game),
            "[Options]\r\nScreen=True\r\nMusic=True\r\nSound=True\r\nParticle=False\r\n");
  session.game.Pass();
  EXPECT_FALSE(session.Drew(why));
}
