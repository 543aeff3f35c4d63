// SPDX-License-Identifier: Zlib
#pragma once

#include <numbers>

namespace datagen {

// Half a turn, for angles in radians and waves in time.
inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2 * kPi;

}  // namespace datagen
