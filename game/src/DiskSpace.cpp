// SPDX-License-Identifier: Zlib
#include "DiskSpace.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace varnel {
namespace fs = std::filesystem;

std::string DiskOf(const std::string& path) {
  std::error_code ec;
  fs::path at = fs::absolute(path, ec).lexically_normal();
  if (ec) return "/";
  struct stat info {};
  while (::stat(at.c_str(), &info) != 0 && at.has_parent_path() && at.parent_path() != at)
    at = at.parent_path();
  const dev_t device = info.st_dev;
  // The mount point is the last folder upwards still on the same device.
  for (fs::path up = at.parent_path(); up != at; at = up, up = at.parent_path()) {
    struct stat above {};
    if (::stat(up.c_str(), &above) != 0 || above.st_dev != device) break;
  }
  return at.string();
}

std::optional<uint64_t> FreeSpaceOf(const std::string& path) {
  struct statvfs info {};
  if (::statvfs(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
}

std::string SizeText(uint64_t bytes) {
  char text[32];
  if (bytes < 1024 * 1024)
    std::snprintf(text, sizeof text, "%llu KB", static_cast<unsigned long long>((bytes + 1023) / 1024));
  else
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

bool DiskTooFull(const std::string& path, uint64_t needed) {
  const auto free = FreeSpaceOf(path);
  return free && *free < needed;
}

std::string FullDiskText(const std::string& path, uint64_t needed, const std::string& work) {
  const auto free = FreeSpaceOf(path);
  return "The disk " + DiskOf(path) + " holding " + path + " is full: " + work + " needs " +
         SizeText(needed) + " free there and " + (free ? SizeText(*free) : std::string("nothing")) +
         " is free.";
}

std::string WriteFailureCause(const std::string& file, int error) {
  const fs::path path(file);
  const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
  if (error == ENOSPC || error == EDQUOT) return "the disk " + DiskOf(folder) + " is full";
  if (error == EROFS) return "the disk " + DiskOf(folder) + " is read-only";
  // A block or two is what any file needs to grow.
  if (DiskTooFull(folder, 8192)) return "the disk " + DiskOf(folder) + " is full";
  struct stat info {};
  constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
  if (::stat(file.c_str(), &info) == 0 &&
      ((info.st_mode & kWriteBits) == 0 || ::access(file.c_str(), W_OK) != 0))
    return "the file is read-only";
  if (error == EACCES || error == EPERM || ::access(folder.c_str(), W_OK) != 0)
    return "the folder is read-only";
  return "the disk refused it";
}

int WriteErrorNamedIn(const std::string& message) {
  for (const int error : {ENOSPC, EDQUOT, EROFS, EACCES, EPERM})
    if (message.find(std::strerror(error)) != std::string::npos) return error;
  return 0;
}

}  // namespace varnel
