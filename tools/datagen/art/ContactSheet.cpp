// SPDX-License-Identifier: Zlib
#include "ContactSheet.h"

#include <algorithm>
#include <cmath>

#include "Art.h"

namespace datagen {
namespace {

void PaintImage(cairo_t* cr, const RgbImage& image, double x, double y) {
  Canvas c(image.width, image.height);
  c.Flush();
  for (int row = 0; row < image.height; ++row) {
    uint32_t* out = c.Row(row);
    for (int col = 0; col < image.width; ++col) {
      const uint8_t* p = &image.pixels[(static_cast<size_t>(row) * image.width + col) * 3];
      out[col] = 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
  }
  c.MarkDirty();
  cairo_set_source_surface(cr, c.surface(), x, y);
  cairo_paint(cr);
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
    s.replace(at, from.size(), to);
  return s;
}

}  // namespace

Canvas PackSheet(const std::string& title, const std::vector<SheetLevel>& levels) {
  const int pw = levels.empty() ? 256 : levels[0].original.width;
  const int ph = levels.empty() ? 380 : levels[0].original.height;
  const int gap = 10, cellW = pw * 2 + gap * 3, cellH = ph + 44, columns = pw > ph ? 2 : 3;
  const int rows = (static_cast<int>(levels.size()) + columns - 1) / columns;
  Canvas sheet(columns * cellW + gap, rows * cellH + 50);
  cairo_t* cr = sheet.cr();
  art::SetColor(cr, Hex(0x22262E));
  cairo_paint(cr);
  art::SelectFace(cr, art::Face::SansBold, 22);
  cairo_move_to(cr, gap, 32);
  art::SetColor(cr, Hex(0xF0F0F0));
  cairo_show_text(cr, title.c_str());

  for (size_t i = 0; i < levels.size(); ++i) {
    const SheetLevel& l = levels[i];
    const double x = gap + static_cast<double>(i % columns) * cellW,
                 y = 50 + static_cast<double>(i / columns) * cellH;
    PaintImage(cr, l.original, x, y);
    PaintImage(cr, l.modified, x + pw + gap, y);
    for (size_t k = 0; k < l.rects.size(); ++k) {
      const DiffRect& r = l.rects[k];
      for (double ox : {x, x + pw + gap}) {
        cairo_rectangle(cr, ox + r.left + 0.5, y + r.top + 0.5, r.Width() - 1, r.Height() - 1);
        art::Stroke(cr, 1.5, Hex(0xFF2A2A), ox == x ? 0.45 : 1.0);
      }
      art::SelectFace(cr, art::Face::SansBold, 10);
      cairo_move_to(cr, x + pw + gap + r.left + 2, y + r.top + 10);
      art::SetColor(cr, Hex(0xFFFF60));
      cairo_show_text(cr, std::to_string(k + 1).c_str());
    }
    art::SelectFace(cr, art::Face::Sans, 12);
    std::string caption = std::to_string(l.level) + ": " + Replace(l.caption, "[e]", " / ");
    cairo_move_to(cr, x, y + ph + 16);
    art::SetColor(cr, Hex(0xE0E0E0));
    cairo_show_text(cr, caption.c_str());
  }
  return sheet;
}

}  // namespace datagen
