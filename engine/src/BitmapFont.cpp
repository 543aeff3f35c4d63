// SPDX-License-Identifier: Zlib
#include <cstdlib>
#include <stdexcept>

#include "DrawReport.h"
#include "EngineState.h"
#include "Ini.h"
#include "Sprites.h"
#include "modExtra.h"
#include "platform/Text.h"
#include "tovak2d/Engine.h"
#include "tovak2d/TextureAccess.h"

namespace tovak2d {
namespace {

const char* const kFontFile = "font.ini";
constexpr int kDefaultCells = 11;  // per row and per column
constexpr int kDefaultPitch = 23;
constexpr int16_t kDefaultGlyphSize = 22;

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A whole number of the font file; anything else fails the engine's start.
int16_t ToInt16(const std::string& value, const std::string& what) {
  const std::string trimmed = text::Trim(value);
  char* end = nullptr;
  const double number = trimmed.empty() ? 0 : std::strtod(trimmed.c_str(), &end);
  if (trimmed.empty() || *end != '\0' || !(number > -32768.5 && number < 32767.5))
    throw std::runtime_error(std::string(kFontFile) + ": " + what + " is not a number: '" + value + "'");
  return static_cast<int16_t>(text::RoundHalfEven(number));
}

void ReadFontFile(FontState& f) {
  for (int i = 0; i < kSignCount; ++i)
    f.signs[i] = modExtra::ReadIniValue("Signs value", std::to_string(i), kFontFile);
  for (int i = 0; i < kSignCount; ++i) {
    const std::string key = std::to_string(i);
    const std::string value = modExtra::ReadIniValue("Signs position", key, kFontFile);
    if (value.empty()) continue;
    const size_t x = value.find('x');
    if (x == std::string::npos)
      throw std::runtime_error(std::string(kFontFile) + ": position " + key + " is not of the form 24x47: '" +
                               value + "'");
    const size_t next = value.find('x', x + 1);
    f.letterPos[i].X = ToInt16(value.substr(0, x), "position " + key);
    f.letterPos[i].Y =
        ToInt16(value.substr(x + 1, next == std::string::npos ? next : next - x - 1), "position " + key);
  }
  f.letterWidth = ToInt16(modExtra::ReadIniValue("Letter sizes", "Width", kFontFile), "Letter sizes Width");
  f.letterHeight =
      ToInt16(modExtra::ReadIniValue("Letter sizes", "Height", kFontFile), "Letter sizes Height");
}

void WriteDefaultFontFile(FontState& f) {
  f.signs = DefaultSigns();
  for (int i = 0; i < kSignCount; ++i)
    modExtra::WriteIniValue("Signs value", std::to_string(i), f.signs[i], kFontFile);
  for (int i = 0; i < kSignCount; ++i) {
    const LetterSpecs pos = DefaultLetterPos(i);
    modExtra::WriteIniValue("Signs position", std::to_string(i),
                            std::to_string(pos.X) + "x" + std::to_string(pos.Y), kFontFile);
  }
  modExtra::WriteIniValue("Letter sizes", "Width", std::to_string(kDefaultGlyphSize), kFontFile);
  modExtra::WriteIniValue("Letter sizes", "Height", std::to_string(kDefaultGlyphSize), kFontFile);
  for (int i = 0; i < kSignCount; ++i) f.letterPos[i] = DefaultLetterPos(i);
  f.letterWidth = f.letterHeight = kDefaultGlyphSize;
}

}  // namespace

std::array<std::string, kSignCount> DefaultSigns() {
  std::array<std::string, kSignCount> signs;
  signs.fill(" ");
  for (int i = 0; i < 10; ++i) signs[1 + i] = std::string(1, static_cast<char>('0' + i));
  for (int i = 0; i < 26; ++i) {
    signs[11 + i] = std::string(1, static_cast<char>('A' + i));
    signs[44 + i] = std::string(1, static_cast<char>('a' + i));
  }
  // Punctuation from cell 77 on; the euro sign and the copyright sign in Windows-1252.
  const std::string punctuation = ".,:;'\"-+\\/*=()[]<>_!?#&$\x80%\xA9@";
  for (size_t i = 0; i < punctuation.size(); ++i) signs[77 + i] = std::string(1, punctuation[i]);
  return signs;
}

LetterSpecs DefaultLetterPos(int index) {
  return {static_cast<int16_t>(kDefaultPitch * (index % kDefaultCells) + 1),
          static_cast<int16_t>(kDefaultPitch * (index / kDefaultCells) + 1)};
}

int16_t FindSign(const FontState& fonts, std::string_view character) {
  const std::string_view wanted = TrimBlanks(character);
  for (int i = 0; i < kSignCount; ++i)
    if (TrimBlanks(fonts.signs[i]) == wanted) return static_cast<int16_t>(i);
  return 0;
}

void LoadFontIni(EngineState& state) {
  if (modExtra::CheckFile(kFontFile))
    ReadFontFile(state.fonts);
  else
    WriteDefaultFontFile(state.fonts);
}

void Engine::DrawText(const Texture& DXTexture, const std::string& varText, float X, float Y, float ScaleSize,
                      float RotationAng, int16_t AlphaTransp, float cRed, float cGreen, float cBlue) {
  if (drawreport::observing && d_->device) {
    DrawRecord r;
    r.kind = DrawRecord::Kind::BitmapText;
    r.texture = TextureAccess::Data(DXTexture).get();
    r.text = varText;
    r.X = X, r.Y = Y, r.ScaleSize = ScaleSize, r.RotationAng = RotationAng, r.AlphaTransp = AlphaTransp;
    r.cRed = cRed, r.cGreen = cGreen, r.cBlue = cBlue;
    drawreport::Report(r);
  }
  if (!d_->device || !TextureAccess::Data(DXTexture)) return;
  const FontState& f = d_->fonts;
  const auto tint = sprites::ColorOf(sprites::AlphaOf(AlphaTransp), text::RoundHalfEven(cRed),
                                     text::RoundHalfEven(cGreen), text::RoundHalfEven(cBlue));
  SpriteVars sprite;
  if (RotationAng != 0) sprite.Rotation = -RotationAng * modExtra::degToRad;
  sprite.Scaling = {ScaleSize, ScaleSize};
  sprite.Center = {f.letterWidth / 2.0f * ScaleSize, f.letterHeight / 2.0f * ScaleSize};
  for (size_t n = 0; n < varText.size(); ++n) {
    // Every character advances one whole cell; each turns about its own centre.
    sprite.Translation = {X + static_cast<float>(n) * f.letterWidth * ScaleSize, Y};
    const LetterSpecs& cell = f.letterPos[FindSign(f, std::string_view(varText).substr(n, 1))];
    sprite.SrcRect = {cell.X, cell.Y, cell.X + f.letterWidth, cell.Y + f.letterHeight};
    sprites::DrawSprite(*d_->device, *TextureAccess::Data(DXTexture), sprite, tint);
  }
}

}  // namespace tovak2d
