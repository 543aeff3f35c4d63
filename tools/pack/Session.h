// SPDX-License-Identifier: Zlib
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tovak2d/Engine.h"
#include "tovak2d/Extra.h"

namespace varnel::pack {

// The engine, started on a private temporary folder that serves as its application folder: the
// scratch copies of INI files and pictures and the engine's log live there and vanish with it.
class Session {
 public:
  // Nothing, with the reason in *error, when the folder cannot be made.
  static std::unique_ptr<Session> Start(std::string* error);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  tovak2d::Extra& extra() { return extra_; }
  const std::filesystem::path& folder() const { return folder_; }
  std::filesystem::path ScratchPath(const std::string& name) const { return folder_ / name; }

  // The engine's log lines written since the last call: the reasons behind a refused operation.
  std::vector<std::string> TakeLog();
  // Passes those lines on to standard error, below the tool's own message.
  void ReportLog();

 private:
  explicit Session(std::filesystem::path folder);

  std::filesystem::path folder_;
  tovak2d::Engine engine_;
  tovak2d::Extra extra_;
  std::uintmax_t logRead_ = 0;
};

// How the engine names a file outside its folder: a drive letter and the absolute path, in
// Windows-1252. Nothing when the path holds a character Windows-1252 cannot hold.
std::optional<std::string> EngineName(const std::filesystem::path& path);

// The engine's name of an existing file. Nothing, with the tool's message, when path is not a
// file ("<path>: no such <what>") or the engine cannot name it.
std::optional<std::string> ExistingEngineName(const std::filesystem::path& path, const std::string& what);

// A file built under a temporary name beside its final one and renamed over it at the end, so a
// failure half-way leaves the old file (or none) rather than a broken one.
class FileUnderConstruction {
 public:
  explicit FileUnderConstruction(std::filesystem::path target);
  ~FileUnderConstruction();  // removes the partial file unless it was committed
  FileUnderConstruction(const FileUnderConstruction&) = delete;
  FileUnderConstruction& operator=(const FileUnderConstruction&) = delete;

  const std::filesystem::path& path() const { return partial_; }
  bool Commit(std::string* error);

 private:
  std::filesystem::path target_;
  std::filesystem::path partial_;
  bool committed_ = false;
};

// A running game keeps its packs' scores in copies and writes them back at its end: a pack
// written meanwhile would lose the scores or be overwritten. False, with the tool's message,
// when a game holds the folder `target` lies in (or the folder above it) and force is not set.
bool MayWrite(const std::filesystem::path& target, bool force);

// Whether a new pack may be written to `out`: it does not exist yet (or force replaces it), no
// running game holds its folder (or force) and its file name leaves the game something to show.
// False, with the tool's message.
bool MayMakePack(const std::filesystem::path& out, bool force);

// The tool's messages: "varnel-pack: " and the text on standard error.
void PrintError(const std::string& message);

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Whether a command that makes a pack stops before it starts: kExitUsage when its options could not
// be read, kExitFailure when the pack may not be made (MayMakePack), kExitOk to go on.
template <class Options>
int NewPackRefused(const std::optional<Options>& options) {
  if (!options) return kExitUsage;
  return MayMakePack(options->out, options->force) ? kExitOk : kExitFailure;
}

// PrintError, then the failure status.
int Fail(const std::string& message);

}  // namespace varnel::pack
