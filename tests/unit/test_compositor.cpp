#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "DrawingSupport.h"
#include "SdlEvents.h"
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

  uint32_t Shown(int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    EXPECT_NE(surface, nullptr);
    if (!surface || x >= surface->w || y >= surface->h) return 0xDEADBEEF;
    uint32_t pixel = 0;
    SDL_LockSurface(surface);
    const auto* row =
        static_cast<const uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch;
    std::memcpy(&pixel, row + x * 4, 4);
    SDL_UnlockSurface(surface);
    return pixel & 0xFFFFFF;
  }
};

}  // namespace

// The frame is shown in the window scaled by the smaller ratio and centred between black bars: a
// 1280 x 720 window shows it 960 x 720 from x = 160. A window resized between frames gets a new
// surface, and the next frame fills it.
TEST_F(CompositorTest, ShowsTheFrameScaledBetweenBars) {
  EXPECT_EQ(tovak2d::platform::video::RendererName(Device()), "compositor");
  engine_.ClearScreen(255, 0, 0);
  engine_.RenderAll();
  EXPECT_EQ(Shown(400, 300), 0xFF0000u);

  SDL_SetWindowSize(window_, 1280, 720);
  engine_.ClearScreen(0, 255, 0);
  engine_.RenderAll();
  for (auto [x, y] : {std::pair{640, 360}, {162, 2}, {1117, 717}})
    EXPECT_EQ(Shown(x, y), 0x00FF00u) << x << "," << y;
  for (auto [x, y] : {std::pair{10, 360}, {157, 700}, {1122, 10}, {1279, 719}})
    EXPECT_EQ(Shown(x, y), 0u) << x << "," << y;
}

// The pointer is reported in frame pixels through the same scaling: the window's centre is the
// frame's, and the left bar lies left of the frame.
TEST_F(CompositorTest, ReportsThePointerInFramePixels) {
  SDL_SetWindowSize(window_, 1280, 720);
  for (auto [windowX, frameX] : {std::pair{640, 400}, {160, 0}, {100, -50}}) {
    testsupport::PushMotion(window_, windowX, 360);
    engine_.RenderAll();
    tovak2d::Mouse mouse;
    engine_.GetMouseState(mouse);
    EXPECT_EQ(mouse.X, frameX) << windowX;
    EXPECT_EQ(mouse.Y, 300) << windowX;
  }
}

// Turned sprites carry the tint and the opacity: red times a green-blue tint leaves black, white
// times it the tint itself, and half opacity lets half of the frame below through.
TEST_F(CompositorTest, TurnedSpritesAreTintedAndSeeThrough) {
  Put("white.bmp", Bmp(Filled(64, 64, 0xFFFFFFFF), 24));
  tovak2d::Texture white;
  engine_.CreateTexture(white, "white.bmp");
  ASSERT_TRUE(white) << Log();
  engine_.ClearScreen(0, 0, 0);
  engine_.AmbientColor(0, 128, 255);
  engine_.Draw(white, 100, 100, 64, 64, 30);
  engine_.AmbientColor(255, 255, 255);
  engine_.Draw(white, 300, 100, 64, 64, 30, 50);
  Image frame = BackBuffer();
  EXPECT_EQ(At(frame, 132, 132), Argb(255, 0, 128, 255));
  EXPECT_NEAR(Channel(At(frame, 332, 132), 8), 128, 1);
  EXPECT_FALSE(Lit(frame, 200, 132));
}

// Only an X display can have a software GL to avoid; elsewhere (here the dummy driver) the
// engine keeps SDL's renderers.
TEST(DriverProbe, OnlyAnX11DisplayIsProbed) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("probe", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(tovak2d::platform::probe::SoftwareGlOnly(window));
  EXPECT_FALSE(tovak2d::platform::probe::SoftwareGlOnly(nullptr));
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
