#include <cmath>

#include "DrawingSupport.h"
#include "platform/DdsDecoder.h"

using namespace drawing_test;
using namespace tovak2d;
using platform::images::Decode;

namespace {

constexpr uint32_t kRgb = 0x40, kAlphaPixels = 0x1, kAlphaOnly = 0x2, kFourCc = 0x4, kLuminance = 0x20000;
constexpr uint32_t kArgb = kRgb | kAlphaPixels;

constexpr uint32_t FourCc(const char (&name)[5]) {
  return uint32_t(name[0]) | uint32_t(name[1]) << 8 | uint32_t(name[2]) << 16 | uint32_t(name[3]) << 24;
}

// Flat 4 x 4 blocks of many colours on the left, smooth ramps on the right; alpha varies by block
// and along the ramps unless the picture is opaque.
Image TestPicture(bool opaque) {
  Image image = Filled(64, 64, 0);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      uint32_t r, g, b, a;
      if (x < 32) {
        const int block = (y / 4) * 8 + x / 4;
        r = (block * 37) % 256;
        g = (block * 91) % 256;
        b = (block * 53) % 256;
        a = opaque ? 255 : (block * 29) % 256;
      } else {
        r = (x - 32) * 8;
        g = y * 4;
        b = 128;
        a = opaque ? 255 : 255 - y * 2;
      }
      image.argb[y * 64 + x] = Argb(a, r, g, b);
    }
  return image;
}

struct Difference {
  int worst = 0;
  double mean = 0;
};

Difference Compare(const Image& a, const Image& b) {
  Difference d;
  EXPECT_EQ(XY(a.width, a.height), XY(b.width, b.height));
  if (a.argb.size() != b.argb.size()) return {999, 999};
  long total = 0;
  for (size_t i = 0; i < a.argb.size(); ++i)
    for (int shift : {0, 8, 16, 24}) {
      int diff = std::abs(Channel(a.argb[i], shift) - Channel(b.argb[i], shift));
      d.worst = std::max(d.worst, diff);
      total += diff;
    }
  d.mean = double(total) / double(a.argb.size() * 4);
  return d;
}

Image Decoded(const std::string& bytes) {
  std::string error;
  auto image = Decode(bytes, &error);
  EXPECT_TRUE(image) << error;
  return image ? *image : Image{};
}

}  // namespace

TEST(DdsTest, FilesWrittenByImageMagickMatchThePngTheyWereMadeFrom) {
  if (Convert().empty()) GTEST_SKIP() << "ImageMagick is not installed";
  char pattern[] = "/tmp/varnel-dds-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path dir = pattern;

  struct Case {
    const char* compression;
    bool opaque;
    int worst;    // largest error of one channel the block compression may make
    double mean;  // and on average
  };
  for (const Case& c : {Case{"dxt1", true, 24, 3}, Case{"dxt3", false, 24, 4}, Case{"dxt5", false, 24, 3},
                        Case{"none", false, 0, 0}, Case{"none", true, 0, 0}}) {
    const std::string stem =
        (dir / (std::string(c.compression) + (c.opaque ? "-opaque" : "-alpha"))).string();
    WriteFile(stem + ".pam", Pam(TestPicture(c.opaque)));
    ASSERT_TRUE(RunConvert(stem + ".pam " + stem + ".png"));
    ASSERT_TRUE(RunConvert(stem + ".png -define dds:compression=" + c.compression + " " + stem + ".dds"));
    const std::string dds = ReadFile(stem + ".dds");
    ASSERT_GT(dds.size(), 128u);
    EXPECT_GT(dds.size(), 128u + (std::string(c.compression) == "dxt1" ? 2048u : 4096u))
        << "the writer adds mip levels after the top one";

    Difference d = Compare(Decoded(ReadFile(stem + ".png")), Decoded(dds));
    EXPECT_LE(d.worst, c.worst) << stem;
    EXPECT_LE(d.mean, c.mean) << stem;
  }
  fs::remove_all(dir);
}

