// SPDX-License-Identifier: Zlib
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>
#include <utility>
#include <vector>

#include "DrawingSupport.h"
#include "platform/Compositor.h"
#include "platform/DriverProbe.h"

using namespace drawing_test;
using tovak2d::platform::video::testing::ChooseCompositor;
using tovak2d::platform::video::testing::CompositorChoice;

namespace {

class CompositorTest : public DrawingTest {
 protected:
  void SetUp() override {
    ChooseCompositor(CompositorChoice::Always);
    DrawingTest::SetUp();
  }
  void TearDown() override {
    DrawingTest::TearDown();
    ChooseCompositor(CompositorChoice::Automatic);
  }

  // The window's pixel as RGB; window surfaces here are 32 bits and need no lock.
  uint32_t Shown(int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    EXPECT_NE(surface, nullptr);
    if (!surface || x >= surface->w || y >= surface->h) return 0xDEADBEEF;
    return static_cast<const uint32_t*>(surface->pixels)[y * surface->pitch / 4 + x] & 0xFFFFFF;
  }
};

}  // namespace

// A window of the frame's size takes the frames straight into its surface from the second frame
// on. A screenshot is the frame shown until the next frame's first pixel, then waits for that
// frame's present.
TEST_F(CompositorTest, FramesAreBuiltStraightIntoAWindowOfTheirSize) {
  EXPECT_EQ(tovak2d::platform::video::RendererName(Device()), "compositor");
  // The compositor is forced here. Left to choose, the engine probes only an X display, the one that
  // can have a software GL to avoid; elsewhere (here the dummy driver) it keeps SDL's renderers.
  EXPECT_FALSE(tovak2d::platform::probe::SoftwareGlOnly(window_));
  EXPECT_FALSE(tovak2d::platform::probe::SoftwareGlOnly(nullptr));
  tovak2d::Texture white = Load("white.bmp", Filled(16, 16, 0xFFFFFFFF));
  for (int blue : {64, 255}) {
    engine_.ClearScreen(0, 0, static_cast<uint8_t>(blue));
    engine_.RenderAll();
    EXPECT_EQ(Shown(400, 300), static_cast<uint32_t>(blue));
  }
  engine_.ClearScreen(0, 255, 0);
  engine_.SaveScreenshot();
  EXPECT_EQ(ShotPixel("screenshot001.bmp", 400, 300), Argb(255, 0, 0, 255));
  engine_.Draw(white, 0, 0, 16, 16);
  engine_.SaveScreenshot();
  EXPECT_FALSE(fs::exists(folder_ / "screenshot002.bmp"));
  engine_.RenderAll();
  EXPECT_EQ(ShotPixel("screenshot002.bmp", 400, 300), Argb(255, 0, 255, 0));
  EXPECT_EQ(Shown(400, 300), 0x00FF00u);
  EXPECT_EQ(Shown(8, 8), 0xFFFFFFu);
  // Shown scaled in a larger window, with the pointer mapped back through the scaling: the fullscreen
  // end-to-end script checks both on this compositor (its display has a software GL only).
  EXPECT_EQ(Log().find("Error"), std::string::npos) << Log();
}

