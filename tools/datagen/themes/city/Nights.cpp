// SPDX-License-Identifier: Zlib
#include "CityProps.h"

namespace datagen::city {

// The twelve nights of the city pack, one a level in turn.
const Night& NightOf(int mood) {
  static const Night kNightsTable[kNights] = {
      {"Blue hour", Hex(0x1A2A60), Hex(0x4A90B0), Hex(0xFFD890), Hex(0x2A3040), false, false, false, false},
      {"Violet evening", Hex(0x2A1A50), Hex(0xC07AA0), Hex(0xFFC8A0), Hex(0x302838), false, false, false,
       false},
      {"Rainy night", Hex(0x1A2230), Hex(0x506078), Hex(0xFFE0A8), Hex(0x222830), true, false, false, false},
      {"Snowy night", Hex(0x20304A), Hex(0x7A8AA8), Hex(0xFFE6B8), Hex(0xC8D0DC), false, true, false, false},
      {"Harbour lights", Hex(0x101C40), Hex(0x3A5A88), Hex(0xFFD080), Hex(0x1A2A48), false, false, true,
       false},
      {"Full moon", Hex(0x0E1838), Hex(0x30487A), Hex(0xFFF0C0), Hex(0x262A38), false, false, false, false},
      {"Festival night", Hex(0x180E38), Hex(0x503070), Hex(0xFFB070), Hex(0x2A2030), false, false, false,
       false},
      {"Foggy night", Hex(0x3A4250), Hex(0x8A96A0), Hex(0xFFE8C0), Hex(0x3A3E46), false, false, false, true},
      {"Midnight", Hex(0x050818), Hex(0x182448), Hex(0xFFD8A0), Hex(0x181A24), false, false, false, false},
      {"Neon street", Hex(0x1A0A30), Hex(0x2A4A80), Hex(0xFF80E0), Hex(0x201830), false, false, false, false},
      {"Old town", Hex(0x2A1E30), Hex(0xA07060), Hex(0xFFC070), Hex(0x3A3030), false, false, false, false},
      {"Dawn is near", Hex(0x283868), Hex(0xF0B090), Hex(0xFFE0B0), Hex(0x383848), false, false, false,
       false},
  };
  return kNightsTable[((mood % kNights) + kNights) % kNights];
}

}  // namespace datagen::city
