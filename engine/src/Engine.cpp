// SPDX-License-Identifier: Zlib
#include "tovak2d/Engine.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>
#include <stdexcept>

#include "EngineState.h"
#include "modExtra.h"
#include "platform/Audio.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/Video.h"

namespace tovak2d {
namespace {

const std::string kHashLine(48, '#');

int16_t ToInt16(double v) {
  int32_t r = text::RoundHalfEven(v);
  if (r > INT16_MAX) return INT16_MAX;
  if (r < INT16_MIN) return INT16_MIN;
  return static_cast<int16_t>(r);
}

std::string StartLine() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[16], time[8];
  std::strftime(date, sizeof date, "%Y-%m-%d", &local);
  std::strftime(time, sizeof time, "%H-%M", &local);
  return std::string("### APPLICATION STARTED @ ") + date + " @ " + time + " ###";
}

void SetPi() {
  modExtra::piValue = static_cast<float>(4.0 * std::atan(1.0));
  modExtra::degToRad = modExtra::piValue / 180.0f;
}

// The log is a record, not a part of the machinery: a game folder that cannot take it (read-only,
// full) must not keep the engine from starting or stopping.
void TryLog(const std::string& line) {
  try {
    modExtra::WriteLog(line);
  } catch (const modExtra::LogError&) {
  }
}

bool StartFailed(const std::string& prefix, const std::string& why) {
  TryLog(prefix + why);
  return false;
}

// What both starts begin with: the window and the application folder taken, and the log's header
// written, with a line of its own for a start of the sound alone. False, with the player told
// which file and why, when the log cannot be written.
bool BeginStart(WindowHandle hWnd, const std::string& appPath, const char* soundOnlyLine = nullptr) {
  modExtra::hWndMain = hWnd;
  platform::dialogs::SetOwner(hWnd);
  modExtra::AppPath = appPath;
  platform::files::SetApplicationFolder(appPath);
  try {
    modExtra::WriteLog(kHashLine);
    modExtra::WriteLog(StartLine());
    if (soundOnlyLine) modExtra::WriteLog(soundOnlyLine);
    modExtra::WriteLog(kHashLine);
    return true;
  } catch (const modExtra::LogError& e) {
    std::string why = e.what();
    if (!why.empty()) why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
    platform::dialogs::ShowMessage(why + ". The game goes on without its log.", "Log Error");
    return false;
  }
}

uint32_t soundChangesLogged = 0;

}  // namespace

// What the game runs on, for a player's log to answer why it is slow, silent or small: one line
// at start, and again whenever any of it changes. Why there is no sound device is told at start by
// the sound's own error line.
void LogDesktop(const EngineState& s, bool soundCause) {
  static std::string last;
  soundChangesLogged = platform::audio::Changes();
  const char* video = platform::video::CurrentDriver();
  std::string line = std::string("Desktop: video ") + (video ? video : "none");
  if (s.device) line += ", drawing " + platform::video::DrawingPath(*s.device);
  line += ", " + platform::audio::Describe(soundCause);
  char scale[32];
  std::snprintf(scale, sizeof scale, ", scale %g", s.device ? platform::video::Scale(*s.device) : 1.0);
  line += scale;
  if (line == last) return;
  last = line;
  TryLog(line);
}

void LogSoundChange(const EngineState& s) {
  if (platform::audio::Changes() != soundChangesLogged) LogDesktop(s, true);
}

Engine::Engine() : d_(std::make_unique<EngineState>()) {}

Engine::~Engine() {
  // An engine dropped without Tovak2D_Unload still gives its device and devices back.
  if (d_->device || d_->videoStarted) {
    ShutdownInput(*d_);
    ShutdownSound(*d_);
    ReleaseFonts(*d_);
    SavePendingScreenshots(*d_);
    d_->device.reset();
    if (d_->videoStarted) platform::video::StopVideo();
  }
}

