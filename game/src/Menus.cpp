#include "modDeclares.h"
#include "modMain.h"
#include "modRender.h"

namespace varnel {

void BuildMenu() {}
void DrawMenuBackdrop() {
  bMenuShown = true;
}
void DrawMenuBanner(int16_t) {}
void DrawMenuItem(MenuItem&, const tovak2d::Texture&, const std::string&) {}

}  // namespace varnel
