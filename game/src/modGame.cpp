#include "modGame.h"

namespace varnel {

void UseJoker() {}

}  // namespace varnel
