// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "tovak2d/Types.h"

// State that exists once per process and is shared by every Engine, Extra and MP3Player.
namespace tovak2d::modExtra {

inline std::string AppPath;              // base of every relative file name
inline WindowHandle hWndMain = nullptr;  // the game window
inline int16_t resWidth = 0, resHeight = 0;
inline int16_t winWidth = 0, winHeight = 0;
inline bool fullScreen = false;
inline float piValue = 0;
inline float degToRad = 0;
inline Mouse lastMouse;

// A log line could not be written; the caller decides what that means.
class LogError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Appends vText and CR LF to the log: AppPath\log.txt when logFile is empty, else logFile
// (relative to AppPath unless it has a drive letter). Throws LogError when it cannot.
void WriteLog(const std::string& vText, const std::string& logFile = "");

// Whether AppPath\path or path itself exists (a folder counts); logs a missing file, except the
// texture-size file, which is usually absent. Never throws.
bool CheckFile(const std::string& path);

}  // namespace tovak2d::modExtra
