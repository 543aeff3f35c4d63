// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "EngineState.h"
#include "platform/Images.h"
#include "platform/Video.h"
#include "tovak2d/Diagnostics.h"
#include "tovak2d/Engine.h"

namespace tovak2d {

void CompareWithCompositor(bool on) {
  platform::video::testing::MirrorIntoCompositor(on);
}

bool CompareCompositorFrame(Engine& engine, CompositorComparison& result) {
  result = {};
  EngineState& state = EngineAccess::Of(engine);
  if (!state.device) return false;
  platform::images::Image software, compositor;
  std::vector<uint8_t> edges;
  if (!platform::video::testing::ReadMirror(*state.device, compositor, edges) ||
      !platform::video::ReadFrontBuffer(*state.device, software, nullptr) ||
      software.width != compositor.width || software.height != compositor.height ||
      software.argb.size() != compositor.argb.size())
    return false;
  for (size_t i = 0; i < software.argb.size(); ++i) {
    const uint32_t a = software.argb[i], b = compositor.argb[i];
    int worst = 0;
    for (int shift : {0, 8, 16})
      worst = std::max(
          worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    ++result.pixels;
    if (worst <= 1) continue;
    ++result.differing;
    if (!edges.empty() && edges[i]) continue;
    if (result.offTurnedEdges++ == 0) {
      result.firstX = static_cast<int>(i % static_cast<size_t>(software.width));
      result.firstY = static_cast<int>(i / static_cast<size_t>(software.width));
      result.software = a;
      result.compositor = b;
    }
    result.worst = std::max(result.worst, worst);
  }
  return true;
}

}  // namespace tovak2d
