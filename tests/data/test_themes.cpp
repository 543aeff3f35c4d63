#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "Canvas.h"
#include "Rng.h"
#include "Themes.h"

using namespace datagen;

namespace {

// One object painted alone on a clear picture of the theme's size.
Canvas PaintAlone(const Theme& theme, const Scene& scene, const Item& item) {
  Canvas c(scene.width, scene.height);
  cairo_save(c.cr());
  theme.PaintItem(c.cr(), scene, item);
  cairo_restore(c.cr());
  return c;
}

struct Coverage {
  int pixels = 0;
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};

Coverage CoverageOf(const Canvas& c) {
  c.Flush();
  Coverage out;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if ((c.Row(y)[x] >> 24) > 64) {
        ++out.pixels;
        out.left = std::min(out.left, x);
        out.right = std::max(out.right, x);
        out.top = std::min(out.top, y);
        out.bottom = std::max(out.bottom, y);
      }
  return out;
}

int Changed(const Canvas& a, const Canvas& b) {
  a.Flush();
  b.Flush();
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.Row(y)[x] != b.Row(y)[x];
  return n;
}

// Calls check(theme, scene, rng) with the given level of every theme, composed from the seed.
template <class Check>
void ForEveryTheme(int level, uint64_t seed, Check check) {
  for (const auto& theme : AllThemes()) {
    SCOPED_TRACE(theme->PackName() + " level " + std::to_string(level));
    Rng rng(seed);
    const Scene scene = theme->Compose(level, rng);
    check(*theme, scene, rng);
  }
}

}  // namespace

TEST(Themes, EveryLevelHasItsOwnSettingAndDozensOfObjects) {
  for (const auto& theme : AllThemes()) {
    SCOPED_TRACE(theme->PackName());
    EXPECT_GE(theme->Levels(), 12);
    std::set<std::vector<double>> settings;
    std::set<std::string> captions;
    for (int level = 1; level <= theme->Levels(); ++level) {
      Rng rng(level * 31);
      const Scene scene = theme->Compose(level, rng);
      EXPECT_EQ(std::pair(scene.width, scene.height), std::pair(theme->Width(), theme->Height()));
      int movable = 0;
      for (const Item& item : scene.items) {
        // Setting pieces (buildings, kelp, wrecks) may run past the frame; objects may not.
        if (item.scenery) continue;
        ++movable;
        EXPECT_TRUE(item.x > -scene.width * 0.1 && item.x < scene.width * 1.1)
            << "level " << level << " kind " << item.kind << " at " << item.x;
      }
      EXPECT_GE(scene.items.size(), 24u) << "level " << level;
      EXPECT_GE(movable, 15) << "level " << level;
      // The first mood number names the setting (season and time, waters, night, table).
      settings.insert(
          std::vector<double>(scene.mood.begin(), scene.mood.begin() + (scene.mood.size() > 3 ? 4 : 1)));
      captions.insert(scene.caption);
      EXPECT_NE(scene.caption.find("[e]"), std::string::npos) << "a caption of two lines";
    }
    EXPECT_EQ(settings.size(), static_cast<size_t>(theme->Levels())) << "every level a setting of its own";
    EXPECT_GE(captions.size(), static_cast<size_t>(theme->Levels()) * 3 / 4);
  }
}

TEST(Themes, EveryObjectShowsAndStaysNearThePicture) {
  for (int level : {1, 6})
    ForEveryTheme(level, 5, [](const Theme& theme, const Scene& scene, Rng&) {
      for (const Item& item : scene.items) {
        if (item.scenery) continue;
        const Coverage c = CoverageOf(PaintAlone(theme, scene, item));
        EXPECT_GE(c.pixels, 12) << "kind " << item.kind << " at " << item.x << "," << item.y
                                << " is hardly there";
        if (c.pixels == 0) continue;
        // An object is drawn around its anchor, not somewhere else in the picture.
        EXPECT_TRUE(c.left <= item.x + item.size * 1.2 && c.right >= item.x - item.size * 1.2 &&
                    c.top <= item.y + item.size * 1.2 && c.bottom >= item.y - item.size * 2.0)
            << "kind " << item.kind << " drawn at " << c.left << "," << c.top << " to " << c.right << ","
            << c.bottom;
      }
    });
}

TEST(Themes, MirroringAndCountingShowOnTheObject) {
  ForEveryTheme(2, 11, [](const Theme& theme, const Scene& scene, Rng&) {
    int mirrored = 0, counted = 0;
    for (const Item& item : scene.items) {
      if (item.scenery) continue;
      const Canvas before = PaintAlone(theme, scene, item);
      if (theme.Mirrorable(item)) {
        Item flipped = item;
        flipped.flip = !flipped.flip;
        EXPECT_GT(Changed(before, PaintAlone(theme, scene, flipped)), 8)
            << "kind " << item.kind << " ignores mirroring";
        ++mirrored;
      }
      if (theme.Countable(item)) {
        Item more = item;
        more.count = item.count < theme.MaxCount(item) ? item.count + 1 : item.count - 1;
        EXPECT_GT(Changed(before, PaintAlone(theme, scene, more)), 4)
            << "kind " << item.kind << " ignores its count";
        ++counted;
      }
    }
    EXPECT_GT(mirrored, 0) << "some objects can be mirrored";
    EXPECT_GT(counted, 0) << "some objects can be counted";
  });
}

TEST(Themes, AddedObjectsFitWhereTheyAreAdded) {
  ForEveryTheme(4, 3, [](const Theme& theme, const Scene& scene, Rng& rng) {
    int shown = 0, tried = 0;
    for (double fy : {0.15, 0.5, 0.85})
      for (double fx : {0.2, 0.5, 0.8}) {
        Item item = theme.NewItem(scene, rng, scene.width * fx, scene.height * fy);
        item.seed = rng.Next() | 1;
        EXPECT_FALSE(item.scenery);
        EXPECT_GT(item.size, 4);
        ++tried;
        shown += CoverageOf(PaintAlone(theme, scene, item)).pixels >= 12;
      }
    EXPECT_EQ(shown, tried);
  });
}
