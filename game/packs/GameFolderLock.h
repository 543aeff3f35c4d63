// SPDX-License-Identifier: Zlib
#pragma once

#include <filesystem>
#include <string>

// One game per game folder. A running game holds an exclusive lock on its folder (flock on the
// folder itself, so no lock file is ever made); the operating system drops it when the process
// ends, however it ends, so a killed game never blocks the next start.
namespace varnel::packs {

enum class FolderClaim { kClaimed, kInUse, kNoLock };

// Locks the folder for the rest of the process. kInUse when another process holds it (nothing
// is changed then); kNoLock, with the reason in *error, when the folder cannot be opened or the
// file system has no locks: the caller goes on without one.
FolderClaim ClaimGameFolder(const std::filesystem::path& folder, std::string* error);

// The game folder in use that a file written at `path` would change: its folder or that folder's
// parent (a pack in "packs") when a running game holds it. Empty when no game holds either.
std::filesystem::path GameFolderInUse(const std::filesystem::path& path);

}  // namespace varnel::packs
