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

// DirectInput key codes the game asks about.
enum Key : int32_t {
  kKeyEscape = 1,
  kKeyS = 31,
  kKeySpace = 57,
};

inline std::unique_ptr<tovak2d::Engine> oEngine;
inline std::unique_ptr<tovak2d::Extra> oExtra;
inline std::unique_ptr<tovak2d::MP3Player> oMusic;

inline bool bRunning = false;
inline int16_t intScreen = 0;
inline int32_t lngFrame = 0;
inline float sngLogoFade = 0;
inline tovak2d::Mouse curMouse;
inline bool bMenuShown = false;
inline bool bCursorBusy = false;
inline std::string strMenuHover;

inline bool bMusicOn = true;
inline bool bSoundOn = true;
inline bool bWindowed = true;
inline bool bParticlesOn = true;

inline bool bJokerLeft = false;

inline tovak2d::Texture texLogo;
inline tovak2d::Texture texMouse;

}  // namespace varnel
