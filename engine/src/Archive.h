// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

// The archive format: no header and no lengths, only two markers. The file is cut at every split
// marker; a piece holding a here marker is one entry, its stored name before the first here
// marker and its contents up to the next here marker or the end of the piece.
namespace tovak2d::modExtra {

inline constexpr std::string_view kSplitMarker = "`*[S-P-L-I-T]*`!";
inline constexpr std::string_view kHereMarker = "`*[H-E-R-E]*`!";

// One slot of the open archive's index. The contents stay in the archive file; the slot keeps
// where they lie, so opening a large archive does not copy every picture into memory.
struct PakEntry {
  std::string ShortName;  // the key of every look-up; empty marks a free slot
  std::string StoredName;
  uint64_t ContentsStart = 0;
  uint64_t ContentsLength = 0;
};

inline std::string PakPath;             // the open archive; empty while none is open
inline std::vector<PakEntry> PakIndex;  // at least one slot once an archive has been loaded
// The archive file as PakIndex describes it: when the file on disk no longer has this stamp,
// someone else changed it and the positions in the index must be read again. Empty while the
// archive file does not exist.
inline std::optional<platform::files::FileStamp> PakStamp;

// The entries of an archive's bytes by the reading rule; never empty (one free slot when the
// bytes hold no entry).
std::vector<PakEntry> PAK_ParseIndex(std::string_view archive);

// Rebuilds the index from the file at PakPath. A missing file gives an empty index; a file that
// exists but cannot be read gives an empty index, a log line and false.
bool PAK_LoadIndex();

// The first free slot, or one past the last slot when none is free.
size_t PAK_FirstFreeSlot();

// The whole file, read as bytes; nothing when it cannot be read (the reason in *error).
std::optional<std::string> ReadWholeFile(const std::string& path, platform::files::FileStamp* stamp = nullptr,
                                         std::string* error = nullptr);

// The text up to its first NUL character, or all of it.
std::string TextBeforeNull(std::string_view text);

// Whether a short name can serve as a file name inside a folder without reaching out of it: not
// empty, not "." or "..", and free of separators, drive colons, NUL and control characters.
bool IsSafeEntryName(std::string_view shortName);

// Whether data holds either marker, which would cut it short when the archive is read again.
bool HoldsMarker(std::string_view data);

}  // namespace tovak2d::modExtra
