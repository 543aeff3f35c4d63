// SPDX-License-Identifier: Zlib
#pragma once

#include <string>

namespace varnel {

// Implemented by modKeys.cpp.

// Applies one key of the name entry to the player's name.
void AddNameChar(const std::string& c);

}  // namespace varnel
