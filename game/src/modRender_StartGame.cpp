// SPDX-License-Identifier: Zlib
#include <string>

#include "PackCheck.h"
#include "PackDrop.h"
#include "PackList.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modRender.h"

namespace varnel {
namespace {

const int32_t kLabelColour = ARGB(255, 50, 250, 50);
const int32_t kValueColour = ARGB(255, 230, 255, 255);

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

void DrawStartGameScreen() {
  oEngine->Draw(texNewGameSel, 275, 90, 460, 390, 0, 70);
  oEngine->Draw(texPackInfo, -30, 263, 256, 256, 0, 100);
  DrawPackList(360, 305, ARGB(255, 100, 255, 100), {DrawPackInfo, NewGame});
  DrawDropNotice();
}

void DrawPackInfo() {
  const std::string index = std::to_string(intPackSel);
  const std::string packInfo = index + "packinfo.ini";
  const std::string scores = index + "hscore.ini";

  oEngine->DrawFont("highscores", 35, 315, 115, 20, "Pack layout", kLabelColour, 5);
  const bool vertical =
      packs::BooleanFromText(oExtra->INIRead("General", "Vertical", packInfo, false)).value_or(false);
  oEngine->DrawFont("HighScores", 35, 335, 115, 20, vertical ? "Vertical" : "Horizontal", kValueColour, 5);
  oEngine->DrawFont("highscores", 35, 358, 115, 20, "# of levels", kLabelColour, 5);
  oEngine->DrawFont("HighScores", 35, 375, 115, 20,
                    oExtra->INIRead("General", "NumOfLevels", packInfo, false), kValueColour, 5);
  strNumLevels = oExtra->INIRead("General", "NumOfLevels", packInfo, false);
  oEngine->DrawFont("highscores", 35, 400, 115, 20, "Highest Score", kLabelColour, 5);
  oEngine->DrawFont("HighScores", 40, 420, 150, 35, oExtra->INIRead("scores", "1_score", scores, false),
                    kValueColour, 0);
  oEngine->DrawFont("HighScores", 80, 420, 150, 35, oExtra->INIRead("scores", "1_name", scores, false),
                    kValueColour, 0);
  strPackInfo = ReplaceAll(oExtra->INIRead("General", "PackInfo", packInfo, false), "[e]", "\r\n");
  oEngine->DrawFont("HighScores", 314, 475, 375, 120, strPackInfo, kValueColour, 5);
}

}  // namespace varnel
