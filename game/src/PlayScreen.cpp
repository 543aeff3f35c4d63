#include "modDeclares.h"
#include "modGame.h"

namespace varnel {

void DrawPlayScreen() {}
void DrawDiffIndicators() {}
void DrawPicInfo() {}
void DrawStartPrompt() {}
void PictureHover() {}
void CheckClick() {}
void UseJoker() {}

}  // namespace varnel
