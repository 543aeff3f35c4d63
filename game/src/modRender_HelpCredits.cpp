// SPDX-License-Identifier: Zlib
#include <string>

#include "modDeclares.h"
#include "modRender.h"

namespace varnel {
namespace {

const char kHelp1[] =
    "Right after you selected 'Start Game', you can choose from existing packs. As you move your mouse over "
    "the pack names you will see pack info displayed on the left side of the screen. And when I say pack "
    "info "
    "I mean pack layout (horizontal / vertical), number of levels (pictures) and the top scorer of that "
    "pack.";
const char kHelp2[] =
    "After you selected the pack, you will be transferred to the playing menu. You will se two pictures, one "
    "of them is original and one is modified. Your job is to find five differences between those two "
    "pictures. On the right side you will see a timer that shows you how much time you have left to find all "
    "of the five differences. When you find all of the differences you will go to the next level, and the "
    "timer will move even faster.";
const char kHelp3[] =
    "The faster you find differences, more point you will gain and you will gain some points when you finish "
    "each level. On the higher level you will gain more points.";
const char kHelp4[] = "You have one joker that can help you discover one of the differences. Use it wisely.";
const char kHelp5[] =
    "That is about all you need to know to get started, you will learn the rest on your own. Good luck!";

struct CreditLine {
  float y;
  const char* font;
  bool heading;
  const char* text;
};

// The game, its engine, and the free libraries and fonts they stand on.
const CreditLine kCredits[] = {
    {5, "titlem", true, "DEVELOPED BY"},
    {35, "titlel", false, "The Varnel project"},
    {60, "titleS", false, "Varnel, a picture puzzle, on its own engine Tovak2D"},
    {105, "titlem", true, "DESIGNER / PROGRAMMING / GRAPHICS"},
    {135, "titlel", false, "The Varnel developers"},
    {160, "titleS", false, "game, Tovak2D engine and tools"},
    {175, "titleS", false, "pictures and sounds made by the game's own data generator"},
    {215, "titlem", true, "GAME MUSIC"},
    {240, "titleM", false, "The Varnel data generator"},
    {260, "titleS", false, "encoded with FFmpeg"},
    {300, "titlem", true, "SPECIAL THANKS TO"},
    {330, "titleM", false, "SDL2, SDL2_image and SDL2_ttf"},
    {350, "titleS", false, "www.libsdl.org"},
    {365, "titleS", false, "window, drawing, input, sound and image loading"},
    {400, "titleM", false, "FFmpeg"},
    {420, "titleS", false, "ffmpeg.org - music decoding"},
    {455, "titleM", false, "libsquish, libcurl, fontconfig and Cairo"},
    {475, "titleS", false, "libsquish - curl.se - fontconfig.org - cairographics.org"},
    {490, "titleS", false, "compressed textures, downloads, font matching"},
    {525, "titleM", false, "DejaVu fonts"},
    {545, "titleS", false, "dejavu-fonts.github.io"},
};

}  // namespace

void DrawHelp() {
  const std::string paragraphBreak = "\r\n\r\n";
  const std::string h1 = std::string(kHelp1) + paragraphBreak + kHelp2 + paragraphBreak + kHelp3;
  const std::string h2 = std::string(kHelp4) + paragraphBreak + kHelp5;
  oEngine->DrawFont("titleS", 250, 150, 475, 400, h1, kWhite, 0);
  oEngine->DrawFont("titleS", 250, 440, 475, 90, h2, ARGB(255, 255, 255, 255), 0);
}

void DrawCredits() {
  const int32_t headingColour = ARGB(175, 150, 150, 255);
  const int32_t entryColour = ARGB(175, 200, 200, 255);
  for (const auto& line : kCredits)
    oEngine->DrawFont(line.font, 180, line.y, 620, 50, line.text, line.heading ? headingColour : entryColour,
                      5);
}

}  // namespace varnel
