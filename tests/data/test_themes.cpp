#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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
      EXPECT_EQ(scene.width, theme->Width());
      EXPECT_EQ(scene.height, theme->Height());
      int movable = 0;
      for (const Item& item : scene.items) {
        // Setting pieces (buildings, kelp, wrecks) may run past the frame; objects may not.
        if (item.scenery) continue;
        ++movable;
        EXPECT_GT(item.x, -scene.width * 0.1) << "level " << level << " kind " << item.kind;
        EXPECT_LT(item.x, scene.width * 1.1) << "level " << level << " kind " << item.kind;
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
  for (const auto& theme : AllThemes()) {
    SCOPED_TRACE(theme->PackName());
    for (int level : {1, 6}) {
      Rng rng(5);
      const Scene scene = theme->Compose(level, rng);
      for (const Item& item : scene.items) {
        if (item.scenery) continue;
        const Coverage c = CoverageOf(PaintAlone(*theme, scene, item));
        EXPECT_GE(c.pixels, 12) << "kind " << item.kind << " at " << item.x << "," << item.y
                                << " is hardly there";
        if (c.pixels == 0) continue;
        // An object is drawn around its anchor, not somewhere else in the picture.
        EXPECT_LE(c.left, item.x + item.size * 1.2) << "kind " << item.kind;
        EXPECT_GE(c.right, item.x - item.size * 1.2) << "kind " << item.kind;
        EXPECT_LE(c.top, item.y + item.size * 1.2) << "kind " << item.kind;
        EXPECT_GE(c.bottom, item.y - item.size * 2.0) << "kind " << item.kind;
      }
    }
  }
}

TEST(Themes, MirroringAndCountingShowOnTheObject) {
  for (const auto& theme : AllThemes()) {
    SCOPED_TRACE(theme->PackName());
    Rng rng(11);
    const Scene scene = theme->Compose(2, rng);
    int mirrored = 0, counted = 0;
    for (const Item& item : scene.items) {
      if (item.scenery) continue;
      const Canvas before = PaintAlone(*theme, scene, item);
      if (theme->Mirrorable(item)) {
        Item flipped = item;
        flipped.flip = !flipped.flip;
        EXPECT_GT(Changed(before, PaintAlone(*theme, scene, flipped)), 8)
            << "kind " << item.kind << " ignores mirroring";
        ++mirrored;
      }
      if (theme->Countable(item)) {
        Item more = item;
        more.count = item.count < theme->MaxCount(item) ? item.count + 1 : item.count - 1;
        EXPECT_GT(Changed(before, PaintAlone(*theme, scene, more)), 4)
            << "kind " << item.kind << " ignores its count";
        ++counted;
      }
    }
    EXPECT_GT(mirrored, 0) << "some objects can be mirrored";
    EXPECT_GT(counted, 0) << "some objects can be counted";
  }
}

TEST(Themes, AddedObjectsFitWhereTheyAreAdded) {
  for (const auto& theme : AllThemes()) {
    SCOPED_TRACE(theme->PackName());
    Rng rng(3);
    const Scene scene = theme->Compose(4, rng);
    int shown = 0, tried = 0;
    for (double fy : {0.15, 0.5, 0.85})
      for (double fx : {0.2, 0.5, 0.8}) {
        Item item = theme->NewItem(scene, rng, scene.width * fx, scene.height * fy);
        item.seed = rng.Next() | 1;
        EXPECT_FALSE(item.scenery);
        EXPECT_GT(item.size, 4);
        ++tried;
        shown += CoverageOf(PaintAlone(*theme, scene, item)).pixels >= 12;
      }
    EXPECT_EQ(shown, tried);
  }
}
