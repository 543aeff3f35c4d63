#include <algorithm>

#include "EngineState.h"
#include "Text.h"
#include "TextLayout.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
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

void ClipSpan(float& from, float& to, float& uvFrom, float& uvTo, float low, float high) {
  const float length = to - from;
  const float uvLength = uvTo - uvFrom;
  if (from < low) {
    uvFrom += uvLength * (low - from) / length;
    from = low;
  }
  if (to > high) {
    uvTo -= uvLength * (to - high) / length;
    to = high;
  }
}

// Adds the glyph quads of the laid-out lines, cut to the rectangle unless DT_NOCLIP is given.
void AddGlyphQuads(FontState& f, const FontData& font, std::string_view text, int32_t format,
                   platform::video::Rgba color) {
  const RECT& rect = f.fontRect;
  const bool clip = !(format & textlayout::kNoClip);
  const float sheetWidth = static_cast<float>(font.sheet->width);
  const float sheetHeight = static_cast<float>(font.sheet->height);
  int32_t top = textlayout::FirstLineTop(rect, font.lineHeight, format);
  for (const textlayout::Line& line : f.lines) {
    if (clip && top >= rect.Bottom) break;
    int32_t pen = textlayout::LineLeft(rect, line.width, format);
    for (uint32_t i = line.begin; i < line.end; ++i) {
      const auto& g = font.glyphs[static_cast<unsigned char>(text[i])];
      if (g.width > 0) {
        float x0 = static_cast<float>(pen + g.offsetX), x1 = x0 + static_cast<float>(g.width);
        float y0 = static_cast<float>(top + g.offsetY), y1 = y0 + static_cast<float>(g.height);
        float u0 = static_cast<float>(g.x) / sheetWidth, u1 = static_cast<float>(g.x + g.width) / sheetWidth;
        float v0 = static_cast<float>(g.y) / sheetHeight,
              v1 = static_cast<float>(g.y + g.height) / sheetHeight;
        if (clip) {
          ClipSpan(x0, x1, u0, u1, static_cast<float>(rect.Left), static_cast<float>(rect.Right));
          ClipSpan(y0, y1, v0, v1, static_cast<float>(rect.Top), static_cast<float>(rect.Bottom));
        }
        if (x0 < x1 && y0 < y1) {
          f.vertices.push_back({x0, y0, u0, v0, color});
          f.vertices.push_back({x1, y0, u1, v0, color});
          f.vertices.push_back({x0, y1, u0, v1, color});
          f.vertices.push_back({x1, y1, u1, v1, color});
        }
      }
      pen += g.advance;
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
  const std::string key = text::ToLower(KeyName);
  auto entry =
      std::find_if(f.fonts.begin(), f.fonts.end(), [&](const DXFonts& font) { return font.Name == key; });
  if (entry == f.fonts.end()) return;
  f.fontRect = {text::RoundHalfEven(static_cast<double>(X)), text::RoundHalfEven(static_cast<double>(Y)),
                text::RoundHalfEven(static_cast<double>(X + rectWidth)),
                text::RoundHalfEven(static_cast<double>(Y + rectHeight))};
  const FontData* font = entry->Info.get();
  const int32_t format = txtPosition | textlayout::kWordBreak;
  if (!font || !d_->device || (format & textlayout::kCalcRect)) return;

  textlayout::BreakLines(fntText, font->advances, f.fontRect.Right - f.fontRect.Left, format, f.lines);
  const auto color = static_cast<uint32_t>(fntColor);
  f.vertices.clear();
  AddGlyphQuads(f, *font, fntText, format,
                {static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8),
                 static_cast<uint8_t>(color), static_cast<uint8_t>(color >> 24)});
  const size_t quads = f.vertices.size() / 4;
  // Every quad is two triangles over its four corners.
  for (size_t q = f.indices.size() / 6; q < quads; ++q) {
    const int first = static_cast<int>(q * 4);
    f.indices.insert(f.indices.end(), {first, first + 1, first + 2, first + 2, first + 1, first + 3});
  }
  platform::video::DrawTriangles(*d_->device, *font->sheet, f.vertices.data(),
                                 static_cast<int>(f.vertices.size()), f.indices.data(),
                                 static_cast<int>(quads * 6));
}

}  // namespace tovak2d
