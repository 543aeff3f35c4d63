#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Ini.h"
#include "tovak2d/IniBatch.h"
#include "TempAppFolder.h"

using namespace tovak2d;
using testsupport::TempAppFolder;

TEST(IniReread, EveryReadSeesTheFileAsItIsNow) {
  TempAppFolder app;
  // Rewritten in place with the same size between reads: the parsed copy of the first read must not
  // answer the second.
  app.Write("a.ini", "[s]\r\nk=1\r\n");
  EXPECT_EQ(modExtra::ReadIniValue("s", "k", "a.ini"), "1");
  app.Write("a.ini", "[s]\r\nk=2\r\n");
  EXPECT_EQ(modExtra::ReadIniValue("s", "k", "a.ini"), "2");

  // Two files read in turn, and a file that goes away.
  app.Write("b.ini", "[s]\r\nk=b\r\n");
  EXPECT_EQ(modExtra::ReadIniValue("s", "k", "b.ini"), "b");
  EXPECT_EQ(modExtra::ReadIniValue("s", "k", "a.ini"), "2");
  ASSERT_TRUE(modExtra::WriteIniValue("s", "k", "3", "a.ini"));
  EXPECT_EQ(modExtra::ReadIniValue("S", "K", "a.ini"), "3");
  std::filesystem::remove(app.path() / "a.ini");
  EXPECT_EQ(modExtra::ReadIniValue("s", "k", "a.ini"), "");
}

TEST(IniReread, ATableWrittenKeyByKeyIsReadBackOverTime) {
  TempAppFolder app;
  const std::string file = (app.path() / "t.ini").string();
  // Reads and writes spread over several ticks of the file system's clock, as a game does them.
  EXPECT_EQ(modExtra::ReadIniValue("scores", "1_score", file), "");
  ASSERT_TRUE(modExtra::WriteIniValue("setup", "TopX", "10", file));
  for (int round = 1; round <= 6; ++round) {
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    EXPECT_EQ(modExtra::ReadIniValue("scores", "1_score", file), round == 1 ? "" : std::to_string(round - 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    ASSERT_TRUE(modExtra::WriteIniValue("scores", "1_score", std::to_string(round), file));
    EXPECT_EQ(modExtra::ReadIniValue("scores", "1_score", file), std::to_string(round)) << "round " << round;
  }
}

TEST(IniReread, ABatchTrustsWhatItReadUntilThisProcessWrites) {
  TempAppFolder app;
  app.Write("a.ini", "[s]\r\nk=1\r\n");
  {
    IniReadBatch batch;
    EXPECT_EQ(modExtra::ReadIniValue("s", "k", "a.ini"), "1");
    // Changed by another program during the batch: the batch keeps what it read.
    app.Write("a.ini", "[s]\r\nk=22\r\n");
    EXPECT_EQ(modExtra::ReadIniValue("s", "k", "a.ini"), "1");
    {
      IniReadBatch inner;  // batches nest: the outer one still trusts after this one ends
    }
    EXPECT_EQ(modExtra::ReadIniValue("s", "k", "a.ini"), "1");
    // A write of this process ends the trust in every file, the one written and any other.
    app.Write("b.ini", "[s]\r\nk=b\r\n");
    EXPECT_EQ(modExtra::ReadIniValue("s", "k", "b.ini"), "b");
    ASSERT_TRUE(modExtra::WriteIniValue("s", "other", "x", "b.ini"));
    EXPECT_EQ(modExtra::ReadIniValue("s", "k", "a.ini"), "22");
    EXPECT_EQ(modExtra::ReadIniValue("s", "other", "b.ini"), "x");
    app.Write("a.ini", "[s]\r\nk=333\r\n");
  }
  // After the batch every read looks at the file again.
  EXPECT_EQ(modExtra::ReadIniValue("s", "k", "a.ini"), "333");
}
