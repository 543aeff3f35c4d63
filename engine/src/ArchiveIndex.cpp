// SPDX-License-Identifier: Zlib
#include <cstring>

#include "Archive.h"
#include "Paths.h"
#include "modExtra.h"
#include "platform/Text.h"

namespace tovak2d::modExtra {
namespace {

// Builds the index while the archive streams past, so that opening never needs the whole file in
// memory. Markers all begin with a backquote: memchr finds every candidate at memory speed and
// only those places are compared. Neither marker can begin inside the other (their inner
// backquotes are followed by '!'), so one pass from left to right finds exactly the markers a
// split at the split marker followed by a split at the here marker would find.
class IndexBuilder {
 public:
  // Takes the next bytes of the archive and returns how many it used: a possible marker cut off
  // by the end of data is left for the next call, which gets it again at its front.
  size_t Feed(std::string_view data, bool atEnd) {
    size_t taken = 0;  // bytes before this are accounted for
    size_t scan = 0;
    while (scan < data.size()) {
      const void* hit = std::memchr(data.data() + scan, '`', data.size() - scan);
      if (!hit) break;
      size_t at = static_cast<size_t>(static_cast<const char*>(hit) - data.data());
      std::string_view rest = data.substr(at);
      bool split = rest.starts_with(kSplitMarker);
      if (!split && !rest.starts_with(kHereMarker)) {
        if (!atEnd && rest.size() < kSplitMarker.size() &&
            (kSplitMarker.starts_with(rest) || kHereMarker.starts_with(rest))) {
          TakeNameBytes(data.substr(taken, at - taken));
          offset_ += at;
          return at;
        }
        scan = at + 1;
        continue;
      }
      TakeNameBytes(data.substr(taken, at - taken));
      if (split)
        OnSplit(offset_ + at);
      else
        OnHere(offset_ + at);
      taken = scan = at + (split ? kSplitMarker : kHereMarker).size();
    }
    TakeNameBytes(data.substr(taken));
    offset_ += data.size();
    return data.size();
  }

  std::vector<PakEntry> Finish() {
    // A file without a single split marker holds no entries, whatever else it contains.
    if (sawSplit_) ClosePiece(offset_);
    bool anyUsed = false;
    for (PakEntry& entry : index_) {
      // A nameless entry can never be looked up; it is a free slot like any other, rather than
      // a reason to hide the entries that follow it.
      if (entry.ShortName.empty()) entry = PakEntry{};
      anyUsed = anyUsed || !entry.ShortName.empty();
    }
    if (!anyUsed) index_.assign(1, PakEntry{});
    return std::move(index_);
  }

 private:
  enum class State { kName, kContents, kAfterContents };

  void TakeNameBytes(std::string_view bytes) {
    if (state_ == State::kName) current_.StoredName.append(bytes);
  }

  void OnSplit(uint64_t at) {
    sawSplit_ = true;
    ClosePiece(at);
  }

  void OnHere(uint64_t at) {
    if (state_ == State::kName) {
      current_.ShortName = paths::ShortNameOf(current_.StoredName);
      current_.ContentsStart = at + kHereMarker.size();
      state_ = State::kContents;
    } else if (state_ == State::kContents) {
      current_.ContentsLength = at - current_.ContentsStart;
      state_ = State::kAfterContents;
    }
  }

  // A piece without a here marker is no entry.
  void ClosePiece(uint64_t end) {
    if (state_ == State::kContents) current_.ContentsLength = end - current_.ContentsStart;
    if (state_ != State::kName) index_.push_back(std::move(current_));
    current_ = PakEntry{};
    state_ = State::kName;
  }

  uint64_t offset_ = 0;  // of the next byte Feed gets
  bool sawSplit_ = false;
  State state_ = State::kName;
  PakEntry current_;
  std::vector<PakEntry> index_;
};

}  // namespace

std::vector<PakEntry> PAK_ParseIndex(std::string_view archive) {
  IndexBuilder builder;
  builder.Feed(archive, true);
  return builder.Finish();
}

bool PAK_LoadIndex() {
  PakIndex.assign(1, PakEntry{});
  PakStamp.reset();
  if (!platform::files::Exists(PakPath)) return true;
  IndexBuilder builder;
  platform::files::FileStamp stamp;
  std::string error;
  auto feed = [&](std::string_view data, bool atEnd) { return builder.Feed(data, atEnd); };
  if (!platform::files::ReadInChunks(PakPath, feed, &stamp, &error)) {
    try {
      WriteLog("PAK - Cannot read the archive : " + PakPath + " (" + Utf8ToCp1252Lossy(error) + ")");
    } catch (const LogError&) {
    }
    return false;
  }
  PakIndex = builder.Finish();
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
  return data.find(kSplitMarker) != std::string_view::npos ||
         data.find(kHereMarker) != std::string_view::npos;
}

}  // namespace tovak2d::modExtra
