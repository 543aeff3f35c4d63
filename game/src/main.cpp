#include "modMain.h"

int main() {
  return varnel::Main();
}
