#include "modLoad.h"

#include "modDeclares.h"
#include "modGame.h"
#include "modINI.h"

namespace varnel {

void PollKeys() {
  if (intScreen == kScreenNameEntry) {
    NameEntryKeys();
    return;
  }
  if (oEngine->GetKeyPressed(kKeyS)) oEngine->SaveScreenshot();
  if (oEngine->GetKeyPressed(kKeySpace) && bJokerLeft) UseJoker();
  if (oEngine->GetKeyPressed(kKeyEscape)) bRunning = false;
}

}  // namespace varnel
