// SPDX-License-Identifier: Zlib
#include "Level.h"

#include <algorithm>
#include <stdexcept>

#include "Illustrator.h"
#include "Jpeg.h"
#include "Rng.h"

namespace datagen {
namespace {

constexpr int kDifferences = 5;
constexpr int kMinStrongPixels = 90;  // checked again after JPEG decoding, with a lower bar
constexpr int kMinStrongAfterJpeg = 60;

}  // namespace

DiffRect RectAround(const PixelDiff& d, int width, int height, Change change) {
  auto down = [](int v) { return std::max(0, (v / 8) * 8); };
  auto up = [](int v, int limit) { return std::min(limit, ((v + 7) / 8) * 8); };
  DiffRect r;
  r.change = change;
  r.left = down(d.left - 2);
  r.top = down(d.top - 2);
  r.right = up(d.right + 3, width) - 1;
  r.bottom = up(d.bottom + 3, height) - 1;
  // At least 16 x 16: grow away from the picture's edge.
  while (r.Width() < 16) {
    if (r.right + 8 < width)
      r.right += 8;
    else
      r.left -= 8;
  }
  while (r.Height() < 16) {
    if (r.bottom + 8 < height)
      r.bottom += 8;
    else
      r.top -= 8;
  }
  r.right = std::min(r.right, width - 1);
  r.bottom = std::min(r.bottom, height - 1);
  return r;
}

namespace {

// Counts strongly changed pixels inside `r` and any change outside all rectangles.
struct Decoded {
  std::vector<int> strongInside;
  int changedOutside = 0;
};

Decoded CheckDecoded(const RgbImage& a, const RgbImage& b, const std::vector<DiffRect>& rects) {
  Decoded out;
  out.strongInside.assign(rects.size(), 0);
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      size_t i = (static_cast<size_t>(y) * a.width + x) * 3;
      int step = 0;
      for (int c = 0; c < 3; ++c) step = std::max(step, std::abs(a.pixels[i + c] - b.pixels[i + c]));
      if (step == 0) continue;
      bool inside = false;
      for (size_t k = 0; k < rects.size(); ++k) {
        const DiffRect& r = rects[k];
        if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) {
          inside = true;
          if (step >= kStrongStep) ++out.strongInside[k];
        }
      }
      if (!inside) ++out.changedOutside;
    }
  }
  return out;
}

std::vector<Change> KindOrder(Rng& rng) {
  std::vector<Change> kinds = {Change::Removed, Change::Added,    Change::Recoloured, Change::Moved,
                               Change::Resized, Change::Mirrored, Change::Recounted};
  rng.Shuffle(kinds);
  return kinds;
}

}  // namespace

LevelPictures MakeLevel(const Theme& theme, int level, uint64_t seed) {
  for (int attempt = 0; attempt < 40; ++attempt) {
    Rng rng = Rng(seed).Fork(static_cast<uint64_t>(level) * 1000 + static_cast<uint64_t>(attempt));
    Scene scene = theme.Compose(level, rng);
    const Canvas original = Render(theme, scene);
    const double maxW = scene.width * 0.42, maxH = scene.height * 0.42;
    const double maxArea = scene.width * scene.height * 0.085;

    std::vector<Edit> edits;
    std::vector<DiffRect> rects;
    // Every kind gets a turn first, so a level mixes kinds; then any kind may fill the rest.
    std::vector<Change> order = KindOrder(rng);
    for (int pass = 0; pass < 2 && static_cast<int>(edits.size()) < kDifferences; ++pass) {
      for (Change kind : order) {
        if (static_cast<int>(edits.size()) >= kDifferences) break;
        for (int tries = 0; tries < 14; ++tries) {
          std::optional<Edit> edit = ProposeEdit(theme, scene, kind, rng);
          if (!edit) break;
          bool touched = std::any_of(edits.begin(), edits.end(), [&](const Edit& e) {
            return edit->target != 0 && e.target == edit->target;
          });
          if (touched) continue;
          const PixelDiff d = Compare(original, Render(theme, ApplyEdit(scene, *edit)));
          if (d.Empty() || d.strong < kMinStrongPixels) continue;
          const int w = d.right - d.left + 1, h = d.bottom - d.top + 1;
          if (w > maxW || h > maxH || w * h > maxArea) continue;
          DiffRect r = RectAround(d, scene.width, scene.height, kind);
          if (std::any_of(rects.begin(), rects.end(), [&](const DiffRect& o) { return o.Overlaps(r); }))
            continue;
          edits.push_back(*edit);
          rects.push_back(r);
          break;
        }
      }
    }
    if (static_cast<int>(edits.size()) < kDifferences) continue;

    Scene modifiedScene = scene;
    for (const Edit& e : edits) modifiedScene = ApplyEdit(modifiedScene, e);
    const Canvas modified = Render(theme, modifiedScene);

    LevelPictures out;
    out.level = level;
    out.caption = scene.caption;
    out.rects = rects;
    out.original = EncodeJpeg({original.width(), original.height(), original.ToRgb()}, kLevelQuality);
    out.modified = EncodeJpeg({modified.width(), modified.height(), modified.ToRgb()}, kLevelQuality);

    // What the player will see: decoded, every difference clearly there, nothing else changed.
    auto a = DecodeJpeg(out.original), b = DecodeJpeg(out.modified);
    if (!a || !b) throw std::runtime_error("a level picture does not decode");
    Decoded check = CheckDecoded(*a, *b, rects);
    bool visible = std::all_of(check.strongInside.begin(), check.strongInside.end(),
                               [](int n) { return n >= kMinStrongAfterJpeg; });
    if (check.changedOutside == 0 && visible) return out;
  }
  throw std::runtime_error(theme.PackName() + ": level " + std::to_string(level) +
                           " found no five clear, separate differences");
}

}  // namespace datagen
