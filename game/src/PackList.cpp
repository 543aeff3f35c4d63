// SPDX-License-Identifier: Zlib
#include "PackList.h"

#include <algorithm>

#include "PackNames.h"
#include "modDeclares.h"

namespace varnel {
namespace {

constexpr float kFirstRowY = 175;
constexpr float kRowStep = 20;
constexpr float kRowHeight = 18;

// Below the packs, the packs left out: a heading row, then per pack its name on one row and its
// first problem in the small font over the rows after it.
constexpr int kHintRows = 4;
constexpr int kLeftOutRows = 4;
constexpr size_t kProblemShown = 80;
const int32_t kLeftOutColour = ARGB(255, 255, 190, 120);

int PackRows() {
  return PackFiles.empty() ? kHintRows : static_cast<int>(PackFiles.size());
}

int AllRows() {
  const auto leftOut = static_cast<int>(PacksLeftOut.size());
  return PackRows() + (leftOut == 0 ? 0 : 1 + leftOut * kLeftOutRows);
}

// The wheel turns the list a row a notch, away from the player showing the rows above.
void ScrollWithWheel() {
  const int last = std::max(0, AllRows() - kPackRowsShown);
  const int scrolled = static_cast<int>(intPackScroll) - lngWheelTurn;
  intPackScroll = static_cast<int16_t>(std::clamp(scrolled, 0, last));
}

// Below a list longer than its panel, which of its rows show and how to see the others.
void DrawScrollNote(float x, float width) {
  const int count = AllRows();
  if (count <= kPackRowsShown) return;
  const std::string note = std::to_string(intPackScroll + 1) + " - " +
                           std::to_string(std::min(count, intPackScroll + kPackRowsShown)) + " of " +
                           std::to_string(count) + " (mouse wheel)";
  oEngine->DrawFont("small", x, kFirstRowY + kPackRowsShown * kRowStep, width, 14, note,
                    ARGB(160, 255, 255, 255), 5);
}

// A problem longer than its rows hold is cut at a blank and ends in an ellipsis.
std::string ProblemShown(const std::string& problem) {
  if (problem.size() <= kProblemShown) return problem;
  size_t cut = problem.rfind(' ', kProblemShown - 1);
  if (cut == std::string::npos || cut < kProblemShown / 2) cut = kProblemShown - 1;
  return problem.substr(0, cut) + "\x85";
}

void DrawPackRow(float x, float y, float width, int16_t pack, int32_t hoverColour, PackListHover hover) {
  if (oExtra->IsMouseOverArea(x, y, width, kRowHeight)) {
    lngItemColor = hoverColour;
    intPackSel = pack;
    hover.onHover();
    bCursorBusy = true;
    intPackMade = -1;
    if (curMouse.B1Clicked) hover.onClick();
  } else {
    lngItemColor = pack == intPackMade ? hoverColour : kWhite;
  }
  // A name longer than its row (a pack made from a folder of a long name) ends in an ellipsis.
  constexpr size_t kNameShown = 34;
  std::string name = packs::DisplayName(PackFiles[static_cast<size_t>(pack)]);
  if (name.size() > kNameShown) name = name.substr(0, kNameShown - 1) + "\x85";
  oEngine->DrawFont("titleS", x, y, width, kRowHeight, name, lngItemColor, 5);
}

// Row `row` of the part below the packs; an entry is drawn where its first row shows and all of
// its rows fit the panel.
void DrawLeftOutRow(float x, float y, float width, int row, int rowsLeft) {
  if (row == 0) {
    oEngine->DrawFont("small", x, y, width, kRowHeight, "Left out (see log.txt):", kLeftOutColour, 5);
    return;
  }
  if ((row - 1) % kLeftOutRows != 0 || rowsLeft < kLeftOutRows) return;
  const PackLeftOut& pack = PacksLeftOut[static_cast<size_t>((row - 1) / kLeftOutRows)];
  oEngine->DrawFont("titleS", x, y, width, kRowHeight, packs::DisplayName(pack.file), kLeftOutColour, 5);
  oEngine->DrawFont("small", x, y + kRowStep, width, kRowStep * (kLeftOutRows - 1),
                    ProblemShown(pack.problem), kLeftOutColour, 5);
}

}  // namespace

void DrawPackList(float x, float width, int32_t hoverColour, PackListHover hover) {
  ScrollWithWheel();
  const int shownEnd = std::min(AllRows(), intPackScroll + kPackRowsShown);
  for (int row = intPackScroll; row < shownEnd; ++row) {
    const float y = kFirstRowY + kRowStep * static_cast<float>(row - intPackScroll);
    if (row < PackRows()) {
      if (!PackFiles.empty())
        DrawPackRow(x, y, width, static_cast<int16_t>(row), hoverColour, hover);
      else if (row == 0)
        oEngine->DrawFont("titleS", x, y, width, kRowStep * kHintRows,
                          "No packs found: put pack files into the folder \"packs\" beside the game.", kWhite,
                          5);
    } else {
      DrawLeftOutRow(x, y, width, row - PackRows(), shownEnd - row);
    }
  }
  DrawScrollNote(x, width);
  // A pack just made shows selected, with its information, until the player points at a row.
  if (intPackMade >= 0 && static_cast<size_t>(intPackMade) < PackFiles.size()) {
    intPackSel = intPackMade;
    hover.onHover();
  }
}

}  // namespace varnel
