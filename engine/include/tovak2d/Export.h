// SPDX-License-Identifier: Zlib
#pragma once

/// @file
/// The export marker of the engine's classes and functions.

#if defined(TOVAK2D_BUILDING_LIBRARY)
#define TOVAK2D_API __attribute__((visibility("default")))
#else
/// Marks a class or function that the engine library exports. Empty in a game's build; while the
/// library itself is built it makes the symbol visible, every other one staying hidden.
#define TOVAK2D_API
#endif
