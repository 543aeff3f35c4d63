// SPDX-License-Identifier: Zlib
#include <algorithm>

#include "DrawReport.h"
#include "EngineState.h"
#include "TextLayout.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "platform/TextRender.h"
#include "tovak2d/Engine.h"

namespace tovak2d {

// A system font made for the device: its glyph sheet and where each glyph lies in it.
struct FontData {
  std::shared_ptr<platform::video::GpuTexture> sheet;
  std::array<platform::fonts::Glyph, 256> glyphs{};
  textlayout::Advances advances{};
  int32_t lineHeight = 0;
};

namespace {

// A rectangle edge rounded to whole pixels. Edges far off the screen are held there, so that no
// sum of them overflows.
int32_t Edge(float v) {
  constexpr int32_t kFar = 1 << 24;
  return std::clamp(text::RoundHalfEven(static_cast<double>(v)), -kFar, kFar);
}

// Points to pixels at 96 dots per inch, rounded as Windows rounds font heights.
int PixelHeightOf(int16_t points) {
  return (points * 96 + 36) / 72;
}

std::shared_ptr<FontData> MakeFont(EngineState& state, const FontDesc& desc, std::string& why) {
  if (!state.device) {
    why = "no graphics device";
    return nullptr;
  }
  if (desc.Size <= 0) {
    why = "font size " + std::to_string(desc.Size) + " is not positive";
    return nullptr;
  }
  auto match = platform::fonts::MatchFont(desc.Name, desc.Bold, desc.Italic, &why);
  if (!match) return nullptr;
  auto sheet = platform::fonts::RenderGlyphs(*match, PixelHeightOf(desc.Size), &why);
  if (!sheet) return nullptr;
  auto font = std::make_shared<FontData>();
  font->sheet = platform::video::CreateTexture(*state.device, sheet->image.width, sheet->image.height,
                                               sheet->image.argb.data(), &why);
  if (!font->sheet) return nullptr;
  font->glyphs = sheet->glyphs;
  for (size_t i = 0; i < font->glyphs.size(); ++i) font->advances[i] = font->glyphs[i].advance;
  font->lineHeight = sheet->lineHeight;
  return font;
}

// Draws the glyphs of the laid-out lines, cut to the rectangle unless DT_NOCLIP is given.
void DrawGlyphs(platform::video::Device& device, const FontState& f, const FontData& font,
                std::string_view text, int32_t format, platform::video::Rgba color) {
  const RECT& rect = f.fontRect;
  const bool clip = !(format & textlayout::kNoClip);
  int32_t top = textlayout::FirstLineTop(rect, font.lineHeight, format);
  for (const textlayout::Line& line : f.lines) {
    if (clip && top >= rect.Bottom) break;
    int32_t pen = textlayout::LineLeft(rect, line.width, format);
    for (uint32_t i = line.begin; i < line.end; ++i) {
      const auto& g = font.glyphs[static_cast<unsigned char>(text[i])];
      const int32_t glyphX = pen + g.offsetX, glyphY = top + g.offsetY;
      pen += g.advance;
      if (g.width == 0) continue;
      int32_t x0 = glyphX, x1 = glyphX + g.width, y0 = glyphY, y1 = glyphY + g.height;
      if (clip) {
        x0 = std::max(x0, rect.Left);
        x1 = std::min(x1, rect.Right);
        y0 = std::max(y0, rect.Top);
        y1 = std::min(y1, rect.Bottom);
      }
      if (x0 >= x1 || y0 >= y1) continue;
      // Glyphs are drawn texel for pixel: a cut edge moves into the sheet as far as on the screen.
      platform::video::DrawRect(device, *font.sheet, {g.x + x0 - glyphX, g.y + y0 - glyphY, x1 - x0, y1 - y0},
                                {float(x0), float(y0), float(x1 - x0), float(y1 - y0)}, color);
    }
    top += font.lineHeight;
  }
}

}  // namespace

void ReleaseFonts(EngineState& state) {
  state.fonts.fonts.clear();
}

void Engine::CreateFont(const std::string& KeyName, const std::string& FontName, int16_t FontSize,
                        bool Boldovane, bool Italic) {
  FontState& f = d_->fonts;
  const std::string key = text::ToLower(KeyName);
  for (const DXFonts& font : f.fonts) {
    if (font.Name == key) {
      platform::dialogs::ShowMessage("Error importing fonts KeyName.\r\n'" + key + "' already exists!",
                                     "DirectX Error");
      return;
    }
  }
  // The key is taken before the font is made: one that cannot be made keeps its key and draws
  // nothing.
  f.fontTemplate = {FontName, FontSize, Boldovane, Italic};
  DXFonts& entry = f.fonts.emplace_back();
  entry.Name = key;
  entry.InfoDesc = f.fontTemplate;
  std::string why;
  entry.Info = MakeFont(*d_, f.fontTemplate, why);
  if (!entry.Info) {
    try {
      modExtra::WriteLog("Error in CreateFont : " + FontName + ": " + why);
    } catch (const modExtra::LogError&) {
    }
  }
}

void Engine::DrawFont(const std::string& KeyName, float X, float Y, float rectWidth, float rectHeight,
                      const std::string& fntText, int32_t fntColor, int32_t txtPosition) {
  FontState& f = d_->fonts;
  // Names are kept in lower case; the key given may be in any.
  auto entry = std::find_if(f.fonts.begin(), f.fonts.end(),
                            [&](const DXFonts& font) { return text::EqualsNoCase(font.Name, KeyName); });
  const FontData* font = entry == f.fonts.end() ? nullptr : entry->Info.get();
  const int32_t format = txtPosition | textlayout::kWordBreak;
  const RECT rect{Edge(X), Edge(Y), Edge(X + rectWidth), Edge(Y + rectHeight)};
  if (font && d_->device)
    textlayout::BreakLines(fntText, font->advances, rect.Right - rect.Left, format, f.lines);

  if (drawreport::observing && d_->device) {
    DrawRecord r;
    r.kind = DrawRecord::Kind::SystemText;
    r.fontKey = KeyName;
    r.text = fntText;
    r.X = X, r.Y = Y, r.Width = rectWidth, r.Height = rectHeight, r.color = fntColor,
    r.txtPosition = txtPosition;
    if (font) {
      r.boxWidth = rect.Right - rect.Left;
      r.boxHeight = rect.Bottom - rect.Top;
      r.lineCount = static_cast<int32_t>(f.lines.size());
      for (const textlayout::Line& line : f.lines) r.textWidth = std::max(r.textWidth, line.width);
      r.textHeight = r.lineCount * font->lineHeight;
    }
    drawreport::Report(r);
  }
  if (entry == f.fonts.end()) return;
  f.fontRect = rect;
  if (!font || !d_->device || (format & textlayout::kCalcRect)) return;

  const auto color = static_cast<uint32_t>(fntColor);
  DrawGlyphs(*d_->device, f, *font, fntText, format,
             {static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8),
              static_cast<uint8_t>(color), static_cast<uint8_t>(color >> 24)});
}

}  // namespace tovak2d
