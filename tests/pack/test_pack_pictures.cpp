#include <gtest/gtest.h>

#include <cstdlib>

#include "CommandSupport.h"
#include "DiffMeasure.h"
#include "LevelSources.h"
#include "PackFixtures.h"

namespace {

using namespace packtest;
using namespace varnel::pack;

// Every found rectangle lies within tolerance of the true one, edge by edge.
void ExpectNear(const std::vector<PixelRect>& found, std::vector<PixelRect> truth, int tolerance,
                const std::string& what) {
  std::sort(truth.begin(), truth.end(), [](const PixelRect& p, const PixelRect& q) {
    return p.top != q.top ? p.top < q.top : p.left < q.left;
  });
  ASSERT_EQ(found.size(), truth.size()) << what;
  for (size_t i = 0; i < truth.size(); ++i) {
    EXPECT_LE(std::abs(found[i].left - truth[i].left), tolerance) << what << " rectangle " << i;
    EXPECT_LE(std::abs(found[i].right - truth[i].right), tolerance) << what << " rectangle " << i;
    EXPECT_LE(std::abs(found[i].top - truth[i].top), tolerance) << what << " rectangle " << i;
    EXPECT_LE(std::abs(found[i].bottom - truth[i].bottom), tolerance) << what << " rectangle " << i;
  }
}

std::optional<Image> RoundTrip(const Image& image, const fs::path& file, bool jpeg) {
  std::string error;
  EXPECT_TRUE(jpeg ? SaveJpeg(image, file, 92, &error) : SavePng(image, file, &error)) << error;
  return LoadImage(file, &error);
}

TEST(Differences, FindsFiveDifferencesThroughPngAndJpeg) {
  TempFolder folder;
  const Image original = NoisyPicture(256, 380, 7);
  const Image modified = WithDifferences(original, FiveRects());
  EXPECT_EQ(FindDifferences(original, modified).size(), 5u);
  for (bool jpeg : {false, true}) {
    auto a = RoundTrip(original, folder / (jpeg ? "a.jpg" : "a.png"), jpeg);
    auto b = RoundTrip(modified, folder / (jpeg ? "b.jpg" : "b.png"), jpeg);
    ASSERT_TRUE(a && b);
    ExpectNear(FindDifferences(*a, *b), FiveRects(), 3, jpeg ? "JPEG" : "PNG");
    EXPECT_TRUE(Measure(*a, *b, FindDifferences(*a, *b)).outside.empty());
  }
}

TEST(Differences, CountsSeparateRegionsMergesPiecesAndIgnoresNoise) {
  const Image original = NoisyPicture(380, 256, 11);
  std::vector<PixelRect> six = FiveRects();
  six.push_back({300, 150, 330, 200});
  EXPECT_EQ(FindDifferences(original, WithDifferences(original, six)).size(), 6u);
  EXPECT_EQ(FindDifferences(original, WithDifferences(original, {six.begin(), six.begin() + 4})).size(), 4u);

  // Two strokes three pixels apart are one difference; a speck of two pixels is none.
  Image modified = WithDifferences(original, {{50, 50, 52, 90}, {56, 50, 58, 90}, {200, 200, 201, 200}});
  EXPECT_EQ(FindDifferences(original, modified), (std::vector<PixelRect>{{48, 48, 60, 92}}));

  // Padding stops at the picture's edges: a difference in a corner keeps its rectangle inside.
  const Image corners = WithDifferences(original, {{0, 0, 9, 9}, {370, 246, 379, 255}});
  EXPECT_EQ(FindDifferences(original, corners), (std::vector<PixelRect>{{0, 0, 11, 11}, {368, 244, 379, 255}}));

  // Faint changes (below what a player sees) are not differences.
  Image faint = original;
  for (auto& byte : faint.rgb) byte = static_cast<uint8_t>(byte + 12);
  EXPECT_TRUE(FindDifferences(original, faint).empty());
}

TEST(Differences, MeasuresWhatRectanglesHoldAndWhatLiesOutside) {
  const Image original = NoisyPicture(256, 380, 3);
  const Image modified = WithDifferences(original, {{10, 10, 30, 30}, {100, 300, 120, 330}});
  // The second rectangle misses its difference by a wide margin; the third holds nothing.
  const Measurement m =
      Measure(original, modified, {{8, 8, 32, 32}, {100, 200, 120, 230}, {200, 10, 220, 30}});
  EXPECT_GT(m.pixelsInside[0], 400);
  EXPECT_EQ(m.pixelsInside[1], 0);
  EXPECT_EQ(m.pixelsInside[2], 0);
  EXPECT_EQ(m.outside, (std::vector<PixelRect>{{100, 300, 120, 330}}));
  // A JPEG-blurred edge a pixel or two beyond the rectangle is still the rectangle's.
  EXPECT_TRUE(Measure(original, modified, {{12, 12, 28, 28}, {102, 302, 118, 328}}).outside.empty());
}

TEST(Pictures, ScaleToCoverKeepsTheMiddleAndEveryDetail) {
  Image wide(760, 512, {0, 0, 0});  // twice 380 x 256 in both directions
  FillRect(wide, {100, 100, 101, 101}, {255, 255, 255});
  Image half = ScaleToCover(wide, 380, 256);
  ASSERT_EQ(half.width, 380);
  ASSERT_EQ(half.height, 256);
  EXPECT_EQ(half.At(50, 50)[0], 255) << "a 2 x 2 block shrinks to one pixel, not to nothing";
  EXPECT_EQ(half.At(49, 50)[0], 0);

  // A square picture for a portrait place: scaled to 380 high, the sides cut alike.
  Image square(100, 100, {0, 0, 0});
  FillRect(square, {0, 0, 49, 99}, {255, 0, 0});
  Image portrait = ScaleToCover(square, 256, 380);
  ASSERT_EQ(portrait.width, 256);
  EXPECT_EQ(portrait.At(124, 190)[0], 255);
  EXPECT_EQ(portrait.At(130, 190)[0], 0);
  EXPECT_EQ(portrait.At(0, 0)[0], 255);
  EXPECT_EQ(portrait.At(255, 379)[0], 0);
}

TEST(Pictures, NamesAndTextsAtTheEdge) {
  EXPECT_FALSE(EntryNameProblem("1.jpg"));
  EXPECT_FALSE(EntryNameProblem("pics\\1.jpg"));
  for (const char* bad :
       {"", "../x.jpg", "a/b.jpg", "..\\x.jpg", "C:x.jpg", "a\\\\b", ".", "x\ny", "\\x.jpg"})
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

  problems.clear();
  fs::remove(folder / "4.jpg");
  fs::remove(folder / "4x.jpg");
  WriteFile(folder / "3.jpg", "x");
  WriteFile(folder / "2.bmp", "x");
  ScanLevels(folder.path(), &problems);
  EXPECT_EQ(problems.size(), 2u) << ::testing::PrintToString(problems);
}

}  // namespace
