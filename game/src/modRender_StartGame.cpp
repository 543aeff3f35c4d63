// SPDX-License-Identifier: Zlib
#include <string>

#include "PackCheck.h"
#include "PackDrop.h"
#include "PackList.h"
#include "PhotoPack.h"
#include "ScreenLayout.h"
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

// Text longer than `length` letters cut at `length` with an ellipsis: a title or a reason of any
// length stays in its box.
std::string Shortened(const std::string& text, size_t length) {
  return text.size() <= length ? text : text.substr(0, length - 1) + "\x85";
}

// The text with every word longer than `length` letters (a folder's path) broken into lines after
// a slash, or where it must, so that the box's word breaking keeps it inside.
std::string Breakable(const std::string& text, size_t length) {
  std::string out;
  size_t word = 0;  // letters since the last blank or break
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ') {
      word = 0;
    } else if (word >= length) {
      const size_t slash = out.rfind('/');
      const size_t cut = slash != std::string::npos && out.size() - slash <= length / 2 ? slash + 1 : out.size();
      out.insert(cut, "\r\n");
      word = out.size() - cut - 2;
    }
    if (c != ' ') ++word;
    out += c;
  }
  return out;
}

// A button of the photo pack entry: brighter under the mouse; true when clicked.
bool PhotoButton(float x, float y, float width, const std::string& caption) {
  const bool over = oExtra->IsMouseOverArea(x, y, width, 25);
  oEngine->Draw(texButton, x, y, screens::kButtonPicture.width, screens::kButtonPicture.height, 0,
                over ? 85 : 50, 0, 0, width, 25);
  oEngine->DrawFont("titleS", x, y, width, 25, caption, kWhite, 5);
  if (over) bCursorBusy = true;
  return over && curMouse.B1Clicked;
}

// Below the pack panel on the left: the entry and the difficulty of the packs it makes.
void DrawPhotoPackEntry() {
  if (PhotoButton(20, 512, 240, "Make a pack from photos")) ChoosePhotoFolder();
  const char* names[] = {"Easy", "Normal", "Hard"};
  for (int16_t d = 0; d < 3; ++d) {
    const float x = 20 + 80.0f * d;
    const bool over = oExtra->IsMouseOverArea(x, 545, 80, 20);
    if (over && curMouse.B1Clicked) intPhotoDifficulty = d;
    const int32_t colour = d == intPhotoDifficulty ? kLabelColour
                           : over                  ? kValueColour
                                                   : ARGB(150, 255, 255, 255);
    oEngine->DrawFont("titleS", x, 545, 80, 20, names[d], colour, 5);
  }
  oEngine->DrawFont("small", 20, 567, 240, 16, "difficulty of the new pack", ARGB(160, 255, 255, 255), 5);
}

// In the pack panel while a pack is made: its title, the progress bar, "photo N of M", Cancel.
void DrawMaking(const PhotoPackView& view) {
  oEngine->DrawFont("titleS", 360, 180, 305, 40, "Making \"" + Shortened(view.title, 40) + "\"", kValueColour,
                    5);
  const float fraction = view.total > 0 ? static_cast<float>(view.done) / static_cast<float>(view.total) : 0;
  oEngine->Draw(texButton, 360, 235, screens::kButtonPicture.width, screens::kButtonPicture.height, 0, 30, 0,
                0, 305, 20);
  if (305 * fraction >= 1)
    oEngine->Draw(texProgressBarIn, 360, 235, 49, 406, 0, 90, 0, 0, 305 * fraction, 20);
  const std::string count = view.done > 0
                                ? "photo " + std::to_string(view.done) + " of " + std::to_string(view.total)
                                : "reading " + std::to_string(view.total) + " photos";
  oEngine->DrawFont("titleS", 360, 262, 305, 20, count, kWhite, 5);
  if (!view.skipped.empty())
    oEngine->DrawFont("small", 360, 290, 305, 16, std::to_string(view.skipped.size()) + " left out so far",
                      ARGB(255, 255, 190, 120), 5);
  if (PhotoButton(452, 420, 120, "Cancel")) CancelPhotoPack();
}

