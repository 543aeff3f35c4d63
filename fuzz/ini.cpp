// SPDX-License-Identifier: Zlib
// The INI reader and writer on hostile bytes: the bytes are an INI file from which the keys the
// game reads are read, into which keys are written, and which is read again. A write must change
// only its own key: the value written reads back, and every other key read keeps its value.
#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "FuzzSupport.h"
#include "Ini.h"
#include "modExtra.h"
#include "tovak2d/Extra.h"

using fuzzsupport::Check;
namespace modExtra = tovak2d::modExtra;

namespace {

using Key = std::pair<const char*, const char*>;

// Keys of the game's files, with the blank and the case the game's own reads use.
constexpr std::array<Key, 8> kKeys = {{{"General", "NumOfLevels"},
                                       {"General", "Vertical"},
                                       {"setup", "additionalValues "},
                                       {"scores", "1_score"},
                                       {"scores", "1_name"},
                                       {"1", "3Top"},
                                       {"1", "PicInfo"},
                                       {"file_texture_sizes", "font_default.dds"}}};

std::array<std::string, kKeys.size()> ReadAll(tovak2d::Extra& extra) {
  std::array<std::string, kKeys.size()> values;
  for (size_t i = 0; i < kKeys.size(); ++i) {
    values[i] = extra.INIRead(kKeys[i].first, kKeys[i].second, "fuzz.ini");
    Check(values[i].size() <= 254, "a value read is longer than 254 characters");
  }
  return values;
}

// Writes one key and checks that it reads back and that no other key changed.
void WriteAndCheck(tovak2d::Extra& extra, size_t written, const std::string& value) {
  const auto before = ReadAll(extra);
  if (extra.INIWrite(kKeys[written].first, kKeys[written].second, value, "fuzz.ini") == 0) return;
  const auto after = ReadAll(extra);
  for (size_t i = 0; i < kKeys.size(); ++i) {
    if (i == written) {
      Check(after[i] == value,
            std::string("the value written to ") + kKeys[i].second + " reads back as \"" + after[i] + "\"");
    } else {
      Check(after[i] == before[i],
            std::string("writing ") + kKeys[written].second + " changed " + kKeys[i].second);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& scratch = fuzzsupport::Enter(modExtra::AppPath);
  fuzzsupport::Choices choices(data, size);
  const size_t first = choices.Byte() % kKeys.size();
  const size_t second = choices.Byte() % kKeys.size();
  scratch.Put("fuzz.ini", choices.Rest());

  tovak2d::Extra extra;
  ReadAll(extra);
  extra.INIRead("General", "NumOfLevels", "fuzz.ini", true);
  // An existing key replaced, then a key that may be new; a scrambled value as the game stores one.
  WriteAndCheck(extra, first, "12");
  WriteAndCheck(extra, second, "Ann Example");
  extra.INIWrite("scores", "0_name", "scrambled", "fuzz.ini", true);
  Check(extra.INIRead("scores", "0_name", "fuzz.ini", true) == "scrambled",
        "a scrambled value did not read back");

  scratch.Clear();
  scratch.CheckNoStrays();
  return 0;
}
