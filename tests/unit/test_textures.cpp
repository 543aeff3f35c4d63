#include "DrawingSupport.h"
#include "tovak2d/TextureAccess.h"

using namespace drawing_test;
using namespace tovak2d;

namespace {

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

TEST_F(TextureTest, SizesArePowersOfTwoOrTheTextureSizeFile) {
  Put("wide.bmp", Bmp(Filled(100, 50, 0xFFFFFFFF), 24));
  Texture texture = Load("wide.bmp");
  EXPECT_EQ(XY(texture.Width(), texture.Height()), XY(128, 64));

  Put("t2do.ini",
      "[file_texture_sizes]\r\nWIDE.bmp = 256X128 \r\nodd.bmp= 300 x 70\r\nbad.bmp=512\r\nhalf.bmp=64x0\r\n");
  texture = Load("wide.bmp");
  EXPECT_EQ(XY(texture.Width(), texture.Height()), XY(256, 128));

  for (const char* name : {"odd.bmp", "half.bmp", "bad.bmp"}) Put(name, Bmp(Filled(10, 10, 0xFFFFFFFF), 24));
  texture = Load("odd.bmp");
  EXPECT_EQ(XY(texture.Width(), texture.Height()), XY(512, 128));
  texture = Load("half.bmp");  // 0 stands for the image's own size
  EXPECT_EQ(XY(texture.Width(), texture.Height()), XY(64, 16));
  EXPECT_EQ(Log(), "");

  // One number is not a size: the load fails with a line, the handle stays as it was.
  auto before = tovak2d::TextureAccess::Data(texture);
  engine_.CreateTexture(texture, "bad.bmp");
  EXPECT_EQ(tovak2d::TextureAccess::Data(texture), before);
  EXPECT_EQ(Log().rfind("Error in CreateTextureEx : ", 0), 0u) << Log();
  EXPECT_NE(Log().find("bad.bmp"), std::string::npos);
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

  // Texels of the stretched texture: its left half is the picture's left half.
  engine_.ClearScreen();
  engine_.Draw(texture, 0, 0, 512, 1024, 0, 100, 0, 0, 400, 600);
  const Image frame = BackBuffer();
  EXPECT_EQ(At(frame, 399, 300), At(picture, 399, 300));
  EXPECT_FALSE(Lit(frame, 401, 300));
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

// Backslashes and another letter case find the file as PathRule's names do (the game's own pictures
// are named so); a name already rooted in the folder is not joined twice.
TEST_F(TextureTest, PathsRootedInTheFolderOrOnADrive) {
  Put("src.bmp", Bmp(Filled(16, 16, Argb(255, 10, 200, 30)), 24));
  Texture rooted = Load(folder_.string() + "\\src.bmp");  // already inside the application folder
  EXPECT_TRUE(rooted) << Log();
  // A drive-letter name passes the file check but is looked for inside the application folder.
  Texture drive = Load("C:" + (folder_ / "src.bmp").string());
  EXPECT_FALSE(drive);
  EXPECT_NE(Log().find("Error in CreateTextureEx : "), std::string::npos);
}

// A missing file writes two lines; a missing or foreign file leaves the handle as it was. (Damaged
// files of every format, with the same two checks, are replayed by fuzz.replay.image.)
TEST_F(TextureTest, MissingOrBrokenImagesAreLoggedAndLeaveTheHandle) {
  Texture texture = Load("nothere.bmp");
  EXPECT_FALSE(texture);
  EXPECT_EQ(texture.Width(), 0);
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
