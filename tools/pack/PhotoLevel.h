// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "Image.h"
#include "PackCheck.h"
#include "PhotoEdits.h"

// A level made from one photo: the photo at the shown size, its copy with five differences made
// by image processing, and the rectangles that hold them.
namespace varnel::pack {

enum class Difficulty { kEasy, kNormal, kHard };
EditStrength StrengthOf(Difficulty difficulty);

struct PhotoLevel {
  std::string originalJpeg;  // the pair as stored in the pack
  std::string modifiedJpeg;
  std::array<PixelRect, packs::kDifferencesPerLevel> rects{};
  std::array<EditKind, packs::kDifferencesPerLevel> kinds{};
};

// The JPEG quality of the stored pair.
inline constexpr int kPhotoJpegQuality = 92;

// Makes the level from a photo already at the shown size. The same photo, difficulty and seed
// give the same bytes. The pair is encoded so that blocks the edits leave alone decode to the same
// pixels in both pictures, and each rectangle is the box of the pixels that differ after
// decoding, padded by two pixels: nothing differs outside the rectangles. Nothing, with the reason
// in *error, when the photo has too few spots with detail to hide five differences.
std::optional<PhotoLevel> MakePhotoLevel(const Image& photo, Difficulty difficulty, uint32_t seed,
                                         std::string* error);

}  // namespace varnel::pack