bool Engine::Tovak2D_Start(WindowHandle hWnd, const std::string& pAppPath, float oResWidth, float oResHeight,
                           bool oFullScreen, float oScrWidth, float oScrHeight, bool WinOnTop) {
  EngineState& s = *d_;
  bool setupFailed = false;

  modExtra::fullScreen = oFullScreen;
  modExtra::resWidth = ToInt16(oResWidth);
  modExtra::resHeight = ToInt16(oResHeight);
  if (oScrWidth != 0) {
    modExtra::winWidth = ToInt16(oScrWidth);
    modExtra::winHeight = ToInt16(oScrHeight);
  } else {
    modExtra::winWidth = modExtra::resWidth;
    modExtra::winHeight = modExtra::resHeight;
  }
  BeginStart(hWnd, pAppPath);

  platform::video::PlaceWindow(hWnd, modExtra::winWidth, modExtra::winHeight, modExtra::fullScreen, WinOnTop);
  std::string progress = "1, ";

  // A second start replaces the first one's objects.
  SavePendingScreenshots(s);
  s.device.reset();
  if (!s.videoStarted) {
    std::string error;
    s.videoStarted = platform::video::StartVideo(&error);
    if (!s.videoStarted) setupFailed = true;
  }
  progress += "2, ";

  if (setupFailed) platform::dialogs::ShowMessage("Install DirectX 8.1 or better", "DirectX Error");

  try {
    if (!s.videoStarted) return StartFailed("Error in Tovak2D_Start : ", platform::video::ErrorText());

    bool retried = false;
    for (;;) {
      const bool fullScreenMode = modExtra::fullScreen && !retried;
      progress += "3, ";
      std::string error;
      s.device = platform::video::CreateDevice(hWnd, modExtra::resWidth, modExtra::resHeight, fullScreenMode,
                                               &error);
      if (s.device) break;
      if (retried) return StartFailed("Error in Tovak2D_Start : ", error);
      retried = true;
      TryLog("DirectX Error, trying windowed mode!");
    }

    progress += "4, ";
    progress += "5, ";
    Initilize_DxInput(s);
    progress += "6, ";
    Initilize_Soundcard(s);
    progress += "7, ";
    LoadFontIni(s);
    AmbientColor(255, 255, 255);
    SetPi();
    progress += "DONE!";
    TryLog("Engine Init: Step " + progress);
    LogDesktop(s, false);
    return true;
  } catch (const std::exception& e) {
    return StartFailed("Error in Tovak2D_Start : ", e.what());
  }
}

bool Engine::Tovak2D_Start_OnlySound(WindowHandle hWnd, const std::string& pAppPath) {
  BeginStart(hWnd, pAppPath, "### USING ONLY SOUND ENGINE                  ###");
  try {
    Initilize_Soundcard(*d_);
    LogDesktop(*d_, false);
    SetPi();
    return true;
  } catch (const std::exception& e) {
    return StartFailed("Error in Tovak2D_Start_OnlySound : ", e.what());
  }
}

void Engine::Tovak2D_Unload() {
  EngineState& s = *d_;
  SavePendingScreenshots(s);  // from the frame drawn last, the best there is now
  const bool displayLost = platform::desktop::DisplayLost();
  if (displayLost) TryLog("The display went away: the game ended without it");
  TryLog("APPLICATION ENDED");
  if (displayLost) platform::desktop::EndSoonAfterLoss();
  ReportFrameStats(s);
  s.framesPresented = 0;
  ShutdownInput(s);
  ShutdownSound(s);
  ReleaseFonts(s);
  s.device.reset();
  if (s.videoStarted) {
    platform::video::StopVideo();
    s.videoStarted = false;
  }
}

std::string Engine::Version() {
  return "Tovak2D Engine v0.9.23";
}

void Engine::SetDebugMode(bool TrueFalse) {
  DebugMode = TrueFalse;
}

}  // namespace tovak2d
