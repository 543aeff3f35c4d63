#include <cstring>

#include "Archive.h"
#include "Paths.h"
#include "Text.h"
#include "modExtra.h"

namespace tovak2d::modExtra {
namespace {

enum class Marker { kNone, kSplit, kHere };

struct MarkerHit {
  Marker kind = Marker::kNone;
  size_t at = 0;
};

// Both markers begin with a backquote, so memchr finds every candidate at memory speed and only
// those few places are compared. Neither marker can begin inside the other (their inner
// backquotes are followed by '!'), so one pass from left to right finds exactly the markers a
// split at the split marker followed by a split at the here marker would find.
MarkerHit NextMarker(std::string_view data, size_t from) {
  const char* base = data.data();
  while (from < data.size()) {
    const void* hit = std::memchr(base + from, '`', data.size() - from);
    if (!hit) break;
    size_t at = static_cast<size_t>(static_cast<const char*>(hit) - base);
    std::string_view rest = data.substr(at);
    if (rest.starts_with(kSplitMarker)) return {Marker::kSplit, at};
    if (rest.starts_with(kHereMarker)) return {Marker::kHere, at};
    from = at + 1;
  }
  return {};
}

constexpr size_t kNone = std::string_view::npos;

// The entry of one piece [start, end) given its first and second here markers (kNone: none).
PakEntry EntryOfPiece(std::string_view archive, size_t start, size_t end, size_t firstHere,
                      size_t secondHere) {
  PakEntry entry;
  entry.StoredName = std::string(archive.substr(start, firstHere - start));
  entry.ShortName = paths::ShortNameOf(entry.StoredName);
  entry.ContentsStart = firstHere + kHereMarker.size();
  entry.ContentsLength = (secondHere == kNone ? end : secondHere) - entry.ContentsStart;
  // A nameless entry can never be looked up; it is a free slot like any other, rather than a
  // reason to hide the entries that follow it.
  if (entry.ShortName.empty()) entry = PakEntry{};
  return entry;
}

}  // namespace

std::vector<PakEntry> PAK_ParseIndex(std::string_view archive) {
  std::vector<PakEntry> index;
  bool sawSplit = false;
  size_t pieceStart = 0;
  size_t firstHere = kNone, secondHere = kNone;

  auto closePiece = [&](size_t pieceEnd) {
    if (firstHere != kNone)
      index.push_back(EntryOfPiece(archive, pieceStart, pieceEnd, firstHere, secondHere));
    firstHere = secondHere = kNone;
  };

  for (MarkerHit hit = NextMarker(archive, 0); hit.kind != Marker::kNone;) {
    if (hit.kind == Marker::kSplit) {
      sawSplit = true;
      closePiece(hit.at);
      pieceStart = hit.at + kSplitMarker.size();
      hit = NextMarker(archive, pieceStart);
    } else {
      if (firstHere == kNone)
        firstHere = hit.at;
      else if (secondHere == kNone)
        secondHere = hit.at;
      hit = NextMarker(archive, hit.at + kHereMarker.size());
    }
  }
  // A file without a single split marker holds no entries, whatever else it contains.
  if (sawSplit) closePiece(archive.size());

  bool anyUsed = false;
  for (const PakEntry& entry : index) anyUsed = anyUsed || !entry.ShortName.empty();
  if (!anyUsed) index.assign(1, PakEntry{});
  return index;
}

bool PAK_LoadIndex() {
  PakIndex.assign(1, PakEntry{});
  PakStamp.reset();
  if (!platform::files::Exists(PakPath)) return true;
  platform::files::FileStamp stamp;
  std::string error;
  std::optional<std::string> archive = ReadWholeFile(PakPath, &stamp, &error);
  if (!archive) {
    try {
      WriteLog("PAK - Cannot read the archive : " + PakPath + " (" + text::Utf8ToCp1252(error) + ")");
    } catch (const LogError&) {
    }
    return false;
  }
  PakIndex = PAK_ParseIndex(*archive);
  PakStamp = stamp;
  return true;
}

size_t PAK_FirstFreeSlot() {
  for (size_t i = 0; i < PakIndex.size(); ++i)
    if (PakIndex[i].ShortName.empty()) return i;
  return PakIndex.size();
}

std::optional<std::string> ReadWholeFile(const std::string& path, platform::files::FileStamp* stamp,
                                         std::string* error) {
  return platform::files::ReadWhole(path, error, stamp);
}

std::string TextBeforeNull(std::string_view text) {
  size_t nul = text.find('\0');
  return std::string(nul == std::string_view::npos ? text : text.substr(0, nul));
}

bool IsSafeEntryName(std::string_view shortName) {
  std::string trimmed = text::Trim(shortName);
  // Dots and blanks alone name the folder itself or its parent.
  if (trimmed.find_first_not_of(". ") == std::string::npos) return false;
  for (char c : shortName) {
    auto byte = static_cast<unsigned char>(c);
    // ':' would make the name a drive path, taken from the root instead of the folder.
    if (byte < 0x20 || c == '/' || c == '\\' || c == ':') return false;
  }
  return true;
}

bool HoldsMarker(std::string_view data) {
  return NextMarker(data, 0).kind != Marker::kNone;
}

}  // namespace tovak2d::modExtra
