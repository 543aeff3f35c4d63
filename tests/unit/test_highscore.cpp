// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include "TempAppFolder.h"
#include "platform/Files.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
using testsupport::Contains;
using testsupport::TempAppFolder;

namespace {

// Opens or makes the table; the resolved name and the stored size are not looked at.
bool Create(Extra& extra, std::string name, int16_t topX, int16_t values) {
  return extra.HighScore_Create(name, topX, values);
}

}  // namespace

TEST(HighScore, ANewTableRanksAndWritesEveryMovedRow) {
  TempAppFolder app;
  Extra extra;
  std::string name = "0hscore.ini";
  int16_t topX = 10, values = 0;
  ASSERT_TRUE(extra.HighScore_Create(name, topX, values));
  EXPECT_EQ(name, app.str() + "\\0hscore.ini") << "the caller receives the resolved path";
  EXPECT_TRUE(Contains(app.Read("log.txt"), "File is missing : ")) << "a new table is still reported missing";
  std::string file = app.Read("0hscore.ini");
  EXPECT_TRUE(Contains(file, "[setup]\r\nTopX=10\r\nadditionalValues=0\r\n")) << file;

  EXPECT_EQ(extra.HighScore_NewScore(500, "Ann", {}), 1);
  file = app.Read("0hscore.ini");
  EXPECT_TRUE(Contains(file, "1_score=500\r\n1_name=Ann\r\n")) << file;
  EXPECT_TRUE(Contains(file, "11_score=0\r\n11_name=\r\n11_value_0=\r\n"))
      << "rows 11 down to 2 were rewritten";
  EXPECT_EQ(extra.HighScore_CheckPos(500), 2) << "a tie ranks below";
  EXPECT_EQ(extra.HighScore_CheckPos(501), 1);

  for (int i = 1; i <= 9; ++i)
    extra.HighScore_NewScore(static_cast<float>(500 - i * 10), "P" + std::to_string(i), {"v"});
  EXPECT_EQ(extra.HighScore_GetScore(10), 410);
  EXPECT_EQ(extra.HighScore_NewScore(410, "tie", {}), 0) << "equal to the last rank does not enter";
  EXPECT_EQ(extra.HighScore_CheckPos(410), 11);
  EXPECT_EQ(extra.HighScore_NewScore(475, "Bo", {"x"}), 4);
  EXPECT_EQ(extra.HighScore_GetName(4), "Bo");
  EXPECT_EQ(extra.HighScore_GetValue(4, 0), "x");
  EXPECT_EQ(extra.HighScore_GetName(11), "P9") << "the row pushed off the ranks";
  EXPECT_EQ(extra.HighScore_GetScore(11), 410);
  EXPECT_TRUE(Contains(app.Read("0hscore.ini"), "11_score=410\r\n11_name=P9\r\n"));

  // A second object takes the stored size, not the one it asks for (its rows: fuzz.replay.highscore).
  Extra again;
  std::string sameName = "0HSCORE.INI";
  int16_t otherTop = 3, otherValues = 5;
  ASSERT_TRUE(again.HighScore_Create(sameName, otherTop, otherValues));
  EXPECT_EQ(std::pair(otherTop, otherValues), (std::pair<int16_t, int16_t>(10, 0)));
}

