// SPDX-License-Identifier: Zlib
#include "Session.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "GameFolderLock.h"
#include "PackNames.h"
#include "tovak2d/CodePage.h"

namespace varnel::pack {

std::unique_ptr<Session> Session::Start(std::string* error) {
  std::error_code ec;
  std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) base = "/tmp";
  std::string pattern = (base / "varnel-pack-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    if (error) *error = "cannot make a temporary folder in " + base.string();
    return nullptr;
  }
  // The tool plays no sound; the engine's sound start must not reach for a sound card.
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto session = std::unique_ptr<Session>(new Session(pattern));
  session->engine_.Tovak2D_Start_OnlySound(nullptr, session->folder_.string());
  session->TakeLog();
  return session;
}

Session::Session(std::filesystem::path folder) : folder_(std::move(folder)) {}

Session::~Session() {
  engine_.Tovak2D_Unload();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::vector<std::string> Session::TakeLog() {
  std::ifstream in(folder_ / "log.txt", std::ios::binary);
  in.seekg(static_cast<std::streamoff>(logRead_));
  std::string added(std::istreambuf_iterator<char>(in), {});
  logRead_ += added.size();
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = added.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = added.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(tovak2d::Cp1252ToUtf8(line));
  }
  return lines;
}

void Session::ReportLog() {
  for (const std::string& line : TakeLog()) std::fprintf(stderr, "varnel-pack:   engine: %s\n", line.c_str());
}

std::optional<std::string> EngineName(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) return std::nullopt;
  auto name = tovak2d::Utf8ToCp1252(absolute.lexically_normal().string());
  if (!name) return std::nullopt;
  return "Z:" + *name;
}

std::optional<std::string> ExistingEngineName(const std::filesystem::path& path, const std::string& what) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    PrintError(path.string() + ": no such " + what);
    return std::nullopt;
  }
  auto name = EngineName(path);
  if (!name) PrintError(path.string() + ": the path holds characters the engine cannot name");
  return name;
}

FileUnderConstruction::FileUnderConstruction(std::filesystem::path target)
    : target_(std::move(target)), partial_(target_.string() + ".part") {
  std::error_code ignored;
  std::filesystem::remove(partial_, ignored);
}

FileUnderConstruction::~FileUnderConstruction() {
  if (committed_) return;
  std::error_code ignored;
  std::filesystem::remove(partial_, ignored);
}

bool FileUnderConstruction::Commit(std::string* error) {
  std::error_code ec;
  std::filesystem::rename(partial_, target_, ec);
  if (ec) {
    if (error)
      *error = "cannot rename " + partial_.string() + " to " + target_.string() + ": " + ec.message();
    return false;
  }
  committed_ = true;
  return true;
}

bool MayWrite(const std::filesystem::path& target, bool force) {
  const std::filesystem::path game = packs::GameFolderInUse(target);
  if (game.empty() || force) return true;
  PrintError("a running game uses " + game.string() +
             " and writes its packs back when it ends; end the game "
             "first (--force writes " +
             target.string() + " anyway)");
  PrintError("nothing written");
  return false;
}

bool MayMakePack(const std::filesystem::path& out, bool force) {
  std::error_code ec;
  if (std::filesystem::exists(out, ec) && !force) {
    PrintError(out.string() + " already exists (--force replaces it)");
    return false;
  }
  if (!MayWrite(out, force)) return false;
  if (packs::DisplayName(out.filename().string()).empty()) {
    PrintError(out.string() + ": the game shows a pack by its file name without the last four characters; " +
               "this name leaves nothing to show");
    return false;
  }
  return true;
}

void PrintError(const std::string& message) {
  std::fprintf(stderr, "varnel-pack: %s\n", message.c_str());
}

int Fail(const std::string& message) {
  PrintError(message);
  return kExitFailure;
}

}  // namespace varnel::pack
