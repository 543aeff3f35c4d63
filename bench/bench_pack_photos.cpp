// SPDX-License-Identifier: Zlib
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Image.h"
#include "PhotoFiles.h"
#include "PhotoLevel.h"

// One level made from a photo, as varnel-pack photos makes it: the header read, the photo
// decoded upright, fitted to the layout, given its five differences and the pair encoded. The
// photos are the sample photographs Debian ships with scikit-image.
namespace {

namespace fs = std::filesystem;
using namespace varnel::pack;

const fs::path kPhotos = "/usr/lib/python3/dist-packages/skimage/data";
fs::path folder;  // photos of a phone camera's size, made by main

void BM_PhotoLevel(benchmark::State& state, const char* name, Difficulty difficulty) {
  const fs::path file = fs::exists(kPhotos / name) ? kPhotos / name : folder / name;
  for (auto _ : state) {
    std::string error;
    auto header = ReadPhotoHeader(file, &error);
    auto photo = header ? LoadPhoto(file, *header, 380, 256, &error) : std::nullopt;
    if (!photo) {
      state.SkipWithError((file.string() + ": " + error).c_str());
      break;
    }
    const Image fitted = ScaleToCover(*photo, 380, 256);
    auto level = MakePhotoLevel(fitted, difficulty, 1, &error);
    if (!level) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(level);
  }
}

// The photos measured, one benchmark each, named BM_PhotoLevel/<name>.
struct PhotoCase {
  const char* name;
  const char* file;
  Difficulty difficulty;
};
constexpr PhotoCase kPhotoCases[] = {
    {"astronaut_png_512x512", "astronaut.png", Difficulty::kNormal},
    {"chelsea_png_451x300", "chelsea.png", Difficulty::kNormal},
    {"coffee_png_600x400", "coffee.png", Difficulty::kNormal},
    {"motorcycle_png_741x500", "motorcycle_left.png", Difficulty::kNormal},
    {"rocket_jpg_640x427", "rocket.jpg", Difficulty::kNormal},
    {"rocket_jpg_640x427_hard", "rocket.jpg", Difficulty::kHard},
    {"rocket_jpg_640x427_easy", "rocket.jpg", Difficulty::kEasy},
    // A phone camera's 12 megapixels, as JPEG and as 16-bit PNG: the largest photos players bring.
    {"phone_jpg_4032x3024", "phone.jpg", Difficulty::kNormal},
    {"phone_png16_4032x3024", "phone.png", Difficulty::kNormal},
};

}  // namespace

int main(int argc, char** argv) {
  char pattern[] = "/tmp/varnel-bench-photos-XXXXXX";
  folder = mkdtemp(pattern);
  const std::string source = (kPhotos / "motorcycle_left.png").string();
  const std::string resize = "timeout 120 convert '" + source + "' -resize 4032x3024! ";
  if (std::system((resize + "-quality 92 '" + (folder / "phone.jpg").string() + "'").c_str()) != 0 ||
      std::system((resize + "'PNG48:" + (folder / "phone.png").string() + "'").c_str()) != 0)
    return 1;
  for (const PhotoCase& photo : kPhotoCases)
    benchmark::RegisterBenchmark((std::string("BM_PhotoLevel/") + photo.name).c_str(), BM_PhotoLevel, photo.file,
                                 photo.difficulty)
        ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(folder);
  return 0;
}
