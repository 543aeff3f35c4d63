// SPDX-License-Identifier: Zlib
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Canvas.h"
#include "ContactSheet.h"

namespace datagen {

// Screens put together from the interface pictures the way the game draws them (the same
// positions, sizes, source rectangles, opacities and tints), with stand-in text: a quick way to
// see that panels, frames and plates sit where the game writes.
using PictureSet = std::map<std::string, Canvas>;

Canvas MenuMockup(const PictureSet& ui, const std::vector<std::string>& packs,
                  const std::string& description);
Canvas PlayMockup(const PictureSet& ui, bool vertical, const SheetLevel& level, const std::string& pack);
Canvas PromptMockup(const PictureSet& ui, bool vertical);

}  // namespace datagen
