// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/Images.h"

// System fonts: the installed typeface a name stands for, and its glyphs rendered once.
namespace tovak2d::platform::fonts {

struct FontMatch {
  std::string file;  // the font file and the face inside it
  int index = 0;
  std::string family;            // the installed family chosen
  bool monospace = false;        // every glyph has the same advance
  bool syntheticBold = false;    // the face has no bold of its own; strokes are thickened
  bool syntheticItalic = false;  // the face has no italic of its own; glyphs are slanted
};

// The installed typeface of that name (or the one the font configuration puts in its place), bold
// and italic asked for. A name no installed font carries resolves to the default proportional sans
// face (one with Arial's widths when installed); only the Courier and Times families fall back to
// a monospace and a serif face.
std::optional<FontMatch> MatchFont(const std::string& name, bool bold, bool italic, std::string* error);

// Where one character's glyph lies in the sheet and how it sits on a line.
struct Glyph {
  int x = 0, y = 0, width = 0, height = 0;  // in the sheet; width 0 for a glyph without ink
  int offsetX = 0;                          // from the pen position to the glyph's left edge
  int offsetY = 0;                          // from the top of the line to the glyph's top edge
  int advance = 0;                          // from this pen position to the next
};

// The glyphs of every Windows-1252 character, white with their coverage in alpha, in one image.
struct GlyphSheet {
  int lineHeight = 0;  // ascent plus descent
  std::array<Glyph, 256> glyphs{};
  images::Image image;
};

// Renders the typeface with an em height of pixelHeight pixels.
std::optional<GlyphSheet> RenderGlyphs(const FontMatch& font, int pixelHeight, std::string* error);

}  // namespace tovak2d::platform::fonts
