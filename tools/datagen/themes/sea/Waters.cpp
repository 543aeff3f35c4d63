// SPDX-License-Identifier: Zlib
#include "SeaProps.h"

namespace datagen::sea {

// The twelve waters of the sea pack, one a level in turn; only the night sea glows.
const Waters& WatersOf(int mood) {
  static const Waters kWaters[kMoods] = {
      {"Sunny lagoon", Hex(0x7FE0E0), Hex(0x2A9AB0), Hex(0xF4E2B0), Hex(0xD8BE88), Hex(0xFFFFF0), 0.35},
      {"Coral garden", Hex(0x5AC0E8), Hex(0x1A5AA0), Hex(0xE8D6A8), Hex(0xC0A878), Hex(0xF0FFFF), 0.28},
      {"Kelp forest", Hex(0x8AC8A0), Hex(0x1E5A4A), Hex(0xC8C098), Hex(0x8A8A68), Hex(0xF0FFE0), 0.3},
      {"Deep blue", Hex(0x2A6AB8), Hex(0x0A1A48), Hex(0x8A90A8), Hex(0x4A5068), Hex(0xC0E0FF), 0.18},
      {"The old wreck", Hex(0x4AA0A8), Hex(0x123A48), Hex(0xB8B090), Hex(0x70705A), Hex(0xE0FFF8), 0.25},
      {"Twilight reef", Hex(0x7A78C8), Hex(0x20184A), Hex(0xB0A0B8), Hex(0x6A5A78), Hex(0xFFE0F0), 0.2},
      {"Night lights", Hex(0x14284A), Hex(0x04081A), Hex(0x3A4050), Hex(0x1A1E2A), Hex(0x90C0FF), 0.08, true},
      {"Rock pools", Hex(0x60B0B0), Hex(0x1A4A58), Hex(0xA8A8A0), Hex(0x686A68), Hex(0xFFFFF0), 0.3},
      {"Sunset shallows", Hex(0xF0B890), Hex(0x2A6A98), Hex(0xF0D0A0), Hex(0xC09A78), Hex(0xFFE0B0), 0.4},
      {"Cold waters", Hex(0xB8E0F0), Hex(0x2A5A80), Hex(0xD8DCE0), Hex(0x9AA4B0), Hex(0xFFFFFF), 0.25},
      {"Pearl bay", Hex(0xE8B8D8), Hex(0x5A4A98), Hex(0xF2DCD8), Hex(0xC8A8B0), Hex(0xFFF0F8), 0.3},
      {"Treasure cove", Hex(0x68C8B8), Hex(0x164A60), Hex(0xE8CC88), Hex(0xB09058), Hex(0xFFF2C0), 0.35},
  };
  return kWaters[((mood % kMoods) + kMoods) % kMoods];
}

}  // namespace datagen::sea
