// SPDX-License-Identifier: Zlib
#pragma once

#include <string>

namespace varnel {

// Implemented by modINI.cpp.

// One key of an INI file, as the game reads pack and level settings.
std::string ReadIni(const std::string& Section, const std::string& KeyName, const std::string& FileName);

// The four options in "game data\options.ini".
void ReadOptions();
void SaveOptions();
// Why the last SaveOptions could not write the file, in the player's words; empty when it could.
const std::string& OptionsSaveProblem();

// The keyboard of the name-entry screen.
void NameEntryKeys();

}  // namespace varnel
