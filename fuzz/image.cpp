// SPDX-License-Identifier: Zlib
// Image loading on hostile bytes, through the engine's CreateTexture on the dummy video driver's
// software renderer. The first byte chooses the file's extension (DDS, BMP, JPEG or PNG), whether
// a colour key is given and whether the texture-size file names the picture; the rest is the file.
// A picture either loads into a texture of power-of-two sides that can be drawn, or fails with a
// log line and leaves the caller's texture as it was.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
#include "tovak2d/Engine.h"
#include "tovak2d/TextureAccess.h"

using fuzzsupport::Check;

namespace {

constexpr std::array<const char*, 4> kExtensions = {"dds", "bmp", "jpg", "png"};

struct Game {
  SDL_Window* window = nullptr;
  tovak2d::Engine engine;
  tovak2d::Texture before;  // what the caller's texture held before a load
};

Game* game = nullptr;

// A 24-bit bitmap of one white pixel: the texture every load starts from.
std::string OnePixelBmp() {
  std::string out = "BM";
  auto u16 = [&](uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
  };
  auto u32 = [&](uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  for (uint32_t v : {58u, 0u, 54u, 40u, 1u, 1u}) u32(v);
  u16(1);
  u16(24);
  u32(0);
  u32(4);
  for (int i = 0; i < 4; ++i) u32(0);
  out += "\xFF\xFF\xFF";
  out += '\0';
  return out;
}

bool PowerOfTwo(int32_t side) {
  return side > 0 && (side & (side - 1)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::Headless();
  const auto& scratch = fuzzsupport::Scratch::Get();
  Check(SDL_InitSubSystem(SDL_INIT_VIDEO) == 0, SDL_GetError());
  game = new Game;
  game->window = SDL_CreateWindow("fuzz", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
  Check(game->window != nullptr, SDL_GetError());
  Check(game->engine.Tovak2D_Start(game->window, scratch.appString(), 800, 600, false),
        "the engine did not start");
  scratch.Put("t2do.ini",
              "[file_texture_sizes]\r\nsized.png=64x32\r\nsized.bmp=300X 20\r\nsized.jpg=1x1\r\n");
  scratch.Put("ok.bmp", OnePixelBmp());
  game->engine.CreateTexture(game->before, "ok.bmp");
  Check(static_cast<bool>(game->before), "a plain bitmap did not load");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& scratch = fuzzsupport::Scratch::Get();
  fuzzsupport::Choices choices(data, size);
  const uint8_t choice = choices.Byte();
  const std::string name =
      std::string(choice & 8 ? "sized." : "fuzz.") + kExtensions[choice % kExtensions.size()];
  const int32_t colourKey = choice & 4 ? static_cast<int32_t>(0xFF000000u) : 0;
  scratch.Put(name, choices.Rest());

  tovak2d::Texture texture = game->before;
  game->engine.CreateTexture(texture, name, colourKey);
  if (tovak2d::TextureAccess::Data(texture) != tovak2d::TextureAccess::Data(game->before)) {
    Check(static_cast<bool>(texture), "a load emptied the texture");
    Check(PowerOfTwo(texture.Width()) && PowerOfTwo(texture.Height()), "a texture side is no power of two");
    const auto width = static_cast<float>(texture.Width()), height = static_cast<float>(texture.Height());
    game->engine.Draw(texture, 0, 0, width, height, 30, 80, 0, 0, 200, 100);
  } else {
    std::ifstream log(scratch.app() / "log.txt", std::ios::binary);
    const std::string lines = "\n" + std::string(std::istreambuf_iterator<char>(log), {});
    Check(lines.find("\nError in CreateTextureEx : ") != std::string::npos, "a failed load left no log line");
  }

  scratch.Clear({"t2do.ini", "ok.bmp", "font.ini"});
  scratch.CheckNoStrays();
  tovak2d::platform::dialogs::ClearRecordedMessages();
  return 0;
}
