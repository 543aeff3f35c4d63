// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>

#include "Wav.h"

namespace datagen {

// The background piece: a calm tune of 28 bars at 72 beats a minute (about 93 seconds) in
// 44.1 kHz stereo, written so that its last bar leads back into its first: reverberation and
// held notes at the end are folded onto the start, so the piece loops without a seam.
Pcm ComposeMusic(uint64_t seed);

}  // namespace datagen
