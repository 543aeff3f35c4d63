// Damaged image files of every kind the game loads: cut short at many lengths, with bytes changed
// at random, or random after a valid signature. Each must load or fail with a log line, leaving the
// handle as it was; built with AddressSanitizer this also checks that no byte outside the file is
// read.
#include <random>

#include "DrawingSupport.h"
#include "tovak2d/TextureAccess.h"

using namespace drawing_test;
using namespace tovak2d;

namespace {

class ImageFuzzTest : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    Put("good.bmp", Bmp(Filled(2, 2, 0xFFFFFFFF), 24));
    engine_.CreateTexture(texture_, "good.bmp");
    ASSERT_TRUE(texture_);
    good_ = tovak2d::TextureAccess::Data(texture_);
  }

  // Loads the bytes as a texture; a failure must be logged and leave the handle alone.
  void Feed(const std::string& extension, const std::string& bytes, const std::string& what) {
    const std::string name = "fuzz." + extension;
    Put(name, bytes);
    fs::remove(folder_ / "log.txt");
    tovak2d::TextureAccess::Data(texture_) = good_;
    engine_.CreateTexture(texture_, name);
    if (tovak2d::TextureAccess::Data(texture_) == good_) {
      ASSERT_EQ(Log().rfind("Error in CreateTextureEx : ", 0), 0u) << what << ": " << Log();
    } else {
      ASSERT_TRUE(tovak2d::TextureAccess::Data(texture_)) << what;
      ASSERT_GT(texture_.Width(), 0) << what;
      engine_.Draw(texture_, 0, 0, float(texture_.Width()), float(texture_.Height()));
    }
    ++fed_;
  }

  void Shake(const std::string& extension, const std::string& sample, int mutations) {
    ASSERT_FALSE(sample.empty());
    for (size_t length = 0; length < sample.size(); length += length < 600 ? 1 : sample.size() / 200 + 1)
      Feed(extension, sample.substr(0, length), "cut to " + std::to_string(length));

    std::mt19937 random(20240517);
    for (int i = 0; i < mutations; ++i) {
      std::string bytes = sample;
      const int changes = 1 + int(random() % 8);
      for (int c = 0; c < changes; ++c) {
        // Half of the changes hit the headers, where sizes and offsets live.
        const size_t span = (random() % 2) ? std::min<size_t>(bytes.size(), 160) : bytes.size();
        bytes[random() % span] = char(random());
      }
      Feed(extension, bytes, "mutation " + std::to_string(i));
    }
    for (int i = 0; i < 20; ++i) {
      std::string bytes = sample.substr(0, 4);
      for (size_t n = random() % 4000; n > 0; --n) bytes += char(random());
      Feed(extension, bytes, "random " + std::to_string(i));
    }
  }

  std::string Made(const std::string& source, const std::string& options, const std::string& target) {
    Put("source.bmp", source);
    if (!RunConvert((folder_ / "source.bmp").string() + " " + options + " " + (folder_ / target).string()))
      return {};
    return ReadFile(folder_ / target);
  }

  Texture texture_;
  std::shared_ptr<TextureData> good_;
  int fed_ = 0;
};

Image Pattern(int width, int height) {
  Image image = Filled(width, height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.argb[y * width + x] = Argb(255 - x * 4, x * 8, y * 8, (x ^ y) * 8);
  return image;
}

}  // namespace

TEST_F(ImageFuzzTest, Bitmaps) {
  Shake("bmp", Bmp(Pattern(24, 16), 24), 300);
  Shake("bmp", Bmp(Pattern(13, 7), 32), 300);
  if (!Convert().empty()) {
    const std::string rle =
        Made(Bmp(Pattern(24, 16), 24), "-colors 16 -type Palette -compress RLE", "BMP3:rle.bmp");
    if (!rle.empty()) Shake("bmp", rle, 300);
  }
  EXPECT_GT(fed_, 1000);
}

TEST_F(ImageFuzzTest, Jpegs) {
  if (Convert().empty()) GTEST_SKIP() << "ImageMagick is not installed";
  Shake("jpg", Made(Bmp(Pattern(40, 24), 24), "-quality 80", "plain.jpg"), 300);
  Shake("jpg", Made(Bmp(Pattern(40, 24), 24), "-interlace Plane", "progressive.jpg"), 300);
}

TEST_F(ImageFuzzTest, Pngs) {
  if (Convert().empty()) GTEST_SKIP() << "ImageMagick is not installed";
  Shake("png", Made(Bmp(Pattern(24, 16), 32), "", "alpha.png"), 300);
  Shake("png", Made(Bmp(Pattern(24, 16), 24), "-colors 8", "palette.png"), 300);
}

TEST_F(ImageFuzzTest, DdsFiles) {
  std::string r5g6b5 = DdsHeader(9, 5, 0x40, 0, 16, 0xF800, 0x07E0, 0x001F, 0);
  for (int i = 0; i < 9 * 5; ++i) Put16(r5g6b5, uint32_t(i * 1234));
  Shake("dds", r5g6b5, 300);
  if (Convert().empty()) return;
  for (const char* compression : {"dxt1", "dxt5", "none"})
    Shake("dds",
          Made(Bmp(Pattern(20, 12), 32), std::string("-define dds:compression=") + compression, "x.dds"),
          200);
}

TEST(ImageDecodeFuzzTest, ManyMutatedDdsHeaders) {
  // The engine's own parser, without files in between: many more cases.
  std::string sample =
      DdsHeader(8, 8, 0x4, 0x35545844, 0, 0, 0, 0, 0, 4) + std::string(64 + 16 + 16 + 16, '\x5A');
  std::mt19937 random(77);
  int decoded = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string bytes = sample.substr(0, 5 + random() % (sample.size() - 5));
    if (random() % 2) bytes = sample;
    for (int c = 1 + int(random() % 4); c > 0; --c)
      bytes[4 + random() % std::min<size_t>(124, bytes.size() - 4)] = char(random());
    std::string error;
    auto image = platform::images::Decode(bytes, &error);
    if (image) {
      ++decoded;
      ASSERT_EQ(image->argb.size(), size_t(image->width) * size_t(image->height));
    } else {
      ASSERT_FALSE(error.empty());
    }
  }
  EXPECT_GT(decoded, 0);
}
