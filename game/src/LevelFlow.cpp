#include "modDeclares.h"
#include "modGame.h"
#include "modRender.h"

namespace varnel {

void NewGame() {}
void CheckLevelDone() {}
void DrawLevelDone() {}
void DrawGameOver() {}
void SubmitScore() {}
void ExitToMenu() {}
void ApplyMusicOption() {}
void DrawLevelStartState() {}
void DrawPlayingState() {}

}  // namespace varnel
