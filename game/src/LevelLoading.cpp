#include <string>

#include "GameFiles.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modLoad.h"
#include "modRender.h"

namespace varnel {

void LoadLevel() {
  oEngine->DrawFont("titleL", 340, 100, 240, 50, "...LOADING...", kWhite, 5);
  frmMain::DoEvents();
  FreeLevelTextures();

  const std::string& n = strLevelPic;
  oExtra->PAK_OpenPAK("\\packs\\" + strPackFile, false, "Open File", "");
  const std::string candidates[] = {n + ".jpg", n + "x.jpg", n + ".bmp", n + "x.bmp"};
  for (const auto& picture : candidates) oExtra->PAK_ExtractFile(picture, "", false);

  const std::string extension = oExtra->FileExists(n + ".jpg") ? ".jpg" : ".bmp";
  if (!FindGameFile(n + extension) || !FindGameFile(n + "x" + extension))
    oExtra->SaveLog("Error in LoadLevel : pack " + strPackFile + " has no picture pair for level " + n);
  oEngine->CreateTexture(texOriginal, n + extension, 0);
  oEngine->CreateTexture(texModified, n + "x" + extension, 0);

  // Every picture taken out is removed again, the unused pair of a level stored in both forms
  // as well: the game folder keeps nothing of a level.
  for (const auto& picture : candidates) DeleteGameFile(picture);

  intScreen = kScreenPlaying;
  sngTimer = 0;
  bTimerOn = true;
}

}  // namespace varnel
