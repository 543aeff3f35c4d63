#include <tuple>

#include "DrawingSupport.h"
#include "FontState.h"
#include "Ini.h"
#include "platform/TextRender.h"

using namespace drawing_test;
using namespace tovak2d;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

class FontTest : public DrawingTest {
 protected:
  FontState& Fonts() { return EngineAccess::Of(engine_).fonts; }

  // The default 11 x 11 cell layout with every cell filled in its own colour.
  Texture CellTexture() {
    Image image = Filled(256, 256, 0xFF000000);
    for (int i = 0; i < kSignCount; ++i) {
      const LetterSpecs cell = DefaultLetterPos(i);
      const uint32_t colour = i == 11 ? 0xFFFF0000 : i == 12 ? 0xFF00FF00 : kWhite;
      for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 22; ++x) image.argb[(cell.Y + y) * 256 + cell.X + x] = colour;
    }
    Put("cells.bmp", Bmp(image, 24));
    Texture texture;
    engine_.CreateTexture(texture, "cells.bmp");
    EXPECT_TRUE(texture) << Log();
    return texture;
  }

  // The box around every drawn pixel of the frame; empty when nothing shows.
  RECT Ink(const Image& frame) {
    RECT box{frame.width, frame.height, -1, -1};
    for (int y = 0; y < frame.height; ++y)
      for (int x = 0; x < frame.width; ++x)
        if (Lit(frame, x, y)) {
          box.Left = std::min(box.Left, x);
          box.Top = std::min(box.Top, y);
          box.Right = std::max(box.Right, x);
          box.Bottom = std::max(box.Bottom, y);
        }
    return box;
  }

  RECT DrawnBox(const std::string& key, float x, float y, float w, float h, const std::string& text,
                int32_t position, int32_t colour = -1) {
    engine_.ClearScreen();
    engine_.DrawFont(key, x, y, w, h, text, colour, position);
    return Ink(BackBuffer());
  }
};

int InkRowsOf(const Image& frame, int top, int bottom) {
  int rows = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < frame.width; ++x)
      if (Lit(frame, x, y)) {
        ++rows;
        break;
      }
  return rows;
}

}  // namespace

TEST_F(FontTest, DefaultFontFileIsWrittenWhenMissing) {
  const std::vector<std::tuple<const char*, int, std::string>> values = {{"Signs value", 0, ""},
                                                                         {"Signs value", 1, "0"},
                                                                         {"Signs value", 11, "A"},
                                                                         {"Signs value", 44, "a"},
                                                                         {"Signs value", 82, "\""},
                                                                         {"Signs value", 88, "="},
                                                                         {"Signs value", 100, "$"},
                                                                         {"Signs value", 101, "\x80"},
                                                                         {"Signs value", 102, "%"},
                                                                         {"Signs value", 103, "\xA9"},
                                                                         {"Signs value", 104, "@"},
                                                                         {"Signs value", 120, ""},
                                                                         {"Signs position", 0, "1x1"},
                                                                         {"Signs position", 11, "1x24"},
                                                                         {"Signs position", 104, "116x208"},
                                                                         {"Signs position", 120, "231x231"}};
  for (const auto& [section, key, value] : values)
    EXPECT_EQ(modExtra::ReadIniValue(section, std::to_string(key), "font.ini"), value) << section << key;
  EXPECT_EQ(modExtra::ReadIniValue("Letter sizes", "Width", "font.ini"), "22");
  EXPECT_EQ(modExtra::ReadIniValue("Letter sizes", "Height", "font.ini"), "22");

  const std::string file = ReadFile(folder_ / "font.ini");
  EXPECT_EQ(file.rfind("[Signs value]\r\n0=", 0), 0u);
  size_t keys = 0, sections = 0;
  for (size_t start = 0, end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = file.substr(start, end - start);
    sections += line.rfind('[', 0) == 0 && line.back() == ']';
    keys += line.find('=') != std::string::npos;
  }
  EXPECT_EQ(sections, 3u);
  EXPECT_EQ(keys, 121u + 121u + 2u);

  const FontState& f = Fonts();
  EXPECT_EQ(XY(f.letterWidth, f.letterHeight), XY(22, 22));
  EXPECT_EQ(XY(f.letterPos[104].X, f.letterPos[104].Y), XY(116, 208));
  for (auto [sign, index] :
       {std::pair{"a", 44}, {"Q", 27}, {"~", 0}, {" ", 0}, {"\x80", 101}, {"\"", 82}, {"9", 10}})
    EXPECT_EQ(FindSign(f, sign), index) << sign;
}

