// SPDX-License-Identifier: Zlib
#include "PhotoPack.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "DiskSpace.h"
#include "PackList.h"
#include "modDeclares.h"
#include "modMain.h"
#include "tovak2d/CodePage.h"

extern char** environ;

namespace varnel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDifficulties[] = {"easy", "normal", "hard"};

// The making under way: the tool's process and what it has said so far.
struct Making {
  pid_t pid = -1;
  int errors = -1;         // the read end of the tool's standard error
  std::string pending;     // text after the last full line
  std::string message;     // the tool's last own message
  std::string said;        // its last messages, where the system names why a write failed
  fs::path out;            // the pack the tool writes, in the packs folder under a temporary name
  fs::path work;           // the tool's temporary folder, and links to dropped photos
  std::string fileTitle;   // the title as a file name wants it (UTF-8)
  bool catalogueDue = false;
  std::string madeName;    // the finished pack's file name, selected once catalogued
};

PhotoPackView view;
Making making;

fs::path PacksFolder() {
  return fs::path(oExtra->NativePath("packs"));
}

bool IsPhoto(const fs::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  std::error_code ec;
  return (extension == ".jpg" || extension == ".jpeg" || extension == ".png") && fs::is_regular_file(file, ec);
}

int CountPhotos(const fs::path& folder) {
  int count = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (IsPhoto(it->path())) ++count;
  return count;
}

// varnel-pack beside the game (a build, the installed games folder), else on the PATH, else in
// the folder Debian keeps games in.
std::string FindTool() {
  std::error_code ec;
  const fs::path beside = fs::path(ProgramFolder()) / "varnel-pack";
  if (fs::is_regular_file(beside, ec)) return beside.string();
  if (const char* path = std::getenv("PATH")) {
    std::string folders = path;
    for (size_t start = 0; start <= folders.size();) {
      size_t end = folders.find(':', start);
      if (end == std::string::npos) end = folders.size();
      const fs::path candidate = fs::path(folders.substr(start, end - start)) / "varnel-pack";
      if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate.string();
      start = end + 1;
    }
  }
  return ::access("/usr/games/varnel-pack", X_OK) == 0 ? "/usr/games/varnel-pack" : std::string();
}

void RemoveLeftovers() {
  std::error_code ec;
  if (!making.out.empty()) {
    fs::remove(making.out, ec);
    fs::remove(making.out.string() + ".part", ec);
  }
  if (!making.work.empty()) fs::remove_all(making.work, ec);
}

void Report(bool failed, const std::string& outcome) {
  view.phase = PhotoPackPhase::kReport;
  view.failed = failed;
  view.outcome = outcome;
  oExtra->SaveLog("Photo pack: " + outcome);
  for (const std::string& photo : view.skipped) oExtra->SaveLog("Photo pack: left out " + photo);
}

void EndChild() {
  if (making.errors >= 0) ::close(making.errors);
  making.errors = -1;
  making.pid = -1;
}

// "The pack could not be written (<why>): <the packs folder>".
std::string NotWrittenText(const std::string& file, int error) {
  return "The pack could not be written (" + WriteFailureCause(file, error) +
         "): " + tovak2d::Utf8ToCp1252Lossy(PacksFolder().string());
}

// Why the tool wrote nothing, in the player's words.
std::string FailureText() {
  const std::string& message = making.message;
  if (message.find("no usable photo") != std::string::npos)
    return "None of the photos could be used: nothing was written.";
  // Each step of the writing that fails says "cannot ..."; the system's words for why follow it.
  if (message.rfind("cannot ", 0) == 0) return NotWrittenText(making.out.string(), WriteErrorNamedIn(making.said));
  return "The pack could not be made: " + tovak2d::Utf8ToCp1252Lossy(message.empty() ? "the tool failed" : message);
}

// The tool has ended: its pack, under a free name, joins the others; else the reason is shown.
void Finish(int status) {
  EndChild();
  std::error_code ec;
  const bool made = WIFEXITED(status) && WEXITSTATUS(status) == 0 && fs::is_regular_file(making.out, ec);
  if (!made) {
    RemoveLeftovers();
    Report(true, FailureText());
    return;
  }
  std::vector<std::string> taken;
  for (fs::directory_iterator it(PacksFolder(), ec), end; !ec && it != end; it.increment(ec))
    taken.push_back(it->path().filename().string());
  const std::string name = FreePackName(making.fileTitle, taken);
  fs::rename(making.out, PacksFolder() / name, ec);
  if (ec) {
    const std::string text = NotWrittenText((PacksFolder() / name).string(), ec.value());
    RemoveLeftovers();
    Report(true, text);
    return;
  }
  making.out.clear();
  RemoveLeftovers();
  making.madeName = name;
  making.catalogueDue = true;
  Report(false, "Made \"" + tovak2d::Utf8ToCp1252Lossy(name.substr(0, name.size() - 4)) + "\": " +
                    std::to_string(view.levels) + (view.levels == 1 ? " level." : " levels."));
}

