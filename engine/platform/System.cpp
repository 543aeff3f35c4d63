// SPDX-License-Identifier: Zlib
#include "platform/System.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <thread>

#include "platform/Dialogs.h"

extern char** environ;

namespace tovak2d::platform::system {
namespace {

std::vector<char*> ArgvOf(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  return args;
}

}  // namespace

bool HasProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (folder.empty()) continue;
    const std::string candidate = folder + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
  }
  return false;
}

std::optional<std::string> RunAndCapture(const std::vector<std::string>& argv) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  auto args = ArgvOf(argv);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (spawned != 0) {
    ::close(pipeFds[0]);
    return std::nullopt;
  }
  std::string output;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    output.append(buffer, static_cast<size_t>(n));
  }
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return output;
}

bool Launch(const std::vector<std::string>& argv) {
  auto args = ArgvOf(argv);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  // Reaped in the background, so no finished child lingers.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& folder) {
  if (dialogs::Quiet()) return std::nullopt;
  std::string start = folder;
  if (!start.empty() && start.back() != '/') start += '/';
  std::optional<std::string> chosen;
  if (HasProgram("zenity"))
    chosen = RunAndCapture({"zenity", "--file-selection", "--title=" + title, "--filename=" + start});
  else if (HasProgram("kdialog"))
    chosen = RunAndCapture({"kdialog", "--title", title, "--getopenfilename", start.empty() ? "." : start});
  else
    return std::nullopt;
  if (!chosen) return std::nullopt;
  while (!chosen->empty() && (chosen->back() == '\n' || chosen->back() == '\r')) chosen->pop_back();
  if (chosen->empty()) return std::nullopt;
  return chosen;
}

}  // namespace tovak2d::platform::system
