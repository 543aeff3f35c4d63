// SPDX-License-Identifier: Zlib
#include "KitchenProps.h"

namespace datagen::kitchen {

// The twelve tables of the kitchen pack, one a level in turn.
const Table& TableOf(int mood) {
  static const Table kTablesList[kTables] = {
      {"Breakfast", 0, Hex(0xD8AC78), Hex(0xA8784A)},     {"Tea time", 2, Hex(0xFBF0F0), Hex(0xE8B4C0)},
      {"Fruit market", 0, Hex(0x9A6A44), Hex(0x6A4228)},  {"Baking day", 4, Hex(0xEDE4D6), Hex(0xD4C6B0)},
      {"Pasta dinner", 1, Hex(0xF4F0EA), Hex(0xC84040)},  {"Picnic", 1, Hex(0xF8F6F0), Hex(0x4A78C8)},
      {"Pizza night", 0, Hex(0x8A4A30), Hex(0x5A2A18)},   {"Birthday", 3, Hex(0xB8D8F0), Hex(0xFFFFFF)},
      {"Sushi evening", 0, Hex(0x3A2A22), Hex(0x22160E)}, {"Garden lunch", 2, Hex(0xF0F6E8), Hex(0x88B868)},
      {"Cheese board", 4, Hex(0x8E9C94), Hex(0x76847C)},  {"Sunday brunch", 3, Hex(0xFFE9A8), Hex(0xF6F0DC)},
  };
  return kTablesList[((mood % kTables) + kTables) % kTables];
}

}  // namespace datagen::kitchen
