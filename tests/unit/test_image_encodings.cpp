// SPDX-License-Identifier: Zlib
// Pictures in the encodings other programs write, loaded through CreateTexture and drawn: each
// quadrant must show its colour. ImageMagick writes the files at test time; plain CMYK, which it
// cannot write (its CMYK is inverted YCCK with an Adobe segment), is written with libjpeg from the
// ink values ImageMagick computes. DDS files are in test_dds.cpp.
#include <array>
#include <cstddef>
#include <cstdio>
#include <string_view>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "DrawingSupport.h"

using namespace drawing_test;
using namespace tovak2d;
using namespace std::string_view_literals;

namespace {

// Drawn over this colour, so that a transparent quadrant shows it and a black one does not.
constexpr int kBackR = 90, kBackG = 60, kBackB = 150;

enum class Kind {
  Colour,  // four opaque colours
  Keyed,   // the bottom right quadrant fully transparent
  Alpha,   // bottom left half transparent, bottom right fully transparent
  Grey,    // four grey levels
};

// The quadrants' colours of each kind: top left, top right, bottom left, bottom right.
std::array<uint32_t, 4> Quadrants(Kind kind) {
  const uint32_t corner = kind == Kind::Colour ? 0xFFF0E678 : 0x00F0E678;
  if (kind == Kind::Grey) return {0xFF1E1E1E, 0xFF646464, 0xFFAAAAAA, 0xFFF0F0F0};
  return {0xFFDC1E1E, 0xFF1EC828, kind == Kind::Alpha ? 0x80283CD2 : 0xFF283CD2, corner};
}

// The four quadrants, and a grey ramp along the bottom row, so that a palette needs more than 16
// entries (ImageMagick writes 4-bit palettes otherwise).
Image Picture(Kind kind) {
  const auto colours = Quadrants(kind);
  Image image = Filled(64, 64, 0);
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x)
      image.argb[y * 64 + x] = y == 63 ? Argb(255, x * 4, x * 4, x * 4) : colours[(y / 32) * 2 + x / 32];
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

// A 64 x 64 four-component JPEG of the given ink values (C, M, Y, K per pixel, 0 = no ink), stored
// as they are, without an Adobe segment.
std::string CmykJpeg(std::string ink) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = info.image_height = 64;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);  // CMYK in, CMYK stored
  jpeg_set_quality(&info, 95, TRUE);
  info.write_Adobe_marker = FALSE;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = reinterpret_cast<JSAMPLE*>(ink.data() + info.next_scanline * 64 * 4);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  free(buffer);
  return out;
}

struct Case {
  const char* file;                        // written into the application folder
  Kind kind;                               // the picture it holds
  const char* arguments;                   // ImageMagick's options and output prefix, between source and file
  int tolerance;                           // largest channel error allowed at a quadrant centre
  std::string_view signature;              // bytes the file holds, to prove the encoding is the one meant
  size_t signatureAt = std::string::npos;  // and where, if not anywhere
};

class ImageEncodingTest : public DrawingTest {
 protected:
  // The source picture as ImageMagick reads it.
  std::string Source(Kind kind) {
    const fs::path path = folder_ / ("source" + std::to_string(static_cast<int>(kind)) + ".pam");
    WriteFile(path, Pam(Picture(kind)));
    return path.string();
  }

  // Writes each file with ImageMagick (unless it is there), checks its signature, loads it through
  // CreateTexture, draws it over the background and compares the centre of each quadrant with the
  // colour it was made with.
  void RunCases(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.file);
      const fs::path file = folder_ / c.file;
      ASSERT_TRUE(!c.arguments || RunConvert(Source(c.kind) + " " + c.arguments + file.string()))
          << c.arguments;
      const std::string bytes = ReadFile(file);
      const size_t at = c.signatureAt == std::string::npos ? bytes.find(c.signature) : c.signatureAt;
      EXPECT_EQ(std::string_view(bytes).substr(std::min(at, bytes.size()), c.signature.size()), c.signature)
          << "not the encoding meant";
      fs::remove(folder_ / "log.txt");
      Texture texture;
      engine_.CreateTexture(texture, c.file);
      ASSERT_TRUE(texture) << Log();
      EXPECT_EQ(XY(texture.Width(), texture.Height()), XY(64, 64));
      engine_.ClearScreen(kBackR, kBackG, kBackB);
      engine_.Draw(texture, 0, 0, 64, 64);
      const Image frame = BackBuffer();
      const auto colours = Quadrants(c.kind);
      for (int q = 0; q < 4; ++q) {
        const uint32_t shown = At(frame, 16 + q % 2 * 32, 16 + q / 2 * 32),
                       wanted = OverBackground(colours[q]);
        EXPECT_LE(LargestDifference({shown | 0xFF000000}, {wanted}), c.tolerance)
            << "quadrant " << q << std::hex << ": shown 0x" << shown << ", made as 0x" << colours[q]
            << ", expected 0x" << wanted;
      }
    }
  }
};

}  // namespace

