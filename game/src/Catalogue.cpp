#include "modDeclares.h"
#include "modMain.h"

namespace varnel {

void ScanPacks() {}
void SavePackScores() {}
void SavePackScore(int16_t) {}

}  // namespace varnel
