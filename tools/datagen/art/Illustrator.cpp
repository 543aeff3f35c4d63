// SPDX-License-Identifier: Zlib
#include "Illustrator.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "Filters.h"
#include "Rng.h"

namespace datagen {

Canvas Render(const Theme& theme, const Scene& scene) {
  Canvas canvas(scene.width, scene.height);
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  theme.PaintBackground(cr, scene);
  cairo_restore(cr);
  std::vector<size_t> order(scene.items.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return scene.items[a].depth < scene.items[b].depth; });
  for (size_t i : order) {
    cairo_save(cr);
    theme.PaintItem(cr, scene, scene.items[i]);
    cairo_restore(cr);
    cairo_new_path(cr);
  }
  cairo_save(cr);
  theme.PaintOverlay(cr, scene);
  cairo_restore(cr);
  Rng grain(scene.seed ^ 0x6A09E667F3BCC909ULL);
  AddGrain(canvas, grain, 0.008);
  return canvas;
}

PixelDiff Compare(const Canvas& a, const Canvas& b) {
  a.Flush();
  b.Flush();
  PixelDiff d;
  d.left = a.width();
  d.top = a.height();
  for (int y = 0; y < a.height(); ++y) {
    const uint32_t* ra = a.Row(y);
    const uint32_t* rb = b.Row(y);
    for (int x = 0; x < a.width(); ++x) {
      if (ra[x] == rb[x]) continue;
      int step = 0;
      for (int c = 0; c < 24; c += 8)
        step = std::max(
            step, std::abs(static_cast<int>((ra[x] >> c) & 255u) - static_cast<int>((rb[x] >> c) & 255u)));
      ++d.changed;
      if (step >= kStrongStep) ++d.strong;
      d.left = std::min(d.left, x);
      d.right = std::max(d.right, x);
      d.top = std::min(d.top, y);
      d.bottom = std::max(d.bottom, y);
    }
  }
  if (d.changed == 0) d = PixelDiff{};
  return d;
}

Scene Theme::NewScene(int level, Rng& rng) const {
  Scene scene;
  scene.width = Width();
  scene.height = Height();
  scene.level = level;
  scene.seed = rng.Next();
  return scene;
}

}  // namespace datagen
