// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>

#include "TextureData.h"
#include "platform/Video.h"
#include "tovak2d/Types.h"

// The sprite transform shared by Draw and the bitmap-font text.
namespace tovak2d::sprites {

// An ARGB colour from its parts; parts outside 0..255 are held at the nearest end.
platform::video::Rgba ColorOf(int32_t alpha, int32_t red, int32_t green, int32_t blue);

// An opacity percentage as an alpha value, halves to even: 100 gives 255, 50 gives 128.
int32_t AlphaOf(int16_t percent);

// The transform of one Draw call. The scale divides by the source rectangle's right and bottom
// edges, not by its size, so a cell away from the texture's origin comes out smaller than the
// size asked for; the particles depend on that.
SpriteVars SpriteFor(float X, float Y, float Width, float Height, float RotationAng, float SrcX, float SrcY,
                     float scaleWidth, float scaleHeight, float centerRotationX, float centerRotationY);

// Draws the source rectangle of the texture: scaled about its top-left corner, turned about the
// centre (clockwise for a positive angle), moved to the translation, every texel multiplied by
// the tint. The part of the source rectangle outside the texture is left out.
void DrawSprite(platform::video::Device& device, const TextureData& texture, const SpriteVars& sprite,
                platform::video::Rgba tint);

}  // namespace tovak2d::sprites
