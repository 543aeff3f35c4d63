#include <cstdio>
#include <filesystem>

#include "ContactSheet.h"
#include "Files.h"
#include "Interface.h"
#include "Themes.h"

using namespace datagen;

int main(int argc, char** argv) {
  std::filesystem::path work = argc > 1 ? argv[1] : "work";
  for (auto& theme : AllThemes()) {
    std::vector<SheetLevel> levels;
    for (int l = 1; l <= theme->Levels(); ++l) {
      LevelPictures p = MakeLevel(*theme, l, 20240611);
      levels.push_back({l, p.caption, *DecodeJpeg(p.original), *DecodeJpeg(p.modified), p.rects});
      std::printf("level %d\n", l);
    }
    cairo_surface_write_to_png(PackSheet(theme->PackName(), levels).surface(),
                               (work / (theme->PackName() + ".png")).c_str());
  }
}
