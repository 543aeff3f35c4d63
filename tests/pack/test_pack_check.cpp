#include <gtest/gtest.h>

#include <functional>

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
  EXPECT_EQ(report.levels[1].rects[2].Left, 200);
  EXPECT_EQ(report.levels[1].rects[2].Right, 230);
  EXPECT_EQ(report.levels[1].rects[2].Top, 100);
  EXPECT_EQ(report.levels[1].rects[2].Bottom, 140);
  EXPECT_TRUE(LeftInAppFolder().empty()) << ::testing::PrintToString(LeftInAppFolder());
  EXPECT_EQ(extra.PAK_FileCount(), 7) << "the pack stays the open archive";
}

// Vertical="FALSE" and a level count of 2.5 are what the game converts; a JPEG pair wins over bitmaps.
TEST_F(PackCheckTest, AcceptsWhatTheGameConvertsAndPrefersJpegOverBitmaps) {
  Entries entries = SoundPack();
  SetEntry(entries, "packinfo.ini", PackInfo(" 2.5 ", "FALSE"));  // a fraction rounds half to even
  entries.push_back({"2.jpg", "jpeg two"});
  entries.push_back({"2x.jpg", "jpeg two, changed"});
  const PackReport report = Check(entries);
  EXPECT_TRUE(report.ok()) << ::testing::PrintToString(report.problems);
  EXPECT_EQ(report.numLevels, 2);
  EXPECT_FALSE(report.vertical);
  ASSERT_EQ(report.levels.size(), 2u);
  EXPECT_EQ(report.levels[1].originalEntry, "2.jpg");
}

struct BrokenPack {
  const char* what;
  std::function<void(Entries&)> breakIt;
  std::string expected;
};

TEST_F(PackCheckTest, NamesEachKindOfProblemOnce) {
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
}

TEST_F(PackCheckTest, RefusesFilesThatAreNoPacksAndShortNames) {
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

  // A hostile entry name is never written outside the application folder.
  Entries entries = SoundPack();
  entries.insert(entries.begin(), {"..\\..\\packinfo.ini", PackInfo("1", "True")});
  entries.push_back({"../escape.jpg", "x"});
  Check(entries);
  EXPECT_FALSE(fs::exists(app.path().parent_path() / "packinfo.ini"));
  EXPECT_TRUE(LeftInAppFolder().empty());
}

// Garbled numbers and Booleans in a pack's INI files are refused, not read as 0.
TEST(PackText, ConvertsNumbersBooleansLevelCountsAndNames) {
  using namespace varnel::packs;
  EXPECT_EQ(NumberFromText("+.5"), 0.5);
  EXPECT_EQ(NumberFromText("1e2"), 100.0);
  for (const char* notNumber : {"", " ", "abc", "1O", "1e", "inf", "nan", "0x10", "1,5", "--1", "."})
    EXPECT_FALSE(NumberFromText(notNumber)) << notNumber;

  EXPECT_EQ(BooleanFromText("-1"), true);
  EXPECT_EQ(BooleanFromText("0.0"), false);
  EXPECT_EQ(LevelCountFromText("0.5"), std::nullopt) << "rounds to 0";
  EXPECT_EQ(LevelCountFromText("50.5"), 50) << "half to even";
  EXPECT_EQ(LevelCountFromText("51"), std::nullopt);

  EXPECT_EQ(DisplayName("\\packs\\Summer Walk.vnl"), "Summer Walk");
  EXPECT_EQ(DisplayName("Z:/home/me/a/b.vnl"), "b");
  EXPECT_EQ(DisplayName("abc"), "");
}

// The play screen's title (the game tests cover the Latin-1 letters): the few small letters of
// 0x80-0x9F, and the signs without a capital in the code page.
TEST(PackNames, CapitalsFollowTheWindows1252CaseMapping) {
  using namespace varnel::packs;
  EXPECT_EQ(Capitals("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");
  EXPECT_EQ(Capitals("stra\xDF"
                     "e \xB5m \xF7 \x80"),
            "STRA\xDF"
            "E \xB5M \xF7 \x80");
  EXPECT_EQ(TitleName("\\packs\\Caf\xE9 du Nord.vnl"), "CAF\xC9 DU NORD");
}

}  // namespace
