#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "Canvas.h"
#include "Differences.h"
#include "Illustrator.h"
#include "Level.h"
#include "Rng.h"

using namespace datagen;

namespace {

PixelDiff Box(int left, int top, int right, int bottom) {
  PixelDiff d;
  std::tie(d.left, d.top, d.right, d.bottom) = std::tuple(left, top, right, bottom);
  d.changed = d.strong = (right - left + 1) * (bottom - top + 1);
  return d;
}

bool OnGrid(const DiffRect& r, int width, int height) {
  return r.left % 8 == 0 && r.top % 8 == 0 && ((r.right + 1) % 8 == 0 || r.right == width - 1) &&
         ((r.bottom + 1) % 8 == 0 || r.bottom == height - 1);
}

}  // namespace

TEST(LevelRules, RectanglesCoverTheChangeOnWholeBlocksAndAreAtLeastSixteenWide) {
  struct Case {
    PixelDiff d;
    int width, height;
  };
  const Case cases[] = {
      {Box(100, 100, 101, 101), 256, 380},  // a speck in the middle
      {Box(0, 0, 3, 3), 256, 380},          // in the top-left corner
      {Box(375, 250, 379, 255), 380, 256},  // in the bottom-right corner of a wide picture
      {Box(250, 372, 255, 379), 256, 380},  // at the bottom of an upright picture
      {Box(37, 41, 90, 77), 380, 256},      // an ordinary object
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.d.left) + "," + std::to_string(c.d.top));
    const DiffRect r = RectAround(c.d, c.width, c.height, Change::Moved);
    EXPECT_EQ(r.change, Change::Moved);
    EXPECT_TRUE(r.left <= c.d.left && r.top <= c.d.top && r.right >= c.d.right && r.bottom >= c.d.bottom)
        << "covers the change";
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right < c.width && r.bottom < c.height)
        << "inside the picture";
    EXPECT_GE(std::min(r.Width(), r.Height()), 16);
    EXPECT_TRUE(OnGrid(r, c.width, c.height));
  }
  // A little room around the change, so its anti-aliased edge is inside too.
  const DiffRect r = RectAround(Box(40, 40, 47, 47), 256, 380, Change::Added);
  EXPECT_LT(r.left, 40);
  EXPECT_GT(r.right, 47);
}

TEST(LevelRules, CompareFindsExactlyTheChangedPixels) {
  Canvas a(50, 40), b(50, 40);
  for (Canvas* c : {&a, &b}) {
    cairo_set_source_rgb(c->cr(), 0.2, 0.3, 0.4);
    cairo_paint(c->cr());
  }
  EXPECT_TRUE(Compare(a, b).Empty());
  cairo_rectangle(b.cr(), 10, 5, 6, 4);
  cairo_set_source_rgb(b.cr(), 0.9, 0.3, 0.4);
  cairo_fill(b.cr());
  cairo_rectangle(b.cr(), 30, 30, 1, 1);
  cairo_set_source_rgb(b.cr(), 0.21, 0.3, 0.4);
  cairo_fill(b.cr());
  const PixelDiff d = Compare(a, b);
  EXPECT_EQ(std::tuple(d.left, d.top, d.right, d.bottom), std::tuple(10, 5, 30, 30));
  EXPECT_EQ(std::pair(d.changed, d.strong), std::pair(25, 24))
      << "the faint pixel is a change, but not a visible one";
}

TEST(LevelRules, RecolouringPicksAClearlyOtherColour) {
  Rng rng(1);
  for (int i = 0; i < 200; ++i) {
    const Rgb c = Hsv(rng.Uniform(), rng.Range(0.3, 1), rng.Range(0.3, 1));
    const Rgb o = OtherColour(c, rng);
    double h1, s1, v1, h2, s2, v2;
    ToHsv(c, h1, s1, v1);
    ToHsv(o, h2, s2, v2);
    const double turn = std::fabs(h1 - h2);
    EXPECT_GE(std::min(turn, 1 - turn), 0.25) << "hue " << h1 << " became " << h2;
  }
  for (double grey : {0.1, 0.5, 0.9}) {
    const Rgb o = OtherColour({grey, grey, grey}, rng);
    double h, s, v;
    ToHsv(o, h, s, v);
    EXPECT_TRUE(s > 0.5 || std::fabs(v - grey) > 0.3) << "grey " << grey;
  }
}

TEST(LevelRules, EditsApplyByObjectInAnyOrder) {
  Scene scene;
  for (uint64_t seed = 1; seed <= 5; ++seed) {
    Item item;
    item.seed = seed;
    item.x = static_cast<double>(seed) * 10;
    scene.items.push_back(item);
  }
  Edit remove{Change::Removed, 2, std::nullopt};
  Item moved = scene.items[3];
  moved.x = 99;
  Edit move{Change::Moved, 4, moved};
  Item added;
  added.seed = 77;
  Edit add{Change::Added, 0, added};
  const Scene one = ApplyEdit(ApplyEdit(ApplyEdit(scene, remove), move), add);
  const Scene two = ApplyEdit(ApplyEdit(ApplyEdit(scene, add), move), remove);
  for (const Scene* s : {&one, &two}) {
    ASSERT_EQ(s->items.size(), 5u);
    EXPECT_EQ(std::count_if(s->items.begin(), s->items.end(), [](const Item& i) { return i.seed == 2; }), 0);
    EXPECT_EQ(std::find_if(s->items.begin(), s->items.end(), [](const Item& i) { return i.seed == 4; })->x,
              99);
    EXPECT_EQ(std::count_if(s->items.begin(), s->items.end(), [](const Item& i) { return i.seed == 77; }), 1);
  }
  EXPECT_EQ(ApplyEdit(scene, Edit{Change::Removed, 1234, std::nullopt}).items.size(), 5u)
      << "an unknown object is left alone";
}
