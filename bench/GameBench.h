// SPDX-License-Identifier: Zlib
#pragma once

// What the game benchmarks share: the real game started headless in a scratch folder of its own,
// with the benchmarks run between its start and its shutdown.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "modDeclares.h"
#include "modMain.h"

namespace gamebench {

namespace fs = std::filesystem;

// The build tree the benchmark program lies in.
inline fs::path BuildFolder() {
  return fs::canonical("/proc/self/exe").parent_path().parent_path();
}

// The sound and dialog drivers that need no hardware, and the video driver named, unless the
// environment names others; then a new scratch folder for the game.
inline fs::path Start(const char* videoDriver = "dummy") {
  setenv("SDL_VIDEODRIVER", videoDriver, 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("TOVAK2D_QUIET_DIALOGS", "1", 0);
  char pattern[] = "/tmp/varnel-bench-XXXXXX";
  return mkdtemp(pattern);
}

// Starts the game in folder with the frame limit lifted, so that passes wait out no frame period;
// then started, the benchmarks and the shutdown. The folder is removed at the end; the exit status
// says whether the game started.
inline int RunInGame(const fs::path& folder, const std::function<void()>& started) {
  int status = 1;
  if (varnel::Startup(folder.string())) {
    varnel::oExtra->SetFPSLimit(0);
    started();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    varnel::Shutdown();
    status = 0;
  }
  fs::remove_all(folder);
  return status;
}

}  // namespace gamebench
