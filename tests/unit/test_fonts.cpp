// SPDX-License-Identifier: Zlib
#include <algorithm>

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

}  // namespace

TEST_F(FontTest, DefaultFontFileIsWrittenWhenMissing) {
  // Three sections, 121 signs (a blank where a cell has none) and their positions, and the two sizes,
  // on lines ending in CR LF.
  const std::string file = ReadFile(folder_ / "font.ini");
  EXPECT_EQ(file.rfind("[Signs value]\r\n0= \r\n1=0\r\n", 0), 0u);
  for (const char* lines : {"\n11=A\r\n", "\n101=\x80\r\n102=%\r\n103=\xA9\r\n104=@\r\n",
                            "\n120= \r\n[Signs position]\r\n0=1x1\r\n", "\n104=116x208\r\n",
                            "\n120=231x231\r\n[Letter sizes]\r\nWidth=22\r\nHeight=22\r\n"})
    EXPECT_NE(file.find(lines), std::string::npos) << lines;
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 3 + 121 + 121 + 2);
  EXPECT_EQ(std::count(file.begin(), file.end(), '\r'), 3 + 121 + 121 + 2);

  const FontState& f = Fonts();
  EXPECT_EQ(XY(f.letterWidth, f.letterHeight), XY(22, 22));
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
  EXPECT_EQ(XY(f.letterPos[1].X, f.letterPos[1].Y), XY(5, 6));
  EXPECT_EQ(XY(f.letterPos[2].X, f.letterPos[2].Y), XY(7, 8));
  EXPECT_EQ(XY(f.letterWidth, f.letterHeight), XY(10, 12));  // halves to even
  EXPECT_EQ(FindSign(f, "Q"), 2);

  Put("font.ini", "[Letter sizes]\r\nWidth=wide\r\nHeight=22\r\n");
  engine_.Tovak2D_Unload();
  fs::remove(folder_ / "log.txt");
  EXPECT_FALSE(engine_.Tovak2D_Start(window_, folder_.string(), 800, 600, false));
  EXPECT_NE(Log().find("Error in Tovak2D_Start : font.ini"), std::string::npos) << Log();
  EXPECT_EQ(Log().find("Engine Init"), std::string::npos);
}

TEST_F(FontTest, BitmapTextAdvancesByCellsInTheCallsColour) {
  Texture cells = CellTexture();
  engine_.ClearScreen();
  engine_.DrawText(cells, "AB", 100, 50, 2);
  Image frame = BackBuffer();
  EXPECT_EQ(At(frame, 100, 50), 0xFFFF0000);
  EXPECT_EQ(At(frame, 143, 93), 0xFFFF0000);
  EXPECT_EQ(At(frame, 144, 50), 0xFF00FF00);  // "B" at x 144
  EXPECT_EQ(At(frame, 187, 93), 0xFF00FF00);
  EXPECT_FALSE(Lit(frame, 188, 70));

  // The colour is the call's own, not the ambient one; opacity as for sprites.
  engine_.AmbientColor(0, 0, 0);
  engine_.ClearScreen();
  engine_.DrawText(cells, "1", 0, 0, 1, 0, 100, 0, 128.5f, 255);
  engine_.DrawText(cells, "1", 30, 0, 1, 0, 50);
  frame = BackBuffer();
  EXPECT_EQ(At(frame, 10, 10), Argb(255, 0, 128, 255));
  EXPECT_NEAR(Channel(At(frame, 40, 10), 8), 128, 1);
}

TEST_F(FontTest, KeysIgnoreCaseABrokenFontDrawsNothingAndTextIsSizedAlignedAndClipped) {
  engine_.CreateFont("Title", "Verdana", 10, true);
  engine_.CreateFont("TITLE", "Verdana", 20);
  auto messages = platform::dialogs::RecordedMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Error importing fonts KeyName.\r\n'title' already exists!");
  EXPECT_EQ(messages[0].title, "DirectX Error");
  ASSERT_EQ(Fonts().fonts.size(), 1u);
  EXPECT_EQ(Fonts().fonts[0].Name, "title");
  // DrawFont finds the key in any case; an unknown key draws nothing.
  EXPECT_GE(DrawnBox("tItLe", 10, 10, 300, 40, "Hello", 0).Right, 10);
  EXPECT_EQ(DrawnBox("nothing", 10, 10, 300, 40, "Hello", 0).Right, -1);

  // A font that cannot be made is logged and keeps its key.
  engine_.CreateFont("broken", "Verdana", 0);
  EXPECT_NE(Log().find("Error in CreateFont : Verdana"), std::string::npos) << Log();
  EXPECT_EQ(DrawnBox("broken", 10, 10, 300, 40, "Hello", 0).Right, -1);

  engine_.CreateFont("s", "Verdana", 10);
  // A capital H stands about three quarters of the em at 96 dots per inch: 10 pixels.
  const RECT ten = DrawnBox("s", 10, 10, 300, 100, "H", 0);
  EXPECT_NEAR(ten.Bottom - ten.Top + 1, 10, 1);

  // Where lines break is TextLayoutTest's, and the game's texts fitting their boxes TextFits'.
  // Centred as the game draws its notes (5: the vertical centre needs single-line mode too); right and
  // bottom placement are TextLayoutTest's.
  const RECT centred = DrawnBox("s", 100, 100, 400, 300, "centre me", 5);
  EXPECT_NEAR((centred.Left + centred.Right) / 2.0, 300, 2);

  // What lies below the rectangle or right of it is cut off.
  EXPECT_LE(DrawnBox("s", 100, 100, 400, 20, "HHH\r\nHHH\r\nHHH", 0).Bottom, 119);
  const RECT narrow = DrawnBox("s", 100, 100, 30, 300, "Supercalifragilistic", 0);
  EXPECT_EQ(narrow.Right, 129);   // the long word runs to the edge and is cut there
  EXPECT_LT(narrow.Bottom, 120);  // on one line

  // The colour, alpha included: red stays red, a transparent colour draws nothing.
  engine_.ClearScreen();
  engine_.DrawFont("s", 100, 100, 400, 300, "HHHH", static_cast<int32_t>(0xFFFF0000), 0);
  const std::vector<uint32_t> pixels = BackBuffer().argb;
  EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](uint32_t p) { return (p & 0xFFFF) == 0; }));
  EXPECT_NE(std::find(pixels.begin(), pixels.end(), 0xFFFF0000u), pixels.end());
  EXPECT_EQ(DrawnBox("s", 100, 100, 400, 300, "HHHH", 0, 0x00FFFFFF).Right, -1);
}

// Names no installed font carries, the game's misspelt one among them, take the face a name with no
// font of its own gets: the default proportional sans face (Arial's widths where such a face is
// installed), never a monospace one. Only Courier's names give a monospace face.
TEST(FontMatchTest, UnknownNamesResolveToTheSansFaceAndOnlyCourierToMonospace) {
  std::string error;
  auto sans = platform::fonts::MatchFont("Arial", true, false, &error);
  ASSERT_TRUE(sans) << error;
  EXPECT_FALSE(sans->monospace);
  for (auto [name, mono] : {std::pair{"Curier New", false},
                            {"No Such Face 123", false},
                            {"Courier New", true},
                            {" COURIER NEW ", true}}) {
    auto face = platform::fonts::MatchFont(name, true, false, &error);
    ASSERT_TRUE(face) << error;
    EXPECT_EQ(face->monospace, mono) << name << " gave " << face->family;
    EXPECT_TRUE(mono || std::pair(face->family, face->file) == std::pair(sans->family, sans->file))
        << name << " gave " << face->file;
  }
}
