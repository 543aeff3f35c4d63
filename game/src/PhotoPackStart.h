// SPDX-License-Identifier: Zlib
#pragma once

#include <string>
#include <vector>

namespace varnel {

// Starts making a pack from photos: Paths is one folder, or several photo files. The Start Game
// screen calls it after the folder chooser; a drop of a folder or of photos on the window calls it too.
void StartPhotoPack(const std::vector<std::string>& Paths);

}  // namespace varnel
