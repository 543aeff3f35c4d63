// SPDX-License-Identifier: Zlib
#include "Interface.h"

#include <cairo.h>

#include "Bmp.h"
#include "Dds.h"
#include "Jpeg.h"
#include "Rng.h"

namespace datagen {
namespace {

constexpr int kBackdropQuality = 92;

uint64_t NameHash(const std::string& name) {
  uint64_t h = 1469598103934665603ULL;
  for (unsigned char c : name) h = (h ^ c) * 1099511628211ULL;
  return h;
}

Bytes Jpeg(const Canvas& canvas) {
  return EncodeJpeg({canvas.width(), canvas.height(), canvas.ToRgb()}, kBackdropQuality);
}

Bytes Png(const Canvas& canvas) {
  Bytes out;
  cairo_surface_write_to_png_stream(
      canvas.surface(),
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* bytes = static_cast<Bytes*>(closure);
        bytes->insert(bytes->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &out);
  return out;
}

}  // namespace

std::vector<PictureJob> InterfacePictureJobs(uint64_t seed) {
  using Maker = std::function<Bytes(Rng&)>;
  const std::vector<std::pair<std::string, Maker>> pictures = {
      {"back_game_h.jpg", [](Rng& r) { return Jpeg(ui::PlayBackdrop(r, false)); }},
      {"back_game_v.jpg", [](Rng& r) { return Jpeg(ui::PlayBackdrop(r, true)); }},
      {"gamemask.dds", [](Rng& r) { return EncodeDds(ui::GameMask(r), DdsFormat::Dxt5); }},
      {"background.jpg", [](Rng& r) { return Jpeg(ui::MenuBackdrop(r)); }},
      {"sky.jpg", [](Rng& r) { return Jpeg(ui::Sky(r)); }},
      {"mouse.bmp", [](Rng&) { return EncodeBmp32(ui::Cursor()); }},
      {"button.bmp", [](Rng&) { return EncodeBmp32(ui::Button()); }},
      {"vnlogo.jpg", [](Rng& r) { return Jpeg(ui::Logo(r)); }},
      {"progressroom.dds", [](Rng&) { return EncodeDds(ui::TimeBarFrame(), DdsFormat::A8R8G8B8); }},
      {"progressbar.dds", [](Rng& r) { return EncodeDds(ui::TimeBarBackground(r), DdsFormat::A8R8G8B8); }},
      {"progressbarin.dds", [](Rng& r) { return EncodeDds(ui::TimeBarFilling(r), DdsFormat::A8R8G8B8); }},
      {"particles.png", [](Rng&) { return Png(ui::Particles()); }},
      {"sidemenu.dds", [](Rng& r) { return EncodeDds(ui::SideMenu(r), DdsFormat::Dxt5); }},
      {"newgameselection.dds", [](Rng& r) { return EncodeDds(ui::PackListPanel(r), DdsFormat::Dxt5); }},
      {"highscores.dds", [](Rng& r) { return EncodeDds(ui::ScoreTablePanel(r), DdsFormat::Dxt5); }},
      {"packinfo.dds", [](Rng& r) { return EncodeDds(ui::PackInfoPanel(r), DdsFormat::Dxt5); }},
      {"vnl.dds", [](Rng& r) { return EncodeDds(ui::Emblem(r), DdsFormat::Dxt5); }},
      {"clue.dds", [](Rng&) { return EncodeDds(ui::Clue(), DdsFormat::A8R8G8B8); }},
      {"clueselection.dds", [](Rng&) { return EncodeDds(ui::ClueSelection(), DdsFormat::A8R8G8B8); }},
      {"highscorepacks.dds", [](Rng& r) { return EncodeDds(ui::ScorePacksPanel(r), DdsFormat::Dxt5); }},
      {"menu_newgame.dds",
       [](Rng& r) { return EncodeDds(ui::Banner(r, "Start Game"), DdsFormat::A8R8G8B8); }},
      {"menu_highscores.dds",
       [](Rng& r) { return EncodeDds(ui::Banner(r, "High Scores"), DdsFormat::A8R8G8B8); }},
      {"menu_options.dds", [](Rng& r) { return EncodeDds(ui::Banner(r, "Options"), DdsFormat::A8R8G8B8); }},
      {"menu_help.dds", [](Rng& r) { return EncodeDds(ui::Banner(r, "Help"), DdsFormat::A8R8G8B8); }},
      {"font_default.dds", [](Rng&) { return EncodeDds(ui::BitmapFont(), DdsFormat::A8R8G8B8); }},
  };
  std::vector<PictureJob> jobs;
  for (const auto& [name, make] : pictures) {
    Rng rng = Rng(seed).Fork(NameHash(name));
    jobs.push_back({name, [rng, make]() mutable { return make(rng); }});
  }
  return jobs;
}

}  // namespace datagen
