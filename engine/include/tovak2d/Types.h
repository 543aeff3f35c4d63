// SPDX-License-Identifier: Zlib
#pragma once

/// @file
/// The records the engine's calls take and fill: the window handle, rectangles, the mouse state,
/// sprite transforms, textures and font descriptions.

#include <cstdint>
#include <memory>

#include "tovak2d/Export.h"

struct SDL_Window;

/// Everything of the Tovak2D engine: the classes Engine, Extra and MP3Player and the records
/// they use.
namespace tovak2d {

/// The game window. Any program that created an SDL window can hand it to the engine
/// (Engine::Tovak2D_Start); the engine draws into it, sizes and shows it, and reads the keyboard
/// and mouse of it.
using WindowHandle = ::SDL_Window*;

/// A rectangle of four whole numbers, as the rectangle tests of Extra take it
/// (Extra::IsRectInRect, Extra::IsPointInRect). Which edges count as inside is up to the call
/// that uses it.
struct RECT {
  /// @var Left
  /// The left edge (smallest x).
  /// @var Top
  /// The top edge (smallest y).
  /// @var Right
  /// The right edge (largest x).
  /// @var Bottom
  /// The bottom edge (largest y).
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

/// A point or a pair of factors in two dimensions.
struct Vector2 {
  /// @var x
  /// The horizontal part (to the right).
  /// @var y
  /// The vertical part (downwards).
  float x = 0, y = 0;
};

/// Mouse state as reported by Engine::GetMouseState.
///
/// Button 1 is the left button, 2 the right one, 3 the middle one (the wheel). The states come
/// from the snapshot the last Engine::RenderAll took.
struct Mouse {
  /// @var X
  /// Cursor position in back-buffer pixels from the left edge of the drawing (the window's
  /// client area scaled to the back buffer), in windowed and full-screen mode alike.
  /// @var Y
  /// Cursor position in back-buffer pixels from the top edge of the drawing.
  /// @var Wheel
  /// The wheel's position in notches, added up since the process started: one notch away from
  /// the user adds 1, one towards the user takes 1 away. It is never reset.
  int32_t X = 0, Y = 0, Wheel = 0;
  /// @var B1Down
  /// The left button is held.
  /// @var B1Up
  /// The left button was released: true in the first report after the release (provided an
  /// earlier report saw it down), false in every other.
  /// @var B1Clicked
  /// The left button was pressed: true in the first report after the press, false in every
  /// other, however long the button is held.
  bool B1Down = false, B1Up = false, B1Clicked = false;
  /// @var B2Down
  /// The right button is held.
  /// @var B2Up
  /// The right button was released (once, as #B1Up).
  /// @var B2Clicked
  /// The right button was pressed (once, as #B1Clicked).
  bool B2Down = false, B2Up = false, B2Clicked = false;
  /// @var B3Down
  /// The middle button is held.
  /// @var B3Up
  /// The middle button was released (once, as #B1Up).
  /// @var B3Clicked
  /// The middle button was pressed (once, as #B1Clicked).
  bool B3Down = false, B3Up = false, B3Clicked = false;
};

/// The transform of one sprite draw (filled by Engine::Draw).
///
/// Engine::Draw and Engine::DrawText fill one for every sprite they draw: the part #SrcRect of
/// the texture is scaled by #Scaling about its top-left corner, turned by #Rotation about
/// #Center, and its top-left corner moved to #Translation. A game does not pass it anywhere; it
/// tells how the drawing calls' parameters place a sprite.
struct SpriteVars {
  Vector2 Translation;  ///< Top-left corner on screen before rotation, in back-buffer pixels.
  RECT SrcRect;         ///< The part of the texture drawn, in texels; Right and Bottom exclusive.
  Vector2 Center;       ///< Rotation centre from the scaled sprite's top-left corner, in pixels.
  float Rotation = 0;   ///< Radians, positive turns clockwise on screen (see @ref angles).
  Vector2 Scaling;      ///< Scale factors in x and y (1 draws one texel per pixel).
};

/// Top-left texel of one glyph cell of a bitmap font.
///
/// The cells of the bitmap font that Engine::DrawText draws are read from `font.ini` in the
/// application folder (see Engine::DrawText).
struct LetterSpecs {
  /// @var X
  /// The cell's left edge in the font texture, in texels.
  /// @var Y
  /// The cell's top edge in the font texture, in texels.
  int16_t X = 0, Y = 0;
};

/// A colour as the engine takes it, from its alpha, red, green and blue (each 0 to 255): alpha
/// in the top byte. `ARGB(255, 255, 0, 0)` is opaque red; a colour written as 0xFF0000 has alpha
/// 0 and draws nothing.
/// @param a Alpha: 255 opaque, 0 fully transparent.
/// @param r Red.
/// @param g Green.
/// @param b Blue.
/// @return the colour as a signed 32-bit value, the type the drawing calls take (opaque colours
///         are negative numbers).
constexpr int32_t ARGB(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<int32_t>((uint32_t{a} << 24) | (uint32_t{r} << 16) | (uint32_t{g} << 8) | uint32_t{b});
}

struct TextureData;  // the engine's texture object; defined inside the library

/// A texture made by Engine::CreateTexture. Copies share one texture; it is released
/// when the last copy goes away. Empty until loaded.
///
/// A texture belongs to the engine start it was loaded on: after Engine::Tovak2D_Unload it is
/// inert (it keeps its size and still tests true, but draws nothing, also on an engine started
/// again; load it anew then). It may outlive the Engine; its memory goes with its last copy.
class TOVAK2D_API Texture {
 public:
  /// An empty texture: it tests false and draws nothing until Engine::CreateTexture loads it.
  Texture() = default;
  /// Whether the texture holds a loaded picture.
  /// @return true once Engine::CreateTexture has loaded a picture into it (or into the copy it
  ///         was made from), false while empty.
  explicit operator bool() const { return static_cast<bool>(data_); }
  /// Empties this copy. The picture itself is released when no other copy holds it.
  void Release() { data_.reset(); }
  /// The texture's width in texels: the picture's width rounded up to a power of two, or the
  /// width the texture-size file gives (see Engine::CreateTexture). The picture is stretched over
  /// the whole texture.
  /// @return the width in texels; 0 when empty.
  int32_t Width() const;
  /// The texture's height in texels, rounded up to a power of two as #Width.
  /// @return the height in texels; 0 when empty.
  int32_t Height() const;
  /// The width of the picture the texture was made from, in pixels, before it was stretched to
  /// #Width. Draw the whole picture at its own size with
  /// `Draw(tex, x, y, tex.Width(), tex.Height(), 0, 100, 0, 0, tex.PictureWidth(), tex.PictureHeight())`.
  /// @return the picture's width; 0 when empty.
  int32_t PictureWidth() const;
  /// The height of the picture the texture was made from, in pixels (see #PictureWidth).
  /// @return the picture's height; 0 when empty.
  int32_t PictureHeight() const;

 private:
  friend struct TextureAccess;  // lets the library's own modules reach the texture object
  std::shared_ptr<TextureData> data_;
};

}  // namespace tovak2d

#include <string>

namespace tovak2d {

struct FontData;  // a rendered system font; defined inside the library

/// The description a system font was made from (the arguments of Engine::CreateFont).
struct FontDesc {
  std::string Name;     ///< The typeface name asked for, for example "DejaVu Sans".
  int16_t Size = 10;    ///< The size in points (at 96 dots per inch).
  bool Bold = false;    ///< Bold was asked for.
  bool Italic = false;  ///< Italic was asked for.
};

/// One system font, kept under its lower-case key name.
///
/// The engine keeps one for every Engine::CreateFont; games name fonts by their keys and do not
/// need this record.
struct DXFonts {
  std::shared_ptr<FontData> Info;  ///< The font made for the graphics device; for the library's own use.
  FontDesc InfoDesc;               ///< What the font was made from.
  std::string Name;                ///< The key name, in lower case.
};

}  // namespace tovak2d
