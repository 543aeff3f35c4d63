#include <cmath>
#include <tuple>

#include "DrawingSupport.h"
#include "Sprites.h"

using namespace drawing_test;
using namespace tovak2d;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;

using SpriteTest = DrawingTest;

}  // namespace

// The Draw arguments' rules the pictures below do not show: without a scale width the scale is 1 x 1
// whatever the height says; source edges are rounded after adding, halves to even; only the x of the
// centre says whether a centre is given; opacity percentages are rounded halves to even.
TEST(SpriteVarsTest, FollowsTheDrawArguments) {
  const SpriteVars s = sprites::SpriteFor(0, 0, 10.5f, 11.5f, 0, 0.5f, 0, 0, 50, -1, 5);
  EXPECT_EQ(std::pair(s.Scaling.x, s.Scaling.y), std::pair(1.0f, 1.0f));
  EXPECT_EQ(std::tuple(s.SrcRect.Left, s.SrcRect.Right, s.SrcRect.Bottom), std::tuple(0, 11, 12));
  EXPECT_EQ(std::pair(s.Center.x, s.Center.y), std::pair(5.25f, 6.0f));
  EXPECT_EQ(std::tuple(sprites::AlphaOf(100), sprites::AlphaOf(50), sprites::AlphaOf(0)),
            std::tuple(255, 128, 0));
}

TEST_F(SpriteTest, QuarterTurnAnticlockwiseMovesTheTopLeftToTheBottomLeft) {
  Texture texture = Load("quarter.bmp", Painted(Filled(32, 32, kWhite), 0, 0, 16, 16, kRed));
  engine_.ClearScreen();
  engine_.Draw(texture, 100, 100, 32, 32, 90);
  Image frame = BackBuffer();
  EXPECT_EQ(At(frame, 104, 124), kRed);
  EXPECT_EQ(At(frame, 104, 104), kWhite);
  EXPECT_EQ(At(frame, 124, 124), kWhite);

  // About a given centre: the square's own top-left corner, so it swings up.
  engine_.ClearScreen();
  engine_.Draw(texture, 100, 100, 32, 32, 90, 100, 0, 0, 0, 0, 0, 0);
  frame = BackBuffer();
  EXPECT_TRUE(Lit(frame, 110, 90));
  EXPECT_FALSE(Lit(frame, 110, 110));
}

TEST_F(SpriteTest, HalfScaleOfACellAwayFromTheOrigin) {
  Texture texture = Load("cells.bmp", Painted(Filled(64, 32, kGreen), 32, 0, 64, 32, kBlue));
  engine_.ClearScreen();
  engine_.Draw(texture, 100, 100, 32, 32, 0, 100, 32, 0, 32, 16);
  Image frame = BackBuffer();
  EXPECT_EQ(At(frame, 100, 100), kBlue);
  EXPECT_EQ(At(frame, 115, 115), kBlue);
  EXPECT_FALSE(Lit(frame, 116, 108));  // 16 x 16, not 32 x 16
  EXPECT_FALSE(Lit(frame, 108, 116));

  // With the source at the origin the scale size is the drawn size.
  engine_.ClearScreen();
  engine_.Draw(texture, 100, 100, 32, 32, 0, 100, 0, 0, 64, 16);
  frame = BackBuffer();
  EXPECT_EQ(At(frame, 163, 115), kGreen);
  EXPECT_FALSE(Lit(frame, 164, 108));
  EXPECT_FALSE(Lit(frame, 140, 116));
}

