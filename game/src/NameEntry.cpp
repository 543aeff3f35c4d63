#include "modDeclares.h"
#include "modGame.h"
#include "modINI.h"
#include "modKeys.h"
#include "modRender.h"

namespace varnel {

void DrawLiveRank() {}
void ConfirmName() {}
void DrawNameEntryState() {}
void NameEntryKeys() {}
void AddNameChar(const std::string&) {}

}  // namespace varnel