TEST(DdsTest, UncompressedLayoutsByTheirMasks) {
  struct Case {
    const char* name;
    uint32_t flags, bits, r, g, b, a;
    std::string pixels;
    std::vector<uint32_t> expected;
  };
  const std::string argb32 = Le32({0x80112233, 0x00FFFFFF}), xrgb32 = Le32({0x00112233, 0x12FF0000});
  const std::string rgb24("\x33\x22\x11\x00\x00\xFF", 6);
  // clang-format off
  const std::vector<Case> cases = {
      {"A8R8G8B8", kArgb, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, argb32, {0x80112233, 0x00FFFFFF}},
      {"X8R8G8B8", kRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0, xrgb32, {0xFF112233, 0xFFFF0000}},
      {"R8G8B8", kRgb, 24, 0xFF0000, 0xFF00, 0xFF, 0, rgb24, {0xFF112233, 0xFFFF0000}},
      {"R5G6B5", kRgb, 16, 0xF800, 0x07E0, 0x001F, 0, Le16({0xF800, 0x0010}), {0xFFFF0000, 0xFF000084}},
      {"A1R5G5B5", kArgb, 16, 0x7C00, 0x03E0, 0x001F, 0x8000, Le16({0xFC00, 0x03E0}), {0xFFFF0000, 0x0000FF00}},
      {"A4R4G4B4", kArgb, 16, 0x0F00, 0x00F0, 0x000F, 0xF000, Le16({0x8F0A, 0xF000}), {0x88FF00AA, 0xFF000000}},
      {"L8", kLuminance, 8, 0xFF, 0, 0, 0, std::string("\x40\xFF", 2), {0xFF404040, 0xFFFFFFFF}},
      {"A8L8", kLuminance | kAlphaPixels, 16, 0xFF, 0, 0, 0xFF00, Le16({0x8040, 0x00FF}), {0x80404040, 0x00FFFFFF}},
      {"A8", kAlphaOnly, 8, 0, 0, 0, 0xFF, std::string("\x40\xFF", 2), {0x40000000, 0xFF000000}},
  };
  // clang-format on
  for (const Case& c : cases) {
    std::string file = DdsHeader(2, 1, c.flags, 0, c.bits, c.r, c.g, c.b, c.a) + c.pixels;
    Image image = Decoded(file);
    EXPECT_EQ(image.argb, c.expected) << c.name;
    // A missing last byte is a truncated file.
    std::string error;
    EXPECT_FALSE(Decode(file.substr(0, file.size() - 1), &error)) << c.name;
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
  }
}

TEST(DdsTest, TopLevelIsReadWhateverFollows) {
  // A 4 x 2 image with two smaller levels after it: the top level alone is the texture.
  std::string top;
  for (int i = 0; i < 8; ++i) Put32(top, 0xFF000000u | uint32_t(i * 30));
  const std::string mips = Le32({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
  const std::string header = DdsHeader(4, 2, kArgb, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 3);
  Image withMips = Decoded(header + top + mips);
  Image withoutMips = Decoded(header + top);
  ASSERT_EQ(withMips.width, 4);
  EXPECT_EQ(withMips.argb, withoutMips.argb);
  EXPECT_EQ(withMips.argb[7], 0xFF0000D2u);

  // Rows padded to whole 32-bit words, as the pitch says.
  std::string padded = DdsHeader(3, 2, kRgb, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0);
  padded[8] |= 0x8;  // the pitch field is valid
  padded[20] = 12;
  padded += std::string(9, '\x10') + std::string(3, '\0') + std::string(9, '\x20') + std::string(3, '\0');
  Image image = Decoded(padded);
  EXPECT_EQ(image.argb[3], 0xFF202020u);
}

TEST(DdsTest, BlockCompressedImagesTakeWholeBlocks) {
  // A 5 x 3 image still takes whole blocks.
  std::string error;
  const std::string header = DdsHeader(5, 3, kFourCc, FourCc("DXT1"), 0, 0, 0, 0, 0);
  EXPECT_TRUE(Decode(header + std::string(16, '\0'), &error)) << error;
  EXPECT_FALSE(Decode(header + std::string(15, '\0'), &error));
}

TEST(DdsTest, DamagedHeadersAreRefused) {
  auto refused = [](const std::string& bytes, const std::string& why) {
    std::string error;
    EXPECT_FALSE(Decode(bytes, &error)) << why;
    EXPECT_NE(error.find(why), std::string::npos) << error;
  };
  const std::string good = DdsHeader(4, 4, kRgb, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0) + std::string(64, '\0');
  refused(good.substr(0, 100), "truncated");
  refused(DdsHeader(4, 4, kFourCc, FourCc("DXT5"), 0, 0, 0, 0, 0), "truncated");
  refused(DdsHeader(4, 4, kFourCc, FourCc("ATI2"), 0, 0, 0, 0, 0) + std::string(16, '\0'), "'ATI2'");
  refused(DdsHeader(4, 4, kRgb, 0, 12, 0xF00, 0xF0, 0xF, 0) + std::string(64, '\0'), "12 bits");
  refused(DdsHeader(4, 4, kRgb, 0, 32, 0xFF00FF, 0xFF00, 0xFF, 0) + std::string(64, '\0'), "masks");
  refused(DdsHeader(4, 4, kRgb, 0, 16, 0xFF0000, 0xFF00, 0xFF, 0) + std::string(64, '\0'), "masks");
  refused(DdsHeader(0, 4, kRgb, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0), "out of range");
  refused(DdsHeader(100000, 100000, kFourCc, FourCc("DXT1"), 0, 0, 0, 0, 0), "out of range");
  std::string cube = good;
  cube[113] = 0x02;  // the cube-map flag of the second caps word
  refused(cube, "cube-map");
  std::string damaged = good;
  damaged[4] = 0;
  refused(damaged, "damaged");
}
