// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FontState.h"
#include "InputState.h"
#include "SoundState.h"
#include "platform/Video.h"
#include "tovak2d/Engine.h"

namespace tovak2d {

// Everything one Engine object holds. The groups of the drawing, text, input and sound modules
// live in their own headers.
struct EngineState {
  bool videoStarted = false;                        // the video system is in use by this engine
  std::unique_ptr<platform::video::Device> device;  // graphics device and sprite batch
  int32_t ambientRed = 0, ambientGreen = 0, ambientBlue = 0;
  // Frames presented since the start, for the rate report that TOVAK2D_FRAME_STATS asks for.
  int64_t framesPresented = 0;
  int64_t firstPresent = 0, lastPresent = 0;
  // Screenshots asked for on a device that keeps no copy of the frame on screen: each is taken
  // from the next frame as it is presented.
  std::vector<std::string> pendingScreenshots;
  FontState fonts;
  InputState input;
  SoundState sound;
};

// The library's modules reach an Engine's state through here.
struct EngineAccess {
  static EngineState& Of(Engine& engine) { return *engine.d_; }
};

// Steps of the start that the input, sound and text modules provide. Each logs its own failure;
// only LoadFontIni may fail the start, by throwing.
void Initilize_DxInput(EngineState& state);
void ShutdownInput(EngineState& state);
void Initilize_Soundcard(EngineState& state);
void ShutdownSound(EngineState& state);
// The "Desktop: ..." log line (Engine.cpp), and the same line again once the sound device changed.
void LogDesktop(const EngineState& s, bool soundCause);
void LogSoundChange(const EngineState& s);
void LoadFontIni(EngineState& state);
void ReleaseFonts(EngineState& state);
// Writes the screenshots waiting for the frame about to be presented.
void SavePendingScreenshots(EngineState& state);
void PollInput(EngineState& state);

// Writes the frame count and rate to standard error when TOVAK2D_FRAME_STATS is set.
void ReportFrameStats(EngineState& state);

}  // namespace tovak2d
