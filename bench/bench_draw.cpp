// SPDX-License-Identifier: Zlib
// 2,000 sprites a frame drawn through Engine::Draw, and the same sprites drawn by direct SDL calls
// on the same device: the engine's cost per frame against the direct one.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "EngineState.h"
#include "TextureData.h"
#include "tovak2d/Engine.h"
#include "tovak2d/TextureAccess.h"

namespace {

constexpr int kSprites = 2000;

struct Sprite {
  float x, y, angle;  // angle in degrees, anticlockwise
  int16_t opacity;
  uint8_t red, green, blue;
  bool turned;
};

// A 32 x 32 soft round particle with alpha, as a 32-bit BMP.
std::string ParticleBmp() {
  std::string out = "BM";
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
  };
  put32(54 + 32 * 32 * 4);
  put32(0);
  put32(54);
  put32(40);
  put32(32);
  put32(32);
  put32(1 | 32 << 16);
  for (int i = 0; i < 6; ++i) put32(0);
  for (int y = 31; y >= 0; --y)
    for (int x = 0; x < 32; ++x) {
      const double d = std::hypot(x - 15.5, y - 15.5) / 16;
      const uint32_t a = d >= 1 ? 0 : uint32_t(255 * (1 - d));
      put32(a << 24 | 0xFFFFFF);
    }
  return out;
}

class DrawFixture : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("TOVAK2D_QUIET_DIALOGS", "1", 0);
    char pattern[] = "/tmp/varnel-bench-XXXXXX";
    folder_ = mkdtemp(pattern);
    std::ofstream(folder_ + "/particle.bmp", std::ios::binary) << ParticleBmp();
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    window_ = SDL_CreateWindow("bench", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
    engine_ = std::make_unique<tovak2d::Engine>();
    engine_->Tovak2D_Start(window_, folder_, 800, 600, false);
    engine_->CreateTexture(particle_, "particle.bmp");
    renderer_ = tovak2d::EngineAccess::Of(*engine_).device->renderer;
    texture_ = tovak2d::TextureAccess::Data(particle_)->image->texture;

    // Half the sprites turn (particles), half stand upright (buttons, icons); all are tinted
    // and partly transparent.
    std::mt19937 random(7);
    sprites_.clear();
    for (int i = 0; i < kSprites; ++i)
      sprites_.push_back({float(random() % 770), float(random() % 570), float(random() % 360),
                          int16_t(20 + random() % 81), uint8_t(random()), uint8_t(random()),
                          uint8_t(random()), i % 2 == 0});
  }

  void TearDown(const benchmark::State&) override {
    particle_.Release();
    engine_->Tovak2D_Unload();
    engine_.reset();
    SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    std::filesystem::remove_all(folder_);
  }

 protected:
  std::string folder_;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<tovak2d::Engine> engine_;
  tovak2d::Texture particle_;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::vector<Sprite> sprites_;
};

uint8_t AlphaOf(int16_t opacity) {
  return uint8_t(std::lround(255.0 * opacity / 100.0));
}

}  // namespace

BENCHMARK_DEFINE_F(DrawFixture, EngineDraw)(benchmark::State& state) {
  const float size = float(state.range(0));
  for (auto _ : state) {
    engine_->ClearScreen();
    for (const Sprite& s : sprites_) {
      engine_->AmbientColor(s.red, s.green, s.blue);
      engine_->Draw(particle_, s.x, s.y, 32, 32, s.turned ? s.angle : 0, s.opacity, 0, 0, size, size);
    }
    SDL_RenderFlush(renderer_);
  }
  state.counters["sprites"] = kSprites;
}

// What a program on SDL alone does for the same sprites: turned ones as two textured triangles
// with their corners worked out per frame, upright ones as rectangle copies with colour and alpha
// modulation.
BENCHMARK_DEFINE_F(DrawFixture, DirectSdlGeometry)(benchmark::State& state) {
  static constexpr int kIndices[6] = {0, 1, 2, 3, 4, 5};
  const float size = float(state.range(0)), half = size / 2;
  const float degToRad = float(M_PI / 180);
  for (auto _ : state) {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    for (const Sprite& s : sprites_) {
      const SDL_Color tint{s.red, s.green, s.blue, AlphaOf(s.opacity)};
      if (!s.turned) {
        SDL_SetTextureColorMod(texture_, tint.r, tint.g, tint.b);
        SDL_SetTextureAlphaMod(texture_, tint.a);
        const SDL_FRect to{s.x, s.y, size, size};
        SDL_RenderCopyF(renderer_, texture_, nullptr, &to);
        continue;
      }
      const float c = std::cos(-s.angle * degToRad), n = std::sin(-s.angle * degToRad);
      const float cx = s.x + half, cy = s.y + half;
      SDL_Vertex corner[4];
      for (int i = 0; i < 4; ++i) {
        const float dx = (i & 1) ? half : -half, dy = (i & 2) ? half : -half;
        corner[i] = {{cx + dx * c - dy * n, cy + dx * n + dy * c}, tint, {float(i & 1), float(i >> 1)}};
      }
      const SDL_Vertex triangles[6] = {corner[0], corner[1], corner[2], corner[2], corner[1], corner[3]};
      SDL_RenderGeometry(renderer_, texture_, triangles, 6, kIndices, 6);
    }
    SDL_RenderFlush(renderer_);
  }
  state.counters["sprites"] = kSprites;
}

// The same sprites through SDL's own turned copy.
BENCHMARK_DEFINE_F(DrawFixture, DirectSdlCopyEx)(benchmark::State& state) {
  const float size = float(state.range(0));
  for (auto _ : state) {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    for (const Sprite& s : sprites_) {
      SDL_SetTextureColorMod(texture_, s.red, s.green, s.blue);
      SDL_SetTextureAlphaMod(texture_, AlphaOf(s.opacity));
      const SDL_FRect to{s.x, s.y, size, size};
      SDL_RenderCopyExF(renderer_, texture_, nullptr, &to, s.turned ? -s.angle : 0, nullptr, SDL_FLIP_NONE);
    }
    SDL_RenderFlush(renderer_);
  }
  state.counters["sprites"] = kSprites;
}

// 32 pixels: the particles as the game draws them. 2 pixels: almost nothing to fill, so the cost
// of the calls themselves shows.
BENCHMARK_REGISTER_F(DrawFixture, EngineDraw)->Arg(32)->Arg(2);
BENCHMARK_REGISTER_F(DrawFixture, DirectSdlGeometry)->Arg(32)->Arg(2);
BENCHMARK_REGISTER_F(DrawFixture, DirectSdlCopyEx)->Arg(32)->Arg(2);

BENCHMARK_MAIN();
