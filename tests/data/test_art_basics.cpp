#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "Art.h"
#include "Canvas.h"
#include "ContactSheet.h"
#include "Filters.h"
#include "Noise.h"
#include "Placement.h"
#include "Rng.h"

using namespace datagen;

TEST(ArtBasics, TheRandomNumbersAreOursAndRepeatable) {
  Rng a(42), b(42), c(43);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.Next(), b.Next());
  EXPECT_NE(Rng(42).Next(), c.Next());
  // Forked streams differ from their parent and from each other, and do not move the parent.
  Rng parent(9);
  const uint64_t before = Rng(parent).Next();
  EXPECT_NE(parent.Fork(1).Next(), parent.Fork(2).Next());
  EXPECT_EQ(parent.Next(), before);
  Rng r(5);
  std::set<int> seen;
  for (int i = 0; i < 2000; ++i) {
    const double u = r.Uniform();
    EXPECT_TRUE(u >= 0.0 && u < 1.0) << u;
    seen.insert(r.Int(-2, 3));
  }
  EXPECT_EQ(seen, (std::set<int>{-2, -1, 0, 1, 2, 3})) << "every value of a range comes up, and no other";
}

TEST(ArtBasics, NoiseIsSmoothAndStaysInRange) {
  Noise n(3);
  double lo = 1, hi = 0, jump = 0;
  for (int i = 0; i < 4000; ++i) {
    const double x = i * 0.01, v = n.Fbm(x, 1.7, 5);
    lo = std::min(lo, v);
    hi = std::max(hi, v);
    jump = std::max(jump, std::fabs(v - n.Fbm(x + 0.01, 1.7, 5)));
  }
  EXPECT_TRUE(lo >= 0.0 && hi <= 1.0) << lo << " to " << hi;
  EXPECT_GT(hi - lo, 0.3) << "it varies";
  EXPECT_LT(jump, 0.08) << "without steps";
  EXPECT_EQ(Noise(3).At(1.25, 2.5), n.At(1.25, 2.5));
  EXPECT_NE(Noise(4).At(1.25, 2.5), n.At(1.25, 2.5));
}

TEST(ArtBasics, BlurSpreadsLightWithoutAddingAny) {
  Canvas c(40, 40);
  cairo_rectangle(c.cr(), 18, 18, 4, 4);
  cairo_set_source_rgba(c.cr(), 1, 1, 1, 1);
  cairo_fill(c.cr());
  auto total = [&] {
    c.Flush();
    double sum = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) sum += c.Row(y)[x] >> 24;
    return sum;
  };
  const double before = total();
  Blur(c, 6);
  EXPECT_NEAR(total(), before, before * 0.05);
  EXPECT_GT(c.Row(20)[26] >> 24, 0u) << "the light spread out";
  EXPECT_LT(c.Row(20)[20] >> 24, 255u);
  MaskAlpha(c, [](int x, int) { return x < 20 ? 0.0 : 1.0; });
  EXPECT_EQ(c.Row(20)[19], 0u);
  EXPECT_GT(c.Row(20)[21] >> 24, 0u);
}

TEST(ArtBasics, StraightColoursComeOutOfPremultipliedPixels) {
  Canvas c(2, 1);
  cairo_rectangle(c.cr(), 0, 0, 1, 1);
  cairo_set_source_rgba(c.cr(), 1, 0.5, 0, 0.5);
  cairo_fill(c.cr());
  const Bytes rgba = c.ToRgba();
  EXPECT_TRUE(rgba[0] == 255 && rgba[2] == 0);
  EXPECT_NEAR(rgba[1], 128, 2);
  EXPECT_NEAR(rgba[3], 128, 1);
  EXPECT_EQ(rgba[7], 0) << "untouched pixels are clear";
  const Canvas copy = c.Copy();
  EXPECT_EQ(copy.ToRgba(), rgba);
}

TEST(ArtBasics, PlacementKeepsObjectsApart) {
  Placement spots;
  Rng rng(1);
  std::vector<std::pair<double, double>> placed;
  double x, y;
  while (spots.Find(rng, 0, 0, 200, 100, 10, x, y, 1.0)) placed.emplace_back(x, y);
  EXPECT_GT(placed.size(), 10u);
  for (size_t i = 0; i < placed.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      EXPECT_GE(std::hypot(placed[i].first - placed[j].first, placed[i].second - placed[j].second),
                20.0 - 1e-9);
  EXPECT_FALSE(spots.Free(placed[0].first + 1, placed[0].second, 10));
}

TEST(ArtBasics, ShapesStayWhereTheyAreAsked) {
  Canvas c(100, 100);
  Rng rng(2);
  art::Blob(c.cr(), rng, 50, 50, 20, 10, 8, 0.2);
  double x0, y0, x1, y1;
  cairo_path_extents(c.cr(), &x0, &y0, &x1, &y1);
  EXPECT_TRUE(x0 > 50 - 20 * 1.5 && x1 < 50 + 20 * 1.5 && y0 > 50 - 10 * 1.5 && y1 < 50 + 10 * 1.5)
      << x0 << "," << y0 << " to " << x1 << "," << y1;
  cairo_new_path(c.cr());
  art::Star(c.cr(), 50, 50, 30, 10, 5);
  cairo_path_extents(c.cr(), &x0, &y0, &x1, &y1);
  EXPECT_NEAR(y0, 20, 0.01) << "the first point is straight up";
}

TEST(ArtBasics, AContactSheetShowsEveryLevelTwice) {
  std::vector<SheetLevel> levels(5);
  for (int i = 0; i < 5; ++i)
    levels[static_cast<size_t>(i)] = {i + 1,
                                      "a[e]b",
                                      {256, 380, Bytes(256 * 380 * 3, 200)},
                                      {256, 380, Bytes(256 * 380 * 3, 100)},
                                      {{8, 8, 31, 31, Change::Added}}};
  const Canvas sheet = PackSheet("Pack", levels);
  // Upright packs go three levels to a row: two rows for five levels.
  EXPECT_GE(sheet.width(), 3 * 2 * 256);
  EXPECT_GE(sheet.height(), 2 * 380);
  EXPECT_LT(sheet.height(), 3 * 380);
}
