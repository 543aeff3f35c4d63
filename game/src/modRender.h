#pragma once

#include <cstdint>

namespace varnel {

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

// The play states: the start prompt (9), playing (10), name entry (55).
void DrawLevelStartState();
void DrawPlayingState();
void DrawNameEntryState();

// Takes the current level's pictures out of the pack and starts it.
void LoadLevel();

}  // namespace varnel
