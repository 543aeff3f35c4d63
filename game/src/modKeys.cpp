#include "modKeys.h"

namespace varnel {

void NameEntryKeys() {}

}  // namespace varnel
