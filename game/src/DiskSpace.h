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

// Why a write of `file` most likely failed, in the player's words: "the disk / is full", "the
// file is read-only", "the folder is read-only", or "the disk refused it".
std::string WriteFailureCause(const std::string& file);

}  // namespace varnel
