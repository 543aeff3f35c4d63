// SPDX-License-Identifier: Zlib
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Mixer.h"

// Wave files of sound effects, decoded whole into memory.
namespace tovak2d::platform::wav {

// Decodes a RIFF wave file: PCM of 8 or 16 bits (plain or in the extensible layout) or IMA
// ADPCM, mono or stereo, at any rate the mixer plays (100 Hz to 200 kHz). A data chunk cut short
// gives the whole frames it holds. Anything else is refused with the reason in *error.
std::optional<audio::Pcm> Decode(std::string_view bytes, std::string* error);

}  // namespace tovak2d::platform::wav
