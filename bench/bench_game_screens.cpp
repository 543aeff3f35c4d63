// SPDX-License-Identifier: Zlib
// One frame of each screen of the real game, frame limit lifted, on whatever display and renderer
// the environment names (the bench script runs it under Xvfb with SDL_RENDER_DRIVER=opengl and
// =software). Beside each screen, in the same run, its floor: the same sprites drawn by plain SDL
// calls straight into the window, without the game or the engine.
//
// The floor is recorded at the SDL boundary: this program defines the few SDL drawing functions the
// engine calls, so the engine's calls land here first; while a frame is recorded each call is kept
// (texture, rectangles, angle, colours as they stand) and passed on to SDL.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "GameBench.h"
#include "ShellData.h"
#include "frmMain.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"
#include "modRender.h"

namespace {

namespace fs = std::filesystem;

struct DrawOp {
  enum class Kind { Clear, Copy, Triangles } kind = Kind::Clear;
  SDL_Texture* texture = nullptr;
  SDL_Color color{};  // Clear: the colour; Copy: the texture's colour and alpha modulation
  SDL_Rect source{};
  SDL_FRect target{};
  double angle = 0;
  SDL_FPoint center{};
  bool hasCenter = false;
  SDL_RendererFlip flip = SDL_FLIP_NONE;
  std::vector<SDL_Vertex> vertices;
  std::vector<int> indices;
};

bool recording = false;
std::vector<DrawOp> recorded;

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// True when the engine draws each frame into a texture and copies it into the window to present
// it (its software renderer does).
bool drawsIntoTexture = false;

// Only the frame's own drawing counts: where the engine draws into a texture, the copy of the
// finished frame into the window (drawn with no render target) is its presentation, which the
// floor does with its own present.
bool DrawingFrame(SDL_Renderer* renderer) {
  return recording && (!drawsIntoTexture || SDL_GetRenderTarget(renderer) != nullptr);
}

}  // namespace

extern "C" {

int SDL_RenderClear(SDL_Renderer* renderer) {
  static auto real = Real<int (*)(SDL_Renderer*)>("SDL_RenderClear");
  if (DrawingFrame(renderer)) {
    DrawOp op;
    SDL_GetRenderDrawColor(renderer, &op.color.r, &op.color.g, &op.color.b, &op.color.a);
    recorded.push_back(std::move(op));
  }
  return real(renderer);
}

int SDL_RenderCopyExF(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source,
                      const SDL_FRect* target, const double angle, const SDL_FPoint* center,
                      const SDL_RendererFlip flip) {
  static auto real = Real<int (*)(SDL_Renderer*, SDL_Texture*, const SDL_Rect*, const SDL_FRect*, double,
                                  const SDL_FPoint*, SDL_RendererFlip)>("SDL_RenderCopyExF");
  if (DrawingFrame(renderer) && source && target) {
    DrawOp op;
    op.kind = DrawOp::Kind::Copy;
    op.texture = texture;
    SDL_GetTextureColorMod(texture, &op.color.r, &op.color.g, &op.color.b);
    SDL_GetTextureAlphaMod(texture, &op.color.a);
    op.source = *source;
    op.target = *target;
    op.angle = angle;
    op.hasCenter = center != nullptr;
    if (center) op.center = *center;
    op.flip = flip;
    recorded.push_back(std::move(op));
  }
  return real(renderer, texture, source, target, angle, center, flip);
}

// On the software renderer the engine maps turned sprites itself, through a texture it locks. While
// the floor's frame is recorded, that lock fails, so the engine leaves them to SDL, as a plain SDL
// program would draw them, and the floor replays SDL's own drawing of them.
int SDL_LockTexture(SDL_Texture* texture, const SDL_Rect* rect, void** pixels, int* pitch) {
  static auto real = Real<int (*)(SDL_Texture*, const SDL_Rect*, void**, int*)>("SDL_LockTexture");
  if (recording) return SDL_SetError("the plain SDL frame is being recorded");
  return real(texture, rect, pixels, pitch);
}

int SDL_RenderGeometryRaw(SDL_Renderer* renderer, SDL_Texture* texture, const float* xy, int xyStride,
                          const SDL_Color* color, int colorStride, const float* uv, int uvStride,
                          int vertexCount, const void* indices, int indexCount, int indexSize) {
  static auto real = Real<int (*)(SDL_Renderer*, SDL_Texture*, const float*, int, const SDL_Color*, int,
                                  const float*, int, int, const void*, int, int)>("SDL_RenderGeometryRaw");
  if (DrawingFrame(renderer) && indexSize == static_cast<int>(sizeof(int))) {
    DrawOp op;
    op.kind = DrawOp::Kind::Triangles;
    op.texture = texture;
    const auto at = [](const void* base, int stride, int i) {
      return static_cast<const char*>(base) + static_cast<ptrdiff_t>(stride) * i;
    };
    for (int i = 0; i < vertexCount; ++i) {
      SDL_Vertex v;
      const auto* p = reinterpret_cast<const float*>(at(xy, xyStride, i));
      const auto* t = reinterpret_cast<const float*>(at(uv, uvStride, i));
      v.position = {p[0], p[1]};
      v.color = *reinterpret_cast<const SDL_Color*>(at(color, colorStride, i));
      v.tex_coord = {t[0], t[1]};
      op.vertices.push_back(v);
    }
    const int* list = static_cast<const int*>(indices);
    op.indices.assign(list, list + indexCount);
    recorded.push_back(std::move(op));
  }
  return real(renderer, texture, xy, xyStride, color, colorStride, uv, uvStride, vertexCount, indices,
              indexCount, indexSize);
}

}  // extern "C"

