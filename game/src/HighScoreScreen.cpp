#include "modDeclares.h"
#include "modRender.h"

namespace varnel {

void DrawHighScoresScreen() {}
void DrawPackScores() {}

}  // namespace varnel
