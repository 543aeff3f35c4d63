// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "Ini.h"
#include "TempAppFolder.h"
#include "modExtra.h"
#include "tovak2d/Extra.h"
#include "tovak2d/IniBatch.h"

using namespace tovak2d;
using modExtra::ReadIniValue;
using modExtra::WriteIniValue;
using modExtra::WriteIniValues;
namespace fs = std::filesystem;

namespace {

class IniTest : public ::testing::Test {
 protected:
  std::string Bytes(const std::string& name) { return app_.Read(name); }
  void Put(const std::string& name, const std::string& data) { app_.Write(name, data); }

  testsupport::TempAppFolder app_;
  Extra extra_;
};

TEST_F(IniTest, ReadsByTheProfileRules) {
  Put("a.ini",
      "orphan=before any section\n[ Options ]\r\n;TopX=commented\r\n  TopX  =  5  \r\n"
      "Quoted=\"  spaced  \"\nLong=" +
          std::string(300, 'L') + "\nBare\n[options]\nSecond=only in the second section\n");
  // The first section of a name counts: "Second" is not found.
  const std::vector<std::array<std::string, 3>> reads = {
      {"Options", "TopX ", "5"}, {" OPTIONS", "topx", "5"}, {"Options", "Quoted", "  spaced  "},
      {"Options", "Bare", ""},   {"Options", ";TopX", ""},  {"", "orphan", ""},
      {"Options", "Second", ""}, {"Missing", "TopX", ""},   {"Options", "Long", std::string(254, 'L')}};
  for (const auto& [section, key, value] : reads)
    EXPECT_EQ(ReadIniValue(section, key, "a.ini"), value) << key;

  // Names are resolved as PathRule says; the game's own options file is read by the PlayOptions tests.
  EXPECT_EQ(ReadIniValue("Options", "TopX", "none.ini"), "");
  EXPECT_FALSE(fs::exists(app_.path() / "none.ini"));
}

// A file cut off between CR and LF, and the write keeping every other key, are replayed by
// fuzz.replay.ini.
TEST_F(IniTest, WritesChangeOneLineAndKeepTheRest) {
  const std::string tail = "Other=1\n\n; end of general\n[Next]\r\nKey=v";
  Put("s.ini", "; scores\n[General]\nName = Old  \n" + tail);
  EXPECT_EQ(WriteIniValue("general", " NAME", "New", "s.ini"), 1);
  EXPECT_EQ(Bytes("s.ini"), "; scores\n[General]\nName=New\r\n" + tail);
  EXPECT_EQ(WriteIniValue("General", "Added", " padded ", "s.ini"), 1);
  EXPECT_EQ(WriteIniValue("Next", "Last", "x", "s.ini"), 1);
  EXPECT_EQ(WriteIniValue("Fresh", "k", "line1\r\nline2", "s.ini"), 1);
  EXPECT_EQ(Bytes("s.ini"),
            "; scores\n[General]\nName=New\r\nOther=1\nAdded= padded \r\n\n; end of general\n"
            "[Next]\r\nKey=v\r\nLast=x\r\n[Fresh]\r\nk=line1\r\n");
  EXPECT_EQ(ReadIniValue("General", "Added", "s.ini"), "padded");

  // A CR or NUL inside a value ends it on reading, as it does on writing: a value read and written
  // elsewhere reads back the same (a high-score row moved down keeps its name).
  Put("odd.ini", std::string("[S]\r\nName=Ann\0Bee\r\nOther=a \r b\r\n", 32));
  for (auto [key, value] : {std::pair{"Name", "Ann"}, {"Other", "a"}}) {
    EXPECT_EQ(ReadIniValue("S", key, "odd.ini"), value);
    EXPECT_EQ(WriteIniValue("S", std::string(key) + "Copy", value, "odd.ini"), 1);
    EXPECT_EQ(ReadIniValue("S", std::string(key) + "Copy", "odd.ini"), value) << key;
  }

  EXPECT_NE(extra_.INIWrite("Options", "Screen", "True", "new.ini"), 0);
  EXPECT_EQ(Bytes("new.ini"), "[Options]\r\nScreen=True\r\n");
  // Scrambled values are an XOR with the key byte.
  EXPECT_EQ(extra_.EnDeCode("A"), "\x1B");  // 0x41 ^ 0x5A
  EXPECT_EQ(extra_.INIWrite("Scores", "Name1", "Player One", "h.ini", true), 1);
  EXPECT_EQ(extra_.INIRead("Scores", "Name1", "h.ini"),
            "\xFD\xC1\xCC\xD4\xC8\xDF\x8D\xE2\xC3\xC8");  // ^ 0xAD
  // A write that cannot happen: PlayerFilesTest.ReadOnlyFilesAreNeverWrittenAndTheCallsSaySo.
}

TEST_F(IniTest, ABatchOfWritesGivesTheBytesOfWritingThemOneByOne) {
  // Files and names built from the pieces that change how a line reads: brackets, '=', ';',
  // blanks, case, line breaks of both kinds and none at the end.
  const std::vector<std::string> pieces = {"[S]", "[s ]", "[T]", "[",    "]",  "k",  "K", "k2",        "=",
                                           "=v",  ";",    " ",   "\r\n", "\n", "\r", "x", "[S]\r\nk=1"};
  const std::vector<std::string> names = {"S", "s", " S ", "T", "U", "", "[", "]", "a=b", ";c", "[d]"};
  const std::vector<std::string> keys = {"k", "K", " k ", "k2", "n", "", "[x", "y]", "a=b", ";c", "z"};
  const std::vector<std::string> values = {"1", "", " v ", "]", "[w]", "a\r\nb", "=", ";"};
  std::mt19937 random(4711);
  auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
  for (int round = 0; round < 1500; ++round) {
    std::string text;
    for (int n = int(random() % 12); n > 0; --n) text += pick(pieces);
    std::vector<modExtra::IniWrite> writes;
    for (int n = 1 + int(random() % 8); n > 0; --n) writes.push_back({pick(names), pick(keys), pick(values)});
    Put("batch.ini", text);
    Put("single.ini", text);
    ASSERT_EQ(WriteIniValues(writes, "batch.ini"), 1);
    for (const auto& write : writes)
      ASSERT_EQ(WriteIniValue(write.section, write.key, write.value, "single.ini"), 1);
    ASSERT_EQ(Bytes("batch.ini"), Bytes("single.ini")) << "round " << round;
  }
}

// Every read looks at the file as it is now: a table read and written over several ticks of the file
// system's clock, as a game does it, and another file rewritten in place with the same size at once.
TEST_F(IniTest, EveryReadSeesTheFileAsItIsNow) {
  for (int round = 1; round <= 4; ++round) {
    EXPECT_EQ(ReadIniValue("scores", "1_score", "t.ini"), round == 1 ? "" : std::to_string(round - 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    ASSERT_TRUE(WriteIniValue("scores", "1_score", std::to_string(round), "t.ini"));
    EXPECT_EQ(ReadIniValue("scores", "1_score", "t.ini"), std::to_string(round)) << "round " << round;
    for (const std::string& value : {std::string("x"), std::to_string(round)}) {
      Put("a.ini", "[s]\r\nk=" + value + "\r\n");
      EXPECT_EQ(ReadIniValue("s", "k", "a.ini"), value);
    }
  }
  fs::remove(app_.path() / "a.ini");
  EXPECT_EQ(ReadIniValue("s", "k", "a.ini"), "");
}

TEST_F(IniTest, ABatchTrustsWhatItReadUntilThisProcessWrites) {
  Put("a.ini", "[s]\r\nk=1\r\n");
  {
    IniReadBatch batch;
    EXPECT_EQ(ReadIniValue("s", "k", "a.ini"), "1");
    // Changed by another program during the batch: the batch keeps what it read.
    Put("a.ini", "[s]\r\nk=22\r\n");
    {
      IniReadBatch inner;  // batches nest: the outer one still trusts after this one ends
    }
    EXPECT_EQ(ReadIniValue("s", "k", "a.ini"), "1");
    // A write of this process ends the trust in every file, the one written and any other.
    ASSERT_TRUE(WriteIniValue("s", "other", "x", "b.ini"));
    EXPECT_EQ(ReadIniValue("s", "k", "a.ini"), "22");
    EXPECT_EQ(ReadIniValue("s", "other", "b.ini"), "x");
    Put("a.ini", "[s]\r\nk=333\r\n");
  }
  // After the batch every read looks at the file again.
  EXPECT_EQ(ReadIniValue("s", "k", "a.ini"), "333");
}

}  // namespace
