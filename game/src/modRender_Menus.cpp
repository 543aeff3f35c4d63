// SPDX-License-Identifier: Zlib
#include <cmath>
#include <iterator>

#include "ScreenLayout.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"
#include "modRender.h"

namespace varnel {
namespace {

// The last entry of the menu column ends the game.
constexpr int kExitItem = static_cast<int>(std::size(screens::kMenu)) - 1;

float Rounded(float value) {
  return static_cast<float>(std::nearbyint(value));
}

void ApplyMenuClick() {
  for (int element = 0; element <= kExitItem; ++element) {
    if (strMenuHover != MenuItems[element].Name) continue;
    strScoreNotice.clear();
    if (element == kExitItem)
      bRunning = false;
    else
      intScreen = static_cast<int16_t>(element + 1);
  }
}

}  // namespace

void BuildMenu() {
  for (size_t element = 0; element < std::size(screens::kMenu); ++element) {
    MenuItem& item = MenuItems[element];
    item.Name = screens::kMenu[element].name;
    item.Caption = screens::kMenu[element].caption;
    item.X = screens::kMenuX;
    item.Y = screens::MenuY(element);
    item.Height = screens::kButtonPicture.height;
    item.Width = screens::kButtonPicture.width;
  }
}

void DrawMenuBackdrop() {
  bMenuShown = true;
  oEngine->Draw(texBackground, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600, -1, -1);
  oEngine->Draw(texSky, -100, -225, 512, 512, static_cast<float>(lngFrame / 4.0), 30, 0, 0, 1024, 1024, -1,
                -1);
  oEngine->Draw(texSideMenu, 0, 0, 256, 512, 0, 50, 0, 0, 0, 0, -1, -1);
  if (!bParticlesOn) return;

  // Each button streams particles to the right: the current screen's long-lived green ones,
  // the others short white ones, Exit red ones.
  for (int k = 0; k <= kExitItem; ++k) {
    const double r1 = Rnd();
    const double r2 = Rnd();
    const double r3 = Rnd();
    int16_t kind = 7;
    double life = 5 * r3 + 15;
    if (k == kExitItem) {
      kind = 6;
    } else if (intScreen == k + 1) {
      kind = 4;
      life = 5 * r3 + 25;
    }
    ParticleFX(true, kind, 125, static_cast<float>(10 + 37 * k), static_cast<float>(std::floor(2 * r1) + 1),
               static_cast<float>(std::floor(3 * r2) + 1), 2, static_cast<float>(life), true);
  }
}

void DrawMenuBanner(int16_t screen) {
  const tovak2d::Texture* banner = nullptr;
  switch (screen) {
    case kScreenStartGame:
      banner = &texMenuNewGame;
      break;
    case kScreenHighScores:
      banner = &texMenuHighScores;
      break;
    case kScreenOptions:
      banner = &texMenuOptions;
      break;
    case kScreenHelp:
      banner = &texMenuHelp;
      break;
    default:
      return;  // the credits screen has no banner
  }
  oEngine->Draw(*banner, 240, 0, 512, 128, static_cast<float>(std::sin(lngFrame / 10.0)), 70);
}

void DrawMenuItem(MenuItem& Item, const tovak2d::Texture& Tex, const std::string& FontKey) {
  // Brightens quickly under the mouse (+5 a pass up to 85), fades back slowly (-1 down to 40).
  if (IsMouseOver(Item.X, Item.Y, Item.Width, Item.Height)) {
    if (Item.Alpha < 85) Item.Alpha = static_cast<int16_t>(Item.Alpha + 5);
    strMenuHover = Item.Name;
  } else {
    if (Item.Alpha == 0) Item.Alpha = 40;
    if (Item.Alpha > 40) Item.Alpha = static_cast<int16_t>(Item.Alpha - 1);
    if (strMenuHover == Item.Name) strMenuHover.clear();
  }
  oEngine->Draw(Tex, Item.X, Item.Y, Item.Width, Item.Height, static_cast<float>(std::sin(lngFrame / 15.0)),
                Item.Alpha, Item.SrcX, Item.SrcY, 0, 0, -1, -1);
  oEngine->DrawFont(FontKey, Rounded(Item.X), Rounded(Item.Y), Rounded(Item.Width), Rounded(Item.Height),
                    Item.Caption, kWhite, 5);
  if (curMouse.B1Clicked) ApplyMenuClick();
}

}  // namespace varnel
