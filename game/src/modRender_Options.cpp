// SPDX-License-Identifier: Zlib
#include <cmath>

#include "ScreenLayout.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modINI.h"
#include "modRender.h"

// The Options screen: four rows of two choices, each click saved at once.
namespace varnel {
namespace {

struct OptionRow {
  const char* label;
  float labelY;
  const char* left;
  const char* right;
  float choiceY;
  bool* option;
};
const OptionRow kRows[] = {{"SCREEN", 150, "Windowed", "Fullscreen", 157, &bWindowed},
                           {"GAME MUSIC", 200, "ON", "OFF", 207, &bMusicOn},
                           {"SOUND EFFECTS", 250, "ON", "OFF", 257, &bSoundOn},
                           {"PARTICLE EFFECTS", 300, "ON", "OFF", 307, &bParticlesOn}};

constexpr float kLeftX = 320, kRightX = 600;

void DrawChoiceMarker(float x, float y, float rotation) {
  oEngine->Draw(texButton, x, y, screens::kButtonPicture.width, screens::kButtonPicture.height, rotation, 50,
                0, 0, 100, 20, -1, -1);
}

// The chosen button trembles under a green tint, the other one stays still under a red one.
void DrawChoiceMarkers(const OptionRow& row) {
  const bool leftChosen = *row.option;
  oEngine->AmbientColor(50, 200, 50);
  const double r1 = Rnd(), r2 = Rnd();
  DrawChoiceMarker(static_cast<float>((leftChosen ? 318 : 598) + std::cos(r1 * 4)), row.choiceY,
                   static_cast<float>(std::cos(r2 * 10)));
  oEngine->AmbientColor(200, 50, 50);
  DrawChoiceMarker(leftChosen ? kRightX : kLeftX, row.choiceY, 0);
  oEngine->AmbientColor(255, 255, 255);
}

bool MouseOverChoice(float x, float y) {
  const auto mx = static_cast<float>(curMouse.X);
  const auto my = static_cast<float>(curMouse.Y);
  return x <= mx && mx <= x + 100 && y <= my && my <= y + 20;
}

// Returns whether a choice of the row was clicked.
bool HandleChoices(const OptionRow& row) {
  bool clicked = false;
  for (bool left : {true, false}) {
    if (!MouseOverChoice(left ? kLeftX : kRightX, row.choiceY)) continue;
    bCursorBusy = true;
    if (!curMouse.B1Clicked) continue;
    *row.option = left;
    SaveOptions();
    clicked = true;
  }
  return clicked;
}

}  // namespace

void DrawOptions() {
  for (const OptionRow& row : kRows) {
    oEngine->DrawFont("titleS", kLeftX, row.labelY, 380, 35, row.label, kWhite, 5);
    oEngine->DrawFont("titleS", kLeftX, row.choiceY, 100, 20, row.left, kWhite, 5);
    oEngine->DrawFont("titleS", kRightX, row.choiceY, 100, 20, row.right, kWhite, 5);
    DrawChoiceMarkers(row);
    const bool clicked = HandleChoices(row);
    if (row.option == &bWindowed) {
      if (clicked) bScreenChanged = true;
      if (bScreenChanged && bWindowed != bWindowedAtStart)
        oEngine->DrawFont("titleS", 300, 170, 420, 35,
                          "the changes will take effect next time you run the game", ARGB(255, 100, 200, 100),
                          5);
      if (!bScreenChanged) bWindowedAtStart = bWindowed;
    }
    if (row.option == &bMusicOn && clicked) ApplyMusicOption();
  }
  // The music and sound choices stay as saved: they take effect once the engine finds a device.
  if (!oEngine->SoundDeviceFound())
    oEngine->DrawFont("titleS", 300, 400, 420, 50,
                      "no sound device was found: music and sound effects play as soon as there is one",
                      ARGB(255, 255, 120, 100), 5);
  if (!OptionsSaveProblem().empty())
    oEngine->DrawFont("titleS", 300, 350, 420, 50,
                      "the options could not be saved (" + OptionsSaveProblem() + "): they stay for this run",
                      ARGB(255, 255, 120, 100), 5);
}

}  // namespace varnel