TEST(HighScore, ScoresAreWrittenAsSinglesAndLoadedFloored) {
  TempAppFolder app;
  Extra extra;
  ASSERT_TRUE(Create(extra, "t.ini", 3, 1));
  extra.HighScore_NewScore(12.7f, "a", {"one", "two"});
  extra.HighScore_NewScore(12345678.0f, "b", {"only"});
  extra.HighScore_NewScore(0.5f, "c", {});
  const std::string file = app.Read("t.ini");
  EXPECT_TRUE(Contains(file, "=12.7\r\n")) << file;
  EXPECT_TRUE(Contains(file, "=1.234568E+07\r\n")) << file;
  EXPECT_TRUE(Contains(file, "=0.5\r\n")) << file;

  Extra reload;
  ASSERT_TRUE(Create(reload, "t.ini", 3, 1));
  EXPECT_EQ(reload.HighScore_GetScore(1), 12345680.0f) << "seven significant digits were stored";
  EXPECT_EQ(reload.HighScore_GetScore(2), 12.0f);
  EXPECT_EQ(reload.HighScore_GetScore(3), 0.0f);
  EXPECT_EQ(reload.HighScore_GetValue(2, 1), "two");
  EXPECT_EQ(reload.HighScore_GetValue(1, 1), "two") << "a value the caller did not give is left as it was";
  EXPECT_EQ(reload.HighScore_GetValue(1, 2), "");
}

// A table file that cannot be loaded, or a size over the limits, gives a table that takes no score,
// and the file is never written.
TEST(HighScore, GarbledFilesAndSizesOverTheLimitsFailSafely) {
  TempAppFolder app;
  struct Case {
    const char* file;  // nullptr: no file, a new table of the size asked for
    int16_t topX, values;
  };
  const Case cases[] = {
      {"[setup]\r\nTopX=ten\r\nadditionalValues=0\r\n", 10, 0},
      // Tables this large took many minutes to fill, a file access per key.
      {"[setup]\r\nTopX=1000\r\nadditionalValues=0\r\n", 10, 0},
      {"[setup]\r\nTopX=10\r\nadditionalValues=255\r\n", 10, 0},
      {"[setup]\r\nTopX=10\r\n", 10, 0},
      {"[setup]\r\nTopX=10\r\nadditionalValues=0\r\n[scores]\r\n3_score=lots\r\n", 10, 0},
      {nullptr, 101, 0},
  };
  for (const auto& [file, topX, values] : cases) {
    SCOPED_TRACE(file ? file : "size " + std::to_string(topX) + " " + std::to_string(values));
    std::filesystem::remove(app.path() / "bad.ini");
    if (file) app.Write("bad.ini", file);
    Extra extra;
    EXPECT_FALSE(Create(extra, "bad.ini", topX, values));
    EXPECT_EQ(app.LogLines().back(), "Error in loading HighScores : " + app.str() + "\\bad.ini");
    EXPECT_EQ(extra.HighScore_NewScore(10, "x", {}), 0);
    EXPECT_EQ(extra.HighScore_CheckPos(10), 0);
    EXPECT_EQ(extra.HighScore_GetName(1), "");
    EXPECT_EQ(app.Has("bad.ini"), file != nullptr);
    EXPECT_EQ(app.Read("bad.ini"), file ? file : "");
  }
}

// A new best score in a table read from its file moves every row down, its values with it: the file
// is replaced once, and holds what writing key by key in place gives.
TEST(HighScore, TheFileTextAfterInserts) {
  TempAppFolder app;
  Extra extra, loaded;
  ASSERT_TRUE(Create(extra, "small.ini", 2, 0));
  EXPECT_EQ(extra.HighScore_NewScore(500, "Ann", {"a"}), 1);
  ASSERT_TRUE(Create(loaded, "small.ini", 2, 0));
  const uint64_t changesBefore = platform::files::WriteGeneration();
  EXPECT_EQ(loaded.HighScore_NewScore(600, "Bo", {"b"}), 1);
  EXPECT_EQ(platform::files::WriteGeneration() - changesBefore, 1u) << "one replacement of the file";
  EXPECT_EQ(app.Read("small.ini"),
            "[setup]\r\nTopX=2\r\nadditionalValues=0\r\n"
            "[scores]\r\n3_score=0\r\n3_name=\r\n3_value_0=\r\n2_score=500\r\n2_name=Ann\r\n2_value_0=a\r\n"
            "1_score=600\r\n1_name=Bo\r\n1_value_0=b\r\n");
}
