// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <utility>

#include "DataFolder.h"
#include "tovak2d/Extra.h"

using datatest::LoadPack;
using datatest::Pack;
using datatest::PackFiles;
using testsupport::TempAppFolder;

namespace {

// A difference a player can see: at least this many pixels change by at least this much.
constexpr int kVisibleStep = 40;
constexpr int kVisiblePixels = 60;
// Outside the rectangles only JPEG noise may differ.
constexpr int kNoiseStep = 6;

int Step(const datagen::RgbImage& a, const datagen::RgbImage& b, int x, int y) {
  const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(a.width) + static_cast<size_t>(x)) * 3;
  int step = 0;
  for (size_t c = 0; c < 3; ++c) step = std::max(step, std::abs(a.pixels[i + c] - b.pixels[i + c]));
  return step;
}

// Every pack of the game folder, read once for all the tests that only look at them.
const std::vector<Pack>& AllPacks() {
  static const std::vector<Pack> packs = [] {
    TempAppFolder app;
    std::vector<Pack> loaded;
    for (const auto& file : PackFiles()) loaded.push_back(LoadPack(file));
    return loaded;
  }();
  return packs;
}

}  // namespace

// (That the game's own check takes every pack, its settings included: TextFits lists them all.)
TEST(PackData, TheFolderHoldsUprightAndWidePacksOfTwelveLevelsOrMore) {
  const auto& packs = AllPacks();
  ASSERT_GE(packs.size(), 4u);
  int upright = 0, wide = 0;
  for (const Pack& pack : packs) {
    SCOPED_TRACE(pack.file);
    const int levels = std::atoi(pack.numOfLevels.c_str());
    EXPECT_GE(levels, 12);
    (pack.Vertical() ? upright : wide)++;
    EXPECT_FALSE(pack.description.empty());

    std::vector<std::string> expected = {"packinfo.ini", "picinfo.ini", "hscore.ini"};
    for (int n = 1; n <= levels; ++n) {
      expected.push_back(std::to_string(n) + ".jpg");
      expected.push_back(std::to_string(n) + "x.jpg");
    }
    // The game puts each pack's score table back at its end when it closes, so only the set of
    // entries is fixed, not their order.
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> entries = pack.entries;
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, expected);
    // The engine opens the score table: ten empty ranks that any score tops.
    EXPECT_EQ(pack.scores, (std::array<int, 3>{10, 0, 1}));
  }
  EXPECT_GE(upright, 2);
  EXPECT_GE(wide, 2);
}

TEST(PackData, PicturesHaveTheShownSizeAndEveryDifferenceIsVisibleInsideItsRectangle) {
  for (const Pack& pack : AllPacks()) {
    for (const auto& level : pack.levels) {
      SCOPED_TRACE(pack.file + " level " + std::to_string(level.number));
      const auto& a = level.original;
      const auto& b = level.modified;
      const int w = pack.Vertical() ? 256 : 380, h = pack.Vertical() ? 380 : 256;
      ASSERT_EQ(std::pair(a.width, a.height), std::pair(w, h)) << "the size the play screen shows";
      ASSERT_EQ(std::pair(b.width, b.height), std::pair(w, h));
      EXPECT_NE(level.caption.find("[e]"), std::string::npos) << "a caption of two lines";
      ASSERT_EQ(level.rects.size(), 5u);
      for (size_t i = 0; i < 5; ++i) {
        const datagen::DiffRect& r = level.rects[i];
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right < a.width && r.bottom < a.height) << i;
        EXPECT_GE(std::min(r.Width(), r.Height()), 16) << i;
        for (size_t j = 0; j < i; ++j)
          EXPECT_FALSE(r.Overlaps(level.rects[j])) << "rectangles " << j << " and " << i;
      }
      std::vector<int> visible(5, 0);
      int noisy = 0, worst = 0;
      for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
          const int step = Step(a, b, x, y);
          bool inside = false;
          for (size_t i = 0; i < 5; ++i) {
            const auto& r = level.rects[i];
            if (x < r.left || x > r.right || y < r.top || y > r.bottom) continue;
            inside = true;
            if (step >= kVisibleStep) ++visible[i];
          }
          if (!inside && step > 0) {
            ++noisy;
            worst = std::max(worst, step);
          }
        }
      for (size_t i = 0; i < 5; ++i)
        EXPECT_GE(visible[i], kVisiblePixels) << "difference " << i + 1 << " is too faint";
      EXPECT_LE(worst, kNoiseStep) << noisy << " pixels differ outside the rectangles";
    }
  }
}

// Each level is painted from a seed of its own: two levels alike would be one seed used twice.
TEST(PackData, NoTwoLevelsOfAPackAreTheSamePicture) {
  for (const Pack& pack : AllPacks()) {
    std::set<datagen::Bytes> pictures;
    for (const auto& level : pack.levels) pictures.insert(level.originalFile);
    EXPECT_EQ(pictures.size(), pack.levels.size()) << pack.file;
  }
}
