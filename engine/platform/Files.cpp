// SPDX-License-Identifier: Zlib
#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/Text.h"

namespace fs = std::filesystem;

namespace tovak2d::platform::files {
namespace {

void SetError(std::string* error, const std::string& what) {
  if (error) *error = what;
}

std::string ErrnoText() {
  return std::strerror(errno);
}

// Finds an entry of folder whose name matches name without regard to case.
std::optional<std::string> FindNoCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  if (ec) return std::nullopt;
  std::string wanted = text::ToLower(Utf8ToCp1252Lossy(name));
  for (const auto& entry : it) {
    std::string candidate = entry.path().filename().string();
    if (text::ToLower(Utf8ToCp1252Lossy(candidate)) == wanted) return candidate;
  }
  return std::nullopt;
}

// Runs fn on a file descriptor opened with flags, writing every byte of data.
bool WriteAllTo(int fd, std::string_view data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

FileStamp StampFrom(const struct stat& info) {
  FileStamp stamp;
  stamp.size = static_cast<uint64_t>(info.st_size);
  stamp.changedNs = static_cast<int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
  stamp.inode = static_cast<uint64_t>(info.st_ino);
  stamp.device = static_cast<uint64_t>(info.st_dev);
  return stamp;
}

std::atomic<uint64_t> writeGeneration{0};

// A file without a write bit in its mode is never written, replaced or appended to, whoever runs
// the game: root may write any file, but a player who made a file read-only meant to keep it as
// it is. A file the mode lets others write but not this process is refused as well, even where
// its folder would allow replacing it. A missing file may be created.
bool MayWrite(const fs::path& native, std::string* error) {
  struct stat info {};
  if (::stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return true;
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    SetError(error, native.string() + ": the file is read-only");
    return false;
  }
  if (::faccessat(AT_FDCWD, native.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES) {
    SetError(error, native.string() + ": " + ErrnoText());
    return false;
  }
  return true;
}

// The file a path leads to, symbolic links followed, so that replacing it keeps the link. Nothing
// when the links go round in a circle.
std::optional<fs::path> FinalTarget(fs::path path) {
  constexpr int kMaxLinks = 40;  // as the kernel allows
  for (int links = 0; links <= kMaxLinks; ++links) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    fs::path target = fs::read_symlink(path, ec);
    if (ec) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return std::nullopt;
}

bool WriteNative(const fs::path& native, std::string_view data, int flags, std::string* error) {
  ++writeGeneration;
  if (!MayWrite(native, error)) return false;
  int fd = ::open(native.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetError(error, native.string() + ": " + ErrnoText());
    return false;
  }
  bool ok = WriteAllTo(fd, data);
  if (!ok) SetError(error, native.string() + ": " + ErrnoText());
  if (::close(fd) != 0 && ok) {
    SetError(error, native.string() + ": " + ErrnoText());
    ok = false;
  }
  return ok;
}

// The application folder as named, and as it stands on disk.
struct ApplicationFolder {
  std::string named, native;
};
ApplicationFolder& Folder() {
  static ApplicationFolder folder;
  return folder;
}

// The path as written, in Linux form: what ToNative gives for every path that exists as written.
std::string AsWritten(std::string_view path) {
  std::string native;
  const ApplicationFolder& folder = Folder();
  if (!folder.named.empty() && path.substr(0, folder.named.size()) == folder.named) {
    native = folder.native;
    path.remove_prefix(folder.named.size());
  }
  std::string p(path);
  if (native.empty() && p.size() >= 2 && p[1] == ':') p.erase(0, 2);
  for (char& c : p)
    if (c == '\\') c = '/';
  return native + Cp1252ToUtf8(p);
}

// Opens the file as written and looks for another letter case only when that fails: most files
// exist as the game names them, and this spares the look-ups ToNative makes first.
int OpenFile(std::string_view path, int flags, fs::path& native) {
  native = AsWritten(path);
  int fd = ::open(native.c_str(), flags | O_CLOEXEC);
  if (fd >= 0 || errno != ENOENT) return fd;
  fs::path matched = ToNative(path);
  if (matched == native) {
    errno = ENOENT;  // the search may have left another error behind
    return fd;
  }
  native = std::move(matched);
  return ::open(native.c_str(), flags | O_CLOEXEC);
}

// Opens the file for reading; a failure is told in error as the file's name and the reason.
int OpenForReading(std::string_view path, fs::path& native, std::string* error) {
  const int fd = OpenFile(path, O_RDONLY, native);
  if (fd < 0) SetError(error, native.string() + ": " + ErrnoText());
  return fd;
}

}  // namespace

void SetApplicationFolder(const std::string& folder) {
  std::error_code ec;
  const bool asGiven = !folder.empty() && fs::is_directory(fs::path(folder), ec);
  Folder() = {folder, asGiven ? folder : Cp1252ToUtf8(folder)};
}

fs::path ToNative(std::string_view path) {
  std::string p = AsWritten(path);
  fs::path written(p);
  std::error_code ec;
  if (p.empty() || fs::exists(fs::symlink_status(written, ec))) return written;

  // Walk the parts, swapping in a differently cased existing name where the written one is missing.
  fs::path result = written.has_root_path() ? written.root_path() : fs::path();
  bool matching = true;
  for (const auto& part : written.relative_path()) {
    std::string name = part.string();
    if (name.empty()) continue;
    if (matching && name != "." && name != "..") {
      fs::path candidate = result / name;
      if (!fs::exists(fs::symlink_status(candidate, ec))) {
        if (auto found = FindNoCase(result, name)) {
          result /= *found;
          continue;
        }
        matching = false;
      }
    }
    result /= name;
  }
  if (!p.empty() && p.back() == '/') result /= "";
  return result;
}

bool Exists(std::string_view path) {
  struct stat info {};
  if (::stat(AsWritten(path).c_str(), &info) == 0) return true;
  std::error_code ec;
  return fs::exists(ToNative(path), ec);
}

bool IsFolder(std::string_view path) {
  std::error_code ec;
  return fs::is_directory(ToNative(path), ec);
}

std::optional<std::string> ReadWhole(std::string_view path, std::string* error, FileStamp* stamp) {
  fs::path native;
  int fd = OpenForReading(path, native, error);
  if (fd < 0) return std::nullopt;
  // Read straight into a buffer of the file's size; files that report no size (or grow) are
  // read on in chunks until the end.
  struct stat info {};
  std::string data;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
    data.resize(static_cast<size_t>(info.st_size));
  size_t used = 0;
  char spill[1 << 16];
  for (;;) {
    // Once the buffer is full, the end of the file is found with a small read of its own, so
    // that a file of the expected size is never copied into a larger buffer.
    bool full = used == data.size();
    ssize_t n = full ? ::read(fd, spill, sizeof spill) : ::read(fd, data.data() + used, data.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetError(error, native.string() + ": " + ErrnoText());
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    if (full) data.append(spill, static_cast<size_t>(n));
    used += static_cast<size_t>(n);
  }
  data.resize(used);
  if (stamp && ::fstat(fd, &info) == 0) *stamp = StampFrom(info);
  ::close(fd);
  return data;
}

bool ReadInChunks(std::string_view path, const std::function<size_t(std::string_view, bool)>& sink,
                  FileStamp* stamp, std::string* error) {
  fs::path native;
  int fd = OpenForReading(path, native, error);
  if (fd < 0) return false;
  // Small enough to stay in the cache, large enough that the calls cost nothing.
  std::vector<char> buffer(1 << 20);
  size_t held = 0;
  for (;;) {
    if (held == buffer.size()) buffer.resize(buffer.size() * 2);  // sink used nothing of a full buffer
    ssize_t n = ::read(fd, buffer.data() + held, buffer.size() - held);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetError(error, native.string() + ": " + ErrnoText());
      ::close(fd);
      return false;
    }
    size_t total = held + static_cast<size_t>(n);
    size_t used = std::min(sink(std::string_view(buffer.data(), total), n == 0), total);
    if (n == 0) break;
    held = total - used;
    std::memmove(buffer.data(), buffer.data() + used, held);
  }
  struct stat info {};
  if (stamp && ::fstat(fd, &info) == 0) *stamp = StampFrom(info);
  ::close(fd);
  return true;
}

uint64_t WriteGeneration() {
  return writeGeneration.load();
}

std::optional<FileStamp> StampOf(std::string_view path) {
  struct stat info {};
  const std::string written = AsWritten(path);
  if (::stat(written.c_str(), &info) == 0) return StampFrom(info);
  if (errno != ENOENT) return std::nullopt;
  const fs::path native = ToNative(path);
  if (native == written || ::stat(native.c_str(), &info) != 0) return std::nullopt;
  return StampFrom(info);
}

std::optional<std::string> ReadRange(std::string_view path, uint64_t offset, uint64_t length,
                                     const FileStamp* expected, std::string* error) {
  fs::path native;
  int fd = OpenForReading(path, native, error);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (expected && (::fstat(fd, &info) != 0 || !(StampFrom(info) == *expected))) {
    SetError(error, native.string() + ": changed since it was read");
    ::close(fd);
    return std::nullopt;
  }
  std::string data(static_cast<size_t>(length), '\0');
  size_t used = 0;
  while (used < data.size()) {
    ssize_t n = ::pread(fd, data.data() + used, data.size() - used, static_cast<off_t>(offset + used));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      SetError(error, native.string() + ": " + (n < 0 ? ErrnoText() : std::string("shorter than expected")));
      ::close(fd);
      return std::nullopt;
    }
    used += static_cast<size_t>(n);
  }
  ::close(fd);
  return data;
}

bool WriteWhole(std::string_view path, std::string_view data, std::string* error) {
  return WriteNative(ToNative(path), data, O_WRONLY | O_CREAT | O_TRUNC, error);
}

FolderWriter::FolderWriter(std::string_view folder) : native_(ToNative(folder)) {
  std::error_code ec;
  for (fs::directory_iterator it(native_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    names_.insert(name);
    byLower_.emplace(text::ToLower(Utf8ToCp1252Lossy(name)), name);
  }
}

bool FolderWriter::WriteWhole(std::string_view name, std::string_view data, std::string* error) {
  std::string onDisk = Cp1252ToUtf8(std::string(name));
  if (!names_.contains(onDisk)) {
    const std::string lower = text::ToLower(name);
    if (auto found = byLower_.find(lower); found != byLower_.end()) {
      onDisk = found->second;
    } else {
      names_.insert(onDisk);
      byLower_.emplace(lower, onDisk);
    }
  }
  return WriteNative(native_ / onDisk, data, O_WRONLY | O_CREAT | O_TRUNC, error);
}

bool ReplaceWhole(std::string_view path, std::string_view data, std::string* error, bool durable) {
  ++writeGeneration;
  const fs::path named = ToNative(path);
  const std::optional<fs::path> target = FinalTarget(named);
  if (!target) {
    SetError(error, named.string() + ": " + std::strerror(ELOOP));
    return false;
  }
  const fs::path& native = *target;
  if (!MayWrite(native, error)) return false;
  struct stat old {};
  const bool replacing = ::stat(native.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  fs::path temp = native;
  temp += ".tmp-" + std::to_string(::getpid());
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetError(error, temp.string() + ": " + ErrnoText());
    return false;
  }
  if (replacing) {
    // The new file takes the old one's owner where this process may give it (root writing a
    // player's file), then its mode; the owner change would clear set-id bits set before it.
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Not allowed to give the file away: it stays this process's own.
    }
  }
  bool ok = (!replacing || ::fchmod(fd, old.st_mode & 07777) == 0) && WriteAllTo(fd, data) &&
            (!durable || ::fsync(fd) == 0);
  std::string why = ok ? std::string() : ErrnoText();
  if (::close(fd) != 0 && ok) {
    ok = false;
    why = ErrnoText();
  }
  if (ok && ::rename(temp.c_str(), native.c_str()) != 0) {
    ok = false;
    why = ErrnoText();
  }
  if (!ok) {
    ::unlink(temp.c_str());
    SetError(error, native.string() + ": " + why);
    return false;
  }
  if (!durable) return true;
  // Make the rename itself durable.
  int dir = ::open(native.parent_path().empty() ? "." : native.parent_path().c_str(),
                   O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool ReplaceThroughCopy(std::string_view path, std::string_view copySuffix, const std::function<bool()>& edit,
                        std::string* cause) {
  ++writeGeneration;
  const fs::path native = ToNative(path);
  fs::path copy = native;
  copy += Cp1252ToUtf8(copySuffix);
  std::error_code ec;
  fs::copy_file(native, copy, fs::copy_options::overwrite_existing, ec);
  if (ec) SetError(cause, ec.message());
  bool ok = !ec && edit();
  if (ok) {
    const int fd = ::open(copy.c_str(), O_RDONLY | O_CLOEXEC);
    ok = fd >= 0 && ::fsync(fd) == 0;
    if (!ok) SetError(cause, ErrnoText());
    if (fd >= 0) ::close(fd);
  }
  if (ok) {
    fs::rename(copy, native, ec);
    ok = !ec;
    if (ec) SetError(cause, ec.message());
  }
  if (!ok) fs::remove(copy, ec);
  return ok;
}

bool Append(std::string_view path, std::string_view data, std::string* error) {
  ++writeGeneration;
  fs::path native = ToNative(path);
  if (!MayWrite(native, error)) return false;
  int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetError(error, native.string() + ": " + ErrnoText());
    return false;
  }
  struct stat info {};
  bool known = ::fstat(fd, &info) == 0;
  bool ok = WriteAllTo(fd, data);
  std::string why = ok ? std::string() : ErrnoText();
  if (!ok && known && ::ftruncate(fd, info.st_size) != 0) why += " (and the file could not be cut back)";
  if (::close(fd) != 0 && ok) {
    ok = false;
    why = ErrnoText();
  }
  if (!ok) SetError(error, native.string() + ": " + why);
  return ok;
}

bool CreateOneFolder(std::string_view path, std::string* error) {
  fs::path native = ToNative(path);
  if (::mkdir(native.c_str(), 0755) != 0) {
    SetError(error, native.string() + ": " + ErrnoText());
    return false;
  }
  return true;
}

bool Remove(std::string_view path, std::string* error) {
  ++writeGeneration;
  fs::path native = ToNative(path);
  if (::unlink(native.c_str()) != 0) {
    SetError(error, native.string() + ": " + ErrnoText());
    return false;
  }
  return true;
}

namespace {

// The visible entries of a folder that pass `keep`, with their names turned back to Windows-1252.
template <typename Keep>
std::vector<std::string> ListEntries(std::string_view folder, Keep keep) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(ToNative(folder), ec);
  if (ec) return names;
  for (const auto& entry : it) {
    std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.' || !keep(entry, ec)) continue;
    names.push_back(Utf8ToCp1252Lossy(name));
  }
  return names;
}

}  // namespace

std::vector<std::string> ListFiles(std::string_view folder) {
  return ListEntries(folder,
                     [](const fs::directory_entry& e, std::error_code& ec) { return e.is_regular_file(ec); });
}

std::vector<std::string> ListFolders(std::string_view folder) {
  return ListEntries(folder,
                     [](const fs::directory_entry& e, std::error_code& ec) { return e.is_directory(ec); });
}

}  // namespace tovak2d::platform::files
