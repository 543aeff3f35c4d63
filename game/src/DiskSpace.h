// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the player is told when the disk refuses the game's files: which disk, and how much room
// the work needs there.
namespace varnel {

// The folder the file system holding `path` is mounted at ("/" when it cannot be told).
std::string DiskOf(const std::string& path);

// Bytes this user may still write on the disk holding `path`; nothing when it cannot be asked.
std::optional<uint64_t> FreeSpaceOf(const std::string& path);

// "820 KB", "4.2 MB": a size as the player reads it.
std::string SizeText(uint64_t bytes);

// Whether `needed` bytes would not fit on the disk holding `path` now.
bool DiskTooFull(const std::string& path, uint64_t needed);

// "The disk /mnt holding /mnt/varnel is full: <work> needs 4.2 MB free there and 120 KB are free."
std::string FullDiskText(const std::string& path, uint64_t needed, const std::string& work);

// Why a write of `file` failed, in the player's words: "the disk / is full", "the disk /mnt is
// read-only", "the file is read-only", "the folder is read-only", or "the disk refused it". The
// error the write met (an errno value) decides when it is known; else the disk and the modes are
// looked at.
std::string WriteFailureCause(const std::string& file, int error = 0);

// The first error of a refused write (no space, a read-only disk, no permission) that a program's
// message names in the system's words; 0 when it names none.
int WriteErrorNamedIn(const std::string& message);

}  // namespace varnel
