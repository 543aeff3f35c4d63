#pragma once

#include <cstdint>
#include <memory>

#include "tovak2d/Export.h"

struct SDL_Window;

namespace tovak2d {

// The game window. Any program that created an SDL window can hand it to the engine.
using WindowHandle = ::SDL_Window*;

struct RECT {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct Vector2 {
  float x = 0, y = 0;
};

// Mouse state as reported by Engine::GetMouseState.
struct Mouse {
  int32_t X = 0, Y = 0, Wheel = 0;
  bool B1Down = false, B1Up = false, B1Clicked = false;
  bool B2Down = false, B2Up = false, B2Clicked = false;
  bool B3Down = false, B3Up = false, B3Clicked = false;
};

// The transform of one sprite draw (filled by Engine::Draw).
struct SpriteVars {
  Vector2 Translation;  // top-left corner on screen before rotation
  RECT SrcRect;         // texels; Right and Bottom exclusive
  Vector2 Center;       // rotation centre from the scaled sprite's top-left corner
  float Rotation = 0;   // radians, positive turns clockwise on screen
  Vector2 Scaling;
};

// Top-left texel of one glyph cell of a bitmap font.
struct LetterSpecs {
  int16_t X = 0, Y = 0;
};

struct TextureData;  // the engine's texture object; defined inside the library

// A texture made by Engine::CreateTexture. Copies share one texture; it is released
// when the last copy goes away. Empty until loaded.
class TOVAK2D_API Texture {
 public:
  Texture() = default;
  explicit operator bool() const { return static_cast<bool>(data_); }
  void Release() { data_.reset(); }
  int32_t Width() const;  // texture size in texels (0 when empty)
  int32_t Height() const;

  std::shared_ptr<TextureData> data_;
};

}  // namespace tovak2d

#include <string>

namespace tovak2d {

struct FontData;  // a rendered system font; defined inside the library

// The description a system font was made from.
struct FontDesc {
  std::string Name;
  int16_t Size = 10;
  bool Bold = false;
  bool Italic = false;
};

// One system font, kept under its lower-case key name.
struct DXFonts {
  std::shared_ptr<FontData> Info;
  FontDesc InfoDesc;
  std::string Name;
};

}  // namespace tovak2d
