// SPDX-License-Identifier: Zlib
#include <cmath>
#include <tuple>

#include "DrawingSupport.h"
#include "Sprites.h"
#include "tovak2d/TextureAccess.h"

using namespace drawing_test;
using namespace tovak2d;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;

using SpriteTest = DrawingTest;

constexpr uint32_t kMagenta = 0xFFFF00FF;
constexpr uint32_t kClearMagenta = 0x00FF00FF;  // the game's colour key: alpha 0

class TextureTest : public DrawingTest {
 protected:
  Texture Load(const std::string& name, int32_t key = 0) {
    Texture texture;
    engine_.CreateTexture(texture, name, key);
    return texture;
  }
};

// An 800 x 600 picture with detail everywhere, so that any stretch or shift shows.
Image Picture800x600() {
  Image image = Filled(800, 600, 0);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      image.argb[y * 800 + x] =
          Argb(255, (x / 8) * 2 % 256, (y / 8) * 3 % 256, ((x / 16 + y / 16) % 2) * 200);
  return image;
}

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

// A quarter turn anticlockwise moves the top left to the bottom left; a cell of a sheet away from its
// origin is drawn at half scale.
TEST_F(SpriteTest, QuarterTurnAndHalfScaleOfACellAwayFromTheOrigin) {
  Texture quarter = Load("quarter.bmp", Painted(Filled(32, 32, kWhite), 0, 0, 16, 16, kRed));
  Texture cells = Load("cells.bmp", Painted(Filled(64, 32, kGreen), 32, 0, 64, 32, kBlue));
  engine_.ClearScreen();
  engine_.Draw(quarter, 100, 100, 32, 32, 90);
  engine_.Draw(cells, 300, 100, 32, 32, 0, 100, 32, 0, 32, 16);
  const Image frame = BackBuffer();
  EXPECT_EQ(At(frame, 104, 124), kRed);
  EXPECT_EQ(At(frame, 104, 104), kWhite);
  EXPECT_EQ(At(frame, 124, 124), kWhite);
  EXPECT_EQ(At(frame, 300, 100), kBlue);
  EXPECT_EQ(At(frame, 315, 115), kBlue);
  EXPECT_FALSE(Lit(frame, 316, 108));  // 16 x 16, not 32 x 16
  EXPECT_FALSE(Lit(frame, 308, 116));
}

