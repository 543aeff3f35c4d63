// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>

namespace varnel {

// Implemented by modRender.cpp (the frame, LoadLevel) and modRender_<screen>.cpp (Menus,
// StartGame, HighScores, Options, HelpCredits); the three play states live beside the game logic
// they drive, in modGame_LevelFlow.cpp and modGame_NameEntry.cpp.

// Draws and presents one frame of the current screen.
void MainFrame();

// The menu screens.
void DrawMenuBackdrop();
void DrawMenuBanner(int16_t screen);
void DrawStartGameScreen();
void DrawPackInfo();
void DrawHighScoresScreen();
void DrawPackScores();
void DrawHelp();
void DrawCredits();
void DrawOptions();

// The play states: the start prompt (9), playing (10) (both in modGame_LevelFlow.cpp), name
// entry (55) (modGame_NameEntry.cpp).
void DrawLevelStartState();
void DrawPlayingState();
void DrawNameEntryState();

// Takes the current level's pictures out of the pack and starts it.
void LoadLevel();

}  // namespace varnel
