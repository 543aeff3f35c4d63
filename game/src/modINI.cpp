#include "modINI.h"

#include "modDeclares.h"

namespace varnel {

void ReadOptions(const std::string&) {
  bWindowed = true;
  bMusicOn = true;
  bSoundOn = true;
  bParticlesOn = true;
}

}  // namespace varnel