// The ambient colour tints every texel: numbers outside 0..255 are held at the ends and halves are
// rounded to even. Opacity blends with source alpha and inverse source alpha.
TEST_F(SpriteTest, OpacityTintAndBlending) {
  Texture texture = Load("white.bmp", Filled(16, 16, kWhite));
  engine_.AmbientColor(300, 10.5, 11.5);
  engine_.ClearScreen(0, 0, 255);
  engine_.Draw(texture, 0, 0, 16, 16);
  engine_.Draw(texture, 20, 0, 16, 16, 0, 0);  // fully transparent
  Image frame = BackBuffer();
  EXPECT_EQ(At(frame, 8, 8), Argb(255, 255, 10, 12));
  EXPECT_EQ(At(frame, 28, 8), Argb(255, 0, 0, 255));

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
  auto count = [](const Image& f, uint32_t colour) {
    return static_cast<int>(std::count(f.argb.begin(), f.argb.end(), colour));
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

  // Across the frame's edges, far outside it or without area: only what falls inside is
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

// A name already rooted in the folder is not joined twice (the rest of PathRule is its own test).
TEST_F(TextureTest, SizesArePowersOfTwoOrTheTextureSizeFile) {
  for (const char* name : {"wide.bmp", "odd.bmp", "bad.bmp"}) Put(name, Bmp(Filled(100, 50, 0xFFFFFFFF), 24));
  Texture texture = Load(folder_.string() + "\\wide.bmp");
  EXPECT_EQ(XY(texture.Width(), texture.Height()), XY(128, 64));
  EXPECT_EQ(XY(texture.PictureWidth(), texture.PictureHeight()), XY(100, 50));

  // A size from the file is rounded up to powers of two too.
  Put("t2do.ini", "[file_texture_sizes]\r\nODD.bmp= 300 x 70\r\nbad.bmp=512\r\n");
  texture = Load("odd.bmp");
  EXPECT_EQ(XY(texture.Width(), texture.Height()), XY(512, 128));
  EXPECT_EQ(XY(texture.PictureWidth(), texture.PictureHeight()), XY(100, 50));
  EXPECT_EQ(Log(), "");

  // One number is not a size: the load fails with a line, the handle stays as it was.
  auto before = tovak2d::TextureAccess::Data(texture);
  engine_.CreateTexture(texture, "bad.bmp");
  EXPECT_EQ(tovak2d::TextureAccess::Data(texture), before);
  EXPECT_EQ(Log().rfind("Error in CreateTextureEx : ", 0), 0u) << Log();
}

// An 800 x 600 background goes into a 1024 x 1024 texture and shows at its own size, unstretched.
TEST_F(TextureTest, A800x600PictureShowsAtItsOwnSizeFromItsStretchedTexture) {
  const Image picture = Picture800x600();
  Put("picture.bmp", Bmp(picture, 24));
  Texture texture = Load("picture.bmp");
  ASSERT_TRUE(texture) << Log();
  EXPECT_EQ(XY(texture.Width(), texture.Height()), XY(1024, 1024));

  engine_.ClearScreen();
  engine_.Draw(texture, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600);
  EXPECT_LE(LargestDifference(BackBuffer().argb, picture.argb), 1);
}

TEST_F(TextureTest, ColourKeyComparesWholeTexelsAlphaIncluded) {
  const Image image = Painted(Filled(8, 4, kMagenta), 0, 0, 4, 4, kClearMagenta);
  Put("keyed32.bmp", Bmp(image, 32));
  Put("keyed24.bmp", Bmp(image, 24));

  Texture hit = Load("keyed32.bmp", static_cast<int32_t>(kClearMagenta));
  Texture opaqueMiss = Load("keyed24.bmp", static_cast<int32_t>(kClearMagenta));
  Texture opaqueHit = Load("keyed24.bmp", static_cast<int32_t>(kMagenta));
  Texture noKey = Load("keyed24.bmp");
  // A 32-bit bitmap keeps its alpha, unless no pixel sets the fourth byte: then it is opaque.
  Put("half.bmp", Bmp(Filled(4, 4, Argb(128, 255, 255, 255)), 32));
  Put("unused.bmp", Bmp(Filled(4, 4, Argb(0, 255, 255, 255)), 32));
  Texture half = Load("half.bmp"), unused = Load("unused.bmp");
  ASSERT_TRUE(hit && opaqueMiss && opaqueHit && noKey && half && unused) << Log();

  engine_.ClearScreen(0, 0, 255);
  engine_.Draw(hit, 0, 0, 8, 4);
  engine_.Draw(opaqueMiss, 0, 10, 8, 4);
  engine_.Draw(opaqueHit, 0, 20, 8, 4);
  engine_.Draw(noKey, 0, 30, 8, 4);
  engine_.Draw(half, 20, 0, 4, 4);
  engine_.Draw(unused, 30, 0, 4, 4);
  Image frame = BackBuffer();
  const uint32_t blue = Argb(255, 0, 0, 255);
  EXPECT_EQ(At(frame, 1, 1), blue);       // alpha-0 magenta matched the key
  EXPECT_EQ(At(frame, 6, 1), kMagenta);   // opaque magenta did not
  EXPECT_EQ(At(frame, 1, 11), kMagenta);  // a 24-bit image is opaque: the alpha-0 key never matches
  EXPECT_EQ(At(frame, 1, 21), blue);      // the opaque key does
  EXPECT_EQ(At(frame, 6, 21), blue);
  EXPECT_EQ(At(frame, 1, 31), kMagenta);
  EXPECT_NEAR(Channel(At(frame, 21, 1), 16), 128, 1);  // half white over blue
  EXPECT_EQ(At(frame, 31, 1), 0xFFFFFFFF);
}

// A missing file writes two lines; a missing or foreign file leaves the handle as it was. (Damaged
// files of every format, with the same two checks, are replayed by fuzz.replay.image.)
TEST_F(TextureTest, MissingOrBrokenImagesAreLoggedAndLeaveTheHandle) {
  Texture texture = Load("nothere.bmp");
  EXPECT_FALSE(texture);
  EXPECT_EQ(Log(), "File is missing : " + folder_.string() + "\\nothere.bmp\r\n" +
                       "Error in CreateTextureEx : File is missing : nothere.bmp\r\n");

  Put("good.bmp", Bmp(Filled(4, 4, 0xFFFFFFFF), 24));
  texture = Load("good.bmp");
  ASSERT_TRUE(texture);
  const auto good = tovak2d::TextureAccess::Data(texture);
  const std::string bmp = Bmp(Filled(64, 64, 0xFF123456), 24);
  Put("huge.bmp", bmp.substr(0, 18) + std::string("\x00\x00\x01\x00\x00\x00\x01\x00", 8) + bmp.substr(26));
  // Formats outside BMP, JPEG, PNG and DDS never reach the image library's other loaders (its
  // vector-picture loader leaked memory on a damaged file).
  Put("vector.png", "<svg");
  Put("animated.bmp", "GIF89a\x01\x00\x01\x00\x00\x00\x00;");
  for (const char* name : {"nothere.bmp", "huge.bmp", "vector.png", "animated.bmp"}) {
    fs::remove(folder_ / "log.txt");
    engine_.CreateTexture(texture, name);
    EXPECT_EQ(tovak2d::TextureAccess::Data(texture), good) << name;
    EXPECT_NE(Log().find("Error in CreateTextureEx : "), std::string::npos) << name << ": " << Log();
  }
  EXPECT_NE(Log().find("not a picture the engine loads"), std::string::npos) << Log();
}
