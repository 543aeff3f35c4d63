// SPDX-License-Identifier: Zlib
#include "PackDrop.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "DiskSpace.h"
#include "GameFiles.h"
#include "PackCheck.h"
#include "PackList.h"
#include "PackNames.h"
#include "PhotoPackStart.h"
#include "modDeclares.h"
#include "modMain.h"
#include "modRender.h"
#include "tovak2d/CodePage.h"

namespace varnel {
namespace {
namespace fs = std::filesystem;

// The pack check's own files in the game folder while it reads a dropped pack.
constexpr char kCheckPrefix[] = "packdrop_";
// A pack name is kept short enough for its row in the pack lists.
constexpr size_t kMaxNameBytes = 60;
const int32_t kGoodColour = ARGB(255, 150, 255, 150);
const int32_t kBadColour = ARGB(255, 255, 190, 120);

// Drops not yet handled (those made during a level), each drop's paths together.
std::vector<std::vector<std::string>> heldDrops;
std::string notice;
bool noticeGood = false;
// The pack a drop added, shown as the selected pack while the notice stands.
int16_t addedPack = -1;

void Tell(const std::string& text, bool good) {
  // The notice has two lines under the pack list; the log keeps the whole text.
  constexpr size_t kShown = 125;
  notice = text.size() <= kShown ? text : text.substr(0, kShown - 1) + "\x85";
  noticeGood = good;
  if (!good) addedPack = -1;
  oExtra->SaveLog("Drop : " + text);
}

std::string LowerExtension(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

bool IsPhoto(const fs::path& path) {
  const std::string extension = LowerExtension(path);
  return extension == ".jpg" || extension == ".jpeg" || extension == ".png" || extension == ".bmp";
}

// The file name of a path, as the player reads it on the screen (Windows-1252).
std::string Shown(const fs::path& path) {
  return tovak2d::Utf8ToCp1252Lossy(path.filename().string());
}

// The pack's name in the game's code page, fit for a file name of the packs folder: no folder
// separators, control characters or characters other systems refuse, no leading dot (a hidden
// file is never listed), no blanks or dots at the ends, and not too long.
std::string SafePackName(const fs::path& source) {
  std::string name;
  for (const char c : tovak2d::Utf8ToCp1252Lossy(source.stem().string())) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) continue;
    name += std::string_view("/\\:*?\"<>|").find(c) == std::string_view::npos ? c : '_';
  }
  const size_t first = name.find_first_not_of(". ");
  name = first == std::string::npos ? std::string() : name.substr(first);
  if (name.size() > kMaxNameBytes) name.resize(kMaxNameBytes);
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  return name.empty() ? "Dropped pack" : name;
}

// The pack's file name, with " 2", " 3"... when a pack of that name (letter case aside) is there.
std::string FreePackFile(const std::string& name) {
  std::string file = name + ".vnl";
  for (int n = 2; FindGameFile("packs\\" + file); ++n) file = name + " " + std::to_string(n) + ".vnl";
  return file;
}

// Puts the pack file into the catalogue's place and selects it, on the Start Game screen.
void SelectPack(const std::string& file) {
  intScreen = kScreenStartGame;
  const auto at = std::find(PackFiles.begin(), PackFiles.end(), file);
  if (at == PackFiles.end()) return;
  intPackSel = addedPack = static_cast<int16_t>(at - PackFiles.begin());
  if (intPackSel >= intPackScroll + kPackRowsShown)
    intPackScroll = static_cast<int16_t>(intPackSel - kPackRowsShown + 1);
  if (intPackSel < intPackScroll) intPackScroll = intPackSel;
}

// Checks the dropped pack in a copy inside the packs folder (a name the catalogue removes at the
// next start, should the game be stopped meanwhile), and renames the copy when it is playable.
void AddPack(const fs::path& source) {
  std::error_code ec;
  const auto size = fs::file_size(source, ec);
  if (ec || !fs::is_regular_file(source, ec)) {
    Tell(Shown(source) + " cannot be read: nothing was added.", false);
    return;
  }
  const fs::path folder = oExtra->NativePath("packs");
  fs::create_directories(folder, ec);
  if (fs::equivalent(source.parent_path(), folder, ec)) {
    ReReadPacks();
    SelectPack(Shown(source));
    Tell("The pack " + packs::DisplayName(Shown(source)) + " is in the packs folder already.", true);
    return;
  }
  if (DiskTooFull(folder.string(), size)) {
    Tell(FullDiskText(folder.string(), size, "Adding the pack " + Shown(source)), false);
    return;
  }
  const std::string scratch = "Dropped pack.tmp-" + std::to_string(::getpid());
  const fs::path copy = folder / scratch;
  // A refusal names the folder and why, and leaves nothing of the copy.
  const auto refused = [&](const fs::path& file, int error) {
    const std::string why = WriteFailureCause(file.string(), error);
    std::error_code ignored;
    fs::remove(copy, ignored);
    Tell(Shown(source) + " could not be copied into " + tovak2d::Utf8ToCp1252Lossy(folder.string()) + ": " +
             why + ".",
         false);
  };
  if (!fs::copy_file(source, copy, fs::copy_options::overwrite_existing, ec)) {
    refused(copy, ec.value());
    return;
  }
  const packs::PackReport report = packs::CheckPack(*oExtra, "\\packs\\" + scratch, kCheckPrefix, strAppPath);
  if (!report.ok()) {
    fs::remove(copy, ec);
    for (const auto& problem : report.problems) oExtra->SaveLog("Dropped pack refused : " + problem);
    Tell(Shown(source) + " is not a playable pack: " + report.problems.front(), false);
    return;
  }
  const std::string file = FreePackFile(SafePackName(source));
  fs::rename(copy, folder / tovak2d::Cp1252ToUtf8(file), ec);
  if (ec) {
    refused(folder / tovak2d::Cp1252ToUtf8(file), ec.value());
    return;
  }
  oExtra->SaveLog("Pack added from a drop : " + tovak2d::Utf8ToCp1252Lossy(source.string()) + " as packs\\" +
                  file);
  if (!ReReadPacks()) {
    Tell("The pack " + packs::DisplayName(file) + " was added; it is listed at the next start.", true);
    return;
  }
  SelectPack(file);
  Tell("The pack " + packs::DisplayName(file) + " was added and selected.", true);
}

// One drop: pack files are added; one folder, or photos, are made into a pack.
void HandleDrop(const std::vector<std::string>& paths) {
  std::vector<fs::path> packFiles, folders, photos;
  for (const auto& text : paths) {
    const fs::path path(text);
    std::error_code ec;
    if (fs::is_directory(path, ec))
      folders.push_back(path);
    else if (LowerExtension(path) == ".vnl")
      packFiles.push_back(path);
    else if (IsPhoto(path))
      photos.push_back(path);
  }
  intScreen = kScreenStartGame;
  if (!packFiles.empty()) {
    for (const auto& pack : packFiles) AddPack(pack);
  } else if (folders.size() == 1 && photos.empty()) {
    notice.clear();
    StartPhotoPack({folders.front().string()});
  } else if (folders.empty() && photos.size() >= 2) {
    notice.clear();
    std::vector<std::string> files;
    for (const auto& photo : photos) files.push_back(photo.string());
    StartPhotoPack(files);
  } else if (paths.size() == 1 && photos.size() == 1) {
    Tell("One photo makes no pack: drop several photos, or a folder of them.", false);
  } else {
    Tell("Drop a pack file (.vnl), a folder of photos, or several photos: " +
             (paths.size() == 1 ? Shown(paths.front()) + " is none of them." : "this mix is not used."),
         false);
  }
}

}  // namespace