namespace {

fs::path folder;
SDL_Renderer* renderer = nullptr;

void Push(SDL_Event event) {
  SDL_PushEvent(&event);
}

void MoveMouse(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = SDL_GetWindowID(varnel::frmMain::hWnd());
  e.motion.x = x;
  e.motion.y = y;
  Push(e);
  varnel::RunPass();
  varnel::RunPass();
}

void FillParticlePool() {
  int i = 0;
  for (auto& p : varnel::Particles) {
    p = {.Life = 30000,
         .Kind = static_cast<int16_t>(i % 2 == 0 ? 0 : 5),
         .X = static_cast<float>((i * 53) % 800),
         .Y = static_cast<float>((i * 37) % 600),
         .Spin = 1,
         .Angle = static_cast<float>(i * 7 % 360),
         .Fade = true};
    ++i;
  }
}

// The index in the catalogue of the first pack of that layout.
int16_t PackOfLayout(bool vertical) {
  for (size_t i = 0; i < varnel::PackFiles.size(); ++i) {
    const std::string info = shelldata::Bytes(folder / (std::to_string(i) + "packinfo.ini"));
    if ((info.find("Vertical=True") != std::string::npos) == vertical) return static_cast<int16_t>(i);
  }
  return 0;
}

void EnterScreen(int screen) {
  varnel::ExitToMenu();
  varnel::sngLogoFade = 100;
  switch (screen) {
    case 0:  // credits, every particle alive
      varnel::intScreen = varnel::kScreenCredits;
      FillParticlePool();
      MoveMouse(700, 560);
      break;
    case 1:  // Start Game, a pack's information shown
      varnel::intScreen = varnel::kScreenStartGame;
      MoveMouse(500, 184);
      break;
    case 2:
    case 3:  // playing, vertical or horizontal pack
      varnel::intPackSel = PackOfLayout(screen == 2);
      varnel::NewGame();
      varnel::LoadLevel();
      varnel::sngPlayFade = 100;
      varnel::sngScore = 450;
      MoveMouse(400, 300);
      break;
    case 4:  // name entry
      varnel::intScreen = varnel::kScreenNameEntry;
      varnel::strPlayerName = "Bench Player";
      MoveMouse(400, 300);
      break;
  }
}

const char* const kScreenNames[] = {"credits_full_particles", "start_game_40_packs", "play_vertical",
                                    "play_horizontal", "name_entry"};

void KeepScreenGoing() {
  varnel::sngTimer = 100;  // a level never runs out
  if (varnel::intScreen == varnel::kScreenCredits)
    for (auto& p : varnel::Particles) p.Life = 30000;
}

void BM_Frame(benchmark::State& state) {
  EnterScreen(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    KeepScreenGoing();
    varnel::RunPass();
  }
  state.SetLabel(kScreenNames[state.range(0)]);
}

void Replay(const std::vector<DrawOp>& ops) {
  for (const DrawOp& op : ops) {
    switch (op.kind) {
      case DrawOp::Kind::Clear:
        SDL_SetRenderDrawColor(renderer, op.color.r, op.color.g, op.color.b, op.color.a);
        SDL_RenderClear(renderer);
        break;
      case DrawOp::Kind::Copy:
        SDL_SetTextureColorMod(op.texture, op.color.r, op.color.g, op.color.b);
        SDL_SetTextureAlphaMod(op.texture, op.color.a);
        SDL_RenderCopyExF(renderer, op.texture, &op.source, &op.target, op.angle,
                          op.hasCenter ? &op.center : nullptr, op.flip);
        break;
      case DrawOp::Kind::Triangles:
        SDL_RenderGeometry(renderer, op.texture, op.vertices.data(), static_cast<int>(op.vertices.size()),
                           op.indices.data(), static_cast<int>(op.indices.size()));
        break;
    }
  }
  SDL_RenderPresent(renderer);
}

// The same frame by plain SDL: the sprites of one recorded frame drawn straight into the window.
void BM_Floor(benchmark::State& state) {
  EnterScreen(static_cast<int>(state.range(0)));
  KeepScreenGoing();
  recorded.clear();
  recording = true;
  varnel::RunPass();
  recording = false;
  const std::vector<DrawOp> ops = std::move(recorded);
  SDL_Texture* frameTarget = SDL_GetRenderTarget(renderer);
  SDL_SetRenderTarget(renderer, nullptr);
  for (auto _ : state) Replay(ops);
  SDL_SetRenderTarget(renderer, frameTarget);
  state.counters["draws"] = static_cast<double>(ops.size());
  state.SetLabel(kScreenNames[state.range(0)]);
}

// CPU time is the whole process's: a GL driver that renders in software does its work on threads
// of its own.
BENCHMARK(BM_Frame)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Floor)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The game folder of the build with its four packs each copied ten times: 40 packs to list.
void MakeGameFolder(const fs::path& built) {
  for (const char* part : {"game data", "sound"})
    fs::copy(built / part, folder / part, fs::copy_options::recursive);
  fs::create_directories(folder / "packs");
  for (int copy = 0; copy < 10; ++copy)
    for (const auto& entry : fs::directory_iterator(built / "packs"))
      fs::copy_file(entry.path(),
                    folder / "packs" / (entry.path().stem().string() + " " + std::to_string(copy) + ".vnl"));
}

}  // namespace

int main(int argc, char** argv) {
  const char* videoDriver = std::getenv("DISPLAY") ? "x11" : "dummy";
  benchmark::Initialize(&argc, argv);
  const fs::path built = gamebench::BuildFolder() / "varnel";
  if (!fs::exists(built / "game data" / "pictures.vnl")) {
    std::fprintf(stderr, "bench_game_screens: no built game in %s\n", built.c_str());
    return 1;
  }
  folder = gamebench::Start(videoDriver);
  MakeGameFolder(built);
  shelldata::Put(folder / "game data" / "options.ini",
                 "[Options]\r\nScreen=True\r\nMusic=False\r\nSound=False\r\nParticle=True\r\n");
  return gamebench::RunInGame(folder, [] {
    varnel::RunPass();  // the first pass builds the catalogue
    renderer = SDL_GetRenderer(varnel::frmMain::hWnd());
    drawsIntoTexture = renderer && SDL_GetRenderTarget(renderer) != nullptr;
    SDL_RendererInfo info{};
    if (renderer && SDL_GetRendererInfo(renderer, &info) == 0)
      benchmark::AddCustomContext("renderer", info.name ? info.name : "?");
    benchmark::AddCustomContext("video_driver",
                                SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "?");
  });
}
