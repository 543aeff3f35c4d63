// SPDX-License-Identifier: Zlib
#include <fstream>
#include <random>

#include "ArchiveBench.h"
#include "PackCheck.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;
using archivebench::folder;

namespace {

// A pack of levels levels, each with two pictures of pictureSize random bytes: the check reads
// every INI value and looks for every picture, which it can only do by extracting it.
void MakePack(const std::string& name, int levels, size_t pictureSize) {
  std::mt19937_64 random(7);
  std::ofstream out(folder / "packs" / name, std::ios::binary);
  auto entry = [&](const std::string& entryName, const std::string& contents) {
    archivebench::PutEntry(out, entryName, contents);
  };
  entry("packinfo.ini", "[General]\r\nNumOfLevels=" + std::to_string(levels) + "\r\nVertical=True\r\n");
  entry("hscore.ini", "[setup]\r\nTopX=10\r\nadditionalValues=0\r\n");
  std::string picInfo;
  for (int n = 1; n <= levels; ++n) {
    picInfo += "[" + std::to_string(n) + "]\r\n";
    for (int d = 1; d <= 5; ++d)
      for (const char* edge : {"Left", "Right", "Top", "Bottom"})
        picInfo += std::to_string(d) + edge + "=" + std::to_string(d * 40) + "\r\n";
    picInfo += "PicInfo=Level " + std::to_string(n) + "\r\n";
  }
  entry("picinfo.ini", picInfo);
  std::string picture(pictureSize, '\0');
  for (int n = 1; n <= levels; ++n)
    for (const char* suffix : {".jpg", "x.jpg"}) {
      for (char& c : picture) c = static_cast<char>('a' + random() % 26);
      entry(std::to_string(n) + suffix, picture);
    }
}

void BM_CheckPack(benchmark::State& state, const char* name) {
  Extra extra;
  for (auto _ : state) {
    varnel::packs::PackReport report =
        varnel::packs::CheckPack(extra, std::string("\\packs\\") + name, "~bench-", folder);
    if (!report.ok()) state.SkipWithError(report.problems.front().c_str());
    benchmark::DoNotOptimize(report.levels.data());
  }
}

BENCHMARK_CAPTURE(BM_CheckPack, levels_50_pictures_40KB, "large.vnl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckPack, levels_10_pictures_40KB, "small.vnl")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return archivebench::RunInScratchFolder(argc, argv, "packs", [] {
    std::filesystem::create_directory(folder / "packs");
    MakePack("large.vnl", 50, 40 << 10);
    MakePack("small.vnl", 10, 40 << 10);
  });
}
