// SPDX-License-Identifier: Zlib
#pragma once

#include <string>
#include <string_view>

// How a pack is named on the screen. Every screen that shows a pack's name takes it from here.
namespace varnel::packs {

// The name the game shows for a pack: its file name (after the last '\' or '/') without the last
// four characters (the dot and a three-letter extension). Empty when the file name is shorter
// than that.
std::string DisplayName(std::string_view packFileName);

// Windows-1252 text in capitals, letter by letter as Windows maps the code page: the accented
// letters too ("Café" gives "CAFÉ", "œ" gives "Œ", "ÿ" gives "Ÿ"); "ß" and "µ" have no capital
// of their own in the code page and stay.
std::string Capitals(std::string_view text);

// The pack's name in capitals, as the play screen shows it above the pictures.
std::string TitleName(std::string_view packFileName);

}  // namespace varnel::packs
