#pragma once

namespace varnel {

// Pack and level data.
void PickLevel();
void LoadPicInfo();
void ResetLevelsUsed();
void ResetFound();

// The play screen.
void DrawPlayScreen();
void DrawDiffIndicators();
void DrawPicInfo();
void DrawStartPrompt();
void PictureHover();
void CheckClick();
void UseJoker();

// Timer, scoring and level flow.
void NewGame();
void CheckLevelDone();
void DrawLevelDone();
void DrawGameOver();
void SubmitScore();
void ExitToMenu();
void ApplyMusicOption();

// Live rank and name entry.
void DrawLiveRank();
void ConfirmName();

// Uniform random number in [0, 1) from one generator seeded once from the clock, so draws made
// within one clock tick still differ.
double Rnd();
void SeedRandom(unsigned seed);

}  // namespace varnel
