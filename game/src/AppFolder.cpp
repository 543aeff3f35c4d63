// SPDX-License-Identifier: Zlib
#include "AppFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <set>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace varnel {
namespace {

const char* const kCopiedList = "copied packs.txt";

void Report(const std::string& what, const fs::path& path, const std::error_code& ec) {
  std::fprintf(stderr, "Varnel: %s %s: %s\n", what.c_str(), path.c_str(), ec.message().c_str());
}

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Copies through a temporary name, so that an interrupted copy never leaves half a file under the
// real name.
bool CopyWhole(const fs::path& from, const fs::path& to) {
  const fs::path part = to.parent_path() / ("." + to.filename().string() + ".part");
  std::error_code ec;
  if (!fs::copy_file(from, part, fs::copy_options::overwrite_existing, ec)) {
    Report("cannot copy", from, ec);
    fs::remove(part, ec);
    return false;
  }
  fs::permissions(part, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
  fs::rename(part, to, ec);
  if (ec) {
    Report("cannot copy to", to, ec);
    fs::remove(part, ec);
    return false;
  }
  return true;
}

// Links one read-only file into the user's folder. A link to where the file used to be (the game
// was installed elsewhere since) is replaced; a real file the user put there is left alone.
void LinkFile(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  const fs::file_status there = fs::symlink_status(to, ec);
  if (fs::is_symlink(there)) {
    if (fs::read_symlink(to, ec) == from && !ec) return;
    fs::remove(to, ec);
  } else if (fs::exists(there)) {
    return;
  }
  fs::create_symlink(from, to, ec);
  if (ec) Report("cannot link", to, ec);
}

// Mirrors a read-only folder ("game data", "sound") as real folders holding links, so that whatever
// the game writes beside the data lands in the user's folder. The options are copied instead: the
// game saves them.
void MirrorData(const fs::path& installed, const fs::path& user, const fs::path& part) {
  std::error_code ec;
  fs::create_directories(user / part, ec);
  if (ec) return Report("cannot make", user / part, ec);
  fs::recursive_directory_iterator it(installed / part, ec);
  if (ec) return Report("cannot read", installed / part, ec);
  for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
    if (ec) return Report("cannot read", installed / part, ec);
    const fs::path from = it->path();
    const fs::path to = user / from.lexically_relative(installed);
    if (it->is_directory(ec)) {
      fs::create_directories(to, ec);
    } else if (it->is_regular_file(ec)) {
      if (EqualsNoCase(from.filename().string(), "options.ini")) {
        if (!fs::exists(fs::symlink_status(to, ec))) CopyWhole(from, to);
      } else {
        LinkFile(from, to);
      }
    }
  }
}

std::set<std::string> ReadCopiedList(const fs::path& file) {
  std::set<std::string> names;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) names.insert(line);
  return names;
}

void WriteCopiedList(const fs::path& file, const std::set<std::string>& names) {
  const fs::path part = file.parent_path() / ("." + file.filename().string() + ".part");
  std::error_code ec;
  {
    std::ofstream out(part, std::ios::trunc);
    for (const std::string& name : names) out << name << '\n';
    // The lines reach the file when it is closed: a write that fails (a full disk) shows only then,
    // and a list cut short must not replace the whole one. errno holds the failed call's cause.
    out.close();
    if (!out) {
      const std::error_code cause(errno ? errno : EIO, std::generic_category());
      fs::remove(part, ec);
      return Report("cannot write", file, cause);
    }
  }
  fs::rename(part, file, ec);
  if (ec) {
    Report("cannot write", file, ec);
    fs::remove(part, ec);
  }
}

void CopyNewPacks(const fs::path& installed, const fs::path& user) {
  std::error_code ec;
  fs::create_directories(user / "packs", ec);
  if (ec) return Report("cannot make", user / "packs", ec);
  std::set<std::string> copied = ReadCopiedList(user / kCopiedList);
  const size_t before = copied.size();
  fs::directory_iterator it(installed / "packs", ec);
  if (ec) return;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    const std::string name = it->path().filename().string();
    if (!it->is_regular_file(ec) || copied.contains(name)) continue;
    const fs::path to = user / "packs" / name;
    // A pack of the same name already there is the player's own: it and its scores stay.
    if (fs::exists(fs::symlink_status(to, ec)) || CopyWhole(it->path(), to)) copied.insert(name);
  }
  if (copied.size() != before) WriteCopiedList(user / kCopiedList, copied);
}

}  // namespace

std::string UserDataFolder(const char* xdgDataHome, const char* home) {
  if (xdgDataHome && xdgDataHome[0] == '/') return (fs::path(xdgDataHome) / "varnel").string();
  std::string homeFolder = home ? home : "";
  if (homeFolder.empty())
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) homeFolder = entry->pw_dir;
  if (homeFolder.empty() || homeFolder[0] != '/') return {};
  return (fs::path(homeFolder) / ".local" / "share" / "varnel").string();
}

bool FolderIsWritable(const fs::path& folder) {
  if (!IsFolder(folder) || access(folder.c_str(), W_OK) != 0) return false;
  if (geteuid() != 0) return true;
  std::error_code ec;
  const fs::perms mode = fs::status(folder, ec).permissions();
  return !ec && (mode & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) !=
                    fs::perms::none;
}

bool FillUserFolder(const fs::path& installed, const fs::path& user) {
  std::error_code ec;
  fs::create_directories(user, ec);
  if (ec || !IsFolder(user)) {
    Report("cannot make the game folder", user, ec);
    return false;
  }
  for (const char* part : {"game data", "sound"})
    if (IsFolder(installed / part)) MirrorData(installed, user, part);
  if (IsFolder(installed / "packs")) CopyNewPacks(installed, user);
  return true;
}

AppFolderPlan PlanAppFolder(const std::string& programFolder, const std::string& userFolder) {
  if (IsFolder(fs::path(programFolder) / "game data")) return {programFolder, {}};
  std::error_code ec;
  const fs::path installed = fs::weakly_canonical(fs::path(programFolder) / ".." / "share" / "varnel", ec);
  if (ec || !IsFolder(installed)) return {programFolder, {}};
  if (FolderIsWritable(installed)) return {installed.string(), {}};
  if (userFolder.empty()) {
    std::fprintf(stderr, "Varnel: no home folder to keep the game in; using %s\n", installed.c_str());
    return {installed.string(), {}};
  }
  return {userFolder, installed.string()};
}

std::string SettleAppFolder(const AppFolderPlan& plan) {
  if (plan.fillFrom.empty()) return plan.folder;
  if (!FillUserFolder(plan.fillFrom, plan.folder)) return plan.fillFrom;
  return plan.folder;
}

std::string ChooseAppFolder(const std::string& programFolder, const std::string& userFolder) {
  return SettleAppFolder(PlanAppFolder(programFolder, userFolder));
}

}  // namespace varnel
