#include "modDeclares.h"
#include "modMain.h"

namespace varnel {

void ParticleFX(bool, int16_t, float, float, float, float, float, float, bool) {}

}  // namespace varnel