void ReadTool() {
  char buffer[4096];
  ssize_t n = 0;
  while ((n = ::read(making.errors, buffer, sizeof buffer)) > 0) {
    making.pending.append(buffer, static_cast<size_t>(n));
    for (size_t end = making.pending.find('\n'); end != std::string::npos; end = making.pending.find('\n')) {
      const std::string line = making.pending.substr(0, end);
      ReadToolLine(tovak2d::Utf8ToCp1252Lossy(line), view, making.message);
      // Progress and photos left out (which may name errors of their own) aside, the last lines
      // tell why a write failed.
      constexpr size_t kKept = 4096;
      if (line.rfind("photo ", 0) != 0 && line.find(": skipped, ") == std::string::npos) {
        making.said += line + "\n";
        if (making.said.size() > kKept) making.said.erase(0, making.said.size() - kKept);
      }
      making.pending.erase(0, end + 1);
    }
  }
}

bool Spawn(const std::string& tool, const fs::path& folder, const std::string& title) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  std::vector<std::string> argv = {tool, "photos", "--difficulty", kDifficulties[intPhotoDifficulty % 3],
                                   "--title", title, "--force", folder.string(), making.out.string()};
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  // The tool's scratch files go into the game folder's work folder, removed whatever happens.
  std::vector<std::string> env = {"TMPDIR=" + (making.work / "tmp").string()};
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("TMPDIR=", 0) != 0) env.push_back(*e);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
  const int spawned = posix_spawn(&making.pid, tool.c_str(), &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (spawned != 0) {
    ::close(pipeFds[0]);
    making.pid = -1;
    return false;
  }
  making.errors = pipeFds[0];
  ::fcntl(making.errors, F_SETFL, O_NONBLOCK);
  return true;
}

// Dropped photos are handed to the tool as links in a folder of their own.
fs::path LinkPhotos(const std::vector<std::string>& files, int& count) {
  const fs::path folder = making.work / "photos";
  std::error_code ec;
  fs::create_directories(folder, ec);
  count = 0;
  for (const std::string& file : files) {
    if (!IsPhoto(file)) continue;
    fs::create_symlink(fs::absolute(file, ec), folder / fs::path(file).filename(), ec);
    if (!ec) ++count;
  }
  return folder;
}

}  // namespace

void ReadToolLine(const std::string& line, PhotoPackView& state, std::string& message) {
  constexpr char kOwn[] = "varnel-pack: ";
  const bool own = line.rfind(kOwn, 0) == 0;
  const std::string text = own ? line.substr(sizeof kOwn - 1) : line;
  // A photo's name may hold ": " itself, so the tool's own words are found from the right.
  size_t colon = text.rfind(": level ");
  if (colon == std::string::npos) colon = text.rfind(": skipped, ");
  if (colon == std::string::npos) colon = text.find(": ");
  std::string photo = text.substr(0, colon);
  const std::string said = colon == std::string::npos ? std::string() : text.substr(colon + 2);
  int done = 0, total = 0, used = 0;
  if (std::sscanf(photo.c_str(), "photo %d/%d %n", &done, &total, &used) == 2 && used > 0) {
    state.done = done;
    state.total = total;
    photo.erase(0, static_cast<size_t>(used));
  }
  constexpr char kSkipped[] = "skipped, ";
  if (said.rfind("level ", 0) == 0) ++state.levels;
  if (said.rfind(kSkipped, 0) == 0)
    state.skipped.push_back(photo + ": " + said.substr(sizeof kSkipped - 1));
  else if (own)
    message = text;
}

std::string FreePackName(const std::string& title, const std::vector<std::string>& taken) {
  const auto isTaken = [&](const std::string& name) {
    return std::any_of(taken.begin(), taken.end(),
                       [&](const std::string& t) { return strcasecmp(t.c_str(), name.c_str()) == 0; });
  };
  std::string name = title + ".vnl";
  for (int n = 2; isTaken(name); ++n) name = title + " " + std::to_string(n) + ".vnl";
  return name;
}

