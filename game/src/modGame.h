// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <string>

namespace varnel {

// Implemented by modGame_Levels.cpp (pack and level data, random numbers), modGame_Play.cpp
// (the play screen, score text), modGame_LevelFlow.cpp (a game from start to end) and
// modGame_NameEntry.cpp (scores into the tables).

// Pack and level data. False (with a log line) when the pack's settings or the level's
// differences are missing or garbled, so the level cannot be played.
bool PickLevel();
bool LoadPicInfo();
void ResetLevelsUsed();
void ResetFound();

// The play screen.
void DrawPlayScreen();
void DrawDiffIndicators();
void DrawPicInfo();
// The prompt before a level starts; `fading` fades it out with the play screen's fade-in.
void DrawStartPrompt(bool fading = false);
// The dark panel behind the start prompt and the end-of-level panels.
void DrawGameMask(int16_t alpha);
bool StartClicked();
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
// Binds the chosen pack's high-score table to oExtra; false when its file is damaged.
bool BindPackTable();
inline constexpr char kTableUnreadable[] = "this pack's table cannot be read";
// Sets the notice the High Scores screen shows about a finished game's score that could not be
// stored, and logs it.
void TellScoreNotStored(const std::string& why);
void DrawLiveRank();
void ConfirmName();
// Enters the confirmed scores kept because their table could not be written, and saves their
// packs; true when none is left waiting.
bool StorePendingScores();
// A new catalogue numbers the packs anew: kept scores of the old one no longer have a table, and a
// table file found damaged may now be another pack's.
void ForgetPendingScores();

// Uniform random number in [0, 1) from one generator seeded once from the clock, so draws made
// within one clock tick still differ.
double Rnd();
void SeedRandom(unsigned seed);

// A score (or any Single) as text, the one conversion every screen and log line uses: the
// shortest decimal of at most seven significant digits that reads back as the same value,
// whole numbers without a decimal point (1250, 12.5; 1.234568E+07 past seven whole digits).
std::string SingleText(float value);

}  // namespace varnel
