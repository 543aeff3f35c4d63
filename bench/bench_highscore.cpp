// SPDX-License-Identifier: Zlib
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "modExtra.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
namespace fs = std::filesystem;

namespace {

fs::path folder;

// A full table of the largest size the engine accepts: 100 ranks of 16 extra values.
std::string FullTable() {
  std::string text = "[setup]\r\nTopX=100\r\nadditionalValues=16\r\n[scores]\r\n";
  for (int r = 0; r <= 101; ++r) {
    const std::string p = std::to_string(r);
    text += p + "_score=" + std::to_string(r == 0 ? 0 : 1000000 - r * 10) + "\r\n" + p + "_name=Player" + p +
            "\r\n";
    for (int k = 0; k <= 16; ++k)
      text += p + "_value_" + std::to_string(k) + "=value" + std::to_string(k) + "\r\n";
  }
  return text;
}

// A new best score moves every row of the table down: one insert, the table loaded afresh each time.
void BM_NewTopScoreInAFullTable(benchmark::State& state) {
  const std::string table = FullTable();
  const std::vector<std::string> values(17, "new");
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(folder / "table.ini", std::ios::binary) << table;
    Extra extra;
    std::string name = "table.ini";
    if (!extra.HighScore_Create(name)) state.SkipWithError("cannot load the table");
    state.ResumeTiming();
    benchmark::DoNotOptimize(extra.HighScore_NewScore(2000000, "Best", values));
  }
}

}  // namespace

BENCHMARK(BM_NewTopScoreInAFullTable)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::string pattern = (fs::temp_directory_path() / "varnel-bench-highscore-XXXXXX").string();
  folder = ::mkdtemp(pattern.data());
  modExtra::AppPath = folder.string();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(folder);
  return 0;
}