void HandleDrops() {
  std::vector<std::string> paths = oEngine->TakeDroppedFiles();
  const bool onMenu = intScreen >= kScreenStartGame && intScreen <= kScreenCredits;
  if (!paths.empty()) {
    if (!onMenu)
      oExtra->SaveLog("Drop kept until the game is over : " + std::to_string(paths.size()) + " file(s)");
    heldDrops.push_back(std::move(paths));
  }
  if (intScreen != kScreenStartGame) {
    notice.clear();
    addedPack = -1;
  }
  if (!onMenu) return;
  for (const auto& drop : std::exchange(heldDrops, {})) HandleDrop(drop);
}

void DrawDropNotice() {
  // The pack list shows a pack's details while the mouse is over its row; elsewhere, the added one's.
  constexpr float kListX = 360, kListY = 175, kListWidth = 305, kRowStep = 20;
  if (addedPack >= 0 && static_cast<size_t>(addedPack) < PackFiles.size() &&
      !IsMouseOver(kListX, kListY, kListWidth, kRowStep * kPackRowsShown)) {
    intPackSel = addedPack;
    DrawPackInfo();
  }
  if (!notice.empty())
    oEngine->DrawFont("small", 280, 440, 420, 30, notice, noticeGood ? kGoodColour : kBadColour, 5);
}

}  // namespace varnel
