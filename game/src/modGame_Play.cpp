// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "PackNames.h"
#include "ScreenLayout.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"

namespace varnel {
namespace {

using screens::Point;
using Layout = screens::PlayLayout;
using screens::kButtonPicture;
using screens::kSmallButton;
using screens::kWideButton;

const Layout& Current() {
  return screens::Play(bVertical);
}

constexpr int32_t kPaleText = ARGB(255, 230, 255, 255);

// Halves to even, as a conversion to a whole number rounds.
int16_t Rounded(double value) {
  return static_cast<int16_t>(std::nearbyint(value));
}

// The clock in seconds since midnight, as the score's swaying reads it.
double SecondsSinceMidnight() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t whole = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&whole, &local);
  const auto fraction = now - std::chrono::system_clock::from_time_t(whole);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
         std::chrono::duration<double>(fraction).count();
}

void DrawSwayingText(const std::string& text, Point at, const float color[3]) {
  const auto angle = static_cast<float>(20 * std::cos(5 * SecondsSinceMidnight()));
  oEngine->DrawText(texFontDefault, text, at.X, at.Y, 1, angle, 100, color[0], color[1], color[2]);
}

// Strict bounds: the click regions of the play screen's buttons leave out their edges.
bool ClickedInside(float left, float top, float right, float bottom) {
  const auto x = static_cast<float>(curMouse.X);
  const auto y = static_cast<float>(curMouse.Y);
  return curMouse.B1Clicked && left < x && x < right && top < y && y < bottom;
}

// Inclusive bounds: the pictures' mouse-over regions take in both edges.
bool MouseWithin(Point corner, float width, float height) {
  const auto x = static_cast<float>(curMouse.X);
  const auto y = static_cast<float>(curMouse.Y);
  return corner.X <= x && x <= corner.X + width && corner.Y <= y && y <= corner.Y + height;
}

void DrawExitButton(const Layout& layout) {
  oEngine->AmbientColor(200, 50, 50);
  oEngine->Draw(texButton, layout.exitButton.X, layout.exitButton.Y, kButtonPicture.width,
                kButtonPicture.height, 0, 70, 0, 0, kSmallButton.width, kSmallButton.height);
  oEngine->DrawFont("small", layout.exitButton.X, layout.exitButton.Y, kSmallButton.width,
                    kSmallButton.height, screens::kExitLabel, kPaleText, 5);
  if (ClickedInside(layout.exitButton.X, layout.exitButton.Y, layout.exitRight, layout.exitBottom))
    ExitToMenu();
  oEngine->AmbientColor(255, 255, 255);
}

void DrawJokerButton(const Layout& layout) {
  const float fade = sngJokerFade;
  const bool shown = bVertical ? fade >= 15 : fade > 15;
  if (!shown) return;
  const double swing = std::sin(lngFrame / 2.0);
  const float extra = layout.jokerRotation;
  const int16_t alpha = Rounded(fade - 15.0);
  const Point at = layout.jokerButton;

  const auto button = [&](double rotation) {
    oEngine->Draw(texButton, at.X, at.Y, kButtonPicture.width, kButtonPicture.height,
                  static_cast<float>(rotation), alpha, 0, 0, kSmallButton.width, kSmallButton.height);
  };
  oEngine->AmbientColor(100, 100, 200);
  button(swing + extra + 100 + fade);
  button(swing + extra + 80 - fade);
  if (bJokerLeft && ClickedInside(at.X, at.Y, layout.jokerRight, layout.jokerBottom)) UseJoker();
  oEngine->AmbientColor(20, 20, 200);
  button(5 * std::sin(lngFrame / 10.0) + extra);
  const int labelAlpha = Rounded(2.55 - (10.0 - fade) * 2.55);
  const float* box = layout.jokerLabelBox;
  oEngine->DrawFont("small", box[0], box[1], box[2], box[3], layout.jokerLabel,
                    ARGB(labelAlpha, 230, 255, 255), 5);
  oEngine->AmbientColor(255, 255, 255);
}

void DrawFoundMarkers(const Layout& layout) {
  for (int d = 1; d <= 5; ++d) {
    const Difference& diff = Differences[d];
    if (!diff.Found) continue;
    for (Point picture : {layout.original, layout.modified})
      oEngine->Draw(texClueSel, picture.X + diff.Left, picture.Y + diff.Top, 64, 64, 0, layout.markerAlpha, 0,
                    0, diff.Right - diff.Left, diff.Bottom - diff.Top);
  }
}

