// SPDX-License-Identifier: Zlib
#include "GameFolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace varnel::packs {
namespace fs = std::filesystem;
namespace {

int OpenFolder(const fs::path& folder) {
  int fd = -1;
  do {
    fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Whether another process holds the folder's lock; the test takes and drops a shared lock, so it
// never keeps a game from starting.
bool HeldByAnother(const fs::path& folder) {
  const int fd = OpenFolder(folder);
  if (fd < 0) return false;
  int result = -1;
  do {
    result = ::flock(fd, LOCK_SH | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  const bool held = result != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

}  // namespace

FolderClaim ClaimGameFolder(const fs::path& folder, std::string* error) {
  const int fd = OpenFolder(folder);
  if (fd < 0) {
    if (error) *error = std::strerror(errno);
    return FolderClaim::kNoLock;
  }
  int result = -1;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return FolderClaim::kClaimed;  // the descriptor stays open until the process ends
  const int cause = errno;
  ::close(fd);
  if (cause == EWOULDBLOCK) return FolderClaim::kInUse;
  if (error) *error = std::strerror(cause);
  return FolderClaim::kNoLock;
}

fs::path GameFolderInUse(const fs::path& path) {
  std::error_code ec;
  const fs::path folder = fs::absolute(path, ec).lexically_normal().parent_path();
  if (ec) return {};
  if (HeldByAnother(folder)) return folder;
  if (folder.has_parent_path() && folder.parent_path() != folder && HeldByAnother(folder.parent_path()))
    return folder.parent_path();
  return {};
}

}  // namespace varnel::packs
