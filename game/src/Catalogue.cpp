#include "modDeclares.h"
#include "modMain.h"

namespace varnel {

void ScanPacks() {}
void SavePackScores() {}

}  // namespace varnel
