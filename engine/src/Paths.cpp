// SPDX-License-Identifier: Zlib
#include "Paths.h"

#include "modExtra.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "tovak2d/Diagnostics.h"

namespace tovak2d::paths {

bool IsRooted(std::string_view name) {
  const std::string& app = modExtra::AppPath;
  if (name.size() >= 2 && name[1] == ':') return true;
  return !app.empty() && name.substr(0, app.size()) == app;
}

std::string Resolve(std::string_view name) {
  if (IsRooted(name)) return std::string(name);
  // Before the engine is started there is no application folder: a full path (a program may name
  // its files so before the start) is taken as it is; any other name becomes an empty one, which
  // every file operation refuses, instead of a file in the root of the file system.
  if (modExtra::AppPath.empty()) return name.substr(0, 1) == "/" ? std::string(name) : std::string();
  return modExtra::AppPath + "\\" + std::string(name);
}

std::string ShortNameOf(std::string_view name) {
  size_t pos = name.rfind('\\');
  return std::string(pos == std::string_view::npos ? name : name.substr(pos + 1));
}

std::string ExtOfName(std::string_view name) {
  size_t pos = name.rfind('.');
  if (pos == std::string_view::npos) return {};
  return text::ToLower(name.substr(pos + 1));
}

void MakeFolder(std::string_view path) {
  std::string folder(path);
  if (!folder.empty() && folder.front() == '\\') folder = text::Trim(std::string_view(folder).substr(1));
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  platform::files::CreateOneFolder(Resolve(folder));
}

}  // namespace tovak2d::paths

namespace tovak2d {

void ForgetApplicationFolder() {
  modExtra::AppPath.clear();
  platform::files::SetApplicationFolder("");
}

}  // namespace tovak2d
