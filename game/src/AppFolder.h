// SPDX-License-Identifier: Zlib
#pragma once

#include <filesystem>
#include <string>

namespace varnel {

// Chooses the folder the game reads and writes (options, log, screenshots, packs and their scores):
//  - a program folder holding "game data" is a build or unpacked folder: it is used as it is;
//  - otherwise the installed data folder, <program>/../share/varnel, if this user may write into it;
//  - otherwise userFolder, made and brought up to date from the installed folder.
// Falls back to the program folder when there is no installed data, and to the installed folder
// when the user's folder cannot be made. Problems are reported on stderr: the log is not open yet.
std::string ChooseAppFolder(const std::string& programFolder, const std::string& userFolder);

// ChooseAppFolder in two steps, so that the game can claim its folder before it writes a byte:
// the folder to use, and the installed folder to fill it from (empty when it is used as it is).
struct AppFolderPlan {
  std::string folder;
  std::string fillFrom;
};
AppFolderPlan PlanAppFolder(const std::string& programFolder, const std::string& userFolder);
// Makes and fills the planned folder; the folder to use, the installed one when that failed.
std::string SettleAppFolder(const AppFolderPlan& plan);

// The user's own game folder: $XDG_DATA_HOME/varnel, or ~/.local/share/varnel when XDG_DATA_HOME is
// unset or not an absolute path. Empty when there is no home folder either.
std::string UserDataFolder(const char* xdgDataHome, const char* home);

// True when the folder exists and this user may write into it. Root may write anywhere, so for
// root a folder counts as writable only if its mode grants some write permission: a data folder
// made read-only stays untouched whoever runs the game.
bool FolderIsWritable(const std::filesystem::path& folder);

// Fills the user's folder from the installed one: the pictures and sounds as links, a copy of the
// options, and a copy of every installed pack not copied before. A pack is copied once: one the
// player deleted is not brought back, one the player made or played (with its scores) is never
// overwritten. "copied packs.txt" in the user's folder lists the packs copied so far.
// Returns false when the user's folder cannot be made.
bool FillUserFolder(const std::filesystem::path& installed, const std::filesystem::path& user);

}  // namespace varnel
