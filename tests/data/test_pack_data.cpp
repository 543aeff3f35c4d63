#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
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

// The sampling factors and the luminance quantisation table of a baseline JPEG.
struct JpegSettings {
  std::vector<int> sampling;
  std::array<int, 64> luma{};
  bool ok = false;
};

JpegSettings ReadSettings(const datagen::Bytes& f) {
  JpegSettings s;
  for (size_t i = 2; i + 4 < f.size() && f[i] == 0xFF;) {
    const int marker = f[i + 1];
    const size_t length = static_cast<size_t>(f[i + 2]) << 8 | f[i + 3];
    if (marker == 0xDB && (f[i + 4] & 0x0F) == 0 && (f[i + 4] >> 4) == 0)
      for (size_t k = 0; k < 64; ++k) s.luma[k] = f[i + 5 + k];
    if (marker == 0xC0) {
      for (size_t c = 0; c < f[i + 9]; ++c) s.sampling.push_back(f[i + 11 + c * 3]);
      s.ok = true;
    }
    if (marker == 0xDA) break;
    i += 2 + length;
  }
  return s;
}

// A 16 x 16 thumbnail of mean colours, for telling pictures apart.
std::vector<double> Thumbnail(const datagen::RgbImage& img) {
  std::vector<double> out(16 * 16 * 3, 0.0);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      for (int c = 0; c < 3; ++c)
        out[static_cast<size_t>(((y * 16 / img.height) * 16 + x * 16 / img.width) * 3 + c)] +=
            img.pixels[(static_cast<size_t>(y) * img.width + x) * 3 + static_cast<size_t>(c)];
  const double cell = static_cast<double>(img.width) * img.height / 256.0;
  for (double& v : out) v /= cell;
  return out;
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

TEST(PackData, TheFolderHoldsUprightAndWidePacksOfTwelveLevelsOrMore) {
  const auto& packs = AllPacks();
  ASSERT_GE(packs.size(), 4u);
  int upright = 0, wide = 0;
  std::set<std::string> descriptions;
  for (const Pack& pack : packs) {
    SCOPED_TRACE(pack.file);
    const int levels = std::atoi(pack.numOfLevels.c_str());
    EXPECT_GE(levels, 12);
    EXPECT_LE(levels, 50);
    ASSERT_TRUE(pack.vertical == "True" || pack.vertical == "False") << pack.vertical;
    (pack.Vertical() ? upright : wide)++;
    EXPECT_FALSE(pack.description.empty());
    descriptions.insert(pack.description);

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
  EXPECT_EQ(descriptions.size(), packs.size()) << "every pack describes its own theme";
}

TEST(PackData, PicturesHaveTheShownSizeAndOneHighQualityEncoding) {
  for (const Pack& pack : AllPacks()) {
    const int w = pack.Vertical() ? 256 : 380, h = pack.Vertical() ? 380 : 256;
    for (const auto& level : pack.levels) {
      SCOPED_TRACE(pack.file + " level " + std::to_string(level.number));
      for (const auto* picture : {&level.original, &level.modified})
        EXPECT_EQ(std::pair(picture->width, picture->height), std::pair(w, h));
      const JpegSettings a = ReadSettings(level.originalFile), b = ReadSettings(level.modifiedFile);
      ASSERT_TRUE(a.ok && b.ok) << "baseline JPEG";
      EXPECT_EQ(a.sampling, (std::vector<int>{0x11, 0x11, 0x11})) << "no chroma subsampling";
      EXPECT_EQ(a.sampling, b.sampling);
      EXPECT_EQ(a.luma, b.luma) << "both pictures share one quality";
      // The standard table's DC step of 16, scaled: 3 at quality 90, 4 at 89.
      EXPECT_LE(a.luma[0], 3) << "quality 90 or better";
      EXPECT_NE(level.caption.find("[e]"), std::string::npos) << "a caption of two lines";
      EXPECT_LE(level.caption.size(), 254u);
    }
  }
}

TEST(PackData, EveryDifferenceIsVisibleInsideItsRectangleAndNothingElseChanges) {
  for (const Pack& pack : AllPacks()) {
    for (const auto& level : pack.levels) {
      SCOPED_TRACE(pack.file + " level " + std::to_string(level.number));
      const auto& a = level.original;
      const auto& b = level.modified;
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

TEST(PackData, NoTwoLevelsOfAPackLookAlike) {
  for (const Pack& pack : AllPacks()) {
    std::vector<std::vector<double>> thumbs;
    std::set<std::string> captions;
    for (const auto& level : pack.levels) {
      thumbs.push_back(Thumbnail(level.original));
      captions.insert(level.caption);
    }
    EXPECT_GE(captions.size(), pack.levels.size() * 3 / 4)
        << pack.file << ": captions should tell levels apart";
    for (size_t i = 0; i < thumbs.size(); ++i)
      for (size_t j = 0; j < i; ++j) {
        double distance = 0;
        for (size_t k = 0; k < thumbs[i].size(); ++k) distance += std::fabs(thumbs[i][k] - thumbs[j][k]);
        distance /= static_cast<double>(thumbs[i].size());
        EXPECT_GE(distance, 12.0) << pack.file << ": levels " << j + 1 << " and " << i + 1 << " look alike ("
                                  << distance << ")";
      }
  }
}
