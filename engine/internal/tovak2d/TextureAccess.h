// SPDX-License-Identifier: Zlib
#pragma once

#include <memory>

#include "tovak2d/Types.h"

namespace tovak2d {

// The object behind a Texture handle, for the library's own modules and its tests. Programs built
// on the engine see only the handle's calls.
struct TextureAccess {
  static std::shared_ptr<TextureData>& Data(Texture& texture) { return texture.data_; }
  static const std::shared_ptr<TextureData>& Data(const Texture& texture) { return texture.data_; }
};

}  // namespace tovak2d
