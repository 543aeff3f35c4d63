// SPDX-License-Identifier: Zlib
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Files.h"

namespace datagen {

class Rng;

// One file of the game folder or of an archive: its name and its bytes.
struct NamedFile {
  std::string name;
  Bytes data;
};

// The pictures of the interface, each drawn for the way the game draws it (sizes in comments).
namespace ui {

// Backdrops.cpp
Canvas MenuBackdrop(Rng& rng);  // 800 x 600, stretched to 1024 x 1024 and drawn back at 800 x 600
Canvas Sky(Rng& rng);           // 512 x 512, drawn at 1024 x 1024, turning, 30 % opaque
Canvas Logo(Rng& rng);          // 800 x 600 splash, "LOADING" written on its top-left corner

// PlayBackdrops.cpp: 800 x 600 with the frames and plates of one play-screen layout.
Canvas PlayBackdrop(Rng& rng, bool vertical);

// Panels.cpp
Canvas GameMask(Rng& rng);         // 1024 x 1024; 800 x 600 and 600 x 800 are read from its corner
Canvas SideMenu(Rng& rng);         // 256 x 512 at (0, 0), 50 % opaque
Canvas PackListPanel(Rng& rng);    // 512 x 512, 460 x 390 drawn at (275, 90)
Canvas PackInfoPanel(Rng& rng);    // 256 x 256 at (-30, 263)
Canvas ScoreTablePanel(Rng& rng);  // 256 x 512 at (-30, 200)
Canvas ScorePacksPanel(Rng& rng);  // 256 x 512, 256 x 390 drawn at (370, 90)
Canvas Emblem(Rng& rng);           // 256 x 256, loaded but never drawn

// Banners.cpp: 512 x 128 title banners drawn at (240, 0), 70 % opaque.
Canvas Banner(Rng& rng, const std::string& title);

// Widgets.cpp
Canvas Cursor();                     // 32 x 32, tip at (1, 1)
Canvas Button();                     // 128 x 32; the button fills the top-left 120 x 25
Canvas Clue();                       // 64 x 64 indicator, turning about its centre, tinted
Canvas ClueSelection();              // 64 x 64 found marker, scaled to each difference rectangle
Canvas Particles();                  // 64 x 32: a soft dot and a sparkle
Canvas TimeBarFrame();               // 64 x 512, frame 49 x 406
Canvas TimeBarBackground(Rng& rng);  // 64 x 1024, 49 x 399 window sliding down 399 rows
Canvas TimeBarFilling(Rng& rng);     // 64 x 512, top 49 x (406 - t) rows shown

// BitmapFont.cpp: 256 x 256, 11 x 11 cells of 23 texels, glyphs 22 x 22.
Canvas BitmapFont();

}  // namespace ui

// Interface.cpp: the 25 archive entries in the order the game creates them.
struct PictureJob {
  std::string name;
  std::function<Bytes()> make;
};
std::vector<PictureJob> InterfacePictureJobs(uint64_t seed);

}  // namespace datagen
