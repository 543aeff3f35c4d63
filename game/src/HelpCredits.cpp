#include "modDeclares.h"
#include "modRender.h"

namespace varnel {

void DrawHelp() {}
void DrawCredits() {}

}  // namespace varnel
