// SPDX-License-Identifier: Zlib
#include "Mockup.h"

#include <cmath>
#include <iterator>
#include <utility>

#include "Art.h"
#include "BitmapFont.h"
#include "Math.h"
#include "ScreenLayout.h"

namespace datagen {
namespace {

int PowerOfTwo(int v) {
  int p = 1;
  while (p < v) p *= 2;
  return p;
}

const Canvas& Get(const PictureSet& ui, const std::string& name) {
  static const Canvas kEmpty(1, 1);
  auto it = ui.find(name);
  return it == ui.end() ? kEmpty : it->second;
}

Canvas Tinted(const Canvas& c, const Rgb& tint) {
  Canvas out = c.Copy();
  out.Flush();
  for (int y = 0; y < out.height(); ++y) {
    uint32_t* row = out.Row(y);
    for (int x = 0; x < out.width(); ++x) {
      uint32_t p = row[x];
      auto ch = [&](int shift, double k) {
        return static_cast<uint32_t>(((p >> shift) & 255) * k + 0.5) << shift;
      };
      row[x] = (p & 0xFF000000u) | ch(16, tint.r) | ch(8, tint.g) | ch(0, tint.b);
    }
  }
  out.MarkDirty();
  return out;
}

// The engine's sprite draw: the picture stretched over its power-of-two texture, a source
// rectangle in texels, scale factors against the rectangle's right and bottom edges, rotation
// in degrees (anticlockwise) about the scaled sprite's centre, opacity in percent.
void Sprite(cairo_t* cr, const Canvas& tex, double x, double y, double w, double h, double rotation = 0,
            double alpha = 100, double srcX = 0, double srcY = 0, double scaleW = 0, double scaleH = 0,
            const Rgb* tint = nullptr) {
  const double kx = scaleW == 0 ? 1 : scaleW / (srcX + w), ky = scaleW == 0 ? 1 : scaleH / (srcY + h);
  const double tw = PowerOfTwo(tex.width()), th = PowerOfTwo(tex.height());
  cairo_save(cr);
  cairo_translate(cr, x + w * kx / 2, y + h * ky / 2);
  cairo_rotate(cr, -rotation * kPi / 180);
  cairo_translate(cr, -w * kx / 2, -h * ky / 2);
  cairo_rectangle(cr, 0, 0, w * kx, h * ky);
  cairo_clip(cr);
  cairo_scale(cr, kx, ky);
  cairo_translate(cr, -srcX, -srcY);
  cairo_scale(cr, tw / tex.width(), th / tex.height());
  if (tint) {
    Canvas t = Tinted(tex, *tint);
    cairo_set_source_surface(cr, t.surface(), 0, 0);
    cairo_paint_with_alpha(cr, alpha / 100);
  } else {
    cairo_set_source_surface(cr, tex.surface(), 0, 0);
    cairo_paint_with_alpha(cr, alpha / 100);
  }
  cairo_restore(cr);
}

// System-font text centred (or left-aligned) at the top of a box, wrapped at words.
void Font(cairo_t* cr, double points, bool bold, bool mono, double x, double y, double w,
          const std::string& text, const Rgb& c, double alpha, bool centred) {
  cairo_select_font_face(cr, mono ? "DejaVu Sans Mono" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  const double px = points * 96 / 72;
  cairo_set_font_size(cr, px);
  std::vector<std::string> lines;
  std::string paragraph;
  auto flush = [&](const std::string& para) {
    std::string line, word;
    auto fits = [&](const std::string& s) { return art::TextWidth(cr, s) <= w; };
    size_t i = 0;
    while (i <= para.size()) {
      size_t j = para.find(' ', i);
      if (j == std::string::npos) j = para.size();
      word = para.substr(i, j - i);
      std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && !fits(candidate)) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
      i = j + 1;
    }
    lines.push_back(line);
  };
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    flush(text.substr(start, at - start));
  flush(text.substr(start));
  for (size_t k = 0; k < lines.size(); ++k) {
    double lx = centred ? x + (w - art::TextWidth(cr, lines[k])) / 2 : x;
    cairo_move_to(cr, lx, y + px * static_cast<double>(k + 1) * 1.2 - px * 0.25);
    art::SetColor(cr, c, alpha);
    cairo_show_text(cr, lines[k].c_str());
  }
}

void BitmapText(cairo_t* cr, const Canvas& font, const std::string& text, double x, double y, double scale,
                const Rgb& c) {
  const auto signs = FontLayout::Signs();
  Canvas tinted = Tinted(font, c);
  for (size_t n = 0; n < text.size(); ++n) {
    int cell = 0;
    for (int i = 0; i < FontLayout::kCells; ++i)
      if (signs[static_cast<size_t>(i)] == std::string(1, text[n])) {
        cell = i;
        break;
      }
    cairo_save(cr);
    cairo_translate(cr, x + static_cast<double>(n) * FontLayout::kGlyph * scale, y);
    cairo_scale(cr, scale, scale);
    cairo_rectangle(cr, 0, 0, FontLayout::kGlyph, FontLayout::kGlyph);
    cairo_clip(cr);
    cairo_set_source_surface(cr, tinted.surface(), -FontLayout::CellX(cell), -FontLayout::CellY(cell));
    cairo_paint(cr);
    cairo_restore(cr);
  }
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
    s.replace(at, from.size(), to);
  return s;
}

void MenuBackdrop(cairo_t* cr, const PictureSet& ui) {
  Sprite(cr, Get(ui, "background.jpg"), 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600);
  Sprite(cr, Get(ui, "sky.jpg"), -100, -225, 512, 512, 37, 30, 0, 0, 1024, 1024);
  Sprite(cr, Get(ui, "sidemenu.dds"), 0, 0, 256, 512, 0, 50);
}

const Rgb kWhite{1, 1, 1};

}  // namespace

Canvas MenuMockup(const PictureSet& ui, const std::vector<std::string>& packs,
                  const std::string& description) {
  Canvas screen(800, 600);
  cairo_t* cr = screen.cr();
  MenuBackdrop(cr, ui);
  Sprite(cr, Get(ui, "menu_newgame.dds"), 240, 0, 512, 128, 0.6, 70);
  Sprite(cr, Get(ui, "newgameselection.dds"), 275, 90, 460, 390, 0, 70);
  Sprite(cr, Get(ui, "packinfo.dds"), -30, 263, 256, 256, 0, 100);
  for (size_t i = 0; i < packs.size(); ++i)
    Font(cr, 10, true, false, 360, 175 + 20.0 * static_cast<double>(i), 305, packs[i],
         i == 0 ? Hex(0x64FF64) : kWhite, 1, true);
  const Rgb label = Hex(0x32FA32), value = Hex(0xE6FFFF);
  namespace sc = varnel::screens;
  const std::pair<sc::PackDetail, const char*> details[] = {
      {sc::kPackLayout, "Horizontal"}, {sc::kPackLevels, "12"}, {sc::kPackBest, nullptr}};
  for (const auto& [detail, shown] : details) {
    Font(cr, 10, true, true, sc::kPackDetailX, detail.labelY, sc::kPackDetailWidth, detail.label, label, 1,
         true);
    if (shown)
      Font(cr, 10, true, true, sc::kPackDetailX, detail.valueY, sc::kPackDetailWidth, shown, value, 1, true);
  }
  Font(cr, 10, true, true, sc::kPackBestScoreX, sc::kPackBest.valueY, sc::kPackBestWidth, "4210", value, 1,
       false);
  Font(cr, 10, true, true, sc::kPackBestNameX, sc::kPackBest.valueY, sc::kPackBestWidth, "Mira", value, 1,
       false);
  const float* about = sc::kPackDescription;
  Font(cr, 10, true, true, about[0], about[1], about[2], Replace(description, "[e]", "\r\n"), value, 1, true);
  using varnel::screens::kMenu;
  const double x = varnel::screens::kMenuX, w = varnel::screens::kButtonPicture.width;
  for (size_t k = 0; k < std::size(kMenu); ++k) {
    const double y = varnel::screens::MenuY(k);
    Sprite(cr, Get(ui, "button.bmp"), x, y, w, varnel::screens::kButtonPicture.height, std::sin(3.0) * 1,
           k == 1 ? 85 : 40);
    if (k == 0)
      for (int h = 0; h < 4; ++h)
        Font(cr, 10, true, false, x + (h % 2 ? 1 : -1), y + 4 + (h / 2 ? 1 : -1), w, kMenu[k].caption,
             Hex(0xFF0000), 1, true);
    Font(cr, 10, true, false, x, y + 4, w, kMenu[k].caption, kWhite, 1, true);
  }
  Sprite(cr, Get(ui, "particles.png"), 125, 10, 32, 32, 20, 50, 0, 0, 0, 0);
  Sprite(cr, Get(ui, "mouse.bmp"), 470, 180, 32, 32, 0, 40);
  return screen;
}

namespace {

using varnel::screens::PlayLayout;

// The play screen's frame: backdrop, pack title, score, level count and the EXIT and JOKER buttons.
void PlayFrame(cairo_t* cr, const PictureSet& ui, const PlayLayout& layout, bool vertical,
               const std::string& pack) {
  Sprite(cr, Get(ui, vertical ? "back_game_v.jpg" : "back_game_h.jpg"), 0, 0, 1024, 1024, 0, 100, 0, 0, 800,
         600);
  Sprite(cr, Get(ui, "sky.jpg"), -100, -225, 512, 512, 37, 30, 0, 0, 1024, 1024);
  std::string title = pack;
  for (char& c : title) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  Font(cr, vertical ? 20 : 10, true, false, layout.titleBox[0], layout.titleBox[1], layout.titleBox[2], title,
       Hex(0xE6FFFF), 1, true);
  const Canvas& font = Get(ui, "font_default.dds");
  BitmapText(cr, font, "1250", layout.score.X, layout.score.Y, 1,
             vertical ? Rgb{0, 10 / 255.0, 200 / 255.0} : Hex(0xDCDCFF));
  const char* parts[3] = {"3", "/", "12"};
  for (int k = 0; k < 3; ++k)
    BitmapText(cr, font, parts[k], layout.levelParts[k].X, layout.levelParts[k].Y, 1, Hex(0xDCDCFF));
  const auto button = varnel::screens::kButtonPicture, small = varnel::screens::kSmallButton;
  const Rgb exitTint{200 / 255.0, 50 / 255.0, 50 / 255.0};
  const double ex = layout.exitButton.X, ey = layout.exitButton.Y;
  Sprite(cr, Get(ui, "button.bmp"), ex, ey, button.width, button.height, 0, 70, 0, 0, small.width,
         small.height, &exitTint);
  Font(cr, 8, false, false, ex, ey + 2, small.width, varnel::screens::kExitLabel, Hex(0xE6FFFF), 1, true);
  const Rgb jokerTint{100 / 255.0, 100 / 255.0, 200 / 255.0};
  const double jx = layout.jokerButton.X, jy = layout.jokerButton.Y, je = layout.jokerRotation;
  for (double turn : {200.0, 180.0})
    Sprite(cr, Get(ui, "button.bmp"), jx, jy, button.width, button.height, je + turn, 85, 0, 0, small.width,
           small.height, &jokerTint);
  const float* label = layout.jokerLabelBox;
  Font(cr, 8, false, false, label[0], label[1] + (vertical ? 2 : 0), label[2], layout.jokerLabel,
       Hex(0xE6FFFF), 1, true);
}

// A 256 x 380 (or 380 x 256) picture file as a canvas, for its 256 x 512 (512 x 256) texture.
Canvas PictureCanvas(const RgbImage& img) {
  Canvas c(img.width, img.height);
  c.Flush();
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const uint8_t* p = &img.pixels[(static_cast<size_t>(y) * img.width + x) * 3];
      c.Row(y)[x] = 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
  c.MarkDirty();
  return c;
}

// The two pictures, the five difference marks (the first two found) and the found ones' frames.
void PlayPictures(cairo_t* cr, const PictureSet& ui, const PlayLayout& layout, const SheetLevel& level) {
  const Canvas original = PictureCanvas(level.original), modified = PictureCanvas(level.modified);
  const double ox = layout.original.X, oy = layout.original.Y, mx = layout.modified.X, my = layout.modified.Y;
  const double tw = layout.srcWidth, th = layout.srcHeight, sw = layout.shownWidth, sh = layout.shownHeight;
  Sprite(cr, original, ox, oy, tw, th, 0, 100, 0, 0, sw, sh);
  Sprite(cr, modified, mx, my, tw, th, 0, 100, 0, 0, sw, sh);
  const Canvas& font = Get(ui, "font_default.dds");
  for (int d = 0; d < 5; ++d) {
    const bool found = d < 2;
    const Rgb tint = found ? Rgb{50 / 255.0, 1, 50 / 255.0}
                           : Rgb{layout.notFoundTint[0] / 255.0, layout.notFoundTint[1] / 255.0,
                                 layout.notFoundTint[2] / 255.0};
    Sprite(cr, Get(ui, "clue.dds"), layout.icons[d].X, layout.icons[d].Y, 64, 64, 20.0 * d, 100, 0, 0, 0, 0,
           &tint);
    BitmapText(cr, font, std::to_string(d + 1), layout.digits[d].X, layout.digits[d].Y, 1, kWhite);
    if (found && d < static_cast<int>(level.rects.size())) {
      const DiffRect& r = level.rects[static_cast<size_t>(d)];
      for (auto [px, py] : {std::pair{ox, oy}, {mx, my}})
        Sprite(cr, Get(ui, "clueselection.dds"), px + r.left, py + r.top, 64, 64, 0, layout.markerAlpha, 0, 0,
               r.right - r.left, r.bottom - r.top);
    }
  }
}

}  // namespace

Canvas PlayMockup(const PictureSet& ui, bool vertical, const SheetLevel& level, const std::string& pack) {
  Canvas screen(800, 600);
  cairo_t* cr = screen.cr();
  const PlayLayout& layout = varnel::screens::Play(vertical);
  PlayFrame(cr, ui, layout, vertical, pack);
  PlayPictures(cr, ui, layout, level);
  const double t = 120;
  Sprite(cr, Get(ui, "progressbar.dds"), 755, 94, 49, 399, 0, 100, 0, 399 - t);
  Sprite(cr, Get(ui, "progressbarin.dds"), 755, 94 + t, 49, 406 - t, 0, 100);
  Sprite(cr, Get(ui, "progressroom.dds"), 751, 94, 49, 406, 0, 100);
  Font(cr, 10, true, true, layout.captionBox[0], layout.captionBox[1], layout.captionBox[2],
       Replace(level.caption, "[e]", "\r\n"), Hex(0xE6FFFF), 1, false);
  const float* cols = layout.rankColumns;
  const char* names[5] = {"Mira", "Tom", "YOU", "Ana", "Leo"};
  const int scores[5] = {2100, 1600, 1250, 900, 400};
  for (int r = 0; r < 5; ++r) {
    double y = (vertical ? 500 : 450) + 15 * r;
    Rgb c = r == 2 ? kWhite : r < 2 ? Hex(0x96FF96) : Hex(0xFF9696);
    Font(cr, 10, true, false, cols[0], y, 150, std::to_string(r + 3) + ".", c, 0.8, false);
    Font(cr, 10, true, false, cols[1], y, 150, names[r], c, 0.8, false);
    Font(cr, 10, true, false, cols[2], y, 150, std::to_string(scores[r]), c, 0.8, false);
  }
  Sprite(cr, Get(ui, "mouse.bmp"), vertical ? 300 : 500, vertical ? 250 : 140, 32, 32, 0, 40);
  return screen;
}

Canvas PromptMockup(const PictureSet& ui, bool vertical) {
  Canvas screen(800, 600);
  cairo_t* cr = screen.cr();
  const PlayLayout& layout = varnel::screens::Play(vertical);
  Sprite(cr, Get(ui, vertical ? "back_game_v.jpg" : "back_game_h.jpg"), 0, 0, 1024, 1024, 0, 100, 0, 0, 800,
         600);
  Sprite(cr, Get(ui, "sky.jpg"), -100, -225, 512, 512, 37, 30, 0, 0, 1024, 1024);
  const Rgb green{50 / 255.0, 200 / 255.0, 50 / 255.0};
  Sprite(cr, Get(ui, "gamemask.dds"), layout.mask.X, layout.mask.Y, layout.maskWidth, layout.maskHeight,
         layout.maskRotation, 100, 0, 0, 0, 0, &green);
  const double bx = layout.startButton.X, by = layout.startButton.Y;
  Font(cr, 10, true, true, layout.promptBox[0], layout.promptBox[1], layout.promptBox[2],
       varnel::screens::StartPrompt(false), kWhite, 1, true);
  const auto button = varnel::screens::kButtonPicture, wide = varnel::screens::kWideButton;
  Sprite(cr, Get(ui, "button.bmp"), bx, by, button.width, button.height, 0, 50, 0, 0, wide.width, wide.height,
         &green);
  Font(cr, 20, true, false, bx, by + 6, wide.width, varnel::screens::kSubmitScore, kWhite, 1, true);
  BitmapText(cr, Get(ui, "font_default.dds"), varnel::screens::kWellDone, layout.wellDone.X,
             layout.wellDone.Y, layout.wellDoneScale, green);
  return screen;
}

}  // namespace datagen
