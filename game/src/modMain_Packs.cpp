// SPDX-License-Identifier: Zlib
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "DiskSpace.h"
#include "GameFiles.h"
#include "PackCheck.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"
#include "tovak2d/ArchiveLookup.h"

namespace varnel {
namespace {

// A pack is rewritten in a copy under this suffix, which is renamed over the pack when whole.
constexpr char kSavingSuffix[] = ".saving";
// The pack check's own files in the game folder while it reads a pack.
constexpr char kCheckPrefix[] = "packcheck_";

// Each catalogued pack's table as it was taken out of the pack (nothing when the pack had none),
// and after each save as it was put back: a pack is rewritten only when its table changed.
std::vector<std::optional<std::string>> savedTables;

std::string PackInfoCopy(size_t index) {
  return std::to_string(index) + "packinfo.ini";
}
std::string TableCopy(size_t index) {
  return std::to_string(index) + "hscore.ini";
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A copy of a pack that a save in progress left behind when the program was stopped: the pack
// itself is whole beside it (the rename never happened), so the copy is of no use. A file with
// that ending but no pack of its name beside it is someone's own and stays.
std::vector<std::string> WithoutUnfinishedSaves(std::vector<std::string> names) {
  const std::set<std::string> all(names.begin(), names.end());
  std::erase_if(names, [&](const std::string& name) {
    if (!EndsWith(name, kSavingSuffix)) return false;
    if (!all.contains(name.substr(0, name.size() - std::strlen(kSavingSuffix)))) return false;
    DeleteGameFile("packs\\" + name);
    return true;
  });
  return names;
}

// The engine replaces a file by writing "<name>.tmp-<process id>" beside it and renaming that over
// the file. A process stopped in between leaves the unfinished copy behind; the file it was to
// replace is whole, so the copy is of no use, and in the packs folder it would pass for a pack.
// A pack made from photos is written under such a name too, by varnel-pack as "<name>.part" first.
bool IsUnfinishedReplacement(std::string name) {
  if (EndsWith(name, ".part")) name.resize(name.size() - 5);
  constexpr char kMark[] = ".tmp-";
  const size_t mark = name.rfind(kMark);
  if (mark == std::string::npos || mark == 0) return false;
  const size_t digits = mark + std::strlen(kMark);
  return digits < name.size() && name.find_first_not_of("0123456789", digits) == std::string::npos;
}

// The plain files of a folder of the game folder, by the engine's listing (which gives an empty
// folder as one empty name).
std::vector<std::string> FilesOf(const std::string& folder) {
  std::vector<std::string> names = oExtra->FilesInFolder(folder, false, true);
  std::erase(names, std::string());
  return names;
}

// Unfinished replacements in the folders the game writes into: the game folder, "game data"
// (options) and "packs" (tables written into packs).
void RemoveUnfinishedReplacements() {
  for (const std::string part : {"", "game data", "packs"}) {
    for (const std::string& name : FilesOf(part)) {
      if (!IsUnfinishedReplacement(name)) continue;
      const std::string file = part.empty() ? name : part + "\\" + name;
      const std::string path = oExtra->NativePath(file);
      if (DeleteGameFile(file))
        oExtra->SaveLog("Removed an unfinished save left by a program that was stopped : " + path);
    }
  }
}

// Catalogue copies beyond the packs listed now (a run that was stopped, or packs removed since)
// belong to no pack. The copies of listed packs are written over as each pack is catalogued.
void RemoveCopiesFrom(size_t count) {
  for (const std::string& name : FilesOf("")) {
    const size_t digits = name.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string::npos || digits > 9) continue;
    const std::string rest = name.substr(digits);
    if ((rest == "packinfo.ini" || rest == "hscore.ini") && std::stoul(name.substr(0, digits)) >= count)
      DeleteGameFile(name);
  }
}

// Takes the entry out of the open pack as the catalogue copy; a pack without the entry must not
// keep an older copy of that name. False when the pack holds the entry but the copy could not be
// written (a full disk, a failing write).
bool ExtractCopy(const std::string& entry, const std::string& copy) {
  if (oExtra->PAK_ExtractFile(entry, copy, false)) return true;
  DeleteGameFile(copy);
  return !tovak2d::PAK_HoldsEntry(entry);
}

// Writes the table copy into the pack through a copy beside it, renamed over the pack when whole:
// whenever the program stops, the pack is either the old one or the new one, whole.
bool WriteTableIntoPack(size_t index) {
  const std::string& packName = PackFiles[index];
  // The cause, when it is not already in the archive's own log line.
  std::string why;
  if (oExtra->PAK_ReplaceEntry("\\packs\\" + packName, TableCopy(index), "hscore.ini", kSavingSuffix, why))
    return true;
  oExtra->SaveLog("Error in SavePackScore : the high scores could not be written into pack " + packName +
                  (why.empty() ? "" : " (" + why + ")"));
  return false;
}

// A pack that would stop the game half-way (a level without pictures, a rectangle that is no
// number, a level count outside the level table) is never listed, so never played nor written;
// the log says once which file it is and why, and the pack lists name it with its first problem.
bool PackIsPlayable(const std::string& name) {
  const packs::PackReport report =
      packs::CheckPack(*oExtra, "\\packs\\" + name, kCheckPrefix, strAppPath, true);
  if (report.ok()) return true;
  constexpr size_t kProblemsNamed = 3;
  std::string why;
  for (size_t i = 0; i < report.problems.size() && i < kProblemsNamed; ++i)
    why += (i ? "; " : "") + report.problems[i];
  if (report.problems.size() > kProblemsNamed)
    why += "; and " + std::to_string(report.problems.size() - kProblemsNamed) + " more";
  oExtra->SaveLog("Pack left out : packs\\" + name + " : " + why);
  PacksLeftOut.push_back({name, report.problems.front()});
  return false;
}

}  // namespace

void ScanPacks() {
  oEngine->Draw(texLogo, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600);
  oEngine->DrawText(texFontDefault, "LOADING", 5, 5, 1, 0, 100, 255, 255, 255);
  oEngine->RenderAll();

  RemoveUnfinishedReplacements();
  std::vector<std::string> names = WithoutUnfinishedSaves(FilesOf("packs"));

  PackFiles.clear();
  PacksLeftOut.clear();
  ForgetPendingScores();
  savedTables.clear();
  for (const auto& name : names) {
    if (!PackIsPlayable(name)) continue;
    const size_t index = PackFiles.size();
    oExtra->PAK_OpenPAK("/packs/" + name, false, "Open File", "");
    // Without its copies the pack would be played against an empty table, whose first score
    // would then replace the stored ones: such a pack is left out of this run instead.
    if (!ExtractCopy("packinfo.ini", PackInfoCopy(index)) || !ExtractCopy("hscore.ini", TableCopy(index))) {
      DeleteGameFile(PackInfoCopy(index));
      DeleteGameFile(TableCopy(index));
      oExtra->SaveLog("Pack left out : packs\\" + name +
                      " : its settings and high scores could not be copied (" +
                      WriteFailureCause(oExtra->NativePath(TableCopy(index))) + ")");
      PacksLeftOut.push_back({name, "its high scores could not be copied"});
      continue;
    }
    PackFiles.push_back(name);
    savedTables.push_back(ReadGameFile(TableCopy(index)));
  }
  packs::RemoveScratch(kCheckPrefix, strAppPath);
  RemoveCopiesFrom(PackFiles.size());
  intPackScroll = 0;
}

bool SavePackScore(int16_t index) {
  if (index < 0 || static_cast<size_t>(index) >= PackFiles.size() || savedTables.size() != PackFiles.size())
    return false;
  const auto table = ReadGameFile(TableCopy(static_cast<size_t>(index)));
  if (!table) {
    oExtra->SaveLog("SavePackScore : no high-score copy " + TableCopy(static_cast<size_t>(index)) +
                    " for pack " + PackFiles[static_cast<size_t>(index)]);
    return false;
  }
  if (table == savedTables[static_cast<size_t>(index)]) return true;
  // Looking at the High Scores of a pack without a table makes an empty one; no need to store it.
  if (!savedTables[static_cast<size_t>(index)] &&
      oExtra->INIRead("scores", "1_score", TableCopy(static_cast<size_t>(index)), false).empty())
    return true;
  if (!WriteTableIntoPack(static_cast<size_t>(index))) return false;
  savedTables[static_cast<size_t>(index)] = table;
  return true;
}

bool ReReadPacks() {
  // Every table goes back into its pack first: the new catalogue is made from the packs.
  if (!StorePendingScores()) return false;
  for (int16_t pack = 0; static_cast<size_t>(pack) < PackFiles.size(); ++pack)
    if (!SavePackScore(pack)) return false;
  ScanPacks();
  return true;
}

void SavePackScores() {
  StorePendingScores();
  const auto bound = static_cast<int16_t>(PackFiles.size()) - 1;
  for (int16_t pack = 0; pack <= bound; ++pack) {
    DeleteGameFile(PackInfoCopy(static_cast<size_t>(pack)));
    // A copy that is gone (deleted by hand) is skipped; an unchanged table leaves its pack alone.
    if (FindGameFile(TableCopy(static_cast<size_t>(pack)))) SavePackScore(pack);
    DeleteGameFile(TableCopy(static_cast<size_t>(pack)));
  }
  DeleteGameFile("picinfo.ini");
}

}  // namespace varnel
