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

}  // namespace tovak2d
