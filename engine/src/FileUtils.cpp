// SPDX-License-Identifier: Zlib
#include <algorithm>

#include "Paths.h"
#include "modExtra.h"
#include "platform/Files.h"
#include "platform/FolderChooser.h"
#include "platform/Net.h"
#include "platform/System.h"
#include "platform/Text.h"
#include "tovak2d/Extra.h"

namespace tovak2d {
namespace {

// Windows lists a folder in name order, letter case aside; players expect the same here.
void SortNames(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string la = text::ToLower(a), lb = text::ToLower(b);
    return la != lb ? la < lb : a < b;
  });
}

template <typename T>
void AddItem(std::vector<T>& array, const T& value, const T& emptyValue) {
  if (array.empty() || array[0] == emptyValue) {
    array.assign(1, value);
    return;
  }
  array.push_back(value);
}

// A path the dialog returns, written as the engine writes full paths: a drive letter and backslashes.
std::string AsEnginePath(const std::string& nativePath) {
  std::string path = Utf8ToCp1252Lossy(nativePath);
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

}  // namespace

std::vector<std::string> Extra::FilesInFolder(const std::string& sFolderPath, bool bWithSubFolders,
                                              bool bStripPath) {
  std::string folder = sFolderPath;
  if (!folder.empty()) {
    if (folder.front() == '\\') folder.erase(0, 1);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  }
  if (!paths::IsRooted(folder)) folder = modExtra::AppPath + "\\" + folder;
  if (folder.back() != '\\') folder += '\\';

  std::vector<std::string> result{""};
  std::vector<std::string> names = platform::files::ListFiles(folder);
  SortNames(names);
  for (const auto& name : names) AddItem2Array1D(result, folder + name);

  if (bWithSubFolders) {
    std::vector<std::string> folders = platform::files::ListFolders(folder);
    SortNames(folders);
    for (const auto& sub : folders)
      for (const auto& entry : FilesInFolder(folder + sub, true, true))
        if (!entry.empty()) AddItem2Array1D(result, entry);
  }
  if (bStripPath)
    for (auto& entry : result) entry = paths::ShortNameOf(entry);
  return result;
}

void Extra::AddItem2Array1D(std::vector<std::string>& VarArray, const std::string& VarValue) {
  AddItem<std::string>(VarArray, VarValue, "");
}

void Extra::AddItem2Array1D(std::vector<double>& VarArray, double VarValue) {
  AddItem<double>(VarArray, VarValue, 0.0);
}

void Extra::AddItem2Array1D(std::vector<bool>& VarArray, bool VarValue) {
  if (VarArray.empty() || !VarArray[0]) {
    VarArray.assign(1, VarValue);
    return;
  }
  VarArray.push_back(VarValue);
}

std::string Extra::GetFileExt(const std::string& FileName) {
  return paths::ExtOfName(FileName);
}

std::string Extra::GetFileShortName(const std::string& FilePathName) {
  return paths::ShortNameOf(FilePathName);
}

std::string Extra::ShowOpenDialog(const std::string& Title, std::string& openFolder) {
  if (!paths::IsRooted(openFolder)) openFolder = modExtra::AppPath + "\\" + openFolder;
  auto chosen =
      platform::system::OpenFileDialog(Cp1252ToUtf8(Title), platform::files::ToNative(openFolder).string());
  return chosen ? text::Trim(AsEnginePath(*chosen)) : std::string();
}

std::string Extra::ShowOpenDialog(const std::string& Title) {
  std::string folder;
  return ShowOpenDialog(Title, folder);
}

bool Extra::ChooseFolder_Open(const std::string& Title) {
  return platform::folders::Open(Cp1252ToUtf8(Title));
}

FolderChoice Extra::ChooseFolder_Poll(std::string& Folder) {
  switch (platform::folders::Poll(Folder)) {
    case platform::folders::State::kOpen:
      return FolderChoice::kOpen;
    case platform::folders::State::kChosen:
      return FolderChoice::kChosen;
    case platform::folders::State::kCancelled:
      return FolderChoice::kCancelled;
    default:
      return FolderChoice::kNone;
  }
}

void Extra::ChooseFolder_Close() {
  platform::folders::Close();
}

void Extra::SaveLog(const std::string& vText, const std::string& logFile) {
  // A log line that cannot be written must not take the game down with it.
  try {
    modExtra::WriteLog(vText, logFile);
  } catch (const modExtra::LogError&) {
  }
}

bool Extra::FileExists(const std::string& FilePath) {
  try {
    return modExtra::CheckFile(FilePath);
  } catch (const modExtra::LogError&) {
    return false;
  }
}

std::string Extra::NativePath(const std::string& FileName) {
  std::string native = platform::files::ToNative(paths::Resolve(FileName)).string();
  // A name given with a leading backslash would show as "folder//name".
  native.erase(std::unique(native.begin(), native.end(), [](char a, char b) { return a == '/' && b == '/'; }),
               native.end());
  return native;
}

void Extra::OpenWebsite(const std::string& FullLink) {
  if (FullLink.empty()) return;
  platform::system::Launch({"xdg-open", Cp1252ToUtf8(FullLink)});
}

bool Extra::DownloadFile(const std::string& URL, const std::string& LocalFolder_Filename) {
  // The file always lands inside the game folder: a name that climbs out of it is refused.
  std::string name = LocalFolder_Filename;
  std::replace(name.begin(), name.end(), '/', '\\');
  for (size_t start = 0; start <= name.size();) {
    size_t end = name.find('\\', start);
    if (end == std::string::npos) end = name.size();
    if (text::Trim(name.substr(start, end - start)) == "..") {
      SaveLog("Error in DownloadFile : refused " + LocalFolder_Filename + " (outside the game folder)");
      return false;
    }
    start = end + 1;
  }
  if (text::Trim(name).empty() || modExtra::AppPath.empty()) return false;
  std::string error;
  const auto target = platform::files::ToNative(modExtra::AppPath + "\\" + name);
  if (platform::net::Download(Cp1252ToUtf8(URL), target, &error)) return true;
  SaveLog("Error in DownloadFile : " + URL + " : " + Utf8ToCp1252Lossy(error));
  return false;
}

bool Extra::IsOnline() {
  return platform::net::HasDefaultRoute();
}

}  // namespace tovak2d
