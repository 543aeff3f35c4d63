// SPDX-License-Identifier: Zlib
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "DiskSpace.h"
#include "GameFiles.h"
#include "PackCheck.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modINI.h"
#include "modLoad.h"
#include "modMain.h"

namespace varnel {
namespace {

constexpr char kPictureArchive[] = "\\game data\\pictures.vnl";
constexpr int32_t kMagentaKey = 0x00FF00FF;

struct InterfacePicture {
  tovak2d::Texture* texture;
  const char* entry;
  int32_t colourKey;
};

// In the order the textures are created.
const InterfacePicture kPictures[] = {
    {&texBackGameH, "back_game_h.jpg", 0},
    {&texBackGameV, "back_game_v.jpg", 0},
    {&texGameMask, "gamemask.dds", 0},
    {&texBackground, "background.jpg", 0},
    {&texSky, "sky.jpg", 0},
    {&texMouse, "mouse.bmp", kMagentaKey},
    {&texButton, "button.bmp", kMagentaKey},
    {&texLogo, "vnlogo.jpg", 0},
    {&texProgressRoom, "progressroom.dds", 0},
    {&texProgressBar, "progressbar.dds", 0},
    {&texProgressBarIn, "progressbarin.dds", 0},
    {&texParticles, "particles.png", 0},
    {&texSideMenu, "sidemenu.dds", 0},
    {&texNewGameSel, "newgameselection.dds", 0},
    {&texHighScores, "highscores.dds", 0},
    {&texPackInfo, "packinfo.dds", 0},
    {&texVNL, "vnl.dds", 0},
    {&texClue, "clue.dds", 0},
    {&texClueSel, "clueselection.dds", 0},
    {&texHighScorePacks, "highscorepacks.dds", 0},
    {&texMenuNewGame, "menu_newgame.dds", 0},
    {&texMenuHighScores, "menu_highscores.dds", 0},
    {&texMenuOptions, "menu_options.dds", 0},
    {&texMenuHelp, "menu_help.dds", 0},
    {&texFontDefault, "font_default.dds", 0},
};

struct FontSpec {
  const char* key;
  const char* face;
  int16_t size;
  bool bold;
};

const FontSpec kFonts[] = {
    {"small", "Verdana", 8, false},         {"titleS", "Verdana", 10, true},
    {"titleM", "Verdana", 15, true},        {"titleL", "Verdana", 20, true},
    {"highscores", "Curier New", 10, true}, {"highscoresbig", "Curier New", 20, true},
};

const char* const kSounds[] = {"click",          "1key",  "2key",          "3key",    "4key",
                               "levelcompleted", "joker", "packcompleted", "gameover"};

// The game cannot show a single screen without its pictures: the player is told what is missing
// and the game ends in order.
void ReportMissingPictures(const std::string& what) {
  oExtra->SaveLog("Error in LoadTextures : " + what);
  frmMain::ShowMessage(what + "\nThe game folder is incomplete: please install the game again.");
}

// Why the engine could not unpack the archive, from the log line it wrote since `logBefore`
// bytes: the text in brackets at its end. Empty when there is none (on a full disk the log may
// not have been written either).
std::string UnpackFailureCause(size_t logBefore) {
  const auto log = ReadGameFile("log.txt");
  if (!log || log->size() <= logBefore) return {};
  const size_t at = log->rfind("PAK - Error Extracting All files");
  if (at == std::string::npos || at < logBefore) return {};
  const std::string line = log->substr(at, log->find_first_of("\r\n", at) - at);
  const size_t open = line.rfind(" (");
  if (open == std::string::npos || line.back() != ')') return {};
  return line.substr(open + 2, line.size() - open - 3);
}

size_t LogSize() {
  const auto log = ReadGameFile("log.txt");
  return log ? log->size() : 0;
}

// The archive is whole, but its pictures could not be written beside it: the player is told the
// real cause, the disk and the room it needs when that is the lack of space, not that the game
// folder is incomplete.
bool ReportUnpackFailure(const std::string& archive, size_t logBefore) {
  std::error_code ec;
  const uint64_t needed = std::filesystem::file_size(archive, ec);
  const std::string cause = UnpackFailureCause(logBefore);
  const bool full = (!ec && DiskTooFull(strAppPath, needed)) || cause == std::strerror(ENOSPC);
  if (cause.empty() && !full) return false;
  std::string what;
  if (full)
    what = FullDiskText(strAppPath, ec ? 0 : needed, "unpacking the game's pictures") +
           "\nFree some space on that disk and start the game again.";
  else
    what = "The pictures of " + archive + " could not be unpacked into " + strAppPath + ": " + cause +
           ".\nThe game cannot start.";
  oExtra->SaveLog("Error in LoadTextures : " + what.substr(0, what.find('\n')));
  frmMain::ShowMessage(what);
  return true;
}

int32_t lastWheel = 0;

}  // namespace

bool LoadTextures() {
  if (!oExtra->PAK_OpenPAK(kPictureArchive, false, "Open File", "")) {
    ReportMissingPictures("The picture archive " + oExtra->NativePath(kPictureArchive) +
                          " is missing or cannot be read.");
    return false;
  }
  const size_t logBefore = LogSize();
  const bool unpacked = oExtra->PAK_ExtractAll("");

  std::string missing;
  for (const auto& picture : kPictures)
    if (!FindGameFile(picture.entry)) missing += std::string(missing.empty() ? "" : ", ") + picture.entry;
  if (!missing.empty()) {
    DeleteExtracted();
    if (!unpacked && ReportUnpackFailure(oExtra->NativePath(kPictureArchive), logBefore)) return false;
    ReportMissingPictures("The picture archive " + oExtra->NativePath(kPictureArchive) + " lacks " + missing +
                          ".");
    return false;
  }

  for (const auto& picture : kPictures)
    oEngine->CreateTexture(*picture.texture, picture.entry, picture.colourKey);
  DeleteExtracted();
  return true;
}

void DeleteExtracted() {
  for (const auto& picture : kPictures) DeleteGameFile(picture.entry);
  // A level's picture description and picture pair left over from a run that did not end in
  // order; the level loading removes the pair as soon as it has made its textures.
  DeleteGameFile("picinfo.ini");
  for (int level = 1; level <= packs::kMaxLevels; ++level)
    for (const char* suffix : {".jpg", "x.jpg", ".bmp", "x.bmp"})
      DeleteGameFile(std::to_string(level) + suffix);
}

void LoadFonts() {
  for (const auto& font : kFonts) oEngine->CreateFont(font.key, font.face, font.size, font.bold, false);
}

void LoadSounds() {
  for (const char* name : kSounds) oEngine->CreateSound(name, std::string("\\sound\\") + name + ".wav");
  oMusic->LoadMP3("\\sound\\music.wma");
  ApplyMusicOption();
}

void FreeTextures() {
  for (const auto& picture : kPictures) picture.texture->Release();
}

void FreeLevelTextures() {
  texOriginal.Release();
  texModified.Release();
}

void PollMouse() {
  oEngine->GetMouseState(curMouse);
  lngWheelTurn = curMouse.Wheel - lastWheel;
  lastWheel = curMouse.Wheel;
  if (bParticlesOn) {
    const double r1 = Rnd();
    const double r2 = Rnd();
    ParticleFX(true, 0, static_cast<float>(curMouse.X + 6), static_cast<float>(curMouse.Y + 6),
               static_cast<float>(std::floor(3 * r1) + 1), static_cast<float>(std::floor(2 * r2) + 1), 2, 35,
               true);
  }
}

void PollKeys() {
  if (intScreen == kScreenNameEntry) {
    NameEntryKeys();
    return;
  }
  // Letters typed on other screens are no part of a name entered later.
  frmMain::TakeStruckKeys();
  if (oEngine->GetKeyPressed(kKeyS)) oEngine->SaveScreenshot();
  if (oEngine->GetKeyPressed(kKeySpace) && bJokerLeft) UseJoker();
  if (oEngine->GetKeyPressed(kKeyEscape)) bRunning = false;
}

}  // namespace varnel
