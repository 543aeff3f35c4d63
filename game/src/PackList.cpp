#include "PackList.h"

#include <algorithm>

#include "modDeclares.h"

namespace varnel {
namespace {

constexpr float kFirstRowY = 175;
constexpr float kRowStep = 20;
constexpr float kRowHeight = 18;

// The wheel turns the list a row a notch, away from the player showing the rows above.
void ScrollWithWheel() {
  const int last = std::max(0, static_cast<int>(PackFiles.size()) - kPackRowsShown);
  const int scrolled = static_cast<int>(intPackScroll) - lngWheelTurn;
  intPackScroll = static_cast<int16_t>(std::clamp(scrolled, 0, last));
}

// Below a list longer than its panel, which of its rows show and how to see the others.
void DrawScrollNote(float x, float width) {
  const auto count = static_cast<int>(PackFiles.size());
  if (count <= kPackRowsShown) return;
  const std::string note = std::to_string(intPackScroll + 1) + " - " +
                           std::to_string(std::min(count, intPackScroll + kPackRowsShown)) + " of " +
                           std::to_string(count) + " (mouse wheel)";
  oEngine->DrawFont("small", x, kFirstRowY + kPackRowsShown * kRowStep, width, 14, note,
                    ARGB(160, 255, 255, 255), 5);
}

}  // namespace

std::string PackDisplayName(const std::string& packFile) {
  return packFile.size() > 4 ? packFile.substr(0, packFile.size() - 4) : packFile;
}

void DrawPackList(float x, float width, int32_t hoverColour, PackListHover hover) {
  if (PackFiles.empty()) {
    oEngine->DrawFont("titleS", x, kFirstRowY, width, 40,
                      "No packs found: put pack files into the folder \"packs\" beside the game.", kWhite, 5);
    return;
  }
  ScrollWithWheel();
  const int shownEnd = std::min<int>(static_cast<int>(PackFiles.size()), intPackScroll + kPackRowsShown);
  for (intI = intPackScroll; intI < shownEnd; intI = static_cast<int16_t>(intI + 1)) {
    const float y = kFirstRowY + kRowStep * static_cast<float>(intI - intPackScroll);
    if (oExtra->IsMouseOverArea(x, y, width, kRowHeight)) {
      lngItemColor = hoverColour;
      intPackSel = intI;
      hover.onHover();
      bCursorBusy = true;
      if (curMouse.B1Clicked) hover.onClick();
    } else {
      lngItemColor = kWhite;
    }
    oEngine->DrawFont("titleS", x, y, width, kRowHeight, PackDisplayName(PackFiles[intI]), lngItemColor, 5);
  }
  DrawScrollNote(x, width);
}

}  // namespace varnel
