#pragma once

#include <string>

namespace varnel {

// One key of an INI file, as the game reads pack and level settings.
std::string ReadIni(const std::string& Section, const std::string& KeyName, const std::string& FileName);

// Settings texts turned into values: a decimal number (blanks around it allowed), and a Boolean
// (True or False in any letter case, or a number: 0 is False). False when the text is neither.
bool TextToNumber(const std::string& text, double& value);
bool TextToBool(const std::string& text, bool& value);

// The four options in "game data\options.ini".
void ReadOptions();
void SaveOptions();

// The keyboard of the name-entry screen.
void NameEntryKeys();

}  // namespace varnel
