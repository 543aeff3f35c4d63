// Pictures in the encodings other programs write, loaded through CreateTexture and drawn: each
// quadrant must show its colour. ImageMagick writes the files at test time; the CMYK layouts it
// cannot write (plain CMYK and inverted CMYK without the YCCK transform) are written with libjpeg
// from the ink values ImageMagick computes.
#include <array>
#include <cstddef>
#include <cstdio>
#include <string_view>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <squish.h>

#include "DrawingSupport.h"

using namespace drawing_test;
using namespace tovak2d;
using namespace std::string_view_literals;

namespace {

// Drawn over this colour, so that a transparent quadrant shows it and a black one does not.
constexpr int kBackR = 90, kBackG = 60, kBackB = 150;

// Quadrant centres: top left, top right, bottom left, bottom right.
constexpr std::array<std::array<int, 2>, 4> kCentres = {{{16, 16}, {48, 16}, {16, 48}, {48, 48}}};

enum class Kind {
  Colour,  // four opaque colours
  Keyed,   // the bottom right quadrant fully transparent
  Alpha,   // bottom left half transparent, bottom right fully transparent
  Grey,    // four grey levels
};

std::array<uint32_t, 4> Quadrants(Kind kind) {
  switch (kind) {
    case Kind::Colour:
      return {Argb(255, 220, 30, 30), Argb(255, 30, 200, 40), Argb(255, 40, 60, 210),
              Argb(255, 240, 230, 120)};
    case Kind::Keyed:
      return {Argb(255, 220, 30, 30), Argb(255, 30, 200, 40), Argb(255, 40, 60, 210), Argb(0, 240, 230, 120)};
    case Kind::Alpha:
      return {Argb(255, 220, 30, 30), Argb(255, 30, 200, 40), Argb(128, 40, 60, 210), Argb(0, 240, 230, 120)};
    case Kind::Grey:
      return {Argb(255, 30, 30, 30), Argb(255, 100, 100, 100), Argb(255, 170, 170, 170),
              Argb(255, 240, 240, 240)};
  }
  return {};
}

// The four quadrants, and a grey ramp along the bottom row, so that a palette needs more than 16
// entries (ImageMagick writes 4-bit palettes otherwise).
Image Picture(Kind kind) {
  const auto colours = Quadrants(kind);
  Image image = Filled(64, 64, 0);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const uint32_t ramp = static_cast<uint32_t>(x * 4);
      image.argb[static_cast<size_t>(y * 64 + x)] =
          y == 63 ? Argb(255, ramp, ramp, ramp) : colours[static_cast<size_t>((y / 32) * 2 + x / 32)];
    }
  return image;
}

// The colour a pixel shows when drawn over the background.
uint32_t OverBackground(uint32_t argb) {
  const int alpha = Channel(argb, 24);
  auto mix = [&](int shift, int back) {
    return static_cast<uint32_t>((Channel(argb, shift) * alpha + back * (255 - alpha) + 127) / 255);
  };
  return Argb(255, mix(16, kBackR), mix(8, kBackG), mix(0, kBackB));
}

