// SPDX-License-Identifier: Zlib
#include "Differences.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "Rng.h"

namespace datagen {
namespace {

std::vector<size_t> Candidates(const Theme& theme, const Scene& scene, Change change) {
  std::vector<size_t> out;
  for (size_t i = 0; i < scene.items.size(); ++i) {
    const Item& item = scene.items[i];
    if (item.scenery) continue;
    if (change == Change::Mirrored && !theme.Mirrorable(item)) continue;
    if (change == Change::Recounted && !theme.Countable(item)) continue;
    out.push_back(i);
  }
  return out;
}

}  // namespace

Rgb OtherColour(const Rgb& c, Rng& rng) {
  double h, s, v;
  ToHsv(c, h, s, v);
  if (s < 0.2)
    return v > 0.5 ? Hsv(rng.Uniform(), 0.7, v * 0.55) : Hsv(rng.Uniform(), 0.6, std::min(1.0, v + 0.45));
  double turn = rng.Range(0.28, 0.5) * rng.Sign();
  return Hsv(h + turn, std::max(s, 0.55), std::clamp(v, 0.45, 0.95));
}

const char* ChangeName(Change change) {
  // In the order of the changes.
  static const char* const kNames[kChangeKinds] = {"removed", "added",    "recoloured",   "moved",
                                                   "resized", "mirrored", "count changed"};
  const auto index = static_cast<size_t>(change);
  return index < std::size(kNames) ? kNames[index] : "?";
}

std::optional<Edit> ProposeEdit(const Theme& theme, const Scene& scene, Change change, Rng& rng) {
  Edit edit;
  edit.change = change;
  if (change == Change::Added) {
    double x = rng.Range(scene.width * 0.08, scene.width * 0.92);
    double y = rng.Range(scene.height * 0.1, scene.height * 0.92);
    Item item = theme.NewItem(scene, rng, x, y);
    item.seed = rng.Next() | 1;
    edit.result = item;
    return edit;
  }
  std::vector<size_t> candidates = Candidates(theme, scene, change);
  if (candidates.empty()) return std::nullopt;
  const Item& chosen = scene.items[rng.Pick(candidates)];
  edit.target = chosen.seed;
  Item item = chosen;
  switch (change) {
    case Change::Removed:
      return edit;
    case Change::Recoloured:
      item.color = OtherColour(item.color, rng);
      if (rng.Chance(0.5)) item.accent = OtherColour(item.accent, rng);
      break;
    case Change::Moved: {
      double step = std::max(12.0, item.size * rng.Range(0.8, 1.3));
      double direction = rng.Sign();
      if (item.x + direction * step < scene.width * 0.05 || item.x + direction * step > scene.width * 0.95)
        direction = -direction;
      item.x += direction * step;
      break;
    }
    case Change::Resized:
      item.size *= rng.Chance(0.5) ? rng.Range(1.45, 1.75) : rng.Range(0.5, 0.65);
      break;
    case Change::Mirrored:
      item.flip = !item.flip;
      break;
    case Change::Recounted: {
      int delta = rng.Int(1, 3) * (rng.Chance(0.5) ? 1 : -1);
      int count = item.count + delta;
      if (count < 0 || count > theme.MaxCount(item)) count = item.count - delta;
      if (count < 0 || count > theme.MaxCount(item) || count == item.count) return std::nullopt;
      item.count = count;
      break;
    }
    case Change::Added:
      break;
  }
  edit.result = item;
  return edit;
}

Scene ApplyEdit(const Scene& scene, const Edit& edit) {
  Scene out = scene;
  if (edit.change == Change::Added) {
    out.items.push_back(*edit.result);
    return out;
  }
  auto it =
      std::find_if(out.items.begin(), out.items.end(), [&](const Item& i) { return i.seed == edit.target; });
  if (it == out.items.end()) return out;
  if (edit.result)
    *it = *edit.result;
  else
    out.items.erase(it);
  return out;
}

}  // namespace datagen
