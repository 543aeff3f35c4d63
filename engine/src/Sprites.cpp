// SPDX-License-Identifier: Zlib
#include "Sprites.h"

#include <algorithm>
#include <cmath>

#include "DrawReport.h"
#include "EngineState.h"
#include "modExtra.h"
#include "platform/Text.h"
#include "tovak2d/Engine.h"
#include "tovak2d/TextureAccess.h"

namespace tovak2d {
namespace sprites {
namespace {

constexpr double kFarAway = 1e6;  // pixels

uint8_t Clamp255(int32_t v) {
  return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

}  // namespace

platform::video::Rgba ColorOf(int32_t alpha, int32_t red, int32_t green, int32_t blue) {
  return {Clamp255(red), Clamp255(green), Clamp255(blue), Clamp255(alpha)};
}

int32_t AlphaOf(int16_t percent) {
  return text::RoundHalfEven(255.0 * percent / 100.0);
}

SpriteVars SpriteFor(float X, float Y, float Width, float Height, float RotationAng, float SrcX, float SrcY,
                     float scaleWidth, float scaleHeight, float centerRotationX, float centerRotationY) {
  SpriteVars s;
  s.Translation = {X, Y};
  s.SrcRect.Left = text::RoundHalfEven(SrcX);
  s.SrcRect.Top = text::RoundHalfEven(SrcY);
  s.SrcRect.Right = text::RoundHalfEven(static_cast<double>(SrcX + Width));
  s.SrcRect.Bottom = text::RoundHalfEven(static_cast<double>(SrcY + Height));
  if (RotationAng != 0) s.Rotation = -RotationAng * modExtra::degToRad;
  if (scaleWidth == 0) {
    s.Scaling = {1, 1};
  } else {
    // A zero edge leaves its factor at 0, and the sprite does not show.
    if (s.SrcRect.Right != 0) s.Scaling.x = scaleWidth / static_cast<float>(s.SrcRect.Right);
    if (s.SrcRect.Bottom != 0) s.Scaling.y = scaleHeight / static_cast<float>(s.SrcRect.Bottom);
  }
  if (centerRotationX != -1) {
    s.Center = {centerRotationX, centerRotationY};
  } else {
    s.Center.x = (static_cast<float>(s.SrcRect.Right) - SrcX) / 2 * s.Scaling.x;
    s.Center.y = (static_cast<float>(s.SrcRect.Bottom) - SrcY) / 2 * s.Scaling.y;
  }
  return s;
}

void DrawSprite(platform::video::Device& device, const TextureData& texture, const SpriteVars& sprite,
                platform::video::Rgba tint) {
  if (!texture.image || texture.width <= 0 || texture.height <= 0) return;
  if (sprite.Scaling.x == 0 || sprite.Scaling.y == 0) return;
  const RECT& src = sprite.SrcRect;
  // Texels outside the texture have nothing to show: cut the source rectangle to it.
  const double u0 = std::clamp<double>(std::min(src.Left, src.Right), 0, texture.width);
  const double u1 = std::clamp<double>(std::max(src.Left, src.Right), 0, texture.width);
  const double v0 = std::clamp<double>(std::min(src.Top, src.Bottom), 0, texture.height);
  const double v1 = std::clamp<double>(std::max(src.Top, src.Bottom), 0, texture.height);
  if (u0 >= u1 || v0 >= v1) return;

  const double cosine = sprite.Rotation == 0 ? 1.0 : std::cos(static_cast<double>(sprite.Rotation));
  const double sine = sprite.Rotation == 0 ? 0.0 : std::sin(static_cast<double>(sprite.Rotation));
  const double us[2] = {u0, u1}, vs[2] = {v0, v1};
  platform::video::Vertex corners[4];
  for (int i = 0; i < 4; ++i) {
    const double u = us[i & 1], v = vs[i >> 1];
    // Scaled about the top-left corner, then turned about the centre, then moved.
    const double x = (u - src.Left) * sprite.Scaling.x - sprite.Center.x;
    const double y = (v - src.Top) * sprite.Scaling.y - sprite.Center.y;
    const double screenX = x * cosine - y * sine + sprite.Center.x + sprite.Translation.x;
    const double screenY = x * sine + y * cosine + sprite.Center.y + sprite.Translation.y;
    // Corners this far out come only from runaway values, which SDL cannot turn into pixels.
    if (!(std::fabs(screenX) < kFarAway && std::fabs(screenY) < kFarAway)) return;
    corners[i].x = static_cast<float>(screenX);
    corners[i].y = static_cast<float>(screenY);
    corners[i].u = static_cast<float>(u / texture.width);
    corners[i].v = static_cast<float>(v / texture.height);
    corners[i].color = tint;
  }
  platform::video::DrawQuad(device, *texture.image, corners);
}

}  // namespace sprites

void Engine::Draw(const Texture& DXTexture, float X, float Y, float Width, float Height, float RotationAng,
                  int16_t AlphaTransp, float SrcX, float SrcY, float scaleWidth, float scaleHeight,
                  float centerRotationX, float centerRotationY) {
  if (drawreport::observing && d_->device) {
    DrawRecord r;
    r.kind = DrawRecord::Kind::Sprite;
    r.texture = TextureAccess::Data(DXTexture).get();
    r.X = X, r.Y = Y, r.Width = Width, r.Height = Height, r.RotationAng = RotationAng;
    r.AlphaTransp = AlphaTransp, r.SrcX = SrcX, r.SrcY = SrcY, r.scaleWidth = scaleWidth;
    r.scaleHeight = scaleHeight, r.centerRotationX = centerRotationX, r.centerRotationY = centerRotationY;
    r.ambientRed = d_->ambientRed, r.ambientGreen = d_->ambientGreen, r.ambientBlue = d_->ambientBlue;
    drawreport::Report(r);
  }
  if (!d_->device || !TextureAccess::Data(DXTexture)) return;
  const SpriteVars sprite = sprites::SpriteFor(X, Y, Width, Height, RotationAng, SrcX, SrcY, scaleWidth,
                                               scaleHeight, centerRotationX, centerRotationY);
  const auto tint =
      sprites::ColorOf(sprites::AlphaOf(AlphaTransp), d_->ambientRed, d_->ambientGreen, d_->ambientBlue);
  sprites::DrawSprite(*d_->device, *TextureAccess::Data(DXTexture), sprite, tint);
}

}  // namespace tovak2d
