// SPDX-License-Identifier: Zlib
// DDS files: those other tools write, decoded to the picture they were made from, and layouts and
// damaged headers written by hand.
#include <squish.h>

#include <string_view>

#include "DrawingSupport.h"
#include "platform/DdsDecoder.h"

using namespace drawing_test;
using namespace tovak2d;
using namespace std::string_view_literals;
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
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x) {
      const uint32_t block = (y / 4) * 8 + x / 4;
      image.argb[y * 64 + x] =
          x < 32 ? Argb(opaque ? 255 : block * 29 % 256, block * 37 % 256, block * 91 % 256, block * 53 % 256)
                 : Argb(opaque ? 255 : 255 - y * 2, (x - 32) * 8, y * 4, 128);
    }
  return image;
}

// The largest and the mean difference of one channel, alpha included.
std::pair<int, double> Compare(const Image& a, const Image& b) {
  if (a.argb.size() != b.argb.size()) return {999, 999};
  long total = 0;
  for (size_t i = 0; i < a.argb.size(); ++i)
    for (int shift : {0, 8, 16, 24}) total += std::abs(Channel(a.argb[i], shift) - Channel(b.argb[i], shift));
  return {LargestDifference(a.argb, b.argb), double(total) / double(a.argb.size() * 4)};
}

Image Decoded(const std::string& bytes) {
  std::string error;
  auto image = Decode(bytes, &error);
  EXPECT_TRUE(image) << error;
  return image ? *image : Image{};
}

// A DDS file of the picture compressed by libsquish, one level.
std::string SquishDds(const Image& picture, int format) {
  std::vector<squish::u8> rgba;
  for (uint32_t p : picture.argb)
    for (int shift : {16, 8, 0, 24}) rgba.push_back(static_cast<squish::u8>((p >> shift) & 0xFF));
  std::string blocks(size_t(squish::GetStorageRequirements(picture.width, picture.height, format)), '\0');
  squish::CompressImage(rgba.data(), picture.width, picture.height, blocks.data(), format);
  return DdsHeader(picture.width, picture.height, kFourCc, FourCc(format == squish::kDxt1 ? "DXT1" : "DXT3"),
                   0, 0, 0, 0, 0) +
         blocks;
}

}  // namespace

// ImageMagick writes DXT1 without alpha, DXT5 for a picture with alpha, never DXT3, and 32 or 24
// bits uncompressed, with mip levels after the top one or without; texture tools built on libsquish
// write DXT3 and DXT1 with its one-bit alpha (here one level). Each decodes to the picture within
// what the block compression loses.
TEST(DdsTest, FilesWrittenByOtherToolsMatchThePictureTheyWereMadeFrom) {
  testsupport::TempFolder dir;
  const Image opaque = TestPicture(true), alpha = TestPicture(false);
  Image keyed = opaque;  // clear texels scattered through the blocks
  for (size_t i = 0; i < keyed.argb.size(); ++i)
    if ((i / 4) % 3 == 0) keyed.argb[i] = 0;
  struct Case {
    const char* name;
    const Image& picture;
    const char* arguments;       // ImageMagick's, or none for libsquish's files
    std::string_view signature;  // the four-character code or the bit count of the layout meant
    int worst;                   // largest error of one channel the block compression may make
    double mean;                 // and on average
  };
  const Case cases[] = {
      {"dxt1", opaque, "-define dds:compression=dxt1 ", "DXT1"sv, 24, 3},
      {"dxt5", alpha, "-define dds:compression=dxt5 ", "DXT5"sv, 24, 3},
      {"argb", alpha, "-define dds:compression=none ", "\x20\x00\x00\x00"sv, 0, 0},
      {"rgb", opaque, "-alpha off -define dds:compression=none ", "\x18\x00\x00\x00"sv, 0, 0},
      {"dxt3", alpha, nullptr, "DXT3"sv, 24, 4},
      {"dxt1a", keyed, nullptr, "DXT1"sv, 24, 4},
  };
  for (bool mips : {true, false})
    for (const Case& c : cases) {
      const std::string file = (dir / (c.name + std::string(mips ? ".dds" : "-single.dds"))).string();
      SCOPED_TRACE(file);
      WriteFile(file + ".pam", Pam(c.picture));
      if (!c.arguments)
        WriteFile(file, SquishDds(c.picture, c.name == "dxt3"sv ? squish::kDxt3 : squish::kDxt1));
      ASSERT_TRUE(!c.arguments ||
                  RunConvert(file + ".pam " + c.arguments + (mips ? "" : "-define dds:mipmaps=0 ") + file));
      const std::string dds = ReadFile(file);
      ASSERT_GT(dds.size(), 128u);
      EXPECT_EQ(std::string_view(dds).substr(c.signature[0] == 'D' ? 84 : 88, 4), c.signature);
      EXPECT_EQ(std::max(int{static_cast<uint8_t>(dds[28])}, 1), mips && c.arguments ? 7 : 1) << "mip levels";
      const auto [worst, mean] = Compare(c.picture, Decoded(dds));
      EXPECT_LE(worst, c.worst);
      EXPECT_LE(mean, c.mean);
    }
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
    EXPECT_EQ(Decoded(file).argb, c.expected) << c.name;
  }
}

// Rows padded to whole 32-bit words, as the pitch says; a block-compressed image of a size not a
// multiple of four takes whole blocks. (Mip levels after the top one are in the files above.)
TEST(DdsTest, RowsFollowThePitchBlocksAreWholeAndDamagedHeadersAreRefused) {
  std::string padded = DdsHeader(3, 2, kRgb, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0);
  padded[8] |= 0x8;  // the pitch field is valid
  padded[20] = 12;
  padded += std::string(9, '\x10') + std::string(3, '\0') + std::string(9, '\x20') + std::string(3, '\0');
  Image image = Decoded(padded);
  EXPECT_EQ(image.argb[3], 0xFF202020u);

  // One byte fewer is refused.
  EXPECT_EQ(Decoded(DdsHeader(5, 3, kFourCc, FourCc("DXT1"), 0, 0, 0, 0, 0) + std::string(16, '\0')).width,
            5);

  // Damaged headers and a file short of its last byte are refused with the reason.
  auto refused = [](const std::string& bytes, const std::string& why) {
    std::string error;
    EXPECT_FALSE(Decode(bytes, &error)) << why;
    EXPECT_NE(error.find(why), std::string::npos) << error;
  };
  refused(DdsHeader(5, 3, kFourCc, FourCc("DXT1"), 0, 0, 0, 0, 0) + std::string(15, '\0'), "truncated");
  refused(DdsHeader(4, 4, kFourCc, FourCc("ATI2"), 0, 0, 0, 0, 0) + std::string(16, '\0'), "'ATI2'");
  refused(DdsHeader(4, 4, kRgb, 0, 12, 0xF00, 0xF0, 0xF, 0) + std::string(64, '\0'), "12 bits");
  refused(DdsHeader(4, 4, kRgb, 0, 32, 0xFF00FF, 0xFF00, 0xFF, 0) + std::string(64, '\0'), "masks");
  refused(DdsHeader(100000, 100000, kFourCc, FourCc("DXT1"), 0, 0, 0, 0, 0), "out of range");
  std::string damaged = DdsHeader(4, 4, kRgb, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0) + std::string(64, '\0');
  damaged[4] = 0;
  refused(damaged, "damaged");
}
