// SPDX-License-Identifier: Zlib
#include "Themes.h"

namespace datagen {

std::vector<std::unique_ptr<Theme>> AllThemes() {
  std::vector<std::unique_ptr<Theme>> themes;
  themes.push_back(MakeValleyTheme());
  themes.push_back(MakeSeaTheme());
  themes.push_back(MakeCityTheme());
  themes.push_back(MakeKitchenTheme());
  return themes;
}

}  // namespace datagen
