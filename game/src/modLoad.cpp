#include "modLoad.h"

#include "modDeclares.h"
#include "modGame.h"
#include "modKeys.h"

namespace varnel {

void LoadTextures() {}
void LoadFonts() {}
void LoadSounds() {}
void FreeTextures() {
  texLogo.Release();
  texMouse.Release();
}
void FreeLevelTextures() {}

void PollKeys() {
  if (intScreen == kScreenNameEntry) {
    NameEntryKeys();
    return;
  }
  if (oEngine->GetKeyPressed(kKeyS)) oEngine->SaveScreenshot();
  if (oEngine->GetKeyPressed(kKeySpace) && bJokerLeft) UseJoker();
  if (oEngine->GetKeyPressed(kKeyEscape)) bRunning = false;
}

void PollMouse() {
  oEngine->GetMouseState(curMouse);
}

}  // namespace varnel
