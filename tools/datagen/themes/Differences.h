// SPDX-License-Identifier: Zlib
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Scene.h"

namespace datagen {

class Rng;

// The kinds of change a modified picture carries.
enum class Change { Removed, Added, Recoloured, Moved, Resized, Mirrored, Recounted };
inline constexpr int kChangeKinds = 7;
const char* ChangeName(Change change);

// One change to one object: `target` names the object by its seed (0 for an added one);
// `result` is the object afterwards, none when it was removed.
struct Edit {
  Change change = Change::Removed;
  uint64_t target = 0;
  std::optional<Item> result;
};

// A colour of clearly another hue (greys and near-greys change their lightness instead).
Rgb OtherColour(const Rgb& c, Rng& rng);

// Picks an object and a change of the given kind; none when the scene has no object for it.
std::optional<Edit> ProposeEdit(const Theme& theme, const Scene& scene, Change change, Rng& rng);

// The scene with the edit made (objects are found by seed, so edits apply in any order).
Scene ApplyEdit(const Scene& scene, const Edit& edit);

}  // namespace datagen