// A four-component JPEG of the given ink values (C, M, Y, K per pixel, 0 = no ink), stored either
// as they are without an Adobe segment, or inverted with one, as print software writes them.
std::string CmykJpeg(const std::string& ink, int width, int height, bool adobeInverted) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, JCS_CMYK);
  jpeg_set_quality(&info, 95, TRUE);
  info.write_JFIF_header = FALSE;
  info.write_Adobe_marker = adobeInverted ? TRUE : FALSE;
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * 4);
  while (info.next_scanline < info.image_height) {
    for (size_t i = 0; i < row.size(); ++i) {
      const auto value = static_cast<unsigned char>(ink[info.next_scanline * row.size() + i]);
      row[i] = static_cast<JSAMPLE>(adobeInverted ? 255 - value : value);
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  free(buffer);
  return out;
}

// A JPEG's frame header: its marker (0xC0 baseline, 0xC2 progressive), component count and the
// first component's sampling factors.
struct Frame {
  int marker = 0, components = 0, sampling = 0;
  bool operator==(const Frame&) const = default;
};

Frame FrameOf(const std::string& jpeg) {
  for (size_t at = 2; at + 12 <= jpeg.size(); ++at) {
    const auto marker = static_cast<uint8_t>(jpeg[at + 1]);
    if (static_cast<uint8_t>(jpeg[at]) == 0xFF && (marker == 0xC0 || marker == 0xC2))
      return {marker, static_cast<uint8_t>(jpeg[at + 9]), static_cast<uint8_t>(jpeg[at + 11])};
  }
  return {};
}

std::ostream& operator<<(std::ostream& out, const Frame& f) {
  return out << "marker " << f.marker << ", " << f.components << " components, sampling " << f.sampling;
}

// A DDS file of the picture compressed by libsquish, with the given number of mip levels, each
// half the size of the one before.
std::string SquishDds(const Image& picture, int format, uint32_t levels) {
  std::string out = DdsHeader(picture.width, picture.height, 0x4,
                              format == squish::kDxt1 ? 0x31545844u : 0x33545844u, 0, 0, 0, 0, 0, levels);
  Image level = picture;
  for (uint32_t i = 0; i < levels; ++i) {
    std::vector<squish::u8> rgba;
    for (uint32_t p : level.argb)
      for (int shift : {16, 8, 0, 24}) rgba.push_back(static_cast<squish::u8>((p >> shift) & 0xFF));
    std::string blocks(static_cast<size_t>(squish::GetStorageRequirements(level.width, level.height, format)),
                       '\0');
    squish::CompressImage(rgba.data(), level.width, level.height, blocks.data(), format);
    out += blocks;
    Image half = Filled(std::max(1, level.width / 2), std::max(1, level.height / 2), 0);
    for (int y = 0; y < half.height; ++y)
      for (int x = 0; x < half.width; ++x)
        half.argb[static_cast<size_t>(y * half.width + x)] = At(level, x * 2, y * 2);
    level = half;
  }
  return out;
}

struct Case {
  const char* file;            // written into the application folder
  Kind kind;                   // the picture it holds
  const char* arguments;       // ImageMagick's options and output prefix, between source and file
  int tolerance;               // largest channel error allowed at a quadrant centre
  std::string_view signature;  // bytes the file holds, to prove the encoding is the one meant
  size_t signatureAt = 0;      // and where
};

class ImageEncodingTest : public DrawingTest {
 protected:
  // The source picture as a PNG that ImageMagick reads, made once per kind.
  std::string Source(Kind kind) {
    const std::string path = (folder_ / ("source" + std::to_string(static_cast<int>(kind)))).string();
    if (!fs::exists(path + ".png")) {
      WriteFile(path + ".pam", Pam(Picture(kind)));
      EXPECT_TRUE(RunConvert(path + ".pam " + path + ".png"));
    }
    return path + ".png";
  }

  // Loads the file through CreateTexture, draws it over the background and compares the centre
  // of each quadrant with the colour it was made with.
  void ExpectDrawnRight(const std::string& file, Kind kind, int tolerance) {
    SCOPED_TRACE(file);
    fs::remove(folder_ / "log.txt");
    Texture texture;
    engine_.CreateTexture(texture, file);
    ASSERT_TRUE(texture) << Log();
    EXPECT_EQ(XY(texture.Width(), texture.Height()), XY(64, 64));
    engine_.ClearScreen(kBackR, kBackG, kBackB);
    engine_.Draw(texture, 0, 0, 64, 64);
    const Image frame = BackBuffer();
    const auto colours = Quadrants(kind);
    for (size_t q = 0; q < 4; ++q) {
      const uint32_t shown = At(frame, kCentres[q][0], kCentres[q][1]);
      const uint32_t wanted = OverBackground(colours[q]);
      int worst = 0;
      for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(Channel(shown, shift) - Channel(wanted, shift)));
      EXPECT_LE(worst, tolerance) << "quadrant " << q << std::hex << ": shown 0x" << shown << ", made as 0x"
                                  << colours[q] << ", expected 0x" << wanted;
    }
  }

  void RunCases(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.file);
      const fs::path file = folder_ / c.file;
      ASSERT_TRUE(RunConvert(Source(c.kind) + " " + c.arguments + file.string())) << c.arguments;
      const std::string bytes = ReadFile(file);
      ASSERT_GE(bytes.size(), c.signatureAt + c.signature.size());
      EXPECT_EQ(std::string_view(bytes).substr(c.signatureAt, c.signature.size()), c.signature)
          << "not the encoding meant";
      ExpectDrawnRight(c.file, c.kind, c.tolerance);
    }
  }
};

}  // namespace