TEST_F(FontTest, FontFileIsReadAndABrokenOneFailsTheStart) {
  Put("font.ini",
      "[Signs value]\r\n0=\r\n1=x\r\n2= Q \r\n[Signs position]\r\n1=5x6\r\n2=7x8x9\r\n[Letter sizes]\r\n"
      "Width=10\r\nHeight=12.5\r\n");
  LoadFontIni(EngineAccess::Of(engine_));
  const FontState& f = Fonts();
  EXPECT_EQ(f.signs[1], "x");
  EXPECT_EQ(XY(f.letterPos[1].X, f.letterPos[1].Y), XY(5, 6));
  EXPECT_EQ(XY(f.letterPos[2].X, f.letterPos[2].Y), XY(7, 8));
  EXPECT_EQ(XY(f.letterWidth, f.letterHeight), XY(10, 12));  // halves to even
  EXPECT_EQ(FindSign(f, "Q"), 2);
  EXPECT_EQ(FindSign(f, "z"), 0);

  Put("font.ini", "[Letter sizes]\r\nWidth=wide\r\nHeight=22\r\n");
  engine_.Tovak2D_Unload();
  fs::remove(folder_ / "log.txt");
  EXPECT_FALSE(engine_.Tovak2D_Start(window_, folder_.string(), 800, 600, false));
  EXPECT_NE(Log().find("Error in Tovak2D_Start : font.ini"), std::string::npos) << Log();
  EXPECT_EQ(Log().find("Engine Init"), std::string::npos);
}

TEST_F(FontTest, BitmapTextAdvancesByCellsAndTurnsEachLetter) {
  Texture cells = CellTexture();
  engine_.ClearScreen();
  engine_.DrawText(cells, "AB", 100, 50, 2);
  Image frame = BackBuffer();
  EXPECT_EQ(At(frame, 100, 50), 0xFFFF0000);
  EXPECT_EQ(At(frame, 143, 93), 0xFFFF0000);
  EXPECT_EQ(At(frame, 144, 50), 0xFF00FF00);  // "B" at x 144
  EXPECT_EQ(At(frame, 187, 93), 0xFF00FF00);
  EXPECT_FALSE(Lit(frame, 188, 70));

  // Each letter turns about its own centre; the line stays horizontal.
  engine_.ClearScreen();
  engine_.DrawText(cells, "AB", 100, 50, 1, 30);
  frame = BackBuffer();
  EXPECT_EQ(At(frame, 111, 61), 0xFFFF0000);
  EXPECT_EQ(At(frame, 133, 61), 0xFF00FF00);
  EXPECT_FALSE(Lit(frame, 101, 51));  // the unturned corner
  EXPECT_FALSE(Lit(frame, 143, 51));

  // The colour is the call's own, not the ambient one; opacity as for sprites.
  engine_.AmbientColor(0, 0, 0);
  engine_.ClearScreen();
  engine_.DrawText(cells, "1", 0, 0, 1, 0, 100, 0, 128.5f, 255);
  engine_.DrawText(cells, "1", 30, 0, 1, 0, 50);
  frame = BackBuffer();
  EXPECT_EQ(At(frame, 10, 10), Argb(255, 0, 128, 255));
  EXPECT_NEAR(Channel(At(frame, 40, 10), 8), 128, 1);

  engine_.ClearScreen();
  engine_.DrawText(cells, "", 0, 0);
  engine_.DrawText(Texture(), "A", 0, 0);
  EXPECT_FALSE(Lit(BackBuffer(), 10, 10));
}

