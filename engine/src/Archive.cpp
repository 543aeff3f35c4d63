// SPDX-License-Identifier: Zlib
#include "Archive.h"

#include <algorithm>
#include <limits>

#include "Paths.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "tovak2d/ArchiveLookup.h"
#include "tovak2d/Extra.h"

namespace tovak2d {
namespace {

using modExtra::PakEntry;
using modExtra::PakIndex;
using modExtra::PakPath;
using modExtra::PakStamp;
namespace files = platform::files;

// Archive trouble is worth a log line but never worth stopping the game over a full disk.
void PakLog(const std::string& line) {
  try {
    modExtra::WriteLog(line);
  } catch (const modExtra::LogError&) {
  }
}

// Names from a hostile archive may hold NUL or line breaks; the log gets them readable.
std::string Printable(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  return out;
}

std::string Reason(const std::string& error) {
  return " (" + Utf8ToCp1252Lossy(error) + ")";
}

// A name with a drive letter is looked up by its short name.
std::string LookupName(const std::string& name) {
  return name.size() >= 2 && name[1] == ':' ? paths::ShortNameOf(name) : name;
}

bool FileFound(const std::string& name) {
  try {
    return modExtra::CheckFile(name);
  } catch (const modExtra::LogError&) {
    return false;  // CheckFile only writes to the log for a missing file
  }
}

// The index holds positions in the archive file, so it must describe the file as it is now:
// when someone else changed the archive since it was indexed, it is read again. False when the
// archive exists but cannot be read (logged).
bool IndexIsCurrent() {
  if (files::StampOf(PakPath) == PakStamp) return true;
  PakLog("PAK - The archive changed on disk and is read again : " + PakPath);
  return modExtra::PAK_LoadIndex();
}

std::optional<std::string> ReadContents(const PakEntry& entry, std::string* error) {
  return files::ReadRange(PakPath, entry.ContentsStart, entry.ContentsLength, PakStamp ? &*PakStamp : nullptr,
                          error);
}

// Makes path the open archive when it can be read; otherwise the previous one stays open.
// The stamp of the archive as its index was last read from it by OpenArchive.
std::optional<files::FileStamp> stampWhenOpened;

bool OpenArchive(const std::string& path) {
  // The archive open now, perhaps under another spelling of its path, unchanged since it was
  // indexed (same device, inode, size and change time) and not changed through the index since:
  // reading it again would give the same index.
  if (!PakPath.empty() && PakStamp && PakStamp == stampWhenOpened && files::StampOf(path) == PakStamp) {
    PakPath = path;
    return true;
  }
  std::string previousPath = PakPath;
  std::vector<PakEntry> previousIndex = std::move(PakIndex);
  std::optional<files::FileStamp> previousStamp = PakStamp;
  PakPath = path;
  if (modExtra::PAK_LoadIndex()) {
    stampWhenOpened = PakStamp;
    return true;
  }
  PakPath = std::move(previousPath);
  PakIndex = std::move(previousIndex);
  PakStamp = previousStamp;
  return false;
}

// The first used slot whose short name, blanks around it removed, is name without regard to case:
// the entry PAK_ExtractFile takes. Null when there is none or the archive cannot be read.
const PakEntry* FindForExtraction(const std::string& name) {
  if (!IndexIsCurrent()) return nullptr;
  for (const PakEntry& entry : PakIndex) {
    if (entry.ShortName.empty()) continue;
    std::string_view shortName = entry.ShortName;
    while (!shortName.empty() && (shortName.front() == ' ' || shortName.front() == '\t'))
      shortName.remove_prefix(1);
    while (!shortName.empty() && (shortName.back() == ' ' || shortName.back() == '\t'))
      shortName.remove_suffix(1);
    if (text::EqualsNoCase(shortName, name)) return &entry;
  }
  return nullptr;
}

}  // namespace

bool Extra::PAK_OpenPAK(const std::string& FileName, bool ShowDialog, const std::string& Title,
                        const std::string& DialogOpenFolder) {
  if (!ShowDialog) {
    if (!FileFound(FileName)) return false;
    return OpenArchive(paths::Resolve(FileName));
  }
  std::string folder = DialogOpenFolder;
  std::string chosen = text::Trim(modExtra::TextBeforeNull(ShowOpenDialog(Title, folder)));
  if (chosen.empty() || !FileFound(chosen)) return false;
  return OpenArchive(chosen);
}

bool Extra::PAK_AddFile(const std::string& FileName, std::string& FileRename, bool ErrorReportMsgBox) {
  if (PakPath.empty()) return false;
  if (FileRename.empty()) FileRename = FileName;
  if (!IndexIsCurrent()) return false;

  std::string shortName = paths::ShortNameOf(FileRename);
  for (const PakEntry& entry : PakIndex) {
    if (entry.ShortName.empty() || !text::EqualsNoCase(entry.ShortName, shortName)) continue;
    if (ErrorReportMsgBox)
      platform::dialogs::ShowMessage("File already exists : " + paths::ShortNameOf(FileName), "Error!");
    return false;
  }
  // A name that could not be extracted safely, or that would cut the archive apart, is refused.
  if (!modExtra::IsSafeEntryName(shortName) || modExtra::HoldsMarker(FileRename)) {
    PakLog("PAK - Cannot store a file under the name : " + Printable(FileRename));
    return false;
  }

  std::string source = paths::Resolve(FileName);
  std::string error;
  std::optional<std::string> contents = files::ReadWhole(source, &error);
  if (!contents) {
    PakLog("PAK - Cannot read the file to add : " + source + Reason(error));
    return false;
  }
  // Such contents would load cut short at the marker: better refused than stored broken.
  if (modExtra::HoldsMarker(*contents)) {
    PakLog("PAK - The file holds an archive marker and cannot be stored : " + source);
    return false;
  }

  std::string record;
  record.reserve(modExtra::kSplitMarker.size() + FileRename.size() + modExtra::kHereMarker.size() +
                 contents->size());
  record.append(modExtra::kSplitMarker).append(FileRename).append(modExtra::kHereMarker).append(*contents);
  if (!files::Append(PakPath, record, &error)) {
    PakLog("PAK - Cannot write to the archive : " + PakPath + Reason(error));
    return false;
  }

  PakEntry added;
  added.ShortName = shortName;
  added.StoredName = FileRename;
  added.ContentsStart = (PakStamp ? PakStamp->size : 0) + record.size() - contents->size();
  added.ContentsLength = contents->size();
  PakStamp = files::StampOf(PakPath);
  size_t slot = modExtra::PAK_FirstFreeSlot();
  if (slot == PakIndex.size()) PakIndex.emplace_back();
  PakIndex[slot] = std::move(added);
  return true;
}

bool Extra::PAK_AddFile(const std::string& FileName) {
  std::string rename;
  return PAK_AddFile(FileName, rename);
}

bool Extra::PAK_ExtractFile(const std::string& FileName_inPAK, const std::string& DifferentFileName,
                            bool NotifyResult) {
  if (PakPath.empty()) return false;
  std::string name = LookupName(FileName_inPAK);
  std::string target = DifferentFileName.empty() ? name : DifferentFileName;
  auto fail = [&] {
    if (NotifyResult) platform::dialogs::ShowMessage("Error: " + target, "File Extraction");
    return false;
  };

  // Stored names may carry blanks around them; the name asked for is taken as it is.
  const PakEntry* found = FindForExtraction(name);
  if (!found) return fail();
  // Under its own name an entry lands in the application folder; a name like "..\x" or "/etc/x"
  // would land elsewhere. A different name is the caller's own choice.
  if (DifferentFileName.empty() && !modExtra::IsSafeEntryName(name)) {
    PakLog("PAK - Entry not extracted, its name leads out of the folder : " + Printable(found->StoredName));
    return fail();
  }

  std::string error;
  std::string resolved = paths::Resolve(target);
  std::optional<std::string> contents = ReadContents(*found, &error);
  if (!contents || !files::WriteWhole(resolved, *contents, &error)) {
    PakLog("PAK - Error extracting file : " + Printable(found->StoredName) + " to " + resolved +
           Reason(error));
    return fail();
  }
  if (NotifyResult) platform::dialogs::ShowMessage("Done!", "File Extraction");
  return true;
}

bool Extra::PAK_ExtractAll(const std::string& FilesPath) {
  if (PakPath.empty()) return false;
  std::string folder = FilesPath;
  if (!folder.empty() && folder.front() == '\\') folder = modExtra::AppPath + folder;
  folder = paths::Resolve(folder);
  if (folder.back() != '\\') folder += '\\';
  paths::MakeFolder(folder);
  if (!IndexIsCurrent()) return false;

  // One listing of the folder serves every entry: a fresh one for each would make extracting a
  // pack of thousands of entries take minutes.
  files::FolderWriter writer(folder);
  bool allWritten = true;
  for (const PakEntry& entry : PakIndex) {
    if (entry.ShortName.empty()) continue;
    if (!modExtra::IsSafeEntryName(entry.ShortName)) {
      PakLog("PAK - Entry skipped, its name leads out of the folder : " + Printable(entry.StoredName));
      allWritten = false;
      continue;
    }
    std::string error;
    std::optional<std::string> contents = ReadContents(entry, &error);
    if (!contents || !writer.WriteWhole(entry.ShortName, *contents, &error)) {
      PakLog("PAK - Error Extracting All files : " + folder + " '&' " + entry.ShortName + Reason(error));
      return false;
    }
  }
  return allWritten;
}

bool Extra::PAK_DeleteFile(const std::string& FileName) {
  if (PakPath.empty()) return false;
  std::string name = LookupName(FileName);

  files::FileStamp stamp;
  std::string error;
  std::optional<std::string> archive = modExtra::ReadWholeFile(PakPath, &stamp, &error);
  if (!archive) {
    PakLog("PAK - Cannot delete from the archive, it cannot be read : " + PakPath + Reason(error));
    return false;
  }
  if (PakStamp != stamp) {
    PakLog("PAK - The archive changed on disk and is read again : " + PakPath);
    PakIndex = modExtra::PAK_ParseIndex(*archive);
    PakStamp = stamp;
  }

  std::vector<PakEntry> remaining = PakIndex;
  for (PakEntry& entry : remaining) {
    if (!entry.ShortName.empty() && text::EqualsNoCase(entry.ShortName, name)) {
      entry = PakEntry{};
      break;
    }
  }
  std::string rewritten;
  rewritten.reserve(archive->size());
  for (PakEntry& entry : remaining) {
    if (entry.ShortName.empty()) continue;
    rewritten.append(entry.StoredName).append(modExtra::kHereMarker);
    uint64_t start = rewritten.size();
    rewritten.append(*archive, static_cast<size_t>(entry.ContentsStart),
                     static_cast<size_t>(entry.ContentsLength));
    rewritten.append(modExtra::kSplitMarker);
    entry.ContentsStart = start;
  }
  // The new archive is written beside the old one and renamed over it: a crash or a full disk
  // leaves the old archive whole instead of none at all.
  if (!files::ReplaceWhole(PakPath, rewritten, &error)) {
    PakLog("PAK - Cannot rewrite the archive : " + PakPath + Reason(error));
    return false;
  }
  PakIndex = std::move(remaining);
  PakStamp = files::StampOf(PakPath);
  return true;
}

bool Extra::PAK_ReplaceEntry(const std::string& ArchiveName, const std::string& FileName,
                             const std::string& EntryName, const std::string& CopySuffix, std::string& Why) {
  Why.clear();
  const bool replaced = files::ReplaceThroughCopy(
      paths::Resolve(ArchiveName), CopySuffix,
      [&] {
        std::string stored = EntryName;
        return PAK_OpenPAK(ArchiveName + CopySuffix, false, "Open File", "") && PAK_DeleteFile(EntryName) &&
               PAK_AddFile(FileName, stored, false);
      },
      &Why);
  PAK_OpenPAK(ArchiveName, false, "Open File", "");
  return replaced;
}

int16_t Extra::PAK_FileCount() {
  if (PakPath.empty()) return 0;
  size_t used = 0;
  for (const PakEntry& entry : PakIndex) used += entry.ShortName.empty() ? 0 : 1;
  return static_cast<int16_t>(std::min<size_t>(used, std::numeric_limits<int16_t>::max()));
}

bool PAK_HoldsEntry(const std::string& FileName_inPAK) {
  if (PakPath.empty()) return false;
  const PakEntry* found = FindForExtraction(LookupName(FileName_inPAK));
  return found && PakStamp && found->ContentsStart + found->ContentsLength <= PakStamp->size;
}

}  // namespace tovak2d
