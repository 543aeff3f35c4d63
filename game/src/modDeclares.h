// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tovak2d/Engine.h"
#include "tovak2d/Extra.h"
#include "tovak2d/MP3Player.h"

// The game's shared state: one pass of the main loop reads and changes it, every screen draws from it.
namespace varnel {

// Screen states; the numbers are the ones the game has always stored.
enum Screen : int16_t {
  kScreenStartGame = 1,
  kScreenHighScores = 2,
  kScreenOptions = 3,
  kScreenHelp = 4,
  kScreenCredits = 5,
  kScreenLevelStart = 9,
  kScreenPlaying = 10,
  kScreenNameEntry = 55,
};

// DirectInput key codes the main loop asks about.
enum Key : int32_t {
  kKeyEscape = 1,
  kKeyEnter = 28,
  kKeyS = 31,
  kKeySpace = 57,
};

// Packs ARGB colours the way the engine's DrawFont expects them.
constexpr int32_t ARGB(int a, int r, int g, int b) {
  return static_cast<int32_t>((static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) |
                              (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b));
}
inline constexpr int32_t kWhite = -1;

// One button of the menu column.
struct MenuItem {
  std::string Name;
  float X = 0, Y = 0, Height = 0, Width = 0;
  int16_t SrcX = 0, SrcY = 0;
  std::string Caption;
  int16_t Alpha = 0;
};

// One slot of the particle pool; free while Life <= 0.
struct Particle {
  int16_t Life = 0;
  int16_t Kind = 0;
  float X = 0, Y = 0, VelX = 0, VelY = 0, Spin = 0, Angle = 0;
  bool Fade = false;
};

// One difference of the current level, in picture pixels, all edges inclusive.
struct Difference {
  float Left = 0, Right = 0, Top = 0, Bottom = 0;
  bool Found = false;
};

inline std::unique_ptr<tovak2d::Engine> oEngine;
inline std::unique_ptr<tovak2d::Extra> oExtra;
inline std::unique_ptr<tovak2d::MP3Player> oMusic;

// The program's folder (the engine's application folder).
inline std::string strAppPath;

// Main loop and screens.
inline bool bRunning = false;
inline int16_t intScreen = 0;
inline int32_t lngFrame = 0;
inline float sngLogoFade = 0;
inline tovak2d::Mouse curMouse;
inline bool bMenuShown = false;
inline bool bCursorBusy = false;
inline std::string strMenuHover;
inline std::array<MenuItem, 51> MenuItems;
inline std::array<Particle, 151> Particles;

// Pack catalogue and lists.
inline std::vector<std::string> PackFiles;
inline int16_t intPackSel = 0;
inline int32_t lngItemColor = 0;
inline std::string strNumLevels;
inline std::string strPackInfo;
// The first pack row shown: a list longer than its panel scrolls with the mouse wheel.
inline int16_t intPackScroll = 0;
// A pack just made from photos: its row shows selected until the player points at a row.
inline int16_t intPackMade = -1;
// Wheel notches turned since the last pass (positive away from the player).
inline int32_t lngWheelTurn = 0;
// Packs the start-up check left out of the lists, each with its first problem; both pack screens
// name them below the list so that a pack maker sees why (the log has every problem).
struct PackLeftOut {
  std::string file;
  std::string problem;
};
inline std::vector<PackLeftOut> PacksLeftOut;
// A finished game's score that could not be stored, and why: the High Scores screen, where the
// game goes next, tells the player until a new game starts or another screen is chosen.
inline std::string strScoreNotice;

// Options.
inline bool bMusicOn = true, bSoundOn = true, bWindowed = true, bParticlesOn = true;
inline bool bScreenChanged = false, bWindowedAtStart = true;

// The game being played.
inline float sngScore = 0, sngLevel = 0;
inline std::string strLevel, strPackFile, strLevelPic, strPlayerName;
inline bool bVertical = false;
inline bool bLevelDone = false, bPackDone = false, bNextLevel = false, bEndSoundDue = false;
inline float sngTimer = 0;
inline bool bTimerOn = false, bJokerLeft = false;
inline float sngJokerFade = 0, sngPlayFade = 0;
inline bool bOverOriginal = false;
inline int32_t lngPicX = 0, lngPicY = 0;
inline int32_t lngNumLevels = 0;
inline std::array<Difference, 6> Differences;  // 1 to 5 are used
inline std::array<bool, 51> LevelUsed{};       // 1 to 50 are used

// Interface textures (from the picture archive) and the two level pictures.
inline tovak2d::Texture texBackGameH, texBackGameV, texGameMask, texBackground, texSky, texMouse, texButton,
    texLogo, texProgressRoom, texProgressBar, texProgressBarIn, texParticles, texSideMenu, texNewGameSel,
    texHighScores, texPackInfo, texVNL, texClue, texClueSel, texHighScorePacks, texMenuNewGame,
    texMenuHighScores, texMenuOptions, texMenuHelp, texFontDefault;
inline tovak2d::Texture texOriginal, texModified;

// Fills the six buttons of the menu column (modRender_Menus.cpp, beside the menu's table).
void BuildMenu();

}  // namespace varnel
