#include <gtest/gtest.h>

#include "TempAppFolder.h"
#include "platform/Files.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
using testsupport::TempAppFolder;

namespace {

bool Contains(const std::string& haystack, const std::string& needle) {
  return haystack.find(needle) != std::string::npos;
}

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
  EXPECT_TRUE(Contains(file, "2_score=0\r\n"));
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
  EXPECT_EQ(extra.HighScore_GetName(0), "");
  EXPECT_EQ(extra.HighScore_GetScore(12), 0);
  EXPECT_EQ(extra.HighScore_GetName(-1), "");

  // A second object reads the same table back.
  Extra again;
  std::string sameName = "0HSCORE.INI";
  int16_t otherTop = 3, otherValues = 5;
  ASSERT_TRUE(again.HighScore_Create(sameName, otherTop, otherValues));
  EXPECT_EQ(otherTop, 10) << "the stored size wins";
  EXPECT_EQ(otherValues, 0);
  for (int16_t row = 0; row <= 11; ++row) {
    EXPECT_EQ(again.HighScore_GetScore(row), extra.HighScore_GetScore(row));
    EXPECT_EQ(again.HighScore_GetName(row), extra.HighScore_GetName(row));
  }
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

TEST(HighScore, ZeroRanksAndGarbledFilesFailSafely) {
  TempAppFolder app;
  {
    Extra extra;
    ASSERT_TRUE(Create(extra, "zero.ini", 0, 0));
    EXPECT_EQ(extra.HighScore_NewScore(1000, "a", {}), 0);
    EXPECT_EQ(extra.HighScore_CheckPos(1000), 1);
  }
  const char* garbled[] = {
      "[setup]\r\nTopX=ten\r\nadditionalValues=0\r\n",
      "[setup]\r\nTopX=-5\r\nadditionalValues=0\r\n",
      "[setup]\r\nTopX=100000\r\nadditionalValues=0\r\n",
      "[setup]\r\nTopX=30000\r\nadditionalValues=30000\r\n",
      // Tables this large took many minutes to fill, a file access per key.
      "[setup]\r\nTopX=1000\r\nadditionalValues=0\r\n",
      "[setup]\r\nTopX=10\r\nadditionalValues=255\r\n",
      "[setup]\r\nTopX=10\r\n",
      "[setup]\r\nTopX=10\r\nadditionalValues=0\r\n[scores]\r\n3_score=lots\r\n",
  };
  for (const char* contents : garbled) {
    app.Write("bad.ini", contents);
    Extra extra;
    EXPECT_FALSE(Create(extra, "bad.ini", 10, 0)) << contents;
    EXPECT_EQ(app.LogLines().back(), "Error in loading HighScores : " + app.str() + "\\bad.ini");
    EXPECT_EQ(extra.HighScore_NewScore(10, "x", {}), 0);
    EXPECT_EQ(extra.HighScore_CheckPos(10), 0);
    EXPECT_EQ(extra.HighScore_GetScore(1), 0);
    EXPECT_EQ(extra.HighScore_GetName(1), "");
    EXPECT_EQ(app.Read("bad.ini"), contents) << "a table that failed to load is never overwritten";
  }
}

TEST(HighScore, ASizeOverTheLimitsLeavesNoFile) {
  TempAppFolder app;
  for (const auto& [topX, values] :
       {std::pair<int16_t, int16_t>{101, 0}, {10, 17}, {-1, 0}, {10, -1}, {1000, 255}}) {
    Extra extra;
    EXPECT_FALSE(Create(extra, "refused.ini", topX, values)) << topX << " " << values;
    EXPECT_FALSE(app.Has("refused.ini")) << topX << " " << values;
    ASSERT_FALSE(app.LogLines().empty());
    EXPECT_EQ(app.LogLines().back(), "Error in loading HighScores : " + app.str() + "\\refused.ini");
    EXPECT_EQ(extra.HighScore_NewScore(10, "x", {}), 0);
  }
  // The largest table allowed is made.
  Extra extra;
  EXPECT_TRUE(Create(extra, "largest.ini", 100, 16));
  EXPECT_EQ(app.Read("largest.ini"), "[setup]\r\nTopX=100\r\nadditionalValues=16\r\n");
}

TEST(HighScore, TheFileTextAfterInserts) {
  TempAppFolder app;
  Extra extra;
  ASSERT_TRUE(Create(extra, "small.ini", 2, 0));
  EXPECT_EQ(extra.HighScore_NewScore(500, "Ann", {"a"}), 1);
  EXPECT_EQ(extra.HighScore_NewScore(600, "Bo", {"b"}), 1);
  EXPECT_EQ(app.Read("small.ini"),
            "[setup]\r\nTopX=2\r\nadditionalValues=0\r\n"
            "[scores]\r\n3_score=0\r\n3_name=\r\n3_value_0=\r\n2_score=500\r\n2_name=Ann\r\n2_value_0=a\r\n"
            "1_score=600\r\n1_name=Bo\r\n1_value_0=b\r\n");
}

TEST(HighScore, HostileFilesNeverCrashTheLoader) {
  TempAppFolder app;
  const std::string valid =
      "[setup]\r\nTopX=3\r\nadditionalValues=1\r\n[scores]\r\n1_score=90\r\n1_name=A\r\n1_value_0=x\r\n"
      "2_score=50\r\n2_name=B\r\n3_score=10\r\n";
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 1500; ++round) {
    std::string contents = valid;
    const int edits = 1 + static_cast<int>(next() % 8);
    for (int e = 0; e < edits; ++e) {
      const size_t at = next() % (contents.size() + 1);
      const uint32_t kind = next() % 4;
      if (kind == 0) contents.insert(at, 1, static_cast<char>(next() & 0xFF));
      if (kind == 1 && at < contents.size()) contents.erase(at, 1);
      if (kind == 2 && at < contents.size()) contents[at] = static_cast<char>(next() & 0xFF);
      if (kind == 3) contents.insert(at, std::to_string(static_cast<int32_t>(next())));
    }
    app.Write("fuzz.ini", contents);
    Extra extra;
    std::string name = "fuzz.ini";
    int16_t topX = 10, values = 0;
    if (extra.HighScore_Create(name, topX, values)) {
      EXPECT_GE(topX, 0);
      EXPECT_LE(topX, 1000);
      for (int16_t row = -1; row <= topX + 2; ++row) {
        extra.HighScore_GetScore(row);
        extra.HighScore_GetName(row);
        extra.HighScore_GetValue(row, 0);
        extra.HighScore_GetValue(row, values + 1);
      }
      extra.HighScore_CheckPos(75);
      extra.HighScore_NewScore(75, "fuzz", {"v"});
    }
  }
}

