// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tovak2d/Types.h"

// What the engine is asked to draw, reported call by call. Tests and tools check a screen with
// it (which texture, where, how opaque, which text) without reading pixels back. A test hook of
// this source tree, never installed: the library exports the observer, the SDK does not name it.
namespace tovak2d {

struct DrawRecord {
  enum class Kind { Clear, Sprite, BitmapText, SystemText, Present };
  Kind kind = Kind::Sprite;
  const TextureData* texture = nullptr;  // Sprite, BitmapText: compare with Texture::data_.get()
  std::string text;                      // BitmapText, SystemText
  std::string fontKey;                   // SystemText, as the caller spelled it
  float X = 0, Y = 0, Width = 0, Height = 0;
  float RotationAng = 0;
  int16_t AlphaTransp = 100;
  float SrcX = 0, SrcY = 0, scaleWidth = 0, scaleHeight = 0;
  float centerRotationX = -1, centerRotationY = -1;
  float ScaleSize = 1;                                              // BitmapText
  int32_t color = -1;                                               // SystemText: ARGB; Clear: the colour
  int32_t txtPosition = 0;                                          // SystemText
  float cRed = 255, cGreen = 255, cBlue = 255;                      // BitmapText
  int32_t ambientRed = 255, ambientGreen = 255, ambientBlue = 255;  // Sprite: the tint in force
  // SystemText with a font that could be made: the text as the engine lays it out in its box
  // (line breaks included), so that a check can tell whether all of it shows. The box in whole
  // pixels; the lines, the widest line and the height of all lines.
  int32_t boxWidth = 0, boxHeight = 0;
  int32_t lineCount = 0, textWidth = 0, textHeight = 0;
};

using DrawObserver = std::function<void(const DrawRecord&)>;

// Every Draw, DrawText, DrawFont, ClearScreen and RenderAll of every Engine is reported to the
// observer while one is set; an empty observer stops the reports.
TOVAK2D_API void SetDrawObserver(DrawObserver observer);

class Engine;

// The application folder of the last start forgotten, as a new process has none: a test process
// that runs one game after another calls it before each, so that full paths the next game names
// before its start are not read as names inside the last game's folder.
TOVAK2D_API void ForgetApplicationFolder();

// The engine's CPU compositor beside SDL's software renderer, frame by frame. While on, a device
// made on the software renderer draws every frame with the compositor as well.
TOVAK2D_API void CompareWithCompositor(bool on);

// The frame last presented, as the software renderer and the compositor drew it.
struct CompositorComparison {
  int64_t pixels = 0;                     // compared
  int64_t differing = 0;                  // by more than one level in some channel
  int64_t offTurnedEdges = 0;             // of those, the ones not within a pixel of a turned sprite's edge
  int worst = 0;                          // the largest difference in a channel among the latter
  int firstX = -1, firstY = -1;           // the first of them
  uint32_t software = 0, compositor = 0;  // its two colours
};

// False when the engine has no device that draws both ways.
TOVAK2D_API bool CompareCompositorFrame(Engine& engine, CompositorComparison& result);

}  // namespace tovak2d