TEST_F(FontTest, CreateFontKeysIgnoreCase) {
  engine_.CreateFont("Title", "Verdana", 10, true);
  engine_.CreateFont("TITLE", "Verdana", 20);
  auto messages = platform::dialogs::RecordedMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Error importing fonts KeyName.\r\n'title' already exists!");
  EXPECT_EQ(messages[0].title, "DirectX Error");
  ASSERT_EQ(Fonts().fonts.size(), 1u);
  EXPECT_EQ(Fonts().fonts[0].Name, "title");
  EXPECT_TRUE(Fonts().fonts[0].InfoDesc.Bold);

  // DrawFont finds the key in any case; an unknown key draws nothing.
  EXPECT_GE(DrawnBox("tItLe", 10, 10, 300, 40, "Hello", 0).Right, 10);
  EXPECT_EQ(DrawnBox("nothing", 10, 10, 300, 40, "Hello", 0).Right, -1);
}

TEST_F(FontTest, AFontThatCannotBeMadeKeepsItsKeyAndDrawsNothing) {
  engine_.CreateFont("broken", "Verdana", 0);
  EXPECT_NE(Log().find("Error in CreateFont : Verdana"), std::string::npos) << Log();
  EXPECT_EQ(DrawnBox("broken", 10, 10, 300, 40, "Hello", 0).Right, -1);
  engine_.CreateFont("broken", "Verdana", 10);
  EXPECT_EQ(platform::dialogs::RecordedMessages().size(), 1u);

  // Unloading releases the fonts; a new start makes them again.
  engine_.CreateFont("kept", "Verdana", 10);
  engine_.Tovak2D_Unload();
  engine_.DrawFont("kept", 10, 10, 300, 40, "Hello");
  ASSERT_TRUE(engine_.Tovak2D_Start(window_, folder_.string(), 800, 600, false));
  EXPECT_EQ(DrawnBox("kept", 10, 10, 300, 40, "Hello", 0).Right, -1);
  engine_.CreateFont("kept", "Verdana", 10);
  EXPECT_GE(DrawnBox("kept", 10, 10, 300, 40, "Hello", 0).Right, 10);
}

TEST_F(FontTest, SizesInPointsAt96DotsPerInch) {
  engine_.CreateFont("ten", "Verdana", 10);
  engine_.CreateFont("twenty", "Verdana", 20);
  // A capital H stands about three quarters of the em: 13 and 27 pixels at 10 and 20 points.
  RECT ten = DrawnBox("ten", 10, 10, 300, 100, "H", 0);
  RECT twenty = DrawnBox("twenty", 10, 10, 300, 100, "H", 0);
  EXPECT_NEAR(ten.Bottom - ten.Top + 1, 10, 1);
  EXPECT_NEAR(twenty.Bottom - twenty.Top + 1, 20, 1);
}

TEST_F(FontTest, DrawFontWrapsAlignsAndClips) {
  engine_.CreateFont("s", "Verdana", 10);
  const std::string words = "one two three four five six seven eight";

  // Left aligned and wrapped into lines, every pixel inside the rectangle.
  RECT left = DrawnBox("s", 100, 100, 120, 300, words, 0);
  EXPECT_LE(left.Left, 102);
  EXPECT_LT(left.Right, 220);
  EXPECT_GT(left.Bottom - left.Top, 40);  // several lines
  EXPECT_GE(left.Top, 100);

  // Centred (5: centre and vertical centre, which needs single-line mode and so does nothing).
  RECT centred = DrawnBox("s", 100, 100, 400, 300, "centre me", 5);
  EXPECT_NEAR((centred.Left + centred.Right) / 2.0, 300, 2);
  EXPECT_LT(centred.Top, 106);
  RECT right = DrawnBox("s", 100, 100, 400, 300, "right", 2);
  EXPECT_NEAR(right.Right, 499, 2);

  // Single line: vertical centre and bottom.
  RECT middle = DrawnBox("s", 100, 100, 400, 300, "Hx", 4 | 32);
  EXPECT_NEAR((middle.Top + middle.Bottom) / 2.0, 250, 6);
  RECT bottom = DrawnBox("s", 100, 100, 400, 300, "Hx", 8 | 32);
  EXPECT_GT(bottom.Top, 370);
  EXPECT_LT(bottom.Bottom, 400);

  // CR LF breaks lines; what lies below the rectangle or right of it is cut off.
  engine_.ClearScreen();
  engine_.DrawFont("s", 100, 100, 400, 300, "HHH", -1, 0);
  const int lineRows = InkRowsOf(BackBuffer(), 100, 600);
  engine_.ClearScreen();
  engine_.DrawFont("s", 100, 100, 400, 300, "HHH\r\nHHH\r\nHHH", -1, 0);
  Image frame = BackBuffer();
  RECT lines = Ink(frame);
  engine_.ClearScreen();
  engine_.DrawFont("s", 100, 100, 400, 20, "HHH\r\nHHH\r\nHHH", -1, 0);
  RECT clipped = Ink(BackBuffer());
  EXPECT_GT(lines.Bottom, 125);
  EXPECT_LE(clipped.Bottom, 119);
  EXPECT_EQ(InkRowsOf(frame, 100, 600), 3 * lineRows);

  RECT narrow = DrawnBox("s", 100, 100, 30, 300, "Supercalifragilistic", 0);
  EXPECT_EQ(narrow.Right, 129);   // the long word runs to the edge and is cut there
  EXPECT_LT(narrow.Bottom, 120);  // on one line

  // The colour, alpha included.
  engine_.ClearScreen();
  engine_.DrawFont("s", 100, 100, 400, 300, "HHHH", static_cast<int32_t>(0xFFFF0000), 0);
  engine_.DrawFont("s", 100, 150, 400, 300, "HHHH", 0x00FFFFFF, 0);
  frame = BackBuffer();
  bool sawRed = false;
  for (int y = 100; y < 120; ++y)
    for (int x = 100; x < 200; ++x) {
      const uint32_t p = At(frame, x, y);
      if (p & 0xFFFFFF) {
        EXPECT_EQ(p & 0xFFFF, 0u);
        sawRed = sawRed || Channel(p, 16) == 255;
      }
    }
  EXPECT_TRUE(sawRed);
  EXPECT_EQ(InkRowsOf(frame, 140, 200), 0);
}

