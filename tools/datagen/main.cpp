// SPDX-License-Identifier: Zlib
// varnel-datagen: draws, synthesises and packs the free game data into the game folder.
//
//   varnel-datagen --out <game folder> --work <scratch folder> [--seed <number>] [--threads <n>]
//
// The same seed always gives byte-identical files. The scratch folder is emptied first; it
// serves as the engine's application folder while the archives and INI files are written.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "GameFolder.h"
#include "Interface.h"
#include "Level.h"
#include "Music.h"
#include "Rng.h"
#include "Sounds.h"
#include "Themes.h"
#include "Wma.h"
#include "tovak2d/Engine.h"

namespace fs = std::filesystem;
using namespace datagen;

namespace {

struct Options {
  fs::path out, work;
  uint64_t seed = 20240611;
  unsigned threads = 0;
};

bool ParseArguments(int argc, char** argv, Options& o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string key = argv[i], value = argv[i + 1];
    if (key == "--out")
      o.out = value;
    else if (key == "--work")
      o.work = value;
    else if (key == "--seed")
      o.seed = std::strtoull(value.c_str(), nullptr, 10);
    else if (key == "--threads")
      o.threads = static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 10));
    else
      return false;
  }
  return !o.out.empty() && !o.work.empty() && argc % 2 == 1;
}

// Runs the jobs on a few threads, longest first as listed, and reports each as it finishes.
void RunJobs(const std::vector<std::pair<std::string, std::function<std::string()>>>& jobs,
             unsigned threads) {
  std::atomic<size_t> next{0}, done{0};
  std::mutex printing;
  std::exception_ptr failure;
  auto worker = [&] {
    for (size_t i; (i = next++) < jobs.size();) {
      std::string detail;
      try {
        detail = jobs[i].second();
      } catch (...) {
        std::lock_guard<std::mutex> lock(printing);
        if (!failure) failure = std::current_exception();
        next = jobs.size();
        return;
      }
      std::lock_guard<std::mutex> lock(printing);
      std::printf("datagen: [%zu/%zu] %s%s\n", ++done, jobs.size(), jobs[i].first.c_str(), detail.c_str());
      std::fflush(stdout);
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
  for (std::thread& t : pool) t.join();
  if (failure) std::rethrow_exception(failure);
}

void CopyInto(const fs::path& from, const fs::path& to) {
  fs::create_directories(to.parent_path());
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

// Everything the generator makes before the engine packs it.
struct Made {
  std::vector<std::vector<LevelPictures>> levels;  // per theme
  std::vector<NamedFile> pictures;
  std::vector<SoundEffect> sounds;
  Bytes music;
};

// Makes the music, every theme's levels, the interface's pictures and the sound effects, each a job of
// its own on `threads` threads; every piece takes its random numbers from its own fork of the seed.
Made MakeEverything(const std::vector<std::unique_ptr<Theme>>& themes, uint64_t seed, const fs::path& work,
                    unsigned threads) {
  Made made;
  made.levels.resize(themes.size());
  std::vector<PictureJob> pictureJobs = InterfacePictureJobs(seed);
  made.pictures.resize(pictureJobs.size());
  const std::vector<std::string> soundNames = SoundEffectNames();
  made.sounds.resize(soundNames.size());

  std::vector<std::pair<std::string, std::function<std::string()>>> jobs;
  jobs.emplace_back("music (composed and encoded as WMA)", [&] {
    made.music = EncodeWma(ComposeMusic(Rng(seed).Fork(0x4D75736963).Next()), work);
    return std::string();
  });
  for (size_t t = 0; t < themes.size(); ++t) {
    made.levels[t].resize(static_cast<size_t>(themes[t]->Levels()));
    for (int l = 1; l <= themes[t]->Levels(); ++l)
      jobs.emplace_back(themes[t]->PackName() + ", level " + std::to_string(l), [&, t, l] {
        LevelPictures& level = made.levels[t][static_cast<size_t>(l - 1)];
        level = MakeLevel(*themes[t], l, Rng(seed).Fork(t + 1).Next());
        std::string kinds;
        for (const DiffRect& r : level.rects)
          kinds += std::string(kinds.empty() ? ": " : ", ") + ChangeName(r.change);
        return kinds;
      });
  }
  for (size_t i = 0; i < pictureJobs.size(); ++i)
    jobs.emplace_back(pictureJobs[i].name, [&, i] {
      made.pictures[i] = {pictureJobs[i].name, pictureJobs[i].make()};
      return std::string();
    });
  for (size_t i = 0; i < soundNames.size(); ++i)
    jobs.emplace_back(soundNames[i], [&, i] {
      made.sounds[i] = MakeSoundEffect(soundNames[i], Rng(seed).Fork(0x534E44 + i).Next());
      return std::string();
    });
  RunJobs(jobs, threads);
  return made;
}

// The archives and INI files, written by the engine in the scratch folder.
void WriteArchives(const std::vector<std::unique_ptr<Theme>>& themes, const Made& made,
                   const fs::path& work) {
  tovak2d::Engine engine;
  if (!engine.Tovak2D_Start_OnlySound(nullptr, work.string()))
    throw std::runtime_error("the engine did not start (see " + (work / "log.txt").string() + ")");
  GameFolder folder(work);
  folder.WriteInterfaceArchive(made.pictures);
  folder.WriteOptions();
  std::printf("datagen: game data/pictures.vnl and options.ini written\n");
  for (size_t t = 0; t < themes.size(); ++t) {
    folder.WritePack(*themes[t], made.levels[t]);
    std::printf("datagen: packs/%s.vnl written\n", themes[t]->PackName().c_str());
  }
  engine.Tovak2D_Unload();
}

// Into the game folder. Packs made by an earlier version of the generator go first.
void Install(const std::vector<std::unique_ptr<Theme>>& themes, const Made& made, const fs::path& work,
             const fs::path& out) {
  if (fs::exists(out / "packs"))
    for (const auto& entry : fs::directory_iterator(out / "packs"))
      if (entry.path().extension() == ".vnl") fs::remove(entry.path());
  CopyInto(work / "game data" / "pictures.vnl", out / "game data" / "pictures.vnl");
  CopyInto(work / "game data" / "options.ini", out / "game data" / "options.ini");
  for (const auto& theme : themes)
    CopyInto(work / "packs" / (theme->PackName() + ".vnl"), out / "packs" / (theme->PackName() + ".vnl"));
  for (const SoundEffect& s : made.sounds) WriteFile(out / "sound" / s.name, EncodeWav(s.pcm));
  WriteFile(out / "sound" / "music.wma", made.music);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::fprintf(
        stderr,
        "usage: varnel-datagen --out <game folder> --work <scratch folder> [--seed N] [--threads N]\n");
    return 2;
  }
  const auto started = std::chrono::steady_clock::now();
  try {
    // The engine is only used for its files: keep it away from the sound card.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    fs::remove_all(options.work);
    fs::create_directories(options.work);
    const fs::path work = fs::absolute(options.work);
    const std::vector<std::unique_ptr<Theme>> themes = AllThemes();
    const unsigned threads =
        options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    const Made made = MakeEverything(themes, options.seed, work, threads);
    WriteArchives(themes, made, work);
    Install(themes, made, work, options.out);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("datagen: game folder %s ready in %.1f s\n", options.out.string().c_str(), seconds);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "datagen: error: %s\n", e.what());
    return 1;
  }
}
