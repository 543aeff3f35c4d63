// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace tovak2d {

// The sound effects of one Engine. Index 0 of the name and buffer tables is never used, so an
// effect's index is its number, counted from 1.
struct SoundState {
  std::shared_ptr<platform::audio::Output> dsound;  // the sound device in use
  bool soundOK = false;
  int32_t soundCount = 0;
  std::vector<std::string> soundNames{std::string()};  // lower case
  std::vector<std::unique_ptr<platform::audio::Voice>> soundBuffers = MakeBufferTable();

  static std::vector<std::unique_ptr<platform::audio::Voice>> MakeBufferTable() {
    std::vector<std::unique_ptr<platform::audio::Voice>> table;
    table.emplace_back();
    return table;
  }
};

}  // namespace tovak2d
