#include "modDeclares.h"
#include "modLoad.h"

namespace varnel {

void LoadTextures() {}
void DeleteExtracted() {}
void LoadFonts() {}
void LoadSounds() {}
void FreeTextures() {
  for (auto* texture : {&texBackGameH,    &texBackGameV,      &texGameMask,      &texBackground,
                        &texSky,          &texMouse,          &texButton,        &texLogo,
                        &texProgressRoom, &texProgressBar,    &texProgressBarIn, &texParticles,
                        &texSideMenu,     &texNewGameSel,     &texHighScores,    &texPackInfo,
                        &texVNL,          &texClue,           &texClueSel,       &texHighScorePacks,
                        &texMenuNewGame,  &texMenuHighScores, &texMenuOptions,   &texMenuHelp,
                        &texFontDefault})
    texture->Release();
}
void FreeLevelTextures() {
  texOriginal.Release();
  texModified.Release();
}
void PollMouse() {
  oEngine->GetMouseState(curMouse);
}

}  // namespace varnel
