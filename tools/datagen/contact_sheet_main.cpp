// SPDX-License-Identifier: Zlib
// varnel-contact-sheet: pictures of the generated game data, for people to look at.
//
//   varnel-contact-sheet <game folder> <output folder>
//
// Writes one sheet per pack (every original beside its modified copy, the difference
// rectangles drawn and numbered, the caption below), a sheet of the interface pictures, and
// mock-ups of the menu and play screens put together as the game draws them. The archives are
// read with the engine's own Extra from copies in the output folder; the game folder is not
// touched.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "Art.h"
#include "ContactSheet.h"
#include "Decode.h"
#include "Files.h"
#include "Mockup.h"
#include "tovak2d/Engine.h"
#include "tovak2d/Extra.h"

namespace fs = std::filesystem;
using namespace datagen;

namespace {

void SavePng(const Canvas& canvas, const fs::path& path) {
  if (cairo_surface_write_to_png(canvas.surface(), path.c_str()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot write " + path.string());
  std::printf("contact-sheet: %s\n", path.c_str());
}

Canvas InterfaceSheet(const std::vector<std::pair<std::string, const Canvas*>>& pictures) {
  const int cell = 280, columns = 5;
  const int rows = static_cast<int>((pictures.size() + columns - 1) / columns);
  Canvas sheet(columns * cell, rows * (cell + 24));
  cairo_t* cr = sheet.cr();
  // A checkerboard shows what is transparent.
  for (int y = 0; y < sheet.height(); y += 10)
    for (int x = 0; x < sheet.width(); x += 10) {
      cairo_rectangle(cr, x, y, 10, 10);
      art::Fill(cr, ((x + y) / 10) % 2 ? Hex(0x5A5E66) : Hex(0x4A4E56));
    }
  for (size_t i = 0; i < pictures.size(); ++i) {
    const Canvas& p = *pictures[i].second;
    const double x = static_cast<double>(i % columns) * cell,
                 y = static_cast<double>(i / columns) * (cell + 24);
    const double k = std::min(1.0, (cell - 10.0) / std::max(p.width(), p.height()));
    cairo_save(cr);
    cairo_translate(cr, x + 5, y + 5);
    cairo_scale(cr, k, k);
    cairo_set_source_surface(cr, p.surface(), 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    art::SelectFace(cr, art::Face::Sans, 12);
    std::string label =
        pictures[i].first + "  " + std::to_string(p.width()) + "x" + std::to_string(p.height());
    cairo_move_to(cr, x + 5, y + cell + 14);
    art::SetColor(cr, Hex(0xF0F0F0));
    cairo_show_text(cr, label.c_str());
  }
  return sheet;
}

// The interface archive's pictures, decoded, by file name.
PictureSet ReadInterface(tovak2d::Extra& extra, const fs::path& game, const fs::path& work) {
  fs::copy_file(game / "game data" / "pictures.vnl", work / "pictures.vnl",
                fs::copy_options::overwrite_existing);
  if (!extra.PAK_OpenPAK("pictures.vnl") || !extra.PAK_ExtractAll("interface"))
    throw std::runtime_error("cannot read the interface archive");
  PictureSet ui;
  for (const auto& entry : fs::directory_iterator(work / "interface")) {
    const std::string name = entry.path().filename().string();
    auto picture = DecodePicture(name, ReadFile(entry.path()));
    if (!picture) throw std::runtime_error(name + " does not decode");
    ui.emplace(name, std::move(*picture));
  }
  return ui;
}

// Level `n` of the open pack `file`: its caption, rectangles and both pictures.
SheetLevel ReadLevel(tovak2d::Extra& extra, const std::string& file, int n, const fs::path& work) {
  const std::string base = std::to_string(n);
  SheetLevel level;
  level.level = n;
  level.caption = extra.INIRead(base, "PicInfo", "picinfo.ini");
  for (int d = 1; d <= 5; ++d) {
    auto key = [&](const char* edge) {
      return std::stoi(extra.INIRead(base, std::to_string(d) + edge, "picinfo.ini"));
    };
    level.rects.push_back({key("Left"), key("Top"), key("Right"), key("Bottom")});
  }
  for (const std::string& picture : {base + ".jpg", base + "x.jpg"}) {
    if (!extra.PAK_ExtractFile(picture)) throw std::runtime_error(file + " lacks " + picture);
    auto image = DecodeJpeg(ReadFile(work / picture));
    if (!image) throw std::runtime_error(picture + " of " + file + " does not decode");
    (picture == base + ".jpg" ? level.original : level.modified) = std::move(*image);
    fs::remove(work / picture);
  }
  return level;
}

// What the screen mock-ups show of the packs.
struct PackSamples {
  std::vector<std::string> names;
  std::map<std::string, std::pair<std::string, SheetLevel>> firstLevels;  // by layout: pack and level
  std::string firstDescription;
};

// A sheet per pack; the packs' names and first levels for the mock-ups.
PackSamples SheetPacks(tovak2d::Extra& extra, const fs::path& game, const fs::path& work,
                       const fs::path& out) {
  PackSamples samples;
  for (const auto& entry : fs::directory_iterator(game / "packs")) {
    if (entry.path().extension() != ".vnl") continue;
    const std::string file = entry.path().filename().string(), pack = entry.path().stem().string();
    fs::copy_file(entry.path(), work / file, fs::copy_options::overwrite_existing);
    if (!extra.PAK_OpenPAK(file)) throw std::runtime_error("cannot open " + file);
    extra.PAK_ExtractFile("packinfo.ini");
    extra.PAK_ExtractFile("picinfo.ini");
    const int count = std::stoi(extra.INIRead("General", "NumOfLevels", "packinfo.ini"));
    const std::string vertical = extra.INIRead("General", "Vertical", "packinfo.ini");
    if (samples.firstDescription.empty())
      samples.firstDescription = extra.INIRead("General", "PackInfo", "packinfo.ini");
    std::vector<SheetLevel> levels;
    for (int n = 1; n <= count; ++n) levels.push_back(ReadLevel(extra, file, n, work));
    SavePng(PackSheet(pack, levels), out / (pack + ".png"));
    samples.names.push_back(pack);
    const std::string layout = vertical == "True" || vertical == "1" ? "v" : "h";
    if (!levels.empty() && !samples.firstLevels.count(layout))
      samples.firstLevels[layout] = {pack, levels.front()};
  }
  return samples;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: varnel-contact-sheet <game folder> <output folder>\n");
    return 2;
  }
  try {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const fs::path game = argv[1], out = fs::absolute(argv[2]), work = out / "extracted";
    fs::remove_all(work);
    fs::create_directories(work);
    tovak2d::Engine engine;
    engine.Tovak2D_Start_OnlySound(nullptr, work.string());
    tovak2d::Extra extra;

    const PictureSet ui = ReadInterface(extra, game, work);
    std::vector<std::pair<std::string, const Canvas*>> order;
    for (const auto& [name, canvas] : ui) order.emplace_back(name, &canvas);
    SavePng(InterfaceSheet(order), out / "interface.png");

    const PackSamples samples = SheetPacks(extra, game, work, out);
    SavePng(MenuMockup(ui, samples.names, samples.firstDescription), out / "screen-menu.png");
    for (const auto& [key, level] : samples.firstLevels) {
      const bool v = key == "v";
      SavePng(PlayMockup(ui, v, level.second, level.first),
              out / (std::string("screen-play-") + (v ? "vertical" : "horizontal") + ".png"));
      SavePng(PromptMockup(ui, v),
              out / (std::string("screen-panel-") + (v ? "vertical" : "horizontal") + ".png"));
    }
    engine.Tovak2D_Unload();
    fs::remove_all(work);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "contact-sheet: error: %s\n", e.what());
    return 1;
  }
}