// The score a find adds depends on the level and the time left: a tenth of the remaining bar
// per level. Extended precision, as the game has always computed it.
void ScoreFind() {
  const long double score =
      static_cast<long double>(sngLevel) * 10 / 100 * (407 - static_cast<long double>(sngTimer)) +
      static_cast<long double>(sngScore);
  sngScore = static_cast<float>(std::floor(score));
}

void MissEffects() {
  if (bSoundOn) oEngine->SoundPlay("click", false, 80, 0, 40);
  if (!bParticlesOn) return;
  struct Burst {
    int16_t kind;
    double spread, offset;
    float life;
  };
  const Burst bursts[7] = {{2, 2, -0.5, 100}, {2, 2, -0.5, 100}, {5, 6, -3, 30}, {5, 6, -3, 30},
                           {0, 6, -3, 50},    {0, 6, -3, 50},    {0, 6, -3, 50}};
  for (const Burst& burst : bursts) {
    const double r1 = Rnd(), r2 = Rnd();
    ParticleFX(true, burst.kind, 768, 488, static_cast<float>(std::floor(burst.spread * r1) + burst.offset),
               static_cast<float>(std::floor(r2) + 1), 2, burst.life, true);
  }
}

}  // namespace

// A score as text: the shortest decimal of at most seven significant digits that reads back as
// the same single-precision value, written out in full (1250, 12.5) unless it has more than
// seven whole digits (1.234568E+07).
std::string SingleText(float score) {
  if (score == 0) return "0";
  char text[64];
  int digits = 1;
  for (; digits < 7; ++digits) {
    std::snprintf(text, sizeof text, "%.*e", digits - 1, static_cast<double>(score));
    if (std::strtof(text, nullptr) == score) break;
  }
  std::snprintf(text, sizeof text, "%.*e", digits - 1, static_cast<double>(score));
  const int exponent = std::atoi(std::strchr(text, 'e') + 1);
  if (exponent < -5 || exponent >= 7) {
    std::string shown = text;
    shown[shown.find('e')] = 'E';
    return shown;
  }
  std::snprintf(text, sizeof text, "%.*f", std::max(0, digits - 1 - exponent), static_cast<double>(score));
  return text;
}

void DrawPlayScreen() {
  const Layout& layout = Current();
  oEngine->Draw(bVertical ? texBackGameV : texBackGameH, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600);
  oEngine->Draw(texSky, -100, -225, 512, 512, static_cast<float>(lngFrame / 4.0), 30, 0, 0, 1024, 1024);

  const std::string title = packs::TitleName(strPackFile);
  const float* box = layout.titleBox;
  oEngine->DrawFont(layout.titleFont, box[0], box[1], box[2], box[3], title, kPaleText, 5);

  DrawSwayingText(SingleText(sngScore), layout.score, layout.scoreColor);
  const float counterColor[3] = {220, 220, 255};
  DrawSwayingText(strLevel, layout.levelParts[0], counterColor);
  DrawSwayingText("/", layout.levelParts[1], counterColor);
  DrawSwayingText(strNumLevels, layout.levelParts[2], counterColor);

  DrawExitButton(layout);
  DrawJokerButton(layout);

  if (sngPlayFade != 0) {
    const int16_t alpha = Rounded(sngPlayFade);
    oEngine->Draw(texOriginal, layout.original.X, layout.original.Y, layout.srcWidth, layout.srcHeight, 0,
                  alpha, 0, 0, layout.shownWidth, layout.shownHeight);
    oEngine->Draw(texModified, layout.modified.X, layout.modified.Y, layout.srcWidth, layout.srcHeight, 0,
                  alpha, 0, 0, layout.shownWidth, layout.shownHeight);
  }
  if (sngJokerFade > 0 && sngJokerFade < 100) sngJokerFade -= 1;
  DrawDiffIndicators();
  DrawFoundMarkers(layout);
}

void DrawDiffIndicators() {
  if (sngPlayFade == 0) return;
  const Layout& layout = Current();
  const int spinSpeed[5] = {3, 4, 5, 4, 3};
  for (int d = 1; d <= 5; ++d) {
    if (Differences[d].Found)
      oEngine->AmbientColor(50, 255, 50);
    else
      oEngine->AmbientColor(layout.notFoundTint[0], layout.notFoundTint[1], layout.notFoundTint[2]);
    const Point icon = layout.icons[d - 1];
    const auto spin = static_cast<float>(static_cast<double>(lngFrame) * spinSpeed[d - 1]);
    oEngine->Draw(texClue, icon.X, icon.Y, 64, 64, spin, Rounded(sngPlayFade), 0, 0, 0, 0, 31.5f, 31.5f);
    const Point digit = layout.digits[d - 1];
    oEngine->DrawText(texFontDefault, std::to_string(d), digit.X, digit.Y, 1, 0, 100, 255, 255, 255);
  }
  oEngine->AmbientColor(255, 255, 255);
}

