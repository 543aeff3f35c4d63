// SPDX-License-Identifier: Zlib
#pragma once

#include <memory>
#include <vector>

#include "Scene.h"

namespace datagen {

// The picture packs the game ships with, one theme each.
std::unique_ptr<Theme> MakeValleyTheme();   // horizontal: a landscape through the seasons
std::unique_ptr<Theme> MakeSeaTheme();      // vertical: under the sea
std::unique_ptr<Theme> MakeCityTheme();     // vertical: a city at night
std::unique_ptr<Theme> MakeKitchenTheme();  // horizontal: a kitchen table seen from above

std::vector<std::unique_ptr<Theme>> AllThemes();

}  // namespace datagen