TEST_F(ImageEncodingTest, JpegBaselineProgressiveSubsampledGreyAndCmyk) {
  if (Convert().empty()) GTEST_SKIP() << "ImageMagick is not installed";
  RunCases({
      {"baseline.jpg", Kind::Colour, "-quality 92 -sampling-factor 1x1 ", 6, ""sv},
      {"progressive.jpg", Kind::Colour, "-quality 92 -interlace Plane ", 6, ""sv},
      {"subsampled.jpg", Kind::Colour, "-quality 92 -sampling-factor 2x2,1x1,1x1 ", 8, ""sv},
      {"grey.jpg", Kind::Grey, "-colorspace Gray -quality 92 ", 4, ""sv},
      // ImageMagick writes CMYK as inverted YCCK with an Adobe segment.
      {"ycck.jpg", Kind::Colour, "-colorspace CMYK -quality 95 ", 8,
       "\xFF\xEE\x00\x0E"
       "Adobe"sv,
       2},
  });
  // The frame headers say what each file is.
  EXPECT_EQ(FrameOf(ReadFile(folder_ / "baseline.jpg")), (Frame{0xC0, 3, 0x11}));
  EXPECT_EQ(FrameOf(ReadFile(folder_ / "progressive.jpg")), (Frame{0xC2, 3, 0x11}));
  EXPECT_EQ(FrameOf(ReadFile(folder_ / "subsampled.jpg")), (Frame{0xC0, 3, 0x22}));
  EXPECT_EQ(FrameOf(ReadFile(folder_ / "grey.jpg")).components, 1);
  EXPECT_EQ(FrameOf(ReadFile(folder_ / "ycck.jpg")).components, 4);

  // Plain and Adobe-inverted CMYK without the YCCK transform, from the ink values ImageMagick
  // gives the same picture.
  const fs::path ink = folder_ / "ink.cmyk";
  ASSERT_TRUE(RunConvert(Source(Kind::Colour) + " -colorspace CMYK -depth 8 CMYK:" + ink.string()));
  const std::string inkBytes = ReadFile(ink);
  ASSERT_EQ(inkBytes.size(), 64u * 64u * 4u);
  Put("plain-cmyk.jpg", CmykJpeg(inkBytes, 64, 64, false));
  Put("adobe-cmyk.jpg", CmykJpeg(inkBytes, 64, 64, true));
  EXPECT_EQ(ReadFile(folder_ / "plain-cmyk.jpg").find("Adobe"), std::string::npos);
  EXPECT_NE(ReadFile(folder_ / "adobe-cmyk.jpg").find("Adobe"), std::string::npos);
  ExpectDrawnRight("plain-cmyk.jpg", Kind::Colour, 6);
  ExpectDrawnRight("adobe-cmyk.jpg", Kind::Colour, 6);
}

TEST_F(ImageEncodingTest, BmpTrueColourAlphaPaletteRunLengthAnd565) {
  if (Convert().empty()) GTEST_SKIP() << "ImageMagick is not installed";
  // The signatures are the bit count (offset 28) and, for the last two, the compression field.
  RunCases({
      {"rgb24.bmp", Kind::Colour, "-type TrueColor BMP3:", 0, "\x18\x00\x00\x00\x00\x00"sv, 28},
      {"argb32.bmp", Kind::Alpha, "-type TrueColorAlpha BMP:", 1, "\x20\x00\x03\x00\x00\x00"sv, 28},
      {"palette8.bmp", Kind::Colour, "-type Palette -compress None BMP3:", 0, "\x08\x00\x00\x00\x00\x00"sv,
       28},
      {"rle8.bmp", Kind::Colour, "-type Palette -compress RLE BMP3:", 0, "\x08\x00\x01\x00\x00\x00"sv, 28},
      {"rgb565.bmp", Kind::Colour, "-type TrueColor -define bmp:subtype=RGB565 BMP:", 8,
       "\x10\x00\x03\x00\x00\x00"sv, 28},
  });
  // The 565 file's masks: red in the top five bits, green in six, blue in five.
  EXPECT_EQ(ReadFile(folder_ / "rgb565.bmp").substr(54, 12),
            std::string("\x00\xF8\x00\x00\xE0\x07\x00\x00\x1F\x00\x00\x00", 12));
}

