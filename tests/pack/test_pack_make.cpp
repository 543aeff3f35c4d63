// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <cstdlib>

#include "PackFixtures.h"

namespace {

using namespace packtest;

std::vector<PixelRect> Scaled(const std::vector<PixelRect>& rects, int factor, int shiftX = 0) {
  std::vector<PixelRect> out;
  for (const PixelRect& r : rects)
    out.push_back({r.left * factor + shiftX, r.top * factor, (r.right + 1) * factor - 1 + shiftX,
                   (r.bottom + 1) * factor - 1});
  return out;
}

class MakeAndVerify : public InWorkFolder {
 protected:
  varnel::packs::PackReport Report(const std::string& pack) { return CheckedPack(work / pack); }

  void SavePair(const std::string& folder, int level, const Image& original,
                const std::vector<PixelRect>& rects, const std::string& extension) {
    fs::create_directories(work / folder);
    const fs::path base = work / folder / std::to_string(level);
    std::string error;
    const Image modified = WithDifferences(original, rects);
    if (extension == "bmp") {
      ASSERT_TRUE(varnel::pack::SaveBmp(original, base.string() + ".bmp", &error));
      ASSERT_TRUE(varnel::pack::SaveBmp(modified, base.string() + "x.bmp", &error));
    } else {
      const bool jpeg = extension == "jpg";
      WriteFile(base.string() + "." + extension, Encode(original, work / "scratch", jpeg));
      WriteFile(base.string() + "x." + extension, Encode(modified, work / "scratch", jpeg));
    }
  }

  // A pack of one vertical level written entry by entry, for breaking in one place at a time.
  Entries HandPack() {
    const Image original = NoisyPicture(256, 380, 21);
    return {{"packinfo.ini", PackInfo("1", "True")},
            {"hscore.ini", kEmptyScores},
            {"picinfo.ini", PicInfoSection(1, FiveRects())},
            {"1.jpg", Encode(original, work / "scratch.jpg", true)},
            {"1x.jpg", Encode(WithDifferences(original, FiveRects()), work / "scratch.jpg", true)}};
  }
};

TEST_F(MakeAndVerify, MakeFindsTheDifferencesOfPairsOfAnySize) {
  // Level 1 at the shown size, level 2 at twice it, level 3 wider than the place (cut at the sides).
  SavePair("src", 1, NoisyPicture(256, 380, 1), FiveRects(), "png");
  SavePair("src", 2, NoisyPicture(512, 760, 2), Scaled(FiveRects(), 2), "jpg");
  SavePair("src", 3, NoisyPicture(300, 380, 3), Scaled(FiveRects(), 1, 22), "bmp");
  WriteFile(work / "src" / "1.txt", "Look\nclosely\n");

  ToolRun run = Tool(
      {"make", "--layout", "vertical", "--title", "Test Walk", "--info", "Three levels", "src", "walk.vnl"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "the game lists it as \"walk\"")) << run.out;

  const varnel::packs::PackReport report = Report("walk.vnl");
  ASSERT_TRUE(report.ok()) << ::testing::PrintToString(report.problems);
  EXPECT_TRUE(report.vertical);
  EXPECT_EQ(report.packInfo, "Test Walk[e]Three levels");
  ASSERT_EQ(report.levels.size(), 3u);
  EXPECT_EQ(report.levels[0].caption, "Look[e]closely");
  EXPECT_EQ(report.levels[2].originalEntry, "3.jpg");
  auto truth = FiveRects();  // in the order the tool finds them: by top, then left
  std::sort(truth.begin(), truth.end(),
            [](auto& p, auto& q) { return p.top != q.top ? p.top < q.top : p.left < q.left; });
  auto near = [](float found, int edge) { return std::abs(found - static_cast<float>(edge)) <= 3; };
  for (const auto& level : report.levels)
    for (size_t d = 0; d < truth.size(); ++d) {
      const auto& found = level.rects[d];
      EXPECT_TRUE(near(found.Left, truth[d].left) && near(found.Right, truth[d].right) &&
                  near(found.Top, truth[d].top) && near(found.Bottom, truth[d].bottom))
          << "level " << level.number << " d" << d;
    }
  run = Tool({"verify", "walk.vnl"});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out, "walk.vnl: sound, 3 levels, vertical\n");

