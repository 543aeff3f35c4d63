// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tovak2d::modExtra {

// A texture-size entry that is not two numbers.
class TextureSizeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The size the texture-size file "t2do.ini" gives for an image file name, as width x height.
// Without the file or an entry, width and height become -1 and the result is false. An entry
// that is not two numbers throws TextureSizeError.
bool ReadTextureSize(const std::string& fileName, int32_t& width, int32_t& height);

}  // namespace tovak2d::modExtra