namespace {

namespace cpu = tovak2d::platform::video::compositor;
using tovak2d::platform::video::Rgba;
using tovak2d::platform::video::Vertex;

std::vector<uint32_t> Noise(int count, uint32_t seed, bool opaque) {
  std::mt19937 random(seed);
  std::vector<uint32_t> texels(static_cast<size_t>(count));
  for (auto& texel : texels) {
    texel = static_cast<uint32_t>(random());
    // Runs of clear and of solid texels, as sprite sheets have them, besides see-through ones.
    const auto kind = (random() >> 8) % 4;
    if (opaque || kind == 0) texel |= 0xFF000000u;
    if (!opaque && kind == 1) texel &= 0x00FFFFFFu;
  }
  return texels;
}

// A parallelogram of the image turned by the angle about (x, y), times the colour.
void DrawTurned(cpu::Frame& frame, const cpu::Image& image, double x, double y, double size, double angle,
                Rgba color) {
  const double corners[4][2] = {{0, 0}, {size, 0}, {0, size}, {size, size}};
  const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  Vertex quad[4];
  for (int i = 0; i < 4; ++i) {
    quad[i].x = float(x + corners[i][0] * std::cos(angle) - corners[i][1] * std::sin(angle));
    quad[i].y = float(y + corners[i][0] * std::sin(angle) + corners[i][1] * std::cos(angle));
    quad[i].u = uv[i][0];
    quad[i].v = uv[i][1];
    quad[i].color = color;
  }
  frame.DrawParallelogram(image, quad);
}

// A frame of every kind of blend at widths that leave every remainder of eight and of four pixels,
// turned and stretched sprites and opaque pictures hiding some of them, then the frame scaled for
// full screen. The sprites are painted each as it comes, or together when the frame is read.
std::pair<std::vector<uint32_t>, std::vector<uint32_t>> DrawScene(bool paintEach) {
  const cpu::Image backdrop(800, 600, Noise(800 * 600, 1, true));
  const cpu::Image sky(512, 512, Noise(512 * 512, 2, true));
  const cpu::Image sheet(67, 45, Noise(67 * 45, 3, false));
  const cpu::Image photo(380, 256, Noise(380 * 256, 4, true));
  const Rgba white{255, 255, 255, 255};
  const Rgba colours[] = {white, {255, 255, 255, 128}, {157, 90, 14, 255}, {0, 250, 0, 128}};
  std::string error;
  auto frame = cpu::Frame::Create(nullptr, 800, 600, &error);
  EXPECT_TRUE(frame) << error;
  if (!frame) return {};
  auto painted = [&] {
    if (paintEach) frame->Flush();
  };
  frame->Clear(0, 0, 0);
  frame->DrawRect(backdrop, {0, 0, 800, 600}, {0, 0, 800, 600}, white, false, false);
  painted();
  DrawTurned(*frame, sky, 412 - 512, 287 - 512, 1024, 0.3, Rgba{255, 255, 255, 76});
  painted();
  frame->DrawRect(sheet, {0, 0, 67, 45}, {330, 10, 67, 45}, Rgba{200, 255, 100, 160}, false, false);
  frame->DrawRect(sheet, {0, 0, 67, 45}, {330, 300, 134, 90}, white, false, false);  // stretched
  painted();
  for (float y : {29.0f, 315.0f})
    frame->DrawRect(photo, {0, 0, 380, 256}, {350, y, 380, 256}, white, false, false);
  painted();
  for (int width = 1; width <= 17; ++width)
    for (size_t c = 0; c < std::size(colours); ++c)
      frame->DrawRect(sheet, {0, 0, width, 45}, {float(20 * width), float(50 * c), float(width), 45},
                      colours[c], false, false);
  for (int k = 0; k < 40; ++k)
    DrawTurned(*frame, sheet, 30 + 19 * k, 300 + 7 * (k % 9), 20 + k % 23, 0.17 * k, colours[k % 4]);
  frame->DrawRect(sheet, {3, 2, 40, 30}, {500, 60, 123, 77}, colours[3], false, false);
  frame->DrawRect(photo, {10, 10, 100, 100}, {-50, 540, 100, 100}, white, false, false);
  {
    const cpu::Image gone(64, 64, Noise(64 * 64, 5, false));
    DrawTurned(*frame, gone, 20, 500, 64, 0.5, Rgba{255, 255, 255, 200});
  }
  frame->DrawRect(photo, {0, 0, 380, 256}, {0, 480, 30, 30}, white, false, false);
  tovak2d::platform::images::Image drawn;
  frame->ReadBack(drawn);
  std::vector<uint32_t> scaled(1440 * 1080);
  cpu::FrameScaler scaler;
  EXPECT_TRUE(scaler.Scale(drawn.argb.data(), 800, 600, 800 * 4, scaled.data(), 1440, 1080, 1440 * 4));
  return {drawn.argb, scaled};
}

size_t FirstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  return size_t(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
}

}  // namespace

// The eight-at-a-time loops (AVX2) give the four-at-a-time loops' pixels to the bit: blends of
// every kind, fetched texels of turned sprites, and the full-screen scale. And sprites are painted
// together when the frame is read, skipping what an opaque upright sprite drawn later hides: the
// frame is the one painting each sprite as it comes gives, to the bit. An image that goes before
// then has its sprites painted first.
TEST(CompositorSimd, EightAtATimeGivesThePixelsOfFourAtATimeAndHiddenPixelsAreSkipped) {
  const bool machine = cpu::WideSimd();
  cpu::UseWideSimd(true);
  const auto wide = DrawScene(false);
  cpu::UseWideSimd(false);
  EXPECT_FALSE(cpu::WideSimd());
  const auto narrow = DrawScene(false), oneByOne = DrawScene(true);
  cpu::UseWideSimd(machine);
  ASSERT_EQ(wide.first.size(), 800u * 600u);
  ASSERT_EQ(narrow.first.size(), 800u * 600u);
  EXPECT_EQ(FirstDifference(wide.first, narrow.first), wide.first.size()) << "frame pixel";
  EXPECT_EQ(FirstDifference(wide.second, narrow.second), wide.second.size()) << "scaled pixel";
  EXPECT_EQ(FirstDifference(narrow.first, oneByOne.first), narrow.first.size()) << "painted one by one";
  RecordProperty("MachineHasAvx2", machine ? 1 : 0);
}