  // An existing pack is replaced only when asked (the refusal is checked with the photos command).
  EXPECT_EQ(Tool({"make", "--layout", "vertical", "--title", "Again", "--force", "src", "walk.vnl"}).status,
            0);
  EXPECT_EQ(Report("walk.vnl").packInfo, "Again");
}

TEST_F(MakeAndVerify, MakeRefusesAPairWithoutFiveDifferencesUnlessGivenByHand) {
  auto four = FiveRects();
  four.pop_back();
  SavePair("four", 1, NoisyPicture(380, 256, 5), four, "png");
  ToolRun run = Tool({"make", "--layout", "horizontal", "--title", "Four", "four", "four.vnl"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "level 1: found 4 separate differences, not 5: (x ")) << run.err;
  EXPECT_TRUE(Contains(run.err, "--rects FILE")) << run.err;
  EXPECT_FALSE(fs::exists(work / "four.vnl"));
  EXPECT_FALSE(fs::exists(work / "four.vnl.part"));

  // By hand: the four true rectangles and one over nothing, which the maker is warned about.
  auto hand = four;
  hand.push_back({300, 200, 320, 220});
  WriteFile(work / "rects.ini", PicInfoSection(1, hand, "By hand"));
  run =
      Tool({"make", "--layout", "horizontal", "--title", "Four", "--rects", "rects.ini", "four", "four.vnl"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(
      Contains(run.err, "warning: level 1: rectangle 5 (x 300..320, y 200..220) holds no visible difference"))
      << run.err;
  const auto report = Report("four.vnl");
  ASSERT_EQ(report.levels.size(), 1u);
  EXPECT_EQ(report.levels[0].caption, "By hand");
  EXPECT_EQ(report.levels[0].rects[4].Left, 300);

  WriteFile(work / "partial.ini", "[1]\r\n1Left=3\r\n");
  run = Tool({"make", "--layout", "horizontal", "--title", "F", "--rects", "partial.ini", "four", "p.vnl"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "give all twenty values or none")) << run.err;
}

// A broken palette PNG once sent the decoder into an endless loop of warnings.
TEST_F(MakeAndVerify, MakeNamesADamagedPictureInsteadOfHanging) {
  SavePair("damaged", 1, NoisyPicture(380, 256, 7), FiveRects(), "png");
  WriteFile(work / "damaged" / "1x.png", kBrokenPalettePng);
  const ToolRun run = Tool({"make", "--layout", "horizontal", "--title", "D", "damaged", "d.vnl"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "1x.png")) << run.err;
  EXPECT_FALSE(fs::exists(work / "d.vnl"));
}

struct Breakage {
  const char* what;
  std::function<void(Entries&, const fs::path&)> breakIt;
  std::vector<std::string> expected;
};

TEST_F(MakeAndVerify, VerifyNamesEachKindOfBrokenPack) {
  WriteFile(work / "good.vnl", AppendedArchive(HandPack()));
  ToolRun run = Tool({"verify", "good.vnl"});
  ASSERT_EQ(run.status, 0) << run.out;

  // The rectangles with rectangle `index` moved to `rect`.
  auto moved = [](int index, PixelRect rect) {
    auto all = FiveRects();
    all[static_cast<size_t>(index)] = rect;
    return [all](auto& e, auto&) { SetEntry(e, "picinfo.ini", PicInfoSection(1, all)); };
  };
  const std::vector<Breakage> cases = {
      {"a picture that does not decode",
       [](auto& e, auto&) { SetEntry(e, "1x.jpg", "not a picture at all"); },
       {"level 1: 1x.jpg cannot be decoded ("}},
      {"pictures of the wrong size",
       [](auto& e, const fs::path& w) {
         const Image wide = NoisyPicture(380, 256, 4);
         SetEntry(e, "1.jpg", Encode(wide, w / "s.jpg", true));
         SetEntry(e, "1x.jpg", Encode(WithDifferences(wide, FiveRects()), w / "s.jpg", true));
       },
       {"level 1: 1.jpg is 380 x 256 pixels; the vertical layout shows 256 x 380",
        "level 1: 1x.jpg is 380 x 256 pixels; the vertical layout shows 256 x 380"}},
      {"a rectangle reaching outside",
       moved(4, {140, 200, 300, 240}),
       {"level 1: rectangle 5 (x 140..300, y 200..240) reaches outside the picture (256 x 380)"}},
      {"an empty rectangle",
       moved(4, {180, 200, 140, 240}),
       {"level 1: rectangle 5 (x 180..140, y 200..240) is empty: an edge lies beyond its opposite edge"}},
      {"overlapping rectangles", moved(1, {35, 12, 150, 50}), {"level 1: rectangles 1 and 2 overlap"}},
      {"what the game's check refuses (each kind is in test_pack_check.cpp)",
       [](auto& e, auto&) { SetEntry(e, "packinfo.ini", PackInfo("60", "True")); },
       {"packinfo.ini: NumOfLevels 60 is outside 1 to 50"}},
      {"a rectangle beside its difference",
       moved(2, {200, 300, 230, 340}),
       {"level 1: rectangle 3 (x 200..230, y 300..340) holds no visible difference",
        "level 1: the pictures differ outside every rectangle at (x 199..231, y 99..141)"}},
      {"a garbled high-score table",
       [](auto& e, auto&) { SetEntry(e, "hscore.ini", "[setup]\r\nTopX=ten\r\n"); },
       {"hscore.ini: the high-score table cannot be read"}},
  };
  for (const Breakage& breakage : cases) {
    Entries entries = HandPack();
    breakage.breakIt(entries, work.path());
    WriteFile(work / "broken.vnl", AppendedArchive(entries));
    run = Tool({"verify", "good.vnl", "broken.vnl"});
    EXPECT_EQ(run.status, 1) << breakage.what;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), breakage.expected.size() + 1) << breakage.what << "\n" << run.out;
    EXPECT_EQ(lines[0], "good.vnl: sound, 1 levels, vertical");
    for (size_t i = 0; i < breakage.expected.size(); ++i)
      EXPECT_EQ(lines[i + 1].rfind("broken.vnl: " + breakage.expected[i], 0), 0u) << breakage.what << "\n"
                                                                                  << run.out;
  }
}

