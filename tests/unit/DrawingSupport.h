// SPDX-License-Identifier: Zlib
#pragma once

// Shared by the drawing tests: an engine started on a hidden window in a fresh folder, frames read
// back from the device, and small image files written on the spot.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "EngineState.h"
#include "FrameTiming.h"
#include "LittleEndian.h"
#include "TestFiles.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
#include "platform/Images.h"
#include "platform/Video.h"
#include "tovak2d/Engine.h"

namespace drawing_test {

namespace fs = std::filesystem;
using tovak2d::platform::images::Image;
// Two coordinates or sizes compared at once.
using XY = std::pair<int, int>;

inline uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return a << 24 | r << 16 | g << 8 | b;
}
inline int Channel(uint32_t argb, int shift) {
  return static_cast<int>((argb >> shift) & 0xFF);
}

inline Image Filled(int width, int height, uint32_t argb) {
  return Image{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, argb)};
}

// The image with the rectangle from (left, top) up to, not including, (right, bottom) in another colour.
inline Image Painted(Image image, int left, int top, int right, int bottom, uint32_t argb) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) image.argb[static_cast<size_t>(y) * image.width + x] = argb;
  return image;
}

using testsupport::Le16;
using testsupport::Le32;

// A BMP of the picture, 24 bits (alpha dropped) or 32.
inline std::string Bmp(const Image& image, int bits) {
  return testsupport::Bmp(image.width, image.height, bits,
                          [&](int x, int y) { return image.argb[static_cast<size_t>(y) * image.width + x]; });
}

// A DDS file with an uncompressed layout given by its bit count and channel masks; the pixels are
// already packed, little-endian, row by row.
inline std::string DdsHeader(int width, int height, uint32_t pixelFlags, uint32_t fourCc, uint32_t bits,
                             uint32_t r, uint32_t g, uint32_t b, uint32_t a, uint32_t mipCount = 1) {
  return "DDS " +
         Le32({124, 0x1 | 0x2 | 0x4 | 0x1000 | (mipCount > 1 ? 0x20000u : 0u), static_cast<uint32_t>(height),
               static_cast<uint32_t>(width), 0, 0, mipCount, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) +
         Le32({32, pixelFlags, fourCc, bits, r, g, b, a, 0x1000, 0, 0, 0, 0});
}

// A PAM file of the picture, RGB with alpha, as ImageMagick reads it.
inline std::string Pam(const Image& image) {
  std::string out = "P7\nWIDTH " + std::to_string(image.width) + "\nHEIGHT " + std::to_string(image.height) +
                    "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  for (uint32_t p : image.argb)
    for (int shift : {16, 8, 0, 24}) out += static_cast<char>((p >> shift) & 0xFF);
  return out;
}

using testsupport::ReadFile;
using testsupport::WriteFile;

// ImageMagick (the real program, not a stand-in for it).
inline bool RunConvert(const std::string& arguments) {
  return testsupport::RunCommand("/usr/bin/convert " + arguments);
}

inline uint32_t At(const Image& image, int x, int y) {
  return image.argb[static_cast<size_t>(y) * image.width + x];
}

// An engine started on a hidden 800 x 600 window with a fresh application folder.
class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window_ = SDL_CreateWindow("drawing test", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    ASSERT_TRUE(engine_.Tovak2D_Start(window_, folder_.string(), 800, 600, false));
    tovak2d::platform::dialogs::ClearRecordedMessages();
    std::error_code ec;
    fs::remove(folder_ / "log.txt", ec);
  }

  void TearDown() override {
    engine_.Tovak2D_Unload();
    if (window_) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    namespace lib = tovak2d::modExtra;
    lib::AppPath.clear();
    lib::hWndMain = nullptr;
    lib::resWidth = lib::resHeight = lib::winWidth = lib::winHeight = 0;
    lib::fullScreen = false;
    lib::lastMouse = tovak2d::Mouse{};
    lib::piValue = lib::degToRad = 0;
    tovak2d::modExtra::ResetFrameTiming();
    tovak2d::platform::dialogs::ClearRecordedMessages();
  }

  tovak2d::platform::video::Device& Device() { return *tovak2d::EngineAccess::Of(engine_).device; }

  Image BackBuffer() {
    Image frame;
    std::string error;
    EXPECT_TRUE(tovak2d::platform::video::ReadBackBuffer(Device(), frame, &error)) << error;
    return frame;
  }

  std::string Log() { return ReadFile(folder_ / "log.txt"); }
  void Put(const std::string& name, const std::string& bytes) { WriteFile(folder_ / name, bytes); }

  // The picture written as a BMP and loaded as a texture.
  tovak2d::Texture Load(const std::string& name, const Image& image, int bits = 24) {
    Put(name, Bmp(image, bits));
    tovak2d::Texture texture;
    engine_.CreateTexture(texture, name);
    EXPECT_TRUE(texture) << Log();
    return texture;
  }

  // A pixel of the screenshot of that name, which must hold a whole frame.
  uint32_t ShotPixel(const std::string& name, int x, int y) {
    std::string error;
    auto shot = tovak2d::platform::images::Decode(ReadFile(folder_ / name), &error);
    EXPECT_TRUE(shot) << name << ": " << error;
    if (!shot) return 0;
    EXPECT_EQ(XY(shot->width, shot->height), XY(800, 600)) << name;
    return At(*shot, x, y);
  }

  tovak2d::Engine engine_;
  SDL_Window* window_ = nullptr;
  const testsupport::TempFolder root_;  // removed after the engine is unloaded
  const fs::path folder_ = root_.path();
};

// The largest difference of one channel, alpha included, between pixels of two pictures.
inline int LargestDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  EXPECT_EQ(a.size(), b.size());
  int largest = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    for (int shift = 0; shift < 32; shift += 8)
      largest = std::max(largest, std::abs(Channel(a[i], shift) - Channel(b[i], shift)));
  return largest;
}

// Whether a pixel on a black background shows anything.
inline bool Lit(const Image& frame, int x, int y) {
  return (At(frame, x, y) & 0xFFFFFF) != 0;
}

}  // namespace drawing_test
