// SPDX-License-Identifier: Zlib
// The start of the targets that need nothing more than the headless drivers and the engine's
// application folder set to the scratch one; linked into each of them.
#include "FuzzSupport.h"
#include "modExtra.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::StartIn(tovak2d::modExtra::AppPath);
  return 0;
}