// The ambient colour tints every texel: numbers outside 0..255 are held at the ends and halves are
// rounded to even; a value that is no number is refused with a message, and those before it are
// taken. Opacity blends with source alpha and inverse source alpha.
TEST_F(SpriteTest, OpacityTintAndBlending) {
  Texture texture = Load("white.bmp", Filled(16, 16, kWhite));
  engine_.AmbientColor(300, 10.5, 11.5);
  engine_.ClearScreen(0, 0, 255);
  engine_.Draw(texture, 0, 0, 16, 16);
  engine_.Draw(texture, 20, 0, 16, 16, 0, 0);  // fully transparent
  Image frame = BackBuffer();
  EXPECT_EQ(At(frame, 8, 8), Argb(255, 255, 10, 12));
  EXPECT_EQ(At(frame, 28, 8), Argb(255, 0, 0, 255));
  EXPECT_TRUE(platform::dialogs::RecordedMessages().empty());

  engine_.AmbientColor("20", "abc", "40");
  auto messages = platform::dialogs::RecordedMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Error in AmbientColor()\r\nWrong RGB value!");
  engine_.Draw(texture, 0, 0, 16, 16);
  EXPECT_EQ(At(BackBuffer(), 8, 8), Argb(255, 20, 10, 12));

  engine_.AmbientColor(255, 255, 255);
  engine_.Draw(texture, 40, 0, 16, 16, 0, 50);
  frame = BackBuffer();
  EXPECT_NEAR(Channel(At(frame, 48, 8), 16), 128, 1);
  EXPECT_NEAR(Channel(At(frame, 48, 8), 0), 255, 1);
}

TEST_F(SpriteTest, SourceOutsideTheTextureShowsOnlyTheTexture) {
  Texture texture = Load("white.bmp", Filled(32, 32, kWhite));
  engine_.ClearScreen();
  engine_.Draw(texture, 100, 100, 64, 64, 0, 100, -16, -16);
  Image frame = BackBuffer();
  EXPECT_FALSE(Lit(frame, 110, 110));  // left of and above the texture
  EXPECT_TRUE(Lit(frame, 116, 116));
  EXPECT_TRUE(Lit(frame, 147, 147));
  EXPECT_FALSE(Lit(frame, 149, 149));

  // Nothing at all: beyond the texture, empty, or scaled to nothing.
  engine_.ClearScreen();
  engine_.Draw(texture, 0, 0, 32, 32, 0, 100, 64, 64);
  engine_.Draw(texture, 0, 0, 0, 32);
  engine_.Draw(texture, 0, 0, 32, 32, 0, 100, 0, 0, 1e30f, 1e30f);
  engine_.Draw(Texture(), 0, 0, 32, 32);
  frame = BackBuffer();
  for (uint32_t p : frame.argb) ASSERT_EQ(p & 0xFFFFFF, 0u);
}

// Free numbers are taken as in ScreenshotsOnAWindowDrawnStraightWaitForThePresent.
TEST_F(SpriteTest, ScreenshotsShowTheLastFrame) {
  engine_.ClearScreen(10, 20, 30);
  engine_.RenderAll();
  engine_.ClearScreen(200, 200, 200);  // the next frame, not shown yet
  engine_.SaveScreenshot();

  EXPECT_EQ(ShotPixel("screenshot001.bmp", 0, 0), Argb(255, 10, 20, 30));
  EXPECT_EQ(ShotPixel("screenshot001.bmp", 799, 599), Argb(255, 10, 20, 30));
  EXPECT_EQ(Log(), "");
}

