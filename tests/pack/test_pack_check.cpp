// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "PackFixtures.h"

namespace {

using namespace packtest;
using varnel::packs::CheckPack;
using varnel::packs::PackReport;

// The engine started on a fresh application folder, as the game starts it, with a pack folder.
class PackCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.Tovak2D_Start_OnlySound(nullptr, app.path().string());
    fs::create_directory(app / "packs");
  }
  void TearDown() override { engine.Tovak2D_Unload(); }

  PackReport Check(const Entries& entries, const std::string& fileName = "test.vnl") {
    WriteFile(app.path() / "packs" / fileName, AppendedArchive(entries));
    return CheckPack(extra, "\\packs\\" + fileName, "~check-", app.path());
  }

  // Nothing but the log and the pack folder: every scratch copy is gone.
  std::vector<std::string> LeftInAppFolder() const {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(app.path()))
      if (item.path().filename() != "log.txt" && item.path().filename() != "packs")
        names.push_back(item.path().filename().string());
    return names;
  }

  TempFolder app;
  tovak2d::Engine engine;
  tovak2d::Extra extra;
};

// Two levels: a JPEG pair and a bitmap pair.
Entries SoundPack() {
  return {{"packinfo.ini", PackInfo("2", "True", "First line[e]second line")},
          {"hscore.ini", kEmptyScores},
          {"picinfo.ini", PicInfoSection(1, FiveRects(), "Look closely") + PicInfoSection(2, FiveRects())},
          {"1.jpg", "jpeg one"},
          {"1x.jpg", "jpeg one, changed"},
          {"2.bmp", "bitmap two"},
          {"2x.bmp", "bitmap two, changed"}};
}

