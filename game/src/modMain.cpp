// SPDX-License-Identifier: Zlib
#include "modMain.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "AppFolder.h"
#include "GameFiles.h"
#include "GameFolderLock.h"
#include "PackDrop.h"
#include "PhotoPack.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modINI.h"
#include "modLoad.h"
#include "modRender.h"

namespace varnel {
namespace {
bool packsScanned = false;

// The reason the engine gave in its log for a failed start ("Error in Tovak2D_Start : ...").
std::string StartFailure() {
  const std::string prefix = "Error in Tovak2D_Start : ";
  std::string reason = prefix + "no graphics device could be created";
  if (const auto log = ReadGameFile("log.txt")) {
    const size_t at = log->rfind(prefix);
    if (at != std::string::npos) reason = log->substr(at, log->find_first_of("\r\n", at) - at);
  }
  return reason + "\nThe game window cannot be shown.";
}
// Two games on one folder would share the catalogue copies: the first to end deletes the copies
// the other still reads, whose next score would then replace its pack's table. The folder is
// claimed before anything is written; a second start says so and ends, touching nothing.
bool ClaimAppFolder(AppFolderPlan& plan) {
  if (!plan.fillFrom.empty()) {
    // A folder still to be made is in use by no one.
    std::error_code ec;
    std::filesystem::create_directories(plan.folder, ec);
    if (ec) {
      std::fprintf(stderr, "Varnel: cannot make the game folder %s: %s\n", plan.folder.c_str(),
                   ec.message().c_str());
      plan = {plan.fillFrom, {}};
    }
  }
  std::string error;
  switch (packs::ClaimGameFolder(plan.folder, &error)) {
    case packs::FolderClaim::kClaimed:
      return true;
    case packs::FolderClaim::kInUse:
      frmMain::ShowMessageAlone("Varnel is already running on the game folder " + plan.folder +
                                ".\nOnly one game at a time can use it: this one ends.");
      return false;
    case packs::FolderClaim::kNoLock:
      std::fprintf(stderr, "Varnel: cannot lock the game folder %s (%s); going on without the lock\n",
                   plan.folder.c_str(), error.c_str());
      return true;
  }
  return true;
}

}  // namespace

std::string ProgramFolder() {
  char* base = SDL_GetBasePath();
  std::string folder = base ? base : "./";
  SDL_free(base);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

bool Startup(const std::string& appPath) {
  std::string error;
  if (!frmMain::Load(&error)) {
    std::fprintf(stderr, "Varnel: cannot open the game window: %s\n", error.c_str());
    return false;
  }
  oEngine = std::make_unique<tovak2d::Engine>();
  oExtra = std::make_unique<tovak2d::Extra>();
  oMusic = std::make_unique<tovak2d::MP3Player>();
  oEngine->DebugMode = false;

  strAppPath = appPath;
  ReadOptions();
  // Without a graphics device the window would stay blank and only closable: the player is told
  // why, and the game ends in order.
  if (!oEngine->Tovak2D_Start(frmMain::hWnd(), appPath, 800, 600, !bWindowed, 0, 0, false)) {
    frmMain::ShowMessage(StartFailure());
    Shutdown();
    return false;
  }
  oExtra->SetFPSLimit(50);
  frmMain::SetCaption("Varnel v1.0.0");

  // Without its pictures the game has nothing to show: it says what is missing and ends in order.
  if (!LoadTextures()) {
    Shutdown();
    return false;
  }
  LoadFonts();
  LoadSounds();
  BuildMenu();

  oEngine->SetMouseHide(true);
  packsScanned = false;
  // A TERM or INT that closed a box during the start ends the game as soon as it runs.
  bRunning = !frmMain::CloseAsked();
  return true;
}

void RunPass() {
  PollKeys();
  PollMouse();
  AdvanceCounters();
  MainFrame();
  PollPhotoPack();
  if (oMusic->GetCurrentPosition() >= oMusic->GetDuration() && bMusicOn) oMusic->PlayMP3(true);
  if (!packsScanned) {
    ScanPacks();
    packsScanned = true;
  }
  HandleDrops();
}

void Shutdown() {
  oEngine->SetMouseHide(false);
  StopPhotoPack();
  SavePackScores();
  oEngine->Tovak2D_Unload();
  oEngine.reset();
  oExtra.reset();
  oMusic.reset();
  FreeTextures();
  FreeLevelTextures();
  frmMain::Unload();
}

int Main() {
  // Chosen before anything is read: an installed game keeps its player's files in a folder of their own.
  AppFolderPlan plan =
      PlanAppFolder(ProgramFolder(), UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
  if (!ClaimAppFolder(plan)) return 1;
  if (!Startup(SettleAppFolder(plan))) return 1;
  while (bRunning) RunPass();
  Shutdown();
  return 0;
}

void AdvanceCounters() {
  // Wraps to 0 instead of overflowing after a year of running; every animation keeps working.
  lngFrame = lngFrame == INT32_MAX ? 0 : lngFrame + 1;
}

void AdvanceLogoFade() {
  if (sngLogoFade != 100) sngLogoFade += 0.5f;
}

bool IsMouseOver(float X, float Y, float Width, float Height) {
  const auto mx = static_cast<float>(curMouse.X);
  const auto my = static_cast<float>(curMouse.Y);
  return X <= mx && mx <= X + Width && Y <= my && my <= Y + Height;
}

}  // namespace varnel