// The outcome (a folder's path in it broken into lines), the photos left out with their reasons, two
// lines each, and OK.
void DrawReport(const PhotoPackView& view) {
  oEngine->DrawFont("titleS", 360, 175, 305, 82, Breakable(Shortened(view.outcome, 150), 36),
                    view.failed ? ARGB(255, 255, 190, 120) : kLabelColour, 5);
  constexpr size_t kShown = 4;
  constexpr float kTop = 276, kStep = 28;
  if (!view.skipped.empty())
    oEngine->DrawFont("small", 360, kTop - 17, 305, 16, "Left out:", ARGB(255, 255, 190, 120), 5);
  for (size_t i = 0; i < view.skipped.size() && i < kShown; ++i) {
    oEngine->DrawFont("small", 360, kTop + kStep * static_cast<float>(i), 305, kStep,
                      Breakable(Shortened(view.skipped[i], 96), 50), kWhite, 5);
  }
  if (view.skipped.size() > kShown)
    oEngine->DrawFont("small", 360, kTop + kStep * kShown, 305, 18,
                      "and " + std::to_string(view.skipped.size() - kShown) + " more (see log.txt)", kWhite, 5);
  if (PhotoButton(452, 420, 120, "OK")) ClosePhotoPackReport();
}

}  // namespace

void DrawStartGameScreen() {
  oEngine->Draw(texNewGameSel, 275, 90, 460, 390, 0, 70);
  oEngine->Draw(texPackInfo, -30, 263, 256, 256, 0, 100);
  const PhotoPackView& view = PhotoPackState();
  if (view.phase == PhotoPackPhase::kMaking)
    DrawMaking(view);
  else if (view.phase == PhotoPackPhase::kReport)
    DrawReport(view);
  else
    DrawPackList(360, 305, ARGB(255, 100, 255, 100), {DrawPackInfo, NewGame});
  DrawDropNotice();
  DrawPhotoPackEntry();
}

void DrawPackInfo() {
  const std::string index = std::to_string(intPackSel);
  const std::string packInfo = index + "packinfo.ini";
  const std::string scores = index + "hscore.ini";

  namespace sc = screens;
  const auto label = [](const sc::PackDetail& detail) {
    oEngine->DrawFont("highscores", sc::kPackDetailX, detail.labelY, sc::kPackDetailWidth, 20, detail.label,
                      kLabelColour, 5);
  };
  const auto value = [](const sc::PackDetail& detail, const std::string& text) {
    oEngine->DrawFont("HighScores", sc::kPackDetailX, detail.valueY, sc::kPackDetailWidth, 20, text,
                      kValueColour, 5);
  };
  label(sc::kPackLayout);
  const bool vertical =
      packs::BooleanFromText(oExtra->INIRead("General", "Vertical", packInfo, false)).value_or(false);
  value(sc::kPackLayout, vertical ? "Vertical" : "Horizontal");
  label(sc::kPackLevels);
  value(sc::kPackLevels, oExtra->INIRead("General", "NumOfLevels", packInfo, false));
  strNumLevels = oExtra->INIRead("General", "NumOfLevels", packInfo, false);
  label(sc::kPackBest);
  oEngine->DrawFont("HighScores", sc::kPackBestScoreX, sc::kPackBest.valueY, sc::kPackBestWidth, 35,
                    oExtra->INIRead("scores", "1_score", scores, false), kValueColour, 0);
  oEngine->DrawFont("HighScores", sc::kPackBestNameX, sc::kPackBest.valueY, sc::kPackBestWidth, 35,
                    oExtra->INIRead("scores", "1_name", scores, false), kValueColour, 0);
  strPackInfo = ReplaceAll(oExtra->INIRead("General", "PackInfo", packInfo, false), "[e]", "\r\n");
  const float* about = sc::kPackDescription;
  oEngine->DrawFont("HighScores", about[0], about[1], about[2], 120, strPackInfo, kValueColour, 5);
}

}  // namespace varnel