// The text with the first occurrence of from replaced (level 1 comes first).
std::string ReplaceFirst(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

TEST_F(PackCheckTest, ReadsASoundPackAndLeavesNoScratchFiles) {
  const PackReport report = Check(SoundPack());
  EXPECT_TRUE(report.ok()) << ::testing::PrintToString(report.problems);
  EXPECT_EQ(report.numLevels, 2);
  EXPECT_TRUE(report.vertical);
  EXPECT_EQ(report.packInfo, "First line[e]second line");
  ASSERT_EQ(report.levels.size(), 2u);
  EXPECT_EQ(report.levels[0].modifiedEntry, "1x.jpg");
  EXPECT_EQ(report.levels[0].caption, "Look closely");
  EXPECT_EQ(report.levels[1].modifiedEntry, "2x.bmp") << "without a JPEG original the game takes the bitmaps";
  const auto& r = report.levels[1].rects[2];
  EXPECT_EQ(std::tuple(r.Left, r.Right, r.Top, r.Bottom), std::tuple(200.0f, 230.0f, 100.0f, 140.0f));
  EXPECT_TRUE(LeftInAppFolder().empty()) << ::testing::PrintToString(LeftInAppFolder());
  EXPECT_EQ(extra.PAK_FileCount(), 7) << "the pack stays the open archive";
}

struct BrokenPack {
  const char* what;
  std::function<void(Entries&)> breakIt;
  std::string expected;
};

TEST_F(PackCheckTest, NamesEachKindOfProblemOnceAndRefusesFilesThatAreNoPacks) {
  const std::string picInfo = PicInfoSection(1, FiveRects(), "Look closely") + PicInfoSection(2, FiveRects());
  auto info = [](const std::string& levels, const std::string& vertical) {
    return [=](auto& e) { SetEntry(e, "packinfo.ini", PackInfo(levels, vertical)); };
  };
  const std::vector<BrokenPack> cases = {
      {"no packinfo.ini", [](auto& e) { RemoveEntry(e, "packinfo.ini"); }, "packinfo.ini is missing"},
      {"no picinfo.ini", [](auto& e) { RemoveEntry(e, "picinfo.ini"); }, "picinfo.ini is missing"},
      {"no level count", info("", "True"), "packinfo.ini: NumOfLevels is missing"},
      {"a word for a count", info("two", "True"), "packinfo.ini: NumOfLevels \"two\" is not a number"},
      {"no levels", info("0", "True"), "packinfo.ini: NumOfLevels 0 is outside 1 to 50"},
      {"no layout", info("2", ""), "packinfo.ini: Vertical is missing"},
      {"a layout that is no Boolean", info("2", "maybe"),
       "packinfo.ini: Vertical \"maybe\" is not True or False"},
      {"a rectangle value missing",
       [&](auto& e) { SetEntry(e, "picinfo.ini", ReplaceFirst(picInfo, "3Top=100\r\n", "")); },
       "picinfo.ini: level 1: 3Top is missing"},
      {"a rectangle value garbled",
       [&](auto& e) { SetEntry(e, "picinfo.ini", ReplaceFirst(picInfo, "3Top=100", "3Top=1O0")); },
       "picinfo.ini: level 1: 3Top \"1O0\" is not a number"},
      {"a level without its section",
       [&](auto& e) { SetEntry(e, "picinfo.ini", PicInfoSection(1, FiveRects(), "Look closely")); },
       "picinfo.ini: level 2 has no section [2]"},
      {"a level without pictures",
       [](auto& e) {
         RemoveEntry(e, "2.bmp");
         RemoveEntry(e, "2x.bmp");
       },
       "level 2: the picture pair is missing (2.jpg + 2x.jpg or 2.bmp + 2x.bmp)"},
      {"a modified bitmap missing", [](auto& e) { RemoveEntry(e, "2x.bmp"); },
       "level 2: 2x.bmp is missing (the game pairs it with 2.bmp)"},
      {"a JPEG original hiding the bitmap pair",
       [](auto& e) {
         e.push_back({"2.jpg", "jpeg two"});
       },
       "level 2: 2x.jpg is missing (the game pairs it with 2.jpg)"},
  };
  for (const BrokenPack& broken : cases) {
    Entries entries = SoundPack();
    broken.breakIt(entries);
    const PackReport report = Check(entries);
    EXPECT_EQ(report.problems, std::vector<std::string>{broken.expected}) << broken.what;
    EXPECT_TRUE(LeftInAppFolder().empty()) << broken.what;
  }

  // Files that are no packs, and names too short.
  WriteFile(app / "packs" / "text.vnl", "just some text, no markers");
  EXPECT_EQ(CheckPack(extra, "\\packs\\text.vnl", "~check-", app.path()).problems,
            std::vector<std::string>{"the file holds no archive entries"});

  // A failed open leaves the last pack open; the check must not read that one instead.
  ASSERT_TRUE(Check(SoundPack()).ok());
  EXPECT_EQ(CheckPack(extra, "\\packs\\missing.vnl", "~check-", app.path()).problems,
            std::vector<std::string>{"the archive cannot be read"});

  const PackReport shortName = Check(SoundPack(), "ab");
  EXPECT_EQ(shortName.problems,
            std::vector<std::string>{"the file name \"ab\" is shorter than four characters"});
  EXPECT_TRUE(Check(SoundPack(), "abcd").ok());
}

// Garbled numbers and Booleans in a pack's INI files are refused, not read as 0 (what the game converts
// passes: the check reads settings with these, PackCheckTest its problems); the play screen's
// title takes the capitals of 0x80-0x9F and keeps the signs without one (the game tests cover Latin-1).
TEST(PackText, ConvertsNumbersBooleansLevelCountsAndNames) {
  using namespace varnel::packs;
  EXPECT_EQ(NumberFromText("+.5"), 0.5);
  EXPECT_EQ(NumberFromText("1e2"), 100.0);
  for (const char* notNumber : {"", " ", "1O", "1e", "inf", "nan", "0x10", "1,5", "--1", "."})
    EXPECT_FALSE(NumberFromText(notNumber)) << notNumber;
  EXPECT_EQ(BooleanFromText("-1"), true);
  EXPECT_EQ(BooleanFromText("0.0"), false);
  EXPECT_EQ(BooleanFromText("FALSE"), false);
  EXPECT_EQ(LevelCountFromText("0.5"), std::nullopt) << "rounds to 0";
  EXPECT_EQ(LevelCountFromText(" 2.5 "), 2) << "half to even";
  EXPECT_EQ(DisplayName("Z:/home/me/a/b.vnl"), "b");
  EXPECT_EQ(DisplayName("abc"), "");
  EXPECT_EQ(Capitals("\x9A\x9E\xDF\xB5\xF7\x80 a"), "\x8A\x8E\xDF\xB5\xF7\x80 A");
}

}  // namespace
