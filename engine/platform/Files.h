#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file system. Paths come in as the engine holds them (Windows-1252 text, '\' or '/'
// separators, perhaps a drive letter) and are turned into Linux paths here only.
namespace tovak2d::platform::files {

// Backslashes become '/', a drive letter ("C:") is dropped so the path starts at the root,
// text becomes UTF-8, and every part that does not exist as written is matched against its
// folder without regard to letter case, as Windows would.
std::filesystem::path ToNative(std::string_view path);

bool Exists(std::string_view path);  // a file or a folder
bool IsFolder(std::string_view path);

// The whole file, or nothing (with the reason in *error).
std::optional<std::string> ReadWhole(std::string_view path, std::string* error = nullptr);

// Creates or replaces the file so that it holds exactly data.
bool WriteWhole(std::string_view path, std::string_view data, std::string* error = nullptr);

// Writes data beside the file and renames it over the old one, so a crash or a full disk
// leaves either the old file or the new one, never a part of either.
bool ReplaceWhole(std::string_view path, std::string_view data, std::string* error = nullptr);

bool Append(std::string_view path, std::string_view data, std::string* error = nullptr);
bool CreateOneFolder(std::string_view path, std::string* error = nullptr);
bool Remove(std::string_view path, std::string* error = nullptr);

// The names (UTF-8 turned back to Windows-1252) of the plain, non-hidden files of a folder, and
// of its sub-folders.
std::vector<std::string> ListFiles(std::string_view folder);
std::vector<std::string> ListFolders(std::string_view folder);

}  // namespace tovak2d::platform::files
