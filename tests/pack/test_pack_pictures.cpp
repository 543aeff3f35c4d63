// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include "CommandSupport.h"
#include "DiffMeasure.h"
#include "LevelSources.h"
#include "PackFixtures.h"

namespace {

using namespace packtest;
using namespace varnel::pack;

TEST(Differences, CountsSeparateRegionsMergesPiecesAndIgnoresNoise) {
  // Counting five and four separate differences is checked through the make command.
  const Image original = NoisyPicture(380, 256, 11);
  // Two strokes three pixels apart are one difference; a speck of two pixels is none.
  Image modified = WithDifferences(original, {{50, 50, 52, 90}, {56, 50, 58, 90}, {200, 200, 201, 200}});
  EXPECT_EQ(FindDifferences(original, modified), (std::vector<PixelRect>{{48, 48, 60, 92}}));

  // Padding stops at the picture's edges: a difference in a corner keeps its rectangle inside.
  const Image corners = WithDifferences(original, {{0, 0, 9, 9}, {370, 246, 379, 255}});
  EXPECT_EQ(FindDifferences(original, corners),
            (std::vector<PixelRect>{{0, 0, 11, 11}, {368, 244, 379, 255}}));

  // Faint changes (below what a player sees) are not differences.
  Image faint = original;
  for (auto& byte : faint.rgb) byte = static_cast<uint8_t>(byte + 12);
  EXPECT_TRUE(FindDifferences(original, faint).empty());
}

TEST(Pictures, ScalingKeepsEveryDetailAndNamesAndTextsAtTheEdge) {
  Image wide(760, 512, {0, 0, 0});  // twice 380 x 256 in both directions
  FillRect(wide, {100, 100, 101, 101}, {255, 255, 255});
  Image half = ScaleToCover(wide, 380, 256);
  ASSERT_EQ(half.width, 380);
  ASSERT_EQ(half.height, 256);
  EXPECT_EQ(half.At(50, 50)[0], 255) << "a 2 x 2 block shrinks to one pixel, not to nothing";
  EXPECT_EQ(half.At(49, 50)[0], 0);

  EXPECT_FALSE(EntryNameProblem("1.jpg"));
  EXPECT_FALSE(EntryNameProblem("pics\\1.jpg"));
  for (const std::string& name : NamesLeadingOut("x")) EXPECT_TRUE(EntryNameProblem(name)) << name;
  for (const char* bad : {"", "a/b.jpg", "a\\\\b", ".", "x\ny", "\\x.jpg"})
    EXPECT_TRUE(EntryNameProblem(bad)) << bad;

  std::string error;
  EXPECT_EQ(IniText("one\ntwo\r\nthree", &error), "one[e]two[e]three");
  EXPECT_FALSE(IniText(std::string(255, 'a'), &error));
  EXPECT_NE(error.find("at most 254"), std::string::npos);
}

TEST(Pictures, ScanLevelsWantsNumberedPairsWithoutGaps) {
  TempFolder folder;
  for (const char* name : {"1.jpg", "1x.JPG", "2.png", "2X.png", "2.txt", "notes.txt", "cover.png"})
    WriteFile(folder / name, "x");
  std::vector<std::string> problems;
  std::vector<SourceLevel> levels = ScanLevels(folder.path(), &problems);
  EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[1].modified.filename(), "2X.png");
  EXPECT_EQ(levels[1].caption.filename(), "2.txt");

  WriteFile(folder / "4.jpg", "x");
  WriteFile(folder / "4x.jpg", "x");
  ScanLevels(folder.path(), &problems);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("level 3 is missing"), std::string::npos) << problems[0];

  // An original without its modified picture, and two originals of one level.
  problems.clear();
  WriteFile(folder / "3.jpg", "x");
  WriteFile(folder / "2.bmp", "x");
  ScanLevels(folder.path(), &problems);
  EXPECT_EQ(problems.size(), 2u) << ::testing::PrintToString(problems);
}

}  // namespace
