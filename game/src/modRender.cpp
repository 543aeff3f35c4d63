// SPDX-License-Identifier: Zlib
#include "modRender.h"

#include <cmath>
#include <string>

#include "GameFiles.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modLoad.h"
#include "modMain.h"

namespace varnel {
namespace {

void DrawMenuScreen() {
  DrawMenuBackdrop();
  if (intScreen != kScreenCredits) DrawMenuBanner(intScreen);
  switch (intScreen) {
    case kScreenStartGame:
      DrawStartGameScreen();
      break;
    case kScreenHighScores:
      DrawHighScoresScreen();
      break;
    case kScreenOptions:
      DrawOptions();
      break;
    case kScreenHelp:
      DrawHelp();
      break;
    default:
      DrawCredits();
      break;
  }
}

// The caption of the current screen's button four times in red behind the buttons: a halo.
void DrawMenuItems() {
  if (intScreen >= kScreenStartGame && intScreen <= kScreenCredits) {
    const MenuItem& current = MenuItems[intScreen - 1];
    const int32_t red = ARGB(255, 255, 50, 50);
    const float offsets[4][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
    for (const auto& offset : offsets)
      oEngine->DrawFont("titleS", current.X + offset[0], current.Y + offset[1], current.Width, current.Height,
                        current.Caption, red, 5);
  }
  for (auto& item : MenuItems) {
    if (item.Name.empty()) break;
    DrawMenuItem(item, texButton, "titleS");
  }
}

void DrawSplashLogo() {
  if (sngLogoFade == 100) return;
  AdvanceLogoFade();
  oEngine->Draw(texLogo, 0, 0, 1024, 1024, 0, static_cast<int16_t>(std::nearbyint(100 - sngLogoFade)), 0, 0,
                800, 600);
}

void DrawCursor() {
  const auto x = static_cast<float>(curMouse.X);
  const auto y = static_cast<float>(curMouse.Y);
  if (!bCursorBusy)
    oEngine->Draw(texMouse, x, y, 32, 32, 0, 40);
  else
    oEngine->Draw(texMouse, x, y, 32, 32, static_cast<float>(std::sin(lngFrame / 10.0) * 10), 40, 0, 0, 0, 0,
                  1, 1);
  bCursorBusy = false;
}

}  // namespace

void MainFrame() {
  oEngine->ClearScreen(0, 0, 0);

  // Each block sees the state the blocks before it left, so a change to a later screen shows in
  // this same pass, with the same input.
  for (int16_t screen : {kScreenStartGame, kScreenHighScores, kScreenOptions, kScreenHelp, kScreenCredits})
    if (intScreen == screen) DrawMenuScreen();
  if (intScreen == kScreenLevelStart) {
    bMenuShown = false;
    DrawLevelStartState();
  }
  if (intScreen == kScreenPlaying) {
    bMenuShown = false;
    DrawPlayingState();
  }
  if (intScreen == kScreenNameEntry) {
    bMenuShown = false;
    DrawNameEntryState();
  }

  if (bMenuShown) DrawMenuItems();
  DrawSplashLogo();
  DrawCursor();
  ParticleFX(false, 0, 0, 0, 0, 0, 0, 200, true);
  oEngine->RenderAll();
}

void LoadLevel() {
  oEngine->DrawFont("titleL", 340, 100, 240, 50, "...LOADING...", kWhite, 5);
  frmMain::DoEvents();
  FreeLevelTextures();

  const std::string& n = strLevelPic;
  oExtra->PAK_OpenPAK("\\packs\\" + strPackFile, false, "Open File", "");
  const std::string candidates[] = {n + ".jpg", n + "x.jpg", n + ".bmp", n + "x.bmp"};
  for (const auto& picture : candidates) oExtra->PAK_ExtractFile(picture, "", false);

  const std::string extension = oExtra->FileExists(n + ".jpg") ? ".jpg" : ".bmp";
  if (!FindGameFile(n + extension) || !FindGameFile(n + "x" + extension))
    oExtra->SaveLog("Error in LoadLevel : pack " + strPackFile + " has no picture pair for level " + n);
  oEngine->CreateTexture(texOriginal, n + extension, 0);
  oEngine->CreateTexture(texModified, n + "x" + extension, 0);

  // Every picture taken out is removed again, the unused pair of a level stored in both forms
  // as well: the game folder keeps nothing of a level.
  for (const auto& picture : candidates) DeleteGameFile(picture);

  intScreen = kScreenPlaying;
  sngTimer = 0;
  bTimerOn = true;
}

}  // namespace varnel