TEST_F(ImageEncodingTest, PngPaletteSixteenBitInterlacedAndGrey) {
  if (Convert().empty()) GTEST_SKIP() << "ImageMagick is not installed";
  // The signatures are the bit depth, colour type and interlace method of the header.
  RunCases({
      {"palette.png", Kind::Colour, "PNG8:", 0, "\x08\x03\x00\x00\x00"sv, 24},
      {"palette-clear.png", Kind::Keyed, "PNG8:", 0, "\x08\x03\x00\x00\x00"sv, 24},
      {"deep.png", Kind::Alpha, "-depth 16 PNG64:", 1, "\x10\x06\x00\x00\x00"sv, 24},
      {"deep-opaque.png", Kind::Colour, "-depth 16 PNG48:", 0, "\x10\x02\x00\x00\x00"sv, 24},
      {"adam7.png", Kind::Alpha, "-interlace PNG PNG32:", 1, "\x08\x06\x00\x00\x01"sv, 24},
      {"grey.png", Kind::Grey, "-colorspace Gray PNG:", 0, "\x08\x00\x00\x00\x00"sv, 24},
  });
  EXPECT_NE(ReadFile(folder_ / "palette-clear.png").find("tRNS"), std::string::npos);
  EXPECT_EQ(ReadFile(folder_ / "palette.png").find("tRNS"), std::string::npos);
}

TEST_F(ImageEncodingTest, DdsCompressedAndUncompressedWithAndWithoutMipLevels) {
  if (Convert().empty()) GTEST_SKIP() << "ImageMagick is not installed";
  // ImageMagick writes DXT1 without alpha, DXT5 for a picture with alpha and never DXT3; the
  // signature is the four-character code or the bit count of an uncompressed layout.
  for (const char* mips : {"", "-define dds:mipmaps=0 "}) {
    const std::string suffix = *mips ? "-single.dds" : ".dds";
    const std::string dxt1 = "dxt1" + suffix, dxt5 = "dxt5" + suffix, argb = "argb" + suffix,
                      rgb = "rgb" + suffix;
    const std::string d1 = "-define dds:compression=dxt1 " + std::string(mips);
    const std::string d5 = "-define dds:compression=dxt5 " + std::string(mips);
    const std::string none = "-define dds:compression=none " + std::string(mips);
    const std::string rgbNone = "-alpha off " + none;
    RunCases({
        {dxt1.c_str(), Kind::Colour, d1.c_str(), 8, "DXT1"sv, 84},
        {dxt5.c_str(), Kind::Alpha, d5.c_str(), 8, "DXT5"sv, 84},
        {argb.c_str(), Kind::Alpha, none.c_str(), 1, "\x20\x00\x00\x00"sv, 88},
        {rgb.c_str(), Kind::Colour, rgbNone.c_str(), 0, "\x18\x00\x00\x00"sv, 88},
    });
    // DXT3, and DXT1 with its one-bit alpha, as texture tools built on libsquish write them.
    const uint32_t levels = *mips ? 1 : 7;
    Put("dxt3" + suffix, SquishDds(Picture(Kind::Alpha), squish::kDxt3, levels));
    Put("dxt1a" + suffix, SquishDds(Picture(Kind::Keyed), squish::kDxt1, levels));
    ExpectDrawnRight("dxt3" + suffix, Kind::Alpha, 10);
    ExpectDrawnRight("dxt1a" + suffix, Kind::Keyed, 8);
  }
  for (const char* name : {"dxt1", "dxt3", "dxt5", "argb", "rgb", "dxt1a"}) {
    const std::string withMips = ReadFile(folder_ / (std::string(name) + ".dds"));
    const std::string single = ReadFile(folder_ / (std::string(name) + "-single.dds"));
    ASSERT_GT(single.size(), 128u) << name;
    EXPECT_EQ(static_cast<uint8_t>(withMips[28]), 7) << name << ": 64 x 64 down to 1 x 1";
    EXPECT_LE(static_cast<uint8_t>(single[28]), 1) << name << ": mip levels written";
    EXPECT_GT(withMips.size(), single.size()) << name;
  }
}
