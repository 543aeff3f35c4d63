// SPDX-License-Identifier: Zlib
// The texts and the places of the game's screens, written once: the game draws them, and the data
// generator draws its mock-ups of the same screens from them.
#ifndef VARNEL_SCREEN_LAYOUT_H
#define VARNEL_SCREEN_LAYOUT_H

#include <cstddef>
#include <string>

namespace varnel::screens {

struct Point {
  float X, Y;
};

struct Size {
  float width, height;
};

// The button picture: the part of its texture that holds the button, and the sizes it is drawn at.
inline constexpr Size kButtonPicture = {120, 25};
inline constexpr Size kSmallButton = {90, 18.75f};  // EXIT, JOKER, NEXT LEVEL
inline constexpr Size kWideButton = {240, 50};      // START, SUBMIT SCORE

// The menu column: six buttons of the button picture's size, 37 apart; the first five open the
// screens 1 to 5, the last ends the game.
struct MenuEntry {
  const char* name;
  const char* caption;
};
inline constexpr MenuEntry kMenu[] = {{"Menu_New", "Start Game"},  {"Menu_Scores", "High Scores"},
                                      {"Menu_Options", "Options"}, {"Menu_Help", "Help"},
                                      {"Menu_Credits", "Credits"}, {"Menu_Exit", "Exit"}};
inline constexpr float kMenuX = 19, kMenuTop = 15, kMenuStep = 37;
constexpr float MenuY(size_t entry) {
  return kMenuTop + kMenuStep * static_cast<float>(entry);
}

inline constexpr char kExitLabel[] = "E X I T";
inline constexpr char kSubmitScore[] = "SUBMIT SCORE";
inline constexpr char kStart[] = "START";
inline constexpr char kWellDone[] = "WELLDONE";

// The Start Game screen's details of the chosen pack: labels at x 35 in boxes 115 wide, each value
// below its label; the best score's name sits right of the score; the pack's description below.
struct PackDetail {
  const char* label;
  float labelY, valueY;
};
inline constexpr PackDetail kPackLayout = {"Pack layout", 315, 335}, kPackLevels = {"# of levels", 358, 375},
                            kPackBest = {"Highest Score", 400, 420};
inline constexpr float kPackDetailX = 35, kPackDetailWidth = 115;
inline constexpr float kPackBestScoreX = 40, kPackBestNameX = 80, kPackBestWidth = 150;
inline constexpr float kPackDescription[3] = {314, 475, 375};  // x, y, width

// The prompt over the pictures before a level starts. The copy that fades out as the pictures fade
// in has always been drawn without the blank after "picture"; it is kept so.
inline constexpr char kStartPrompt[] =
    "there are 5 differences\r\nbetween original and modified picture \r\nit's up to you to find "
    "them\r\n\r\n\r\nPRESS 'START' WHEN YOU'RE READY";
inline std::string StartPrompt(bool fading) {
  std::string text = kStartPrompt;
  if (fading) text.erase(text.find(" \r\n"), 1);
  return text;
}

// Everything of the play screen that differs between portrait pictures side by side (vertical
// packs) and landscape pictures one above the other (horizontal packs).
struct PlayLayout {
  Point original, modified;
  float srcWidth, srcHeight, shownWidth, shownHeight;
  const char* titleFont;
  float titleBox[4];
  Point score;
  float scoreColor[3];
  Point levelParts[3];
  Point exitButton;
  float exitRight, exitBottom;
  Point jokerButton;
  float jokerRotation;
  float jokerRight, jokerBottom;
  const char* jokerLabel;
  float jokerLabelBox[4];
  Point icons[5], digits[5];
  float notFoundTint[3];
  short markerAlpha;
  float captionBox[4];
  Point mask;
  float maskWidth, maskHeight, maskRotation;
  float promptBox[4];
  Point startButton;  // SUBMIT SCORE takes its place on the end-of-level panels
  Point wellDone;     // the pack-completed panel's title, in the bitmap font
  float wellDoneScale;
  float rankColumns[3];  // rank, name, score of the live rank's rows
};

inline constexpr PlayLayout kVertical = {
    .original = {185, 100},
    .modified = {471, 100},
    .srcWidth = 256,
    .srcHeight = 512,
    .shownWidth = 256,
    .shownHeight = 380,
    .titleFont = "titleL",
    .titleBox = {300, 0, 370, 55},
    .score = {265, 569},
    .scoreColor = {0, 10, 200},
    .levelParts = {{18, 420}, {66, 420}, {105, 420}},
    .exitButton = {670, 565},
    .exitRight = 760,
    .exitBottom = 583.75f,
    .jokerButton = {413, 565},
    .jokerRotation = 0,
    .jokerRight = 503,
    .jokerBottom = 583.75f,
    .jokerLabel = "J O K E R",
    .jokerLabelBox = {413, 565, 90, 18.75f},
    .icons = {{170, 491}, {292, 491}, {425, 491}, {558, 491}, {680, 491}},
    .digits = {{191, 512}, {313, 512}, {446, 512}, {578, 512}, {701, 512}},
    .notFoundTint = {255, 50, 50},
    .markerAlpha = 70,
    .captionBox = {10, 125, 140, 200},
    .mask = {68, 162},
    .maskWidth = 800,
    .maskHeight = 600,
    .maskRotation = 90,
    .promptBox = {330, 250, 270, 100},
    .startButton = {340, 420},
    .wellDone = {270, 160},
    .wellDoneScale = 2,
    .rankColumns = {5, 35, 110},
};

inline constexpr PlayLayout kHorizontal = {
    .original = {350, 29},
    .modified = {350, 315},
    .srcWidth = 512,
    .srcHeight = 256,
    .shownWidth = 380,
    .shownHeight = 256,
    .titleFont = "titleS",
    .titleBox = {20, 60, 195, 30},
    .score = {72, 569},
    .scoreColor = {220, 220, 255},
    .levelParts = {{95, 535}, {145, 535}, {185, 535}},
    .exitButton = {708, 579},
    .exitRight = 798,
    .exitBottom = 597.75f,
    .jokerButton = {160, 292},
    .jokerRotation = 90,
    .jokerRight = 230,
    .jokerBottom = 310.75f,
    .jokerLabel = "J\r\nO\r\nK\r\nE\r\nR",
    .jokerLabelBox = {195, 270, 20, 65},
    .icons = {{242, 15}, {242, 137}, {242, 270}, {241, 403}, {241, 525}},
    .digits = {{264, 36}, {263, 158}, {262, 291}, {261, 424}, {263, 547}},
    .notFoundTint = {255, 10, 0},
    .markerAlpha = 100,
    .captionBox = {10, 150, 220, 200},
    .mask = {310, -13},
    .maskWidth = 600,
    .maskHeight = 800,
    .maskRotation = 0,
    .promptBox = {400, 150, 270, 100},
    .startButton = {410, 420},
    .wellDone = {385, 50},
    .wellDoneScale = 1.75f,
    .rankColumns = {30, 60, 160},
};

inline const PlayLayout& Play(bool vertical) {
  return vertical ? kVertical : kHorizontal;
}

}  // namespace varnel::screens

#endif
