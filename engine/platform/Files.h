// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The file system. Paths come in as the engine holds them (Windows-1252 text, '\' or '/'
// separators, perhaps a drive letter) and are turned into Linux paths here only.
namespace tovak2d::platform::files {

// Backslashes become '/', a drive letter ("C:") is dropped so the path starts at the root,
// text becomes UTF-8, and every part that does not exist as written is matched against its
// folder without regard to letter case, as Windows would.
std::filesystem::path ToNative(std::string_view path);
// The application folder as the program named it. Names are the engine's 8-bit text, but a folder
// the system gave the program (a home folder with an accented name) is already in the system's
// encoding: a name under the folder keeps the folder's bytes where they name a folder that
// exists as given, and only the rest is converted.
void SetApplicationFolder(const std::string& folder);

bool Exists(std::string_view path);  // a file or a folder
bool IsFolder(std::string_view path);

// Tells one state of a file from another: a file rewritten, appended to or replaced by another
// gets a different stamp (within the resolution of the file system's clock).
struct FileStamp {
  uint64_t size = 0;
  int64_t changedNs = 0;
  uint64_t inode = 0;
  uint64_t device = 0;
  bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> StampOf(std::string_view path);

// Counts the changes this process made to files through the calls below (writes, appends,
// replacements, removals): a cache that saw the same count and the same stamp knows the file is
// as it read it, without reading it again.
uint64_t WriteGeneration();

// The whole file, or nothing (with the reason in *error). *stamp receives the stamp of the file
// as it was read.
std::optional<std::string> ReadWhole(std::string_view path, std::string* error = nullptr,
                                     FileStamp* stamp = nullptr);

// Reads the file from start to end through a buffer of its own, for files too large to hold
// whole. Each call of sink gets the bytes it left over last time followed by the next ones
// (atEnd: nothing follows) and returns how many it used; the rest comes again next time.
// *stamp receives the stamp of the file as it was read.
bool ReadInChunks(std::string_view path, const std::function<size_t(std::string_view data, bool atEnd)>& sink,
                  FileStamp* stamp = nullptr, std::string* error = nullptr);

// length bytes from offset; nothing when the file is shorter or, with expected given, when the
// file no longer has that stamp.
std::optional<std::string> ReadRange(std::string_view path, uint64_t offset, uint64_t length,
                                     const FileStamp* expected = nullptr, std::string* error = nullptr);

// Every write below refuses a file whose mode has no write bit, or whose mode does not let this
// process write it, even when run by root: the player made it read-only. The error names the file.

// Creates or replaces the file so that it holds exactly data.
bool WriteWhole(std::string_view path, std::string_view data, std::string* error = nullptr);

// Writes data beside the file and renames it over the old one, so a crash or a full disk
// leaves either the old file or the new one, never a part of either. durable also waits until the
// disk has the new file; small files written many times in a row (INI keys) skip that wait, the
// rename alone keeps them whole when the program dies. The new file keeps the old one's mode (and
// its owner, where this process may give it); a symbolic link stays, the file it leads to is
// replaced.
bool ReplaceWhole(std::string_view path, std::string_view data, std::string* error = nullptr,
                  bool durable = true);

// Replaces the file through an edited copy beside it: the file is copied to its own name followed
// by copySuffix, edit changes the copy (through calls that report their own failures), the copy
// is flushed to the disk and renamed over the file. Whenever the process stops, the file is the
// old one or the new one, whole. A failed step removes the copy; *cause receives the system's
// reason when the copy, the flush or the rename failed.
bool ReplaceThroughCopy(std::string_view path, std::string_view copySuffix, const std::function<bool()>& edit,
                        std::string* cause);

// Writes many files into one folder. Each name is matched without regard to letter case, as
// ToNative does, but against one listing of the folder taken at the start (and the files written
// through this since) instead of a fresh listing for every file: writing n files costs one
// listing, not n. Names are plain file names, without folder parts.
class FolderWriter {
 public:
  explicit FolderWriter(std::string_view folder);
  bool WriteWhole(std::string_view name, std::string_view data, std::string* error = nullptr);

 private:
  std::filesystem::path native_;
  std::unordered_set<std::string> names_;                 // as they are on disk (UTF-8)
  std::unordered_map<std::string, std::string> byLower_;  // Windows-1252 lower case -> name on disk
};

// A failed append is cut off again, so the file keeps its old contents.
bool Append(std::string_view path, std::string_view data, std::string* error = nullptr);
bool CreateOneFolder(std::string_view path, std::string* error = nullptr);
bool Remove(std::string_view path, std::string* error = nullptr);

// The names (UTF-8 turned back to Windows-1252) of the plain, non-hidden files of a folder, and
// of its sub-folders.
std::vector<std::string> ListFiles(std::string_view folder);
std::vector<std::string> ListFolders(std::string_view folder);

}  // namespace tovak2d::platform::files
