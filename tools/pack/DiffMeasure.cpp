// SPDX-License-Identifier: Zlib
#include "DiffMeasure.h"

#include <algorithm>
#include <cstdlib>

namespace varnel::pack {
namespace {

int GapBetween(int fromLow, int fromHigh, int toLow, int toHigh) {
  if (toLow > fromHigh) return toLow - fromHigh - 1;
  if (fromLow > toHigh) return fromLow - toHigh - 1;
  return -1;
}

bool Near(const PixelRect& a, const PixelRect& b, int distance) {
  return GapBetween(a.left, a.right, b.left, b.right) < distance &&
         GapBetween(a.top, a.bottom, b.top, b.bottom) < distance;
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

std::vector<Region> Significant(std::vector<Region> regions, int minPixels) {
  std::erase_if(regions, [minPixels](const Region& r) { return r.pixels < minPixels; });
  return regions;
}

}  // namespace

std::vector<uint8_t> DifferenceMask(const Image& a, const Image& b, int threshold) {
  std::vector<uint8_t> mask(static_cast<size_t>(a.width) * a.height);
  for (size_t i = 0; i < mask.size(); ++i) {
    int largest = 0;
    for (size_t c = 0; c < 3; ++c) largest = std::max(largest, std::abs(a.rgb[i * 3 + c] - b.rgb[i * 3 + c]));
    mask[i] = largest >= threshold ? 1 : 0;
  }
  return mask;
}

std::vector<Region> ConnectedRegions(const std::vector<uint8_t>& mask, int width, int height) {
  std::vector<Region> regions;
  std::vector<uint8_t> seen(mask.size());
  std::vector<int> stack;
  for (int start = 0; start < width * height; ++start) {
    if (!mask[static_cast<size_t>(start)] || seen[static_cast<size_t>(start)]) continue;
    Region region;
    region.box = {start % width, start / width, start % width, start / width};
    seen[static_cast<size_t>(start)] = 1;
    stack.push_back(start);
    while (!stack.empty()) {
      const int at = stack.back();
      stack.pop_back();
      const int x = at % width, y = at / width;
      ++region.pixels;
      region.box = Union(region.box, {x, y, x, y});
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
          const auto next = static_cast<size_t>(ny * width + nx);
          if (mask[next] && !seen[next]) {
            seen[next] = 1;
            stack.push_back(static_cast<int>(next));
          }
        }
    }
    regions.push_back(region);
  }
  return regions;
}

std::vector<Region> MergeNearby(std::vector<Region> regions, int distance) {
  // A joined box is larger and may now reach others, so passes repeat until one joins nothing.
  for (bool merged = true; merged;) {
    merged = false;
    for (size_t i = 0; i < regions.size(); ++i)
      for (size_t j = i + 1; j < regions.size();) {
        if (!Near(regions[i].box, regions[j].box, distance)) {
          ++j;
          continue;
        }
        regions[i].box = Union(regions[i].box, regions[j].box);
        regions[i].pixels += regions[j].pixels;
        regions.erase(regions.begin() + static_cast<std::ptrdiff_t>(j));
        merged = true;
      }
  }
  return regions;
}

std::vector<PixelRect> FindDifferences(const Image& a, const Image& b, const DiffSettings& settings) {
  const std::vector<uint8_t> mask = DifferenceMask(a, b, settings.threshold);
  std::vector<Region> regions = MergeNearby(
      Significant(ConnectedRegions(mask, a.width, a.height), settings.minPixels), settings.mergeDistance);
  std::vector<PixelRect> rects;
  for (const Region& region : regions) {
    const PixelRect& box = region.box;
    rects.push_back({std::max(box.left - settings.padding, 0), std::max(box.top - settings.padding, 0),
                     std::min(box.right + settings.padding, a.width - 1),
                     std::min(box.bottom + settings.padding, a.height - 1)});
  }
  std::sort(rects.begin(), rects.end(), [](const PixelRect& p, const PixelRect& q) {
    return p.top != q.top ? p.top < q.top : p.left < q.left;
  });
  return rects;
}

Measurement Measure(const Image& a, const Image& b, const std::vector<PixelRect>& rects,
                    const DiffSettings& settings) {
  std::vector<uint8_t> mask = DifferenceMask(a, b, settings.threshold);
  Measurement result;
  for (const PixelRect& rect : rects) {
    int inside = 0;
    for (int y = std::max(rect.top, 0); y <= std::min(rect.bottom, a.height - 1); ++y)
      for (int x = std::max(rect.left, 0); x <= std::min(rect.right, a.width - 1); ++x)
        inside += mask[static_cast<size_t>(y) * a.width + x];
    result.pixelsInside.push_back(inside);
  }
  // What is left once every rectangle, widened by the tolerance, is cleared, lies outside them.
  const int t = settings.tolerance;
  for (const PixelRect& rect : rects)
    for (int y = std::max(rect.top - t, 0); y <= std::min(rect.bottom + t, a.height - 1); ++y)
      for (int x = std::max(rect.left - t, 0); x <= std::min(rect.right + t, a.width - 1); ++x)
        mask[static_cast<size_t>(y) * a.width + x] = 0;
  for (const Region& region : Significant(ConnectedRegions(mask, a.width, a.height), settings.minPixels))
    result.outside.push_back(region.box);
  return result;
}

}  // namespace varnel::pack
