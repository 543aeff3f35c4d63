#include "modDeclares.h"
#include "modINI.h"
#include "modRender.h"

namespace varnel {

void ReadOptions() {}
void SaveOptions() {}
void DrawOptions() {}

}  // namespace varnel
