#include "Paths.h"
#include "modExtra.h"
#include "tovak2d/Extra.h"

namespace tovak2d {

std::vector<std::string> Extra::FilesInFolder(const std::string&, bool, bool) {
  return {""};
}
void Extra::AddItem2Array1D(std::vector<std::string>&, const std::string&) {}
void Extra::AddItem2Array1D(std::vector<double>&, double) {}
void Extra::AddItem2Array1D(std::vector<bool>&, bool) {}
std::string Extra::GetFileExt(const std::string& FileName) {
  return paths::ExtOfName(FileName);
}
std::string Extra::GetFileShortName(const std::string& FilePathName) {
  return paths::ShortNameOf(FilePathName);
}
void Extra::OpenWebsite(const std::string&) {}
bool Extra::DownloadFile(const std::string&, const std::string&) {
  return false;
}
bool Extra::IsOnline() {
  return false;
}
std::string Extra::ShowOpenDialog(const std::string&, std::string& openFolder) {
  if (!paths::IsRooted(openFolder)) openFolder = modExtra::AppPath + "\\" + openFolder;
  return {};
}
std::string Extra::ShowOpenDialog(const std::string& Title) {
  std::string folder;
  return ShowOpenDialog(Title, folder);
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

}  // namespace tovak2d