// Each encoding of each format the engine loads, as ImageMagick (or libjpeg) writes it.
TEST_F(ImageEncodingTest, JpegBmpAndPngAsOtherProgramsWriteThem) {
  // Plain CMYK from the ink values ImageMagick gives the picture.
  const fs::path ink = folder_ / "ink.cmyk";
  ASSERT_TRUE(RunConvert(Source(Kind::Colour) + " -colorspace CMYK -depth 8 CMYK:" + ink.string()));
  const std::string inkBytes = ReadFile(ink);
  ASSERT_EQ(inkBytes.size(), 64u * 64u * 4u);
  Put("plain-cmyk.jpg", CmykJpeg(inkBytes));
  // The JPEG signatures are the frame headers (baseline 0xC0 or progressive 0xC2, 64 x 64, the
  // component count and the first component's sampling factors) or the Adobe segment of inverted
  // CMYK. Those of BMP are the bit count and compression field (offset 28) or the 565 channel masks,
  // and those of PNG the bit depth, colour type and interlace method of the header or a transparent
  // palette entry.
  RunCases({
      {"baseline.jpg", Kind::Colour, "-quality 92 -sampling-factor 1x1 ", 6,
       "\xFF\xC0\x00\x11\x08\x00\x40\x00\x40\x03\x01\x11"sv},
      {"progressive.jpg", Kind::Colour, "-quality 92 -interlace Plane ", 6,
       "\xFF\xC2\x00\x11\x08\x00\x40\x00\x40\x03\x01\x11"sv},
      {"subsampled.jpg", Kind::Colour, "-quality 92 -sampling-factor 2x2,1x1,1x1 ", 8,
       "\xFF\xC0\x00\x11\x08\x00\x40\x00\x40\x03\x01\x22"sv},
      {"grey.jpg", Kind::Grey, "-colorspace Gray -quality 92 ", 4,
       "\xFF\xC0\x00\x0B\x08\x00\x40\x00\x40\x01"sv},
      // ImageMagick writes CMYK as inverted YCCK with an Adobe segment.
      {"ycck.jpg", Kind::Colour, "-colorspace CMYK -quality 95 ", 8,
       "\xFF\xEE\x00\x0E"
       "Adobe"sv,
       2},
      {"plain-cmyk.jpg", Kind::Colour, nullptr, 6, "\xFF\xC0\x00\x14\x08\x00\x40\x00\x40\x04"sv},
      {"rgb24.bmp", Kind::Colour, "-type TrueColor BMP3:", 0, "\x18\x00\x00\x00\x00\x00"sv, 28},
      {"argb32.bmp", Kind::Alpha, "-type TrueColorAlpha BMP:", 1, "\x20\x00\x03\x00\x00\x00"sv, 28},
      {"palette8.bmp", Kind::Colour, "-type Palette -compress None BMP3:", 0, "\x08\x00\x00\x00\x00\x00"sv,
       28},
      {"rle8.bmp", Kind::Colour, "-type Palette -compress RLE BMP3:", 0, "\x08\x00\x01\x00\x00\x00"sv, 28},
      {"rgb565.bmp", Kind::Colour, "-type TrueColor -define bmp:subtype=RGB565 BMP:", 8,
       "\x00\xF8\x00\x00\xE0\x07\x00\x00\x1F\x00\x00\x00"sv, 54},
      {"palette.png", Kind::Colour, "PNG8:", 0, "\x08\x03\x00\x00\x00"sv, 24},
      {"palette-clear.png", Kind::Keyed, "PNG8:", 0, "tRNS"sv},
      {"deep.png", Kind::Alpha, "-depth 16 PNG64:", 1, "\x10\x06\x00\x00\x00"sv, 24},
      {"deep-opaque.png", Kind::Colour, "-depth 16 PNG48:", 0, "\x10\x02\x00\x00\x00"sv, 24},
      {"adam7.png", Kind::Alpha, "-interlace PNG PNG32:", 1, "\x08\x06\x00\x00\x01"sv, 24},
      {"grey.png", Kind::Grey, "-colorspace Gray PNG:", 0, "\x08\x00\x00\x00\x00"sv, 24},
  });
}