TEST_F(MakeAndVerify, PreviewDrawsEveryPairWithItsRectangles) {
  WriteFile(work / "p.vnl", AppendedArchive(HandPack()));
  ToolRun run = Tool({"preview", "p.vnl", "sheet.png"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::string error;
  auto sheet = varnel::pack::LoadImage(work / "sheet.png", &error);
  ASSERT_TRUE(sheet) << error;
  EXPECT_EQ(sheet->width, 12 + 2 * 256 + 6 + 12);
  EXPECT_EQ(sheet->height, 12 + 22 + 380 + 12);
  // The left edge of rectangle 1 (x 10, y 12..45) on both pictures, drawn in red.
  for (int pictureLeft : {12, 12 + 256 + 6})
    EXPECT_EQ(sheet->At(pictureLeft + 10, 12 + 22 + 30)[0], 255) << pictureLeft;
}

TEST_F(MakeAndVerify, EveryCommandExplainsItself) {
  for (const char* command : {"list", "extract", "add", "delete", "create", "verify", "scores",
                              "reset-scores", "make", "preview", "photos", "generate"}) {
    ToolRun run = Tool({command, "--help"});
    EXPECT_EQ(run.status, 0) << command;
    EXPECT_EQ(run.out.rfind(std::string("usage: varnel-pack ") + command, 0), 0u) << run.out;
  }
  EXPECT_EQ(Tool({}).status, 2);
  EXPECT_EQ(Tool({"frobnicate"}).status, 2);
  const ToolRun run = Tool({"list", "--bogus", "x.vnl"});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Contains(run.err, "unknown option --bogus")) << run.err;
}

}  // namespace
