// SPDX-License-Identifier: Zlib
// The sound's cost: the mixer's CPU time with the game's nine effects and the music playing
// together, and the music player's memory for a short and a long file.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "modExtra.h"
#include "platform/Audio.h"
#include "tovak2d/Engine.h"
#include "tovak2d/MP3Player.h"

namespace {

namespace fs = std::filesystem;
using namespace tovak2d;

constexpr size_t kRate = platform::audio::kOutputRate;

// One folder for the whole run, with the effects and the music pieces made once.
class Fixture {
 public:
  Fixture() {
    std::string pattern = (fs::temp_directory_path() / "tovak2d-bench-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    fs::create_directory(folder_ / "sound");
    modExtra::AppPath = folder_.string();
  }
  ~Fixture() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  const fs::path& folder() const { return folder_; }

  // A music piece of the given length made by ffmpeg; empty when it could not be made.
  std::string Music(int seconds) {
    const std::string name = "music" + std::to_string(seconds) + ".wma";
    const fs::path file = folder_ / "sound" / name;
    if (!fs::exists(file)) {
      const std::string command =
          "timeout 120 ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=330:"
          "sample_rate=44100:duration=" +
          std::to_string(seconds) + " -ac 2 -c:a wmav2 -b:a 128k '" + file.string() + "' >/dev/null 2>&1";
      if (std::system(command.c_str()) != 0) return {};
    }
    return "sound\\" + name;
  }

  // A 16-bit PCM wave file of a tone.
  std::string Effect(const std::string& name, int channels, int rate, double seconds) {
    const size_t frames = static_cast<size_t>(rate * seconds);
    std::string data;
    for (size_t i = 0; i < frames * static_cast<size_t>(channels); ++i) {
      const auto v = static_cast<int16_t>(8000 * std::sin(static_cast<double>(i) * 0.05));
      data += static_cast<char>(v & 0xFF);
      data += static_cast<char>((v >> 8) & 0xFF);
    }
    std::string header = "RIFF";
    auto put32 = [&](uint32_t v) {
      for (int b = 0; b < 4; ++b) header += static_cast<char>((v >> (8 * b)) & 0xFF);
    };
    auto put16 = [&](uint16_t v) {
      header += static_cast<char>(v & 0xFF);
      header += static_cast<char>(v >> 8);
    };
    put32(static_cast<uint32_t>(36 + data.size()));
    header += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(static_cast<uint16_t>(channels));
    put32(static_cast<uint32_t>(rate));
    put32(static_cast<uint32_t>(rate * channels * 2));
    put16(static_cast<uint16_t>(channels * 2));
    put16(16);
    header += "data";
    put32(static_cast<uint32_t>(data.size()));
    std::ofstream(folder_ / "sound" / name, std::ios::binary) << header << data;
    return "sound\\" + name;
  }

 private:
  fs::path folder_;
};

Fixture& Files() {
  static Fixture fixture;
  return fixture;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The nine effects the game loads, all playing at once (looped, so none runs out), with
// volume, pan and frequency settings that make the mixer resample and attenuate.
void StartNineEffects(Engine& engine) {
  const struct {
    const char* name;
    int channels, rate;
    int volume, pan, frequency;
  } effects[] = {
      {"click", 1, 22050, 80, 0, 0},      {"joker", 2, 44100, 100, 0, 0},    {"level", 1, 44100, 90, -30, 0},
      {"gameover", 2, 22050, 100, 20, 0}, {"welldone", 1, 11025, 70, 0, 22}, {"1key", 1, 22050, 100, 50, 40},
      {"2key", 1, 22050, 100, -50, 0},    {"3key", 2, 48000, 60, 0, 0},      {"4key", 1, 8000, 100, 0, 0},
  };
  for (const auto& e : effects) {
    engine.CreateSound(e.name, Files().Effect(std::string(e.name) + ".wav", e.channels, e.rate, 1.5));
    engine.SoundPlay(e.name, true, e.volume, e.pan, e.frequency);
  }
}

// Mixes one second of sound per iteration, after beforeEach, and reports the share
// of one core the mixing took.
template <class BeforeEach>
void MixSeconds(benchmark::State& state, BeforeEach beforeEach) {
  double cpuSeconds = 0, audioSeconds = 0;
  for (auto _ : state) {
    beforeEach();
    const double start = ProcessCpuSeconds();
    benchmark::DoNotOptimize(platform::audio::testing::Render(kRate));
    cpuSeconds += ProcessCpuSeconds() - start;
    audioSeconds += 1.0;
  }
  state.counters["cpu_%_of_core"] = 100.0 * cpuSeconds / audioSeconds;
  state.counters["audio_s"] = audioSeconds;
}

// Mixing one second of sound per iteration: the nine effects and the music together. The CPU
// time counts every thread of the process, so the music's decoding is in it.
void BM_NineEffectsAndMusic(benchmark::State& state) {
  platform::audio::testing::UseOfflineOutput(true);
  const std::string music = Files().Music(60);
  if (music.empty()) {
    state.SkipWithError("ffmpeg could not make the music");
    return;
  }
  {
    Engine engine;
    engine.Tovak2D_Start_OnlySound(nullptr, Files().folder().string());
    StartNineEffects(engine);
    MP3Player player;
    player.LoadMP3(music);
    int32_t volume = 95;
    player.SetVolume(volume);
    player.PlayMP3();
    MixSeconds(state, [&] {
      if (player.GetCurrentPosition() >= player.GetDuration()) player.PlayMP3(true);
    });
  }
  platform::audio::testing::UseOfflineOutput(false);
}
BENCHMARK(BM_NineEffectsAndMusic)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_NineEffectsOnly(benchmark::State& state) {
  platform::audio::testing::UseOfflineOutput(true);
  {
    Engine engine;
    engine.Tovak2D_Start_OnlySound(nullptr, Files().folder().string());
    StartNineEffects(engine);
    MixSeconds(state, [] {});
  }
  platform::audio::testing::UseOfflineOutput(false);
}
BENCHMARK(BM_NineEffectsOnly)->Unit(benchmark::kMillisecond)->Iterations(20);

// The player's heap while it plays a whole file, against the heap before it was loaded: the
// peak must not grow with the file's length.
void BM_MusicMemory(benchmark::State& state) {
  const int seconds = static_cast<int>(state.range(0));
  platform::audio::testing::UseOfflineOutput(true);
  const std::string music = Files().Music(seconds);
  if (music.empty()) {
    state.SkipWithError("ffmpeg could not make the music");
    return;
  }
  size_t peak = 0, loaded = 0;
  for (auto _ : state) {
    std::vector<float> out;
    out.reserve(kRate * 2);  // the test's own buffer is not the player's
    const size_t base = HeapInUse();
    {
      MP3Player player;
      player.LoadMP3(music);
      loaded = std::max(loaded, HeapInUse() - base);
      player.PlayMP3();
      for (int s = 0; s <= seconds && player.GetCurrentPosition() < player.GetDuration(); ++s) {
        out = platform::audio::testing::Render(kRate);
        peak = std::max(peak, HeapInUse() - base);
      }
    }
  }
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["loaded_bytes"] = static_cast<double>(loaded);
  state.counters["file_bytes"] =
      static_cast<double>(fs::file_size(Files().folder() / "sound" / music.substr(6)));
  platform::audio::testing::UseOfflineOutput(false);
}
BENCHMARK(BM_MusicMemory)->Arg(10)->Arg(600)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  // One heap arena for every thread, so the heap figures include the decoding thread.
  mallopt(M_ARENA_MAX, 1);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
