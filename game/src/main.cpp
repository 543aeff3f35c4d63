// SPDX-License-Identifier: Zlib
#include "modMain.h"

int main() {
  return varnel::Main();
}
