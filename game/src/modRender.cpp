#include "modRender.h"

#include <cmath>

#include "modDeclares.h"
#include "modMain.h"

namespace varnel {
namespace {

void DrawMenuScreen(int16_t screen) {
  (void)screen;
  bMenuShown = true;
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
  // this same pass.
  for (int16_t screen : {kScreenStartGame, kScreenHighScores, kScreenOptions, kScreenHelp, kScreenCredits})
    if (intScreen == screen) DrawMenuScreen(screen);
  if (intScreen == kScreenLevelStart) bMenuShown = false;
  if (intScreen == kScreenPlaying) bMenuShown = false;
  if (intScreen == kScreenNameEntry) bMenuShown = false;

  DrawSplashLogo();
  DrawCursor();
  oEngine->RenderAll();
}

void BuildMenu() {}
void ScanPacks() {}
void SavePackScores() {}

}  // namespace varnel
