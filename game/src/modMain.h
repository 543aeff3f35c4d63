// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <string>

#include "modDeclares.h"

namespace varnel {

// Implemented by modMain.cpp, modMain_Packs.cpp (the pack catalogue) and modMain_Particles.cpp;
// DrawMenuItem lives with the menu in modRender_Menus.cpp.

// The whole program: start-up, the main loop, shutdown. Returns the exit status.
int Main();

// The three phases of Main, apart so that tests can drive single passes.
bool Startup(const std::string& appPath);
void RunPass();
void Shutdown();

void AdvanceCounters();
void AdvanceLogoFade();
bool IsMouseOver(float X, float Y, float Width, float Height);

// The program's folder: in a build or unpacked folder its data lies there too.
std::string ProgramFolder();

// One menu button: hover fade, caption and click.
void DrawMenuItem(MenuItem& Item, const tovak2d::Texture& Tex, const std::string& FontKey);

// The pack catalogue: copies of every pack's settings and table beside the game, and back.
void ScanPacks();
void SavePackScores();
// Reads the catalogue again (after a pack was added), once every table is back in its pack; false,
// with the catalogue left as it is, while a score could not be stored yet.
bool ReReadPacks();
// Puts the catalogue copy of pack `index`'s table back into its pack file at once, so a score
// entered is never lost, whatever happens to the program afterwards. False (with a log line)
// when the pack file could not be rewritten; the copy keeps the table for the save at shutdown.
bool SavePackScore(int16_t index);

// Adds one particle (Add true) or moves and draws them all (Add false).
void ParticleFX(bool Add, int16_t Kind, float X, float Y, float VelX, float VelY, float Spin, float Life,
                bool Fade);

}  // namespace varnel
