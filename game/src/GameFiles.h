#pragma once

#include <optional>
#include <string>

// Files the game itself handles in its folder (strAppPath): extracted pictures and INI copies.
// Every name is taken relative to the game folder, never to the process's current folder.
namespace varnel {

// The game folder joined with a bare or Windows-style relative name ("packs\a.vnl"), given in
// the game's 8-bit text (Windows-1252) as the engine lists names.
std::string GamePath(const std::string& name);

// The file in the game folder whose name matches without regard to letter case (the name as
// written when it exists); nothing when there is none.
std::optional<std::string> FindGameFile(const std::string& name);

// Deletes a file of the game folder, matched without regard to letter case. False when there
// was none or it could not be deleted; neither is an error worth more than that.
bool DeleteGameFile(const std::string& name);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadGameFile(const std::string& name);

}  // namespace varnel