TEST(FontMatchTest, UnknownNamesResolveToTheSansFaceAndOnlyCourierToMonospace) {
  std::string error;
  auto verdana = platform::fonts::MatchFont("Verdana", false, false, &error);
  ASSERT_TRUE(verdana) << error;
  EXPECT_FALSE(verdana->monospace);
  EXPECT_FALSE(verdana->family.empty());

  for (const char* name : {"Courier New", "courier", " COURIER NEW "}) {
    auto mono = platform::fonts::MatchFont(name, true, false, &error);
    ASSERT_TRUE(mono) << error;
    EXPECT_TRUE(mono->monospace) << name << " gave " << mono->family;
  }
  // Names no installed font carries, the game's misspelt one among them, take the face a name
  // with no font of its own gets: the default proportional sans face (Arial's widths where such a
  // face is installed), never a monospace one.
  auto sans = platform::fonts::MatchFont("Arial", true, false, &error);
  ASSERT_TRUE(sans) << error;
  EXPECT_FALSE(sans->monospace);
  for (const char* name : {"Curier New", "No Such Face 123", "Monotype Fancy", "Fixedsys Clone"}) {
    auto unknown = platform::fonts::MatchFont(name, true, false, &error);
    ASSERT_TRUE(unknown) << error;
    EXPECT_FALSE(unknown->monospace) << name << " gave " << unknown->family;
    EXPECT_EQ(unknown->family, sans->family) << name;
    EXPECT_EQ(unknown->file, sans->file) << name;
  }
  // An installed family is taken as it is, whatever its kind.
  auto installedMono = platform::fonts::MatchFont("DejaVu Sans Mono", false, false, &error);
  ASSERT_TRUE(installedMono) << error;
  if (installedMono->family == "DejaVu Sans Mono") {
    EXPECT_TRUE(installedMono->monospace);
  }

  auto glyphs = platform::fonts::RenderGlyphs(*verdana, 13, &error);
  ASSERT_TRUE(glyphs) << error;
  EXPECT_GT(glyphs->lineHeight, 13);
  EXPECT_GT(glyphs->glyphs['W'].advance, glyphs->glyphs['i'].advance);
  EXPECT_GT(glyphs->glyphs[' '].advance, 0);
  EXPECT_EQ(glyphs->glyphs[' '].width, 0);
  EXPECT_GT(glyphs->glyphs[0x80].width, 0);  // the euro sign
  EXPECT_FALSE(platform::fonts::RenderGlyphs(*verdana, 5000, &error));
}
