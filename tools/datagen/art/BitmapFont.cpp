// SPDX-License-Identifier: Zlib
#include "BitmapFont.h"

#include "Art.h"
#include "Interface.h"

namespace datagen {

std::vector<std::string> FontLayout::Signs() {
  std::vector<std::string> signs(kCells);
  for (int i = 0; i < 10; ++i) signs[static_cast<size_t>(1 + i)] = std::string(1, static_cast<char>('0' + i));
  for (int i = 0; i < 26; ++i) {
    signs[static_cast<size_t>(11 + i)] = std::string(1, static_cast<char>('A' + i));
    signs[static_cast<size_t>(44 + i)] = std::string(1, static_cast<char>('a' + i));
  }
  const char* punctuation[] = {".", ",", ":", ";", "'",      "\"", "-",      "+", "\\", "/",
                               "*", "=", "(", ")", "[",      "]",  "<",      ">", "_",  "!",
                               "?", "#", "&", "$", "\u20AC", "%",  "\u00A9", "@"};
  for (size_t i = 0; i < sizeof punctuation / sizeof *punctuation; ++i) signs[77 + i] = punctuation[i];
  return signs;
}

namespace ui {

Canvas BitmapFont() {
  // White glyphs with a soft dark rim: the game tints them by multiplying, and the rim keeps
  // light letters readable on light pictures.
  Canvas canvas(256, 256);
  cairo_t* cr = canvas.cr();
  art::SelectFace(cr, art::Face::SansBold, 16.5);
  cairo_font_extents_t font;
  cairo_font_extents(cr, &font);
  const auto signs = FontLayout::Signs();
  for (int i = 0; i < FontLayout::kCells; ++i) {
    const std::string& sign = signs[static_cast<size_t>(i)];
    if (sign.empty()) continue;
    const double x = FontLayout::CellX(i), y = FontLayout::CellY(i), size = FontLayout::kGlyph;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, size, size);
    cairo_clip(cr);
    cairo_text_extents_t glyph;
    cairo_text_extents(cr, sign.c_str(), &glyph);
    double left = x + (size - glyph.width) / 2 - glyph.x_bearing;
    double baseline = y + (size - (font.ascent + font.descent)) / 2 + font.ascent;
    cairo_move_to(cr, left, baseline);
    cairo_text_path(cr, sign.c_str());
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 2.2);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  return canvas;
}

}  // namespace ui
}  // namespace datagen
