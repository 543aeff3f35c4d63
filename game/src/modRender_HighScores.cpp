// SPDX-License-Identifier: Zlib
#include <cmath>
#include <string>

#include "PackList.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modRender.h"

namespace varnel {
namespace {

void StartGameOnHoveredPack() {
  NewGame();
  strNumLevels =
      oExtra->INIRead("General", "NumOfLevels", std::to_string(intPackSel) + "packinfo.ini", false);
}

}  // namespace

void DrawHighScoresScreen() {
  oEngine->Draw(texHighScorePacks, 370, 90, 256, 390, 0, 90);
  oEngine->Draw(texHighScores, -30, 200, 256, 512, 0, 100);
  DrawPackList(405, 190, ARGB(255, 255, 255, 0), {DrawPackScores, StartGameOnHoveredPack});
  if (!strScoreNotice.empty())
    oEngine->DrawFont("titleS", 240, 500, 550, 60, strScoreNotice, ARGB(255, 255, 150, 120), 5);
}

void DrawPackScores() {
  const int32_t colour = ARGB(255, 230, 255, 255);
  // A damaged table is read once a run; ten rows of nothing would pass for an empty table.
  if (!BindPackTable()) {
    oEngine->DrawFont("HighScores", 40, 340, 150, 60, kTableUnreadable, colour, 0);
    return;
  }
  for (int16_t rank = 1; rank <= 10; ++rank) {
    const auto y = static_cast<float>(20 * rank + 320);
    oEngine->DrawFont("HighScores", 40, y, 150, 35, SingleText(oExtra->HighScore_GetScore(rank)), colour, 0);
    oEngine->DrawFont("HighScores", 80, y, 150, 35, oExtra->HighScore_GetName(rank), colour, 0);
  }
}

}  // namespace varnel
