// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>

// The list of packs that the Start Game and High Scores screens draw in their panels.
namespace varnel {

// Rows the list panels have room for; a longer list scrolls with the mouse wheel.
inline constexpr int16_t kPackRowsShown = 13;

// What a pack row does while the mouse is over it (and when it is clicked).
struct PackListHover {
  void (*onHover)();
  void (*onClick)();
};

// Draws the rows of PackFiles in the column x .. x + width from y = 175, 20 pixels apart, in
// hoverColour under the mouse and white otherwise. The hovered pack becomes intPackSel. Below
// them (or below the hint that there are none) the packs left out, each with its first problem.
void DrawPackList(float x, float width, int32_t hoverColour, PackListHover hover);

}  // namespace varnel
