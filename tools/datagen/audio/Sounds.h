// SPDX-License-Identifier: Zlib
#pragma once

#include <string>
#include <vector>

#include "Wav.h"

namespace datagen {

// The nine sound effects of the game, each under its file name in the sound folder.
struct SoundEffect {
  std::string name;  // "click.wav", "1key.wav", ...
  Pcm pcm;
};

std::vector<std::string> SoundEffectNames();
SoundEffect MakeSoundEffect(const std::string& name, uint64_t seed);

}  // namespace datagen
