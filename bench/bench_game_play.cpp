// SPDX-License-Identifier: Zlib
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "GameBench.h"
#include "ShellData.h"
#include "TestPacks.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"
#include "modRender.h"

// What the play screen costs a frame, next to the 20 ms a frame has at 50 frames a second: the
// whole pass of a running level, the live rank's table read anew every frame, and choosing a
// level of a large pack (between two levels).
namespace {

namespace fs = std::filesystem;
fs::path folder;

std::string FullTable() {
  std::vector<std::pair<std::string, std::string>> scores;
  for (int r = 1; r <= 10; ++r)
    scores.emplace_back(std::to_string(1100 - 100 * r), "Player" + std::to_string(r));
  return shelldata::Table(scores);
}

void StartGame(int levels, bool vertical) {
  shelldata::OnlyPacks(folder, {{"pack.vnl", play::GoodPack(levels, vertical, FullTable())}});
  varnel::ScanPacks();
  varnel::intPackSel = 0;
  varnel::NewGame();
  varnel::strNumLevels = std::to_string(levels);
}

void BM_PlayingPass(benchmark::State& state) {
  StartGame(10, state.range(0) != 0);
  varnel::LoadLevel();
  varnel::sngPlayFade = 100;
  varnel::sngScore = 450;
  for (auto _ : state) {
    varnel::sngTimer = 100;  // the level never runs out
    varnel::RunPass();
  }
  varnel::ExitToMenu();
}
BENCHMARK(BM_PlayingPass)->ArgName("vertical")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_LiveRankTable(benchmark::State& state) {
  StartGame(10, true);
  varnel::sngScore = 450;
  for (auto _ : state) {
    varnel::BindPackTable();
    benchmark::DoNotOptimize(varnel::oExtra->HighScore_CheckPos(varnel::sngScore));
  }
  varnel::ExitToMenu();
}
BENCHMARK(BM_LiveRankTable)->Unit(benchmark::kMicrosecond);

void BM_PickLevel(benchmark::State& state) {
  StartGame(static_cast<int>(state.range(0)), true);
  for (auto _ : state) {
    varnel::ResetLevelsUsed();
    benchmark::DoNotOptimize(varnel::PickLevel());
  }
  varnel::ExitToMenu();
}
BENCHMARK(BM_PickLevel)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  folder = gamebench::Start();
  // The interface pictures of the built game, at their real sizes, when it lies beside the
  // benchmarks; small stand-ins otherwise.
  const fs::path built = gamebench::BuildFolder() / "varnel";
  if (fs::exists(built / "game data" / "pictures.vnl"))
    fs::copy(built / "game data", folder / "game data", fs::copy_options::recursive);
  else
    shelldata::WriteInterfaceArchive(folder);
  return gamebench::RunInGame(folder, [&] {
    varnel::RunPass();  // the first pass builds the catalogue
    benchmark::Initialize(&argc, argv);
  });
}
