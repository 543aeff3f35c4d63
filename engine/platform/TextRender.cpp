// SPDX-License-Identifier: Zlib
#include "platform/TextRender.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Text.h"

namespace tovak2d::platform::fonts {
namespace {

constexpr int kSheetWidth = 512;
constexpr int kMaxSheetHeight = 8192;
constexpr int kMaxPixelHeight = 1024;

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

// The typefaces to try, in order, for a name no installed font carries. Windows hands an unknown
// name its default proportional sans face, which has Arial's widths: a face with those metrics
// when one is installed, the default sans-serif face otherwise. The real Courier and Times
// families keep their kind, and Verdana and Tahoma take the wide default sans-serif face, so that
// text laid out for them keeps its widths.
std::vector<const char*> StandInsFor(const std::string& name) {
  const std::string lower = text::ToLower(text::Trim(name));
  if (lower == "courier" || lower == "courier new")
    return {"Courier", "Liberation Mono", "Cousine", "Nimbus Mono PS", "DejaVu Sans Mono", "monospace"};
  if (lower == "times" || lower == "times new roman") return {"serif"};
  if (lower == "verdana" || lower == "tahoma") return {"sans-serif"};
  return {"Arial", "Liberation Sans", "Arimo", "Nimbus Sans", "sans-serif"};
}

// Family names compare as fontconfig compares them: without regard to case or blanks.
bool SameFamilyName(std::string_view a, std::string_view b) {
  auto squeezed = [](std::string_view name) {
    std::string out;
    for (char c : name)
      if (c != ' ') out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return out;
  };
  return squeezed(a) == squeezed(b);
}

bool IsGenericFamily(const char* family) {
  for (const char* generic : {"sans-serif", "serif", "monospace", "sans", "mono", "cursive", "fantasy",
                              "system-ui", "emoji", "math"})
    if (FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(family),
                           reinterpret_cast<const FcChar8*>(generic)) == 0)
      return true;
  return false;
}

std::string StringOf(FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

int IntOf(FcPattern* pattern, const char* object, int absent) {
  int value = absent;
  if (FcPatternGetInteger(pattern, object, 0, &value) != FcResultMatch) return absent;
  return value;
}

// The Unicode character of a Windows-1252 byte; 0 for the bytes that stand for none.
char32_t CodePointOf(unsigned char byte) {
  const std::string utf8 = Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
  const auto* u = reinterpret_cast<const unsigned char*>(utf8.data());
  char32_t cp = 0;
  if (utf8.size() == 1) cp = u[0];
  if (utf8.size() == 2) cp = (u[0] & 0x1Fu) << 6 | (u[1] & 0x3Fu);
  if (utf8.size() == 3) cp = (u[0] & 0x0Fu) << 12 | (u[1] & 0x3Fu) << 6 | (u[2] & 0x3Fu);
  if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return 0;
  return cp;
}

struct FontCloser {
  void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};

// One glyph cut to its ink, with where it sits.
struct Cut {
  images::Image ink;
  Glyph glyph;
};

Cut CutGlyph(TTF_Font* font, char32_t cp) {
  Cut cut;
  int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
  if (TTF_GlyphMetrics32(font, cp, &minX, &maxX, &minY, &maxY, &advance) != 0) return cut;
  cut.glyph.advance = advance;
  SDL_Surface* rendered = TTF_RenderGlyph32_Blended(font, cp, SDL_Color{255, 255, 255, 255});
  if (!rendered) return cut;
  // Blended glyphs come as ARGB already; any other format is converted.
  SDL_Surface* argb = rendered->format->format == SDL_PIXELFORMAT_ARGB8888
                          ? rendered
                          : SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  if (argb != rendered) SDL_FreeSurface(rendered);
  if (!argb) return cut;

  // The rendered surface starts at the pen position, or left of it for a glyph that reaches
  // back over it, and spans the whole line height.
  auto pixel = [&](int x, int y) {
    return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                             static_cast<size_t>(y) * argb->pitch)[x];
  };
  int left = argb->w, right = -1, top = argb->h, bottom = -1;
  for (int y = 0; y < argb->h; ++y)
    for (int x = 0; x < argb->w; ++x)
      if (pixel(x, y) >> 24) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right >= 0) {
    cut.ink.width = right - left + 1;
    cut.ink.height = bottom - top + 1;
    cut.ink.argb.resize(static_cast<size_t>(cut.ink.width) * cut.ink.height);
    for (int y = 0; y < cut.ink.height; ++y)
      for (int x = 0; x < cut.ink.width; ++x)
        cut.ink.argb[static_cast<size_t>(y) * cut.ink.width + x] = pixel(left + x, top + y);
    cut.glyph.width = cut.ink.width;
    cut.glyph.height = cut.ink.height;
    cut.glyph.offsetX = std::min(0, minX) + left;
    cut.glyph.offsetY = top;
  }
  SDL_FreeSurface(argb);
  return cut;
}

