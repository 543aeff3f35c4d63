// SPDX-License-Identifier: Zlib
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <random>

#include "ArchiveBench.h"
#include "platform/Files.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
using archivebench::folder;
namespace fs = std::filesystem;

namespace {

// An archive of count entries of size random bytes each, in the appending layout.
void MakeArchive(const std::string& name, int count, size_t size) {
  std::mt19937_64 random(42);
  std::ofstream out(folder / name, std::ios::binary);
  std::string contents(size, '\0');
  for (int i = 0; i < count; ++i) {
    for (char& c : contents) c = static_cast<char>(random());
    archivebench::PutEntry(out, "pics\\entry" + std::to_string(i) + ".bin", contents);
  }
}

// A 300 MB archive whose big entry is a hole in a sparse file: opening must not read it.
void MakeSparseArchive(const std::string& name) {
  {
    std::ofstream out(folder / name, std::ios::binary);
    archivebench::PutEntry(out, "small.txt", "abc");
    archivebench::PutEntry(out, "big.bin", "");
  }
  fs::resize_file(folder / name, fs::file_size(folder / name) + (300ull << 20));
  std::ofstream out(folder / name, std::ios::binary | std::ios::app);
  archivebench::PutEntry(out, "last.txt", "the end");
}

void BM_OpenPAK(benchmark::State& state, const char* name) {
  Extra extra;
  for (auto _ : state) {
    if (!extra.PAK_OpenPAK(name)) state.SkipWithError("cannot open");
    benchmark::DoNotOptimize(modExtra::PakIndex.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(folder / name)));
}

// The engine's whole-file read, the cost opening has to stay close to.
void BM_ReadWhole(benchmark::State& state, const char* name) {
  for (auto _ : state) benchmark::DoNotOptimize(platform::files::ReadWhole((folder / name).string()));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(folder / name)));
}

// Plain read() calls into a buffer that is already there: the floor for any reader.
void BM_ReadIntoBuffer(benchmark::State& state, const char* name) {
  std::string buffer(fs::file_size(folder / name), '\0');
  for (auto _ : state) {
    int fd = ::open((folder / name).c_str(), O_RDONLY);
    size_t used = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data() + used, buffer.size() - used)) > 0;)
      used += static_cast<size_t>(n);
    ::close(fd);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(buffer.size()));
}

void BM_ExtractFile(benchmark::State& state) {
  Extra extra;
  extra.PAK_OpenPAK("large.vnl");
  for (auto _ : state) benchmark::DoNotOptimize(extra.PAK_ExtractFile("entry31.bin", "out.bin"));
}

// Extracting every entry of an archive of ten thousand tiny ones, into a fresh folder each time.
void BM_ExtractAllTiny(benchmark::State& state) {
  Extra extra;
  extra.PAK_OpenPAK("tiny.vnl");
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(folder / "out");
    fs::create_directories(folder / "out");
    state.ResumeTiming();
    if (!extra.PAK_ExtractAll("out")) state.SkipWithError("cannot extract");
  }
}

BENCHMARK_CAPTURE(BM_OpenPAK, sparse_300MB, "sparse.vnl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenPAK, tiny_10000x4B, "tiny.vnl")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractAllTiny)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenPAK, large_64x1MB, "large.vnl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadWhole, large_64x1MB, "large.vnl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadIntoBuffer, large_64x1MB, "large.vnl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenPAK, small_2000x32KB, "small.vnl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadWhole, small_2000x32KB, "small.vnl")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractFile)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return archivebench::RunInScratchFolder(argc, argv, "archive", [] {
    MakeArchive("large.vnl", 64, 1 << 20);
    MakeArchive("small.vnl", 2000, 32 << 10);
    MakeArchive("tiny.vnl", 10000, 4);
    MakeSparseArchive("sparse.vnl");
  });
}
