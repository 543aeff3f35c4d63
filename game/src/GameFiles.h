// SPDX-License-Identifier: Zlib
#pragma once

#include <optional>
#include <string>

// Files the game itself handles in its folder: extracted pictures and INI copies. Every name is
// given as the engine takes it (relative to the game folder, Windows style, Windows-1252) and
// found by the engine's own rule (Extra::NativePath), letter case aside.
namespace varnel {

// The path of the plain file the name leads to; nothing when there is none.
std::optional<std::string> FindGameFile(const std::string& name);

// Deletes a file of the game folder. False when there was none or it could not be deleted;
// neither is an error worth more than that.
bool DeleteGameFile(const std::string& name);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadGameFile(const std::string& name);

}  // namespace varnel
