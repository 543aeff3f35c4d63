// SPDX-License-Identifier: Zlib
#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "GameBench.h"
#include "ShellData.h"
#include "TestPacks.h"
#include "modDeclares.h"
#include "modMain.h"

// The game shell's costs that grow with the data: a pass of a full particle pool, putting a score
// into packs of growing size at once, and building the catalogue of many packs.
namespace {

namespace fs = std::filesystem;
fs::path folder;
fs::path buildFolder;  // the build tree the benchmark lies in

constexpr int kLargePacks = 100;

// What the cached large packs were made by: the pack tool's size and change time. A new tool may
// make different packs, so a cache made by another one is stale.
std::string ToolStamp(const fs::path& tool) {
  struct stat info {};
  if (::stat(tool.c_str(), &info) != 0) return {};
  return std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "." +
         std::to_string(info.st_mtim.tv_nsec);
}

// One pack of 50 generated levels made by the pack tool, with an extra entry of 5 MB of noise
// that brings it to about 10 MB, copied kLargePacks times. Made once and kept in the build tree
// (generating takes a while); made again when the pack tool changed. Empty when it cannot be made.
fs::path LargePacks() {
  const fs::path tool = buildFolder / "varnel" / "varnel-pack";
  const fs::path cache = buildFolder / "bench-cache" / "packs-100x50";
  const std::string stamp = ToolStamp(tool);
  if (stamp.empty()) return {};
  std::string cached;
  std::getline(std::ifstream(cache / "made-by"), cached);
  if (cached == stamp) return cache / "packs";

  std::error_code ec;
  fs::remove_all(cache, ec);
  fs::create_directories(cache / "packs");
  const fs::path one = cache / "one.vnl", noise = cache / "extra.bin";
  std::string bytes(5 << 20, '\0');
  uint64_t state = 88172645463325252ull;  // xorshift: incompressible like picture data
  for (char& c : bytes) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    c = static_cast<char>(state >> 32);
  }
  shelldata::Put(noise, bytes);
  const std::string q = "'";
  const std::string make = "timeout 600 " + q + tool.string() + q +
                           " generate --layout vertical --levels 50 --seed 3 " + q + one.string() + q +
                           " >/dev/null && timeout 60 " + q + tool.string() + q + " add " + q + one.string() +
                           q + " " + q + noise.string() + q + " extra.bin >/dev/null";
  if (std::system(make.c_str()) != 0) {
    fs::remove_all(cache, ec);
    return {};
  }
  for (int i = 0; i < kLargePacks; ++i)
    fs::copy_file(one, cache / "packs" / ("Pack " + std::to_string(i) + ".vnl"));
  fs::remove(one, ec);
  fs::remove(noise, ec);
  std::ofstream(cache / "made-by") << stamp << "\n";
  return cache / "packs";
}

void MakePacks(int count, size_t pictureBytes) {
  shelldata::Entries entries = play::GoodPack(10, true, shelldata::Table({{"500", "Ann"}}));
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

void ScanPacksOf(benchmark::State& state) {
  for (auto _ : state) varnel::ScanPacks();
  state.counters["packs"] = static_cast<double>(varnel::PackFiles.size());
}

// Small packs of ten levels: the cost of the files each pack adds, apart from its size.
void BM_ScanPacks(benchmark::State& state) {
  MakePacks(static_cast<int>(state.range(0)), 0);
  ScanPacksOf(state);
}
BENCHMARK(BM_ScanPacks)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// The four packs of the built game.
void BM_ScanPacks_BuiltGame(benchmark::State& state) {
  const fs::path built = buildFolder / "varnel" / "packs";
  shelldata::OnlyPacks(folder, {});
  for (const auto& entry : fs::directory_iterator(built))
    fs::copy_file(entry.path(), folder / "packs" / entry.path().filename());
  ScanPacksOf(state);
}
BENCHMARK(BM_ScanPacks_BuiltGame)->Unit(benchmark::kMillisecond);

// 100 packs of 50 levels, about 10 MB each, read from the page cache (the first scan warms it).
void BM_ScanPacks_100x50Levels(benchmark::State& state) {
  const fs::path packs = LargePacks();
  if (packs.empty()) {
    state.SkipWithError("the large packs could not be made with the pack tool");
    return;
  }
  fs::remove_all(folder / "packs");
  fs::create_directory_symlink(packs, folder / "packs");
  varnel::ScanPacks();
  ScanPacksOf(state);
  fs::remove(folder / "packs");
}
BENCHMARK(BM_ScanPacks_100x50Levels)->Unit(benchmark::kMillisecond);

// A playable pack of ten thousand tiny extra entries, and one whose 300 MB entry is a hole in a
// sparse file with the score table after it: the scan must find the table without reading the
// hole, and a score is written back into the pack of many entries.
void HostilePacks() {
  shelldata::Entries many = play::GoodPack(2, true, shelldata::Table({{"50", "Cy"}}));
  for (int i = 0; i < 10000; ++i) many.emplace_back("tiny" + std::to_string(i) + ".txt", std::to_string(i));
  shelldata::OnlyPacks(folder, {{"many.vnl", many}});
  shelldata::Entries head = play::GoodPack(1, false, shelldata::Table({}));
  std::erase_if(head, [](const auto& entry) { return entry.first == "hscore.ini"; });
  const fs::path big = folder / "packs" / "huge.vnl";
  shelldata::Put(big, shelldata::Archive(head) + shelldata::Archive({{"padding.bin", ""}}));
  fs::resize_file(big, fs::file_size(big) + (300ull << 20));
  std::ofstream(big, std::ios::binary | std::ios::app)
      << shelldata::Archive({{"hscore.ini", shelldata::Table({{"70", "Di"}})}});
}

void BM_ScanPacks_Hostile(benchmark::State& state) {
  HostilePacks();
  ScanPacksOf(state);
}
BENCHMARK(BM_ScanPacks_Hostile)->Unit(benchmark::kMillisecond);

void BM_SavePackScore_TenThousandEntries(benchmark::State& state) {
  HostilePacks();
  varnel::ScanPacks();
  int many = -1;
  for (size_t i = 0; i < varnel::PackFiles.size(); ++i)
    if (varnel::PackFiles[i] == "many.vnl") many = static_cast<int>(i);
  if (many < 0) {
    state.SkipWithError("the pack of many entries was left out");
    return;
  }
  const std::string table = std::to_string(many) + "hscore.ini";
  int score = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shelldata::Put(folder / table, shelldata::Table({{std::to_string(++score), "Ed"}}));
    state.ResumeTiming();
    varnel::SavePackScore(static_cast<int16_t>(many));
  }
}
BENCHMARK(BM_SavePackScore_TenThousandEntries)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  folder = gamebench::Start();
  buildFolder = gamebench::BuildFolder();
  shelldata::WriteInterfaceArchive(folder);
  return gamebench::RunInGame(folder, [&] { benchmark::Initialize(&argc, argv); });
}
