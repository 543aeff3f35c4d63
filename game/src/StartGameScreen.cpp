#include "modDeclares.h"
#include "modRender.h"

namespace varnel {

void DrawStartGameScreen() {}
void DrawPackInfo() {}

}  // namespace varnel