void DrawPicInfo() {
  std::string caption = oExtra->INIRead(strLevelPic, "PicInfo", "picinfo.ini", false);
  for (size_t at = caption.find("[e]"); at != std::string::npos; at = caption.find("[e]", at + 2))
    caption.replace(at, 3, "\r\n");
  const float* box = Current().captionBox;
  oEngine->DrawFont("HighScores", box[0], box[1], box[2], box[3], caption, kPaleText, 0);
}

void DrawGameMask(int16_t alpha) {
  const Layout& layout = Current();
  oEngine->Draw(texGameMask, layout.mask.X, layout.mask.Y, layout.maskWidth, layout.maskHeight,
                layout.maskRotation, alpha);
}

// The prompt over the masked pictures before a level starts; while the pictures fade in, it fades
// out with them and START no longer reacts.
void DrawStartPrompt(bool fading) {
  const Layout& layout = Current();
  const double fade = fading ? sngPlayFade : 0.0;
  DrawGameMask(Rounded(100.0 - fade));
  const int32_t color = ARGB(Rounded(255 - 2.55 * fade), 255, 255, 255);
  const float* box = layout.promptBox;
  oEngine->DrawFont("highscores", box[0], box[1], box[2], box[3], screens::StartPrompt(fading), color, 5);
  const Point start = layout.startButton;
  oEngine->DrawFont("titleL", start.X, start.Y, kWideButton.width, kWideButton.height, screens::kStart, color,
                    5);
  oEngine->Draw(texButton, start.X, start.Y, kButtonPicture.width, kButtonPicture.height, 0,
                Rounded(50.0 - fade / 2.0), 0, 0, kWideButton.width, kWideButton.height);
  if (fading) return;
  DrawLiveRank();
  DrawPicInfo();
}

bool StartClicked() {
  const Point start = Current().startButton;
  return ClickedInside(start.X, start.Y, start.X + kWideButton.width, start.Y + kWideButton.height);
}

void PictureHover() {
  const Layout& layout = Current();
  for (bool original : {true, false}) {
    const Point corner = original ? layout.original : layout.modified;
    if (!MouseWithin(corner, layout.shownWidth, layout.shownHeight)) continue;
    bOverOriginal = original;
    if (curMouse.B1Clicked) CheckClick();
  }
}

void CheckClick() {
  const Point corner = bOverOriginal ? Current().original : Current().modified;
  lngPicX = static_cast<int32_t>(corner.X);
  lngPicY = static_cast<int32_t>(corner.Y);
  const int32_t px = curMouse.X - lngPicX;
  const int32_t py = curMouse.Y - lngPicY;

  bool foundNew = false;
  for (int d = 1; d <= 5; ++d) {
    Difference& diff = Differences[d];
    const auto x = static_cast<float>(px), y = static_cast<float>(py);
    if (!(diff.Left <= x && diff.Right >= x && diff.Top <= y && diff.Bottom >= y)) continue;
    if (!diff.Found) {
      ScoreFind();
      foundNew = true;
    }
    diff.Found = true;
    if (bSoundOn) oEngine->SoundPlay("click", false, 80, 0, 0);
  }
  if (foundNew) {
    CheckLevelDone();
    return;
  }
  sngTimer += 30;
  MissEffects();
  CheckLevelDone();
}

void UseJoker() {
  if (!bTimerOn) return;
  bool anyHidden = false;
  for (int d = 1; d <= 5; ++d) anyHidden = anyHidden || !Differences[d].Found;
  if (!anyHidden) return;
  int d = 0;
  do {
    d = static_cast<int>(std::floor(5 * Rnd()) + 1);
  } while (Differences[d].Found);
  Differences[d].Found = true;
  ScoreFind();
  CheckLevelDone();
  bJokerLeft = false;
  sngJokerFade = 99;
  if (bSoundOn) oEngine->SoundPlay("joker", false, 100, 0, 0);
}

}  // namespace varnel
