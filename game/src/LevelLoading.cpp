#include "modDeclares.h"
#include "modRender.h"

namespace varnel {

void LoadLevel() {}

}  // namespace varnel
