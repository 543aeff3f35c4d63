// SPDX-License-Identifier: Zlib
#pragma once

// What the archive benchmarks share: a scratch folder that is the engine's application folder, and
// archive entries written in the appending layout.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "Archive.h"
#include "modExtra.h"

namespace archivebench {

namespace fs = std::filesystem;

// The scratch folder while the benchmarks run.
inline fs::path folder;

// Appends one entry to an archive being written.
inline void PutEntry(std::ostream& out, std::string_view name, std::string_view contents) {
  out << tovak2d::modExtra::kSplitMarker << name << tovak2d::modExtra::kHereMarker << contents;
}

// Runs the benchmarks the command line names in a new scratch folder "varnel-bench-<name>-...",
// after fill has made their files there; the folder is removed at the end.
inline int RunInScratchFolder(int argc, char** argv, const std::string& name,
                              const std::function<void()>& fill) {
  benchmark::Initialize(&argc, argv);
  std::string pattern = (fs::temp_directory_path() / ("varnel-bench-" + name + "-XXXXXX")).string();
  folder = ::mkdtemp(pattern.data());
  tovak2d::modExtra::AppPath = folder.string();
  fill();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(folder);
  return 0;
}

}  // namespace archivebench