namespace {

struct Row {
  int score = 0;
  std::string name;
  std::vector<std::string> values;
};

// A table file as the engine lays it out once every key exists.
std::string TableFile(const std::vector<Row>& rows, int topX, int values) {
  std::string text = "[setup]\r\nTopX=" + std::to_string(topX) +
                     "\r\nadditionalValues=" + std::to_string(values) + "\r\n[scores]\r\n";
  for (size_t r = 0; r < rows.size(); ++r) {
    const std::string prefix = std::to_string(r);
    text += prefix + "_score=" + std::to_string(rows[r].score) + "\r\n" + prefix + "_name=" + rows[r].name +
            "\r\n";
    for (size_t k = 0; k < rows[r].values.size(); ++k)
      text += prefix + "_value_" + std::to_string(k) + "=" + rows[r].values[k] + "\r\n";
  }
  return text;
}

}  // namespace

// A new best score in a full table of the largest size moves every row down: the file is replaced
// once, and holds what writing key by key in place gives.
TEST(HighScore, ATopScoreInAFullTableReplacesTheFileOnce) {
  TempAppFolder app;
  const int topX = 100, values = 16;
  std::vector<Row> rows(topX + 2);
  for (int r = 1; r <= topX + 1; ++r) {
    rows[r].score = r <= topX ? 100000 - r * 10 : 5;
    rows[r].name = "P" + std::to_string(r);
  }
  for (int r = 0; r <= topX + 1; ++r)
    for (int k = 0; k <= values; ++k)
      rows[r].values.push_back("v" + std::to_string(r) + "_" + std::to_string(k));
  app.Write("t.ini", TableFile(rows, topX, values));

  Extra extra;
  std::string name = "t.ini";
  int16_t ranks = 10, extraValues = 0;
  ASSERT_TRUE(extra.HighScore_Create(name, ranks, extraValues));
  ASSERT_EQ(ranks, topX);

  std::vector<std::string> newValues;
  for (int k = 0; k <= values; ++k) newValues.push_back("new" + std::to_string(k));
  const uint64_t changesBefore = platform::files::WriteGeneration();
  EXPECT_EQ(extra.HighScore_NewScore(999999, "Best", newValues), 1);
  EXPECT_EQ(platform::files::WriteGeneration() - changesBefore, 1u) << "one replacement of the file";

  std::vector<Row> expected = rows;
  for (int r = topX + 1; r >= 2; --r) expected[r] = rows[r - 1];
  expected[1] = Row{999999, "Best", newValues};
  EXPECT_EQ(app.Read("t.ini"), TableFile(expected, topX, values));
  EXPECT_EQ(extra.HighScore_GetName(101), "P100");
}