// Turned sprites on the software renderer are mapped by the engine itself, row by row.
TEST_F(SpriteTest, TurnedSpritesCoverTheirAreaOnceAndStayInsideTheFrame) {
  Texture white = Load("white.bmp", Filled(64, 64, kWhite));
  auto count = [](const Image& frame, uint32_t colour) {
    int n = 0;
    for (uint32_t pixel : frame.argb) n += pixel == colour;
    return n;
  };

  // A 64 x 64 square at 45 degrees covers 4,096 pixels, give or take its ragged edge; its
  // bounding box is 90.5 pixels wide and nothing beyond it is touched.
  engine_.ClearScreen();
  engine_.Draw(white, 300, 300, 64, 64, 45);
  Image frame = BackBuffer();
  EXPECT_NEAR(count(frame, kWhite), 4096, 4096 * 0.02);
  EXPECT_EQ(count(frame, kWhite) + count(frame, 0xFF000000), 800 * 600);
  EXPECT_TRUE(Lit(frame, 332, 332));
  EXPECT_FALSE(Lit(frame, 290, 290));
  EXPECT_FALSE(Lit(frame, 376, 376));
  EXPECT_TRUE(Lit(frame, 332, 288));  // the top corner, 45.25 above the centre
  EXPECT_FALSE(Lit(frame, 332, 284));

  // Where the sprite's texels are transparent or it is half see-through, the frame below shows.
  Put("hole.bmp", Bmp(Painted(Filled(64, 64, kRed), 16, 16, 48, 48, 0xFFFF00FF), 24));
  Texture hole;
  engine_.CreateTexture(hole, "hole.bmp", static_cast<int32_t>(0xFFFF00FF));  // magenta is see-through
  ASSERT_TRUE(hole) << Log();
  engine_.ClearScreen(0, 0, 200);
  engine_.Draw(hole, 100, 100, 64, 64, 30);
  engine_.Draw(white, 400, 100, 64, 64, 30, 50);
  engine_.AmbientColor(0, 128, 255);  // and the tint is carried too
  engine_.Draw(white, 250, 100, 64, 64, 30);
  engine_.AmbientColor(255, 255, 255);
  frame = BackBuffer();
  EXPECT_EQ(At(frame, 282, 132), Argb(255, 0, 128, 255));
  EXPECT_EQ(At(frame, 132, 132), Argb(255, 0, 0, 200));  // the hole in the middle
  EXPECT_EQ(At(frame, 0, 0), Argb(255, 0, 0, 200));
  const uint32_t half = At(frame, 432, 132);
  EXPECT_NEAR((half >> 16) & 0xFF, 128, 2);
  EXPECT_NEAR(half & 0xFF, 228, 2);

  // Across the frame's edges, far outside it, huge or without area: only what falls inside is
  // drawn, and nothing breaks.
  engine_.ClearScreen();
  engine_.Draw(white, -32, -32, 64, 64, 10);
  engine_.Draw(white, 780, 580, 64, 64, 10);
  engine_.Draw(white, 5000, -5000, 64, 64, 10);
  engine_.Draw(white, 0, 0, 0, 64, 10);
  frame = BackBuffer();
  EXPECT_TRUE(Lit(frame, 0, 0));
  EXPECT_TRUE(Lit(frame, 799, 599));
  EXPECT_FALSE(Lit(frame, 400, 300));
  engine_.Draw(white, -200000, -200000, 64, 64, 10, 100, 0, 0, 400000, 400000);
  frame = BackBuffer();
  EXPECT_EQ(count(frame, kWhite), 800 * 600);
}

// A GPU device keeps no copy of the frame on screen: a screenshot is taken from the next frame
// as it is presented, or at the latest when the engine is unloaded.
TEST_F(SpriteTest, ScreenshotsOnAWindowDrawnStraightWaitForThePresent) {
  engine_.Tovak2D_Unload();
  platform::video::testing::DrawStraightIntoWindow(true);
  const bool started = engine_.Tovak2D_Start(window_, folder_.string(), 800, 600, false);
  platform::video::testing::DrawStraightIntoWindow(false);
  ASSERT_TRUE(started);
  ASSERT_FALSE(platform::video::KeepsFrontBuffer(Device()));
  fs::remove(folder_ / "log.txt");

  Put("screenshot002.bmp", "x");
  engine_.ClearScreen(10, 20, 30);
  engine_.SaveScreenshot();
  engine_.SaveScreenshot();  // a second one in the same frame takes the next free number
  EXPECT_FALSE(fs::exists(folder_ / "screenshot001.bmp"));
  engine_.RenderAll();
  for (const char* name : {"screenshot001.bmp", "screenshot003.bmp"})
    EXPECT_EQ(ShotPixel(name, 400, 300), Argb(255, 10, 20, 30)) << name;

  // One still waiting when the engine is unloaded is written before the log's last line.
  engine_.ClearScreen(1, 2, 3);
  engine_.SaveScreenshot();
  engine_.Tovak2D_Unload();
  EXPECT_TRUE(fs::exists(folder_ / "screenshot004.bmp"));
  EXPECT_EQ(Log().find("Error"), std::string::npos);
  EXPECT_NE(Log().find("APPLICATION ENDED"), std::string::npos);
}
