// SPDX-License-Identifier: Zlib
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "PackCheck.h"
#include "PackNames.h"
#include "ScreenLayout.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modLoad.h"
#include "modMain.h"
#include "modRender.h"

namespace varnel {
namespace {

struct PanelText {
  const char* text;
  float X, Y, scale;
};

const PanelText kPackDoneVertical[] = {{"you succesfully completed all", 216, 201, 0.75f},
                                       {"of the levels from this pack", 226, 226, 0.75f},
                                       {"press 'SUBMIT SCORE'", 286, 251, 0.75f}};
const PanelText kPackDoneHorizontal[] = {{"you succesfully", 410, 150, 0.75f},
                                         {"completed all of the", 375, 180, 0.75f},
                                         {"levels from this pack", 365, 210, 0.75f},
                                         {"press 'SUBMIT SCORE'", 380, 240, 0.75f}};

void DrawPanelText(const PanelText& line, float dx, float dy, float red, float green, float blue) {
  oEngine->DrawText(texFontDefault, line.text, line.X + dx, line.Y + dy, line.scale, 0, 100, red, green,
                    blue);
}

// Black copies up-left and down-right, then the coloured one on top.
void DrawShadowed(const PanelText& line, float red, float green, float blue) {
  DrawPanelText(line, -1, -1, 0, 0, 0);
  DrawPanelText(line, 1, 1, 0, 0, 0);
  DrawPanelText(line, 0, 0, red, green, blue);
}

float SubmitButtonX() {
  return screens::Play(bVertical).startButton.X;
}

void DrawSubmitButton(int16_t alpha) {
  const float x0 = SubmitButtonX();
  oEngine->DrawFont("titleL", x0, 420, screens::kWideButton.width, screens::kWideButton.height,
                    screens::kSubmitScore, kWhite, 5);
  oEngine->Draw(texButton, x0, 420, screens::kButtonPicture.width, screens::kButtonPicture.height, 0, alpha,
                0, 0, screens::kWideButton.width, screens::kWideButton.height);
}

bool SubmitClicked() {
  const float x0 = SubmitButtonX();
  const auto x = static_cast<float>(curMouse.X);
  const auto y = static_cast<float>(curMouse.Y);
  return curMouse.B1Clicked && x0 + 1 <= x && x <= x0 + 239 && 420 < y && y < 470;
}

// What every ended game shows under its panel: the end sound, once, then the mask and SUBMIT
// SCORE under the panel's tint.
struct EndPanel {
  const char* sound;
  int32_t volume, frequency;
  double tint[3];
  int16_t buttonAlpha;
};

void DrawEndPanel(const EndPanel& panel) {
  if (bEndSoundDue && bSoundOn) {
    oEngine->SoundPlay(panel.sound, false, panel.volume, 0, panel.frequency);
    bEndSoundDue = false;
  }
  oEngine->AmbientColor(panel.tint[0], panel.tint[1], panel.tint[2]);
  DrawGameMask(100);
  DrawSubmitButton(panel.buttonAlpha);
  oEngine->AmbientColor(255, 255, 255);
}

void DrawPackDone() {
  DrawEndPanel({"packcompleted", 90, 40, {50, 200, 50}, 50});

  const PanelText* lines = bVertical ? kPackDoneVertical : kPackDoneHorizontal;
  const size_t count = bVertical ? std::size(kPackDoneVertical) : std::size(kPackDoneHorizontal);
  for (size_t i = 0; i < count; ++i) DrawPanelText(lines[i], -1, -1, 0, 0, 0);
  for (size_t i = 0; i < count; ++i) DrawPanelText(lines[i], 1, 1, 0, 0, 0);
  for (size_t i = 0; i < count; ++i) DrawPanelText(lines[i], 0, 0, 50, 200, 50);
  const screens::PlayLayout& layout = screens::Play(bVertical);
  DrawShadowed({screens::kWellDone, layout.wellDone.X, layout.wellDone.Y, layout.wellDoneScale}, 50, 200, 50);

  if (SubmitClicked()) SubmitScore();
}

void DrawNextLevelButton() {
  const float y0 = bVertical ? 565.0f : 579.0f;
  oEngine->AmbientColor(50, 200, 50);
  const auto shakeX = static_cast<float>(std::floor(4 * Rnd()));
  const auto shakeY = static_cast<float>(std::floor(4 * Rnd()));
  const screens::Size picture = screens::kButtonPicture, button = screens::kSmallButton;
  oEngine->Draw(texButton, 560 + shakeX, y0 + shakeY, picture.width, picture.height, 0, 70, 0, 0,
                button.width, button.height);
  oEngine->DrawFont("small", 560, y0, button.width, button.height, "NEXT LEVEL", ARGB(255, 230, 255, 255), 5);
  const auto x = static_cast<float>(curMouse.X);
  const auto y = static_cast<float>(curMouse.Y);
  if (curMouse.B1Clicked && 561 <= x && x <= 759 && y0 < y && y < y0 + button.height) bNextLevel = true;
  oEngine->AmbientColor(255, 255, 255);
}

// A pack that turns out unplayable ends the game where it stands: the player is told which
// pack, the log has the details, and the game goes back to the menu screens.
void AbandonGame(const std::string& message) {
  frmMain::ShowMessage(message);
  ExitToMenu();
}

void CheckLevelPictures() {
  const bool originalMissing = !texOriginal;
  if (!originalMissing && texModified) return;
  const std::string picture = strLevelPic + (originalMissing ? "" : "x");
  oExtra->SaveLog("Error in LoadLevel : picture " + picture + " (.jpg or .bmp) of " + strPackFile +
                  " is missing or cannot be read");
  AbandonGame("The picture " + picture + " of the pack \"" + packs::DisplayName(strPackFile) +
              "\" is missing or damaged, so this level cannot be played.");
}

void AdvanceTimer() {
  const long double step = 1.0L / 30 * static_cast<long double>(sngLevel);
  sngTimer = static_cast<float>(step + (1.0L / 35 + static_cast<long double>(sngTimer)));
}

void DrawTimeBar() {
  const int16_t alpha = static_cast<int16_t>(std::nearbyint(sngPlayFade));
  const float slide = sngTimer <= 399 ? 399 - sngTimer : 0;
  oEngine->Draw(texProgressBar, 755, 94, 49, 399, 0, alpha, 0, slide);
  if (sngTimer > 406) {
    DrawGameOver();
  } else {
    oEngine->Draw(texProgressBarIn, 755, 94 + sngTimer, 49, 406 - sngTimer, 0, alpha, 0, 0, 49,
                  406 - sngTimer);
    if (bParticlesOn) {
      const double r1 = Rnd(), r2 = Rnd();
      ParticleFX(true, 2, 768, 488, static_cast<float>(std::floor(2 * r1) - 0.5),
                 static_cast<float>(std::floor(3 * r2) + 1), 2, 40, true);
    }
  }
  oEngine->Draw(texProgressRoom, 751, 94, 49, 406, 0, alpha);
}

}  // namespace

void NewGame() {
  if (intPackSel < 0 || static_cast<size_t>(intPackSel) >= PackFiles.size()) return;
  const std::string settings = std::to_string(intPackSel) + "packinfo.ini";
  const std::string verticalText = oExtra->INIRead("General", "Vertical", settings, false);
  strPackFile = PackFiles[static_cast<size_t>(intPackSel)];
  strScoreNotice.clear();
  const auto vertical = packs::BooleanFromText(verticalText);
  if (!vertical) {
    oExtra->SaveLog("Error in NewGame : Vertical of " + strPackFile + " is \"" + verticalText +
                    "\", not True or False");
    AbandonGame("The settings of the pack \"" + packs::DisplayName(strPackFile) +
                "\" are missing or damaged, so it cannot be played.");
    return;
  }
  bVertical = *vertical;
  sngScore = 0;
  sngLevel = 1;
  strLevel = "1";
  bJokerLeft = true;
  bEndSoundDue = true;
  if (!PickLevel()) {
    AbandonGame("The pack \"" + packs::DisplayName(strPackFile) +
                "\" is missing or has damaged level data, so it cannot be played.");
    return;
  }
  sngPlayFade = 0;
  sngJokerFade = 100;
  bPackDone = false;
  intScreen = kScreenLevelStart;
  bLevelDone = false;
  bNextLevel = false;
}

void CheckLevelDone() {
  for (int d = 1; d <= 5; ++d)
    if (!Differences[d].Found) return;
  const long double bonus =
      std::floor(407 - static_cast<long double>(sngTimer) + static_cast<long double>(sngLevel) * 50);
  sngScore = static_cast<float>(bonus + static_cast<long double>(sngScore));
  bTimerOn = false;
  bLevelDone = true;
  sngLevel += 1;
  if (bSoundOn) oEngine->SoundPlay("levelcompleted", false, 90, 0, 45);
}

void DrawLevelDone() {
  if (sngLevel > static_cast<float>(lngNumLevels)) bPackDone = true;
  if (bPackDone) {
    DrawPackDone();
    return;
  }
  DrawNextLevelButton();
  if (!bNextLevel) return;
  ResetFound();
  if (!PickLevel()) {
    AbandonGame("The pack \"" + packs::DisplayName(strPackFile) +
                "\" has damaged level data, so the game cannot go on.");
    return;
  }
  sngPlayFade = 0;
  intScreen = kScreenLevelStart;
  strLevel = std::to_string(std::atoi(strLevel.c_str()) + 1);
  bLevelDone = false;
  bNextLevel = false;
}

void DrawGameOver() {
  bTimerOn = false;
  DrawEndPanel({"gameover", 85, 0, {200, 50, 50}, 65});
  DrawShadowed(bVertical ? PanelText{"GAME OVER", 270, 200, 2} : PanelText{"GAME OVER", 360, 200, 1.75f}, 200,
               50, 50);
  if (SubmitClicked()) SubmitScore();
}

void SubmitScore() {
  // A table that cannot be bound (a damaged file, already logged) has no place for the score, so
  // there is no name to ask for; the player is told so.
  if (!BindPackTable()) {
    TellScoreNotStored(kTableUnreadable);
    ExitToMenu();
    return;
  }
  const int16_t rank = oExtra->HighScore_CheckPos(sngScore);
  if (rank < 1 || rank > 10)
    ExitToMenu();
  else
    intScreen = kScreenNameEntry;
}

void ExitToMenu() {
  ResetLevelsUsed();
  ResetFound();
  FreeLevelTextures();
  // A level left while running would otherwise keep the joker live on the menu screens, where
  // Space would mark a difference of the next game found in advance.
  bTimerOn = false;
  intScreen = kScreenHighScores;
}

void ApplyMusicOption() {
  if (bMusicOn)
    oMusic->PlayMP3(false);
  else
    oMusic->StopMP3(true);
  int32_t volume = 95;
  oMusic->SetVolume(volume);
}

void DrawLevelStartState() {
  DrawPlayScreen();
  DrawStartPrompt();
  if (!StartClicked()) return;
  LoadLevel();
  CheckLevelPictures();
}

void DrawPlayingState() {
  const bool levelDoneBefore = bLevelDone;
  DrawPlayScreen();
  DrawLiveRank();
  DrawPicInfo();
  if (sngPlayFade == 100 && bTimerOn) AdvanceTimer();
  DrawTimeBar();
  if (sngPlayFade < 100) sngPlayFade += 1;
  if (bTimerOn) {
    if (sngPlayFade == 100)
      PictureHover();
    else
      DrawStartPrompt(true);
  }
  // EXIT shares its corner with the NEXT LEVEL click region: once EXIT has left the game in
  // this pass, the panel must not start another level.
  if (bLevelDone && intScreen == kScreenPlaying) {
    // SUBMIT SCORE lies over the pictures: the click that found the last difference must not
    // press it before the player has even seen the panel.
    if (!levelDoneBefore) curMouse.B1Clicked = false;
    DrawLevelDone();
  }
}

}  // namespace varnel