void StartPhotoPack(const std::vector<std::string>& Paths) {
  if (view.phase == PhotoPackPhase::kMaking || Paths.empty()) {
    oExtra->SaveLog("Photo pack: a pack is being made already; wait for it or cancel it first");
    return;
  }
  // A drop while the chooser is open replaces the chooser.
  if (view.phase == PhotoPackPhase::kChoosing) oExtra->ChooseFolder_Close();
  view = PhotoPackView{};
  making = Making{};
  std::error_code ec;
  making.work = fs::path(strAppPath) / "photo pack work";
  fs::remove_all(making.work, ec);
  fs::create_directories(making.work / "tmp", ec);
  fs::create_directories(PacksFolder(), ec);
  fs::path folder = Paths.front();
  int count = 0;
  if (Paths.size() == 1 && fs::is_directory(folder, ec)) {
    count = CountPhotos(folder);
  } else {
    folder = LinkPhotos(Paths, count);
    making.fileTitle = fs::path(Paths.front()).parent_path().filename().string();
  }
  if (making.fileTitle.empty()) making.fileTitle = fs::absolute(folder, ec).lexically_normal().filename().string();
  // The title in the letters the game can show; a name of nothing else but a slash-free title.
  making.fileTitle = tovak2d::Cp1252ToUtf8(tovak2d::Utf8ToCp1252Lossy(making.fileTitle));
  if (making.fileTitle.empty() || making.fileTitle == "." || making.fileTitle == "..") making.fileTitle = "My photos";
  view.title = tovak2d::Utf8ToCp1252Lossy(making.fileTitle);
  view.total = count;
  view.phase = PhotoPackPhase::kMaking;
  making.out = PacksFolder() / ("photo pack.tmp-" + std::to_string(::getpid()));
  const std::string tool = FindTool();
  if (tool.empty()) {
    RemoveLeftovers();
    Report(true, "varnel-pack, which makes the pack, is not installed beside the game nor on the PATH.");
    return;
  }
  oExtra->SaveLog("Photo pack: making \"" + view.title + "\" from " + std::to_string(count) + " photos");
  if (!Spawn(tool, folder, making.fileTitle)) {
    RemoveLeftovers();
    Report(true, "The pack could not be made: " + tool + " could not be started.");
  }
}

void ChoosePhotoFolder() {
  if (view.phase == PhotoPackPhase::kMaking || view.phase == PhotoPackPhase::kChoosing) return;
  if (oExtra->ChooseFolder_Open("Make a pack from photos: choose a folder of photos"))
    view.phase = PhotoPackPhase::kChoosing;
  else
    oExtra->SaveLog("Photo pack: the desktop has no folder chooser (a desktop portal, zenity or kdialog)");
}

void PollPhotoPack() {
  if (view.phase == PhotoPackPhase::kChoosing) {
    std::string folder;
    const tovak2d::FolderChoice choice = oExtra->ChooseFolder_Poll(folder);
    if (choice == tovak2d::FolderChoice::kChosen) {
      view.phase = PhotoPackPhase::kIdle;
      StartPhotoPack({folder});
    } else if (choice != tovak2d::FolderChoice::kOpen) {
      view.phase = PhotoPackPhase::kIdle;
    }
  }
  if (making.pid > 0) {
    ReadTool();
    int status = 0;
    if (::waitpid(making.pid, &status, WNOHANG) == making.pid) {
      ReadTool();
      Finish(status);
    }
  }
  // A new pack joins the catalogue on a menu screen, never in the middle of a game.
  if (making.catalogueDue && intScreen >= kScreenStartGame && intScreen <= kScreenCredits) {
    making.catalogueDue = false;
    SavePackScores();
    ScanPacks();
    const auto at = std::find(PackFiles.begin(), PackFiles.end(), making.madeName);
    if (at != PackFiles.end()) {
      intPackSel = static_cast<int16_t>(at - PackFiles.begin());
      intPackMade = intPackSel;
      intPackScroll = static_cast<int16_t>(std::max(0, intPackSel - kPackRowsShown + 1));
    }
  }
}

void CancelPhotoPack() {
  if (view.phase == PhotoPackPhase::kChoosing) {
    oExtra->ChooseFolder_Close();
    view.phase = PhotoPackPhase::kIdle;
  }
  if (making.pid <= 0) return;
  ::kill(making.pid, SIGKILL);
  while (::waitpid(making.pid, nullptr, 0) < 0 && errno == EINTR) {
  }
  EndChild();
  RemoveLeftovers();
  Report(true, "Cancelled: nothing was written.");
}

void ClosePhotoPackReport() {
  if (view.phase == PhotoPackPhase::kReport) view = PhotoPackView{};
}

void StopPhotoPack() {
  CancelPhotoPack();
}

const PhotoPackView& PhotoPackState() {
  return view;
}

}  // namespace varnel
