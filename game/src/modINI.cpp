// SPDX-License-Identifier: Zlib
#include <cmath>

#include "DiskSpace.h"
#include "GameFiles.h"
#include "PackCheck.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modINI.h"
#include "modKeys.h"
#include "modRender.h"

namespace varnel {
namespace {

// The characters of the name entry in the order they are examined each frame, each with the
// key the player's layout types it with: a letter is taken from the layout, not from the key's
// position, so that a German or French player's name comes out in their own letters (a layout
// without Latin letters types the letter of the key's place).
struct NameKey {
  char typed;  // as the window reports it (frmMain::TakeStruckKeys)
  const char* character;
};
constexpr NameKey kNameKeys[] = {
    {'0', "0"}, {'1', "1"}, {'2', "2"}, {'3', "3"}, {'4', "4"}, {'5', "5"},  {'6', "6"}, {'7', "7"},
    {'8', "8"}, {'9', "9"}, {'a', "A"}, {'b', "B"}, {'c', "C"}, {'d', "D"},  {'e', "E"}, {'f', "F"},
    {'g', "G"}, {'h', "H"}, {'i', "I"}, {'j', "J"}, {'k', "K"}, {'l', "L"},  {'m', "M"}, {'n', "N"},
    {'o', "O"}, {'p', "P"}, {'q', "Q"}, {'r', "R"}, {'s', "S"}, {'t', "T"},  {'u', "U"}, {'v', "V"},
    {'w', "W"}, {'x', "X"}, {'y', "Y"}, {'z', "Z"}, {' ', " "}, {'\b', "-"},
};

struct OptionKey {
  const char* key;
  bool* value;
};
const OptionKey kOptionKeys[] = {
    {"Screen", &bWindowed}, {"Music", &bMusicOn}, {"Sound", &bSoundOn}, {"Particle", &bParticlesOn}};

// Why the options file could not be written the last time; empty once a save succeeds. The
// options keep their new values for the run either way.
std::string saveProblem;

// Read before the engine starts, when its application folder is not known yet: the name is
// given whole.
std::string OptionsFile() {
  return strAppPath + "\\game data\\options.ini";
}

}  // namespace

std::string ReadIni(const std::string& Section, const std::string& KeyName, const std::string& FileName) {
  return oExtra->INIRead(Section, KeyName, FileName, false);
}

void ReadOptions() {
  std::string damaged;
  for (const OptionKey& option : kOptionKeys) {
    const std::string text = oExtra->INIRead("Options", option.key, OptionsFile(), false);
    const auto value = packs::BooleanFromText(text);
    if (!value) damaged += std::string(damaged.empty() ? "" : ", ") + option.key + "=\"" + text + "\"";
    *option.value = value.value_or(true);
  }
  if (damaged.empty()) return;
  // The engine's log folder is not set yet, so the log is named in full.
  oExtra->SaveLog("Error in ReadOptions : game data\\options.ini is missing or garbled (" + damaged +
                      "); the default is used and the file written again",
                  strAppPath + "\\log.txt");
  SaveOptions();
}

void SaveOptions() {
  bool saved = true;
  for (const OptionKey& option : kOptionKeys)
    saved = oExtra->INIWrite("Options", option.key, *option.value ? "True" : "False", OptionsFile(), false) !=
                0 &&
            saved;
  if (saved) {
    saveProblem.clear();
    return;
  }
  const std::string why = WriteFailureCause(oExtra->NativePath("game data\\options.ini"));
  // One log line per cause, not one per click.
  if (why != saveProblem)
    oExtra->SaveLog("Error in SaveOptions : game data\\options.ini could not be written (" + why +
                        "); the options keep their new values for this run",
                    strAppPath + "\\log.txt");
  saveProblem = why;
}

const std::string& OptionsSaveProblem() {
  return saveProblem;
}

void NameEntryKeys() {
  const bool escape = oEngine->GetKeyPressed(kKeyEscape);
  const bool enter = oEngine->GetKeyPressed(kKeyEnter);
  const std::string struck = frmMain::TakeStruckKeys();
  if (escape || enter) {
    // The name is stored; keys struck in the same frame must not change the name kept for the
    // next entry.
    ConfirmName();
    return;
  }
  // Keys struck in one frame act in the table's order, each once; accented letters follow in the
  // order they were typed.
  for (const NameKey& key : kNameKeys)
    if (struck.find(key.typed) != std::string::npos) AddNameChar(key.character);
  for (const char c : struck)
    if (static_cast<unsigned char>(c) >= 0x80) AddNameChar(std::string(1, c));
}

}  // namespace varnel
