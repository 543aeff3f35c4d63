// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>

#include "platform/Video.h"

// The compositor's pixel loops: texels blended into the frame, and texels fetched for a turned
// sprite; four pixels at a time with SSE2, eight where the machine has AVX2.
namespace tovak2d::platform::video::compositor {

// Texels of an image (opaque: every texel's alpha is 255) over count pixels of the frame, times
// the colour.
void Blend(uint32_t* frame, const uint32_t* texels, int count, Rgba color, bool opaque);

#if defined(__x86_64__)
// Texels of a piece that lies wholly on the image, eight at a time on machines with AVX2, from
// 16.16 positions that move by a fixed step; the same positions and texels as one at a time.
// Returns how many were done.
int GatherAvx2(uint32_t* out, const uint32_t* texels, int32_t pitch, int32_t u, int32_t v, int32_t uBy,
               int32_t vBy, int count);
#endif

}  // namespace tovak2d::platform::video::compositor