struct PatternCloser {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternCloser>;

// The installed font fontconfig picks for the family, with the pattern it was asked with after
// the configuration's substitutions.
std::pair<Pattern, Pattern> BestFontFor(const std::string& family, bool bold, bool italic) {
  Pattern pattern(FcPatternCreate());
  if (!family.empty())
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  Pattern found(FcFontMatch(nullptr, pattern.get(), &result));
  return {std::move(pattern), std::move(found)};
}

// Whether the font found is the family asked for, or one the configuration binds firmly in its
// place (a metric-compatible face, for instance), rather than a face fontconfig fell back to
// because it knows no such family: those are bound weakly.
bool IsFamilyAskedFor(FcPattern* asked, FcPattern* found) {
  std::vector<std::string> foundFamilies;
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    foundFamilies.emplace_back(reinterpret_cast<const char*>(name));
  FcValue value;
  FcValueBinding binding = FcValueBindingWeak;
  for (int i = 0; FcPatternGetWithBinding(asked, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i) {
    if (binding == FcValueBindingWeak || value.type != FcTypeString) continue;
    const char* family = reinterpret_cast<const char*>(value.u.s);
    for (const std::string& f : foundFamilies)
      if (SameFamilyName(family, f)) return true;
  }
  return false;
}

}  // namespace

std::optional<FontMatch> MatchFont(const std::string& name, bool bold, bool italic, std::string* error) {
  if (!FcInit()) {
    Fail(error, "the font configuration cannot be loaded");
    return std::nullopt;
  }
  const std::string family = Cp1252ToUtf8(text::Trim(name));
  auto [asked, found] = BestFontFor(family, bold, italic);
  if (!found || family.empty() ||
      (!IsGenericFamily(family.c_str()) && !IsFamilyAskedFor(asked.get(), found.get()))) {
    found.reset();
    for (const char* standIn : StandInsFor(name)) {
      auto [standInAsked, standInFound] = BestFontFor(standIn, bold, italic);
      if (standInFound &&
          (IsGenericFamily(standIn) || IsFamilyAskedFor(standInAsked.get(), standInFound.get()))) {
        found = std::move(standInFound);
        break;
      }
    }
  }
  if (!found || StringOf(found.get(), FC_FILE).empty()) {
    Fail(error, "no installed font for '" + family + "'");
    return std::nullopt;
  }
  FontMatch match;
  match.file = StringOf(found.get(), FC_FILE);
  match.index = IntOf(found.get(), FC_INDEX, 0);
  match.family = StringOf(found.get(), FC_FAMILY);
  match.monospace = IntOf(found.get(), FC_SPACING, FC_PROPORTIONAL) >= FC_MONO;
  match.syntheticBold = bold && IntOf(found.get(), FC_WEIGHT, FC_WEIGHT_REGULAR) < FC_WEIGHT_DEMIBOLD;
  match.syntheticItalic = italic && IntOf(found.get(), FC_SLANT, FC_SLANT_ROMAN) == FC_SLANT_ROMAN;
  return match;
}

std::optional<GlyphSheet> RenderGlyphs(const FontMatch& match, int pixelHeight, std::string* error) {
  if (pixelHeight > kMaxPixelHeight) {
    Fail(error, "a font of " + std::to_string(pixelHeight) + " pixels is too large");
    return std::nullopt;
  }
  if (!TTF_WasInit() && TTF_Init() != 0) {
    Fail(error, TTF_GetError());
    return std::nullopt;
  }
  std::unique_ptr<TTF_Font, FontCloser> font(
      TTF_OpenFontIndex(match.file.c_str(), std::max(1, pixelHeight), match.index));
  if (!font) {
    Fail(error, TTF_GetError());
    return std::nullopt;
  }
  const int style =
      (match.syntheticBold ? TTF_STYLE_BOLD : 0) | (match.syntheticItalic ? TTF_STYLE_ITALIC : 0);
  TTF_SetFontStyle(font.get(), style);

  GlyphSheet sheet;
  sheet.lineHeight = TTF_FontHeight(font.get());
  std::vector<Cut> cuts(256);
  auto cutEvery = [&cuts](TTF_Font* from, int first, int step) {
    for (int byte = first; byte < 256; byte += step) {
      const char32_t cp = CodePointOf(static_cast<unsigned char>(byte));
      if (cp != 0) cuts[byte] = CutGlyph(from, cp);
    }
  };
  // Rendering the glyphs is most of a font's making, and the game makes its fonts while it starts:
  // a second thread renders every other glyph through a handle of its own on the font file (a
  // FreeType face serves one thread at a time; opening and closing stay on this thread).
  std::unique_ptr<TTF_Font, FontCloser> second(
      TTF_OpenFontIndex(match.file.c_str(), std::max(1, pixelHeight), match.index));
  std::thread helper;
  if (second) {
    TTF_SetFontStyle(second.get(), style);
    try {
      helper = std::thread([&cutEvery, &second] {
        cutEvery(second.get(), 1, 2);
        SDL_TLSCleanup();  // SDL keeps an error buffer for every thread that calls it
      });
    } catch (const std::system_error&) {  // no thread to be had: this one does it all
    }
  }
  if (helper.joinable()) {
    cutEvery(font.get(), 0, 2);
    helper.join();
  } else {
    cutEvery(font.get(), 0, 1);
  }
  int sheetWidth = kSheetWidth;
  for (const Cut& cut : cuts) sheetWidth = std::max(sheetWidth, cut.ink.width + 2);

  // Rows of glyphs, one pixel apart so that filtering never mixes two of them.
  int x = 1, y = 1, rowHeight = 0;
  for (int byte = 0; byte < 256; ++byte) {
    Glyph& glyph = cuts[byte].glyph;
    if (glyph.width > 0) {
      if (x + glyph.width + 1 > sheetWidth) {
        x = 1;
        y += rowHeight + 1;
        rowHeight = 0;
      }
      glyph.x = x;
      glyph.y = y;
      x += glyph.width + 1;
      rowHeight = std::max(rowHeight, glyph.height);
    }
    sheet.glyphs[byte] = glyph;
  }
  const int sheetHeight = y + rowHeight + 1;
  if (sheetHeight > kMaxSheetHeight) {
    Fail(error, "the font is too large to render");
    return std::nullopt;
  }
  sheet.image.width = sheetWidth;
  sheet.image.height = sheetHeight;
  sheet.image.argb.assign(static_cast<size_t>(sheetWidth) * sheetHeight, 0);
  for (int byte = 0; byte < 256; ++byte) {
    const Cut& cut = cuts[byte];
    for (int row = 0; row < cut.ink.height; ++row)
      std::copy_n(cut.ink.argb.begin() + static_cast<std::ptrdiff_t>(row) * cut.ink.width, cut.ink.width,
                  sheet.image.argb.begin() + static_cast<std::ptrdiff_t>(cut.glyph.y + row) * sheetWidth +
                      cut.glyph.x);
  }
  return sheet;
}

}  // namespace tovak2d::platform::fonts
