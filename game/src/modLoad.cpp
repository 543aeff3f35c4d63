#include "modLoad.h"

#include "frmMain.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modINI.h"

namespace varnel {

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
