#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "ShellData.h"
#include "modDeclares.h"
#include "modMain.h"

// The game shell's costs that grow with the data: a pass of a full particle pool, putting a score
// into packs of growing size at once, and building the catalogue of many packs.
namespace {

namespace fs = std::filesystem;
fs::path folder;

void MakePacks(int count, size_t pictureBytes) {
  shelldata::Entries entries = shelldata::GoodPack(10, true, shelldata::Table({{"500", "Ann"}}));
  entries.emplace_back("large.bin", std::string(pictureBytes, 'p'));
  shelldata::OnlyPacks(folder, {});
  for (int i = 0; i < count; ++i) shelldata::WritePack(folder, "pack" + std::to_string(i) + ".vnl", entries);
}

void BM_ParticlePass(benchmark::State& state) {
  for (auto& particle : varnel::Particles) particle = {30000, 5, 10, 10, 0, 0, 1, 0, true};
  for (auto _ : state) varnel::ParticleFX(false, 0, 0, 0, 0, 0, 0, 200, true);
  for (auto& particle : varnel::Particles) particle = {};
}
BENCHMARK(BM_ParticlePass);

void BM_SavePackScore(benchmark::State& state) {
  MakePacks(1, static_cast<size_t>(state.range(0)) << 20);
  varnel::ScanPacks();
  int score = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shelldata::Put(folder / "0hscore.ini", shelldata::Table({{std::to_string(++score), "Bo"}}));
    state.ResumeTiming();
    varnel::SavePackScore(0);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(fs::file_size(folder / "packs/pack0.vnl")));
}
BENCHMARK(BM_SavePackScore)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_ScanPacks(benchmark::State& state) {
  MakePacks(static_cast<int>(state.range(0)), 0);
  for (auto _ : state) varnel::ScanPacks();
}
BENCHMARK(BM_ScanPacks)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("TOVAK2D_QUIET_DIALOGS", "1", 0);
  char pattern[] = "/tmp/varnel-bench-XXXXXX";
  folder = mkdtemp(pattern);
  shelldata::WriteInterfaceArchive(folder);
  int status = 1;
  if (varnel::Startup(folder.string())) {
    varnel::oExtra->SetFPSLimit(0);  // the loading frame of the catalogue waits no frame out
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    varnel::Shutdown();
    status = 0;
  }
  fs::remove_all(folder);
  return status;
}
