// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Video.h"
#include "tovak2d/Types.h"

namespace tovak2d {

// A loaded texture: the image on the device and the texture size it stands for. The size is a
// power of two in each direction (or the size the texture-size file gives), and the image is
// stretched over it, so texel coordinates become UVs by dividing by this size.
struct TextureData {
  std::shared_ptr<platform::video::GpuTexture> image;
  int32_t width = 0, height = 0;
  int32_t pictureWidth = 0, pictureHeight = 0;  // the picture's own size, before the stretch
};

}  // namespace tovak2d
