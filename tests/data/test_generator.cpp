#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "Art.h"
#include "BitmapFont.h"
#include "Bmp.h"
#include "Dds.h"
#include "Differences.h"
#include "Illustrator.h"
#include "Interface.h"
#include "Jpeg.h"
#include "Level.h"
#include "Music.h"
#include "Rng.h"
#include "Themes.h"
#include "Wav.h"
#include "platform/Wav.h"

using namespace datagen;

namespace {

// A picture with every alpha from clear to opaque and a colour ramp.
Canvas Ramp(int w, int h) {
  Canvas c(w, h);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, w, h);
  cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.2, 0.1, 0);
  cairo_pattern_add_color_stop_rgba(g, 1, 0.1, 0.5, 1, 1);
  cairo_set_source(c.cr(), g);
  cairo_paint(c.cr());
  cairo_pattern_destroy(g);
  return c;
}

uint32_t Word(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

}  // namespace

TEST(Generator, DdsFilesCarryTheirLayoutAndRoundTrip) {
  const Canvas c = Ramp(64, 32);
  const Bytes plain = EncodeDds(c, DdsFormat::A8R8G8B8);
  ASSERT_EQ(plain.size(), 128u + 64 * 32 * 4);
  EXPECT_EQ(std::string(plain.begin(), plain.begin() + 4), "DDS ");
  // The header's size, height, width, pitch, pixel format size, bits a pixel and alpha mask.
  for (auto [at, value] : {std::pair<size_t, uint32_t>{4, 124},
                           {12, 32},
                           {16, 64},
                           {20, 64 * 4},
                           {76, 32},
                           {88, 32},
                           {104, 0xFF000000u}})
    EXPECT_EQ(Word(plain, at), value) << at;
  auto back = DecodeDds(plain);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->rgba, c.ToRgba()) << "uncompressed is exact";

  const Bytes dxt5 = EncodeDds(c, DdsFormat::Dxt5);
  EXPECT_EQ(std::string(dxt5.begin() + 84, dxt5.begin() + 88), "DXT5");
  EXPECT_EQ(dxt5.size(), 128u + 64 * 32) << "one byte a texel";
  auto compressed = DecodeDds(dxt5);
  ASSERT_TRUE(compressed.has_value());
  const Bytes exact = c.ToRgba();
  double error = 0;
  for (size_t i = 0; i < exact.size(); i += 4) error += std::abs(exact[i + 3] - compressed->rgba[i + 3]);
  EXPECT_LT(error / (64 * 32), 3.0) << "alpha survives the compression";
  EXPECT_FALSE(DecodeDds(Bytes(plain.begin(), plain.begin() + 100)).has_value()) << "a short file is refused";
}

TEST(Generator, BitmapsWriteTheColourKeyForEveryClearPixel) {
  Canvas c(8, 4);
  cairo_rectangle(c.cr(), 0, 0, 4, 4);
  cairo_set_source_rgba(c.cr(), 0.2, 0.4, 0.6, 1);
  cairo_fill(c.cr());
  cairo_rectangle(c.cr(), 4, 0, 1, 4);
  cairo_set_source_rgba(c.cr(), 1, 1, 1, 0.5);
  cairo_fill(c.cr());
  const Bytes bmp = EncodeBmp32(c);
  // The file size, the pixels right after the V4 header, its size, and bit fields.
  for (auto [at, value] : {std::pair<size_t, size_t>{2, bmp.size()}, {10, 14 + 108}, {14, 108}, {30, 3}})
    EXPECT_EQ(Word(bmp, at), value) << at;
  auto back = DecodeBmp32(bmp);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->pixels[0], 0xFF336699u);
  EXPECT_EQ(back->pixels[4] >> 24, 128u) << "soft edges keep their alpha";
  EXPECT_EQ(back->pixels[4] & 0xFFFFFFu, 0xFFFFFFu);
  for (int x = 5; x < 8; ++x) EXPECT_EQ(back->pixels[static_cast<size_t>(x)], kColourKey);
  // Rows are stored bottom-up: the last row of the file is the top of the picture.
  EXPECT_EQ(Word(bmp, bmp.size() - 32), 0xFF336699u);
}

TEST(Generator, WaveFilesClampAndTheEngineReadsThem) {
  Pcm pcm;
  pcm.samples = {0.0f, 0.5f, 2.0f, -2.0f, -0.25f};
  const Bytes wav = EncodeWav(pcm);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(Word(wav, 4), wav.size() - 8);
  EXPECT_EQ(Word(wav, 24), 44100u);
  std::string error;
  auto decoded = tovak2d::platform::wav::Decode(
      std::string_view(reinterpret_cast<const char*>(wav.data()), wav.size()), &error);
  ASSERT_TRUE(decoded.has_value()) << error;
  EXPECT_EQ(decoded->samples, (std::vector<int16_t>{0, 16384, 32767, -32767, -8192}))
      << "clamped, never wrapped";
}

TEST(Generator, JpegsAreBitExactForTheSamePicture) {
  const Canvas c = Ramp(40, 24);
  const RgbImage image{40, 24, c.ToRgb()};
  const Bytes a = EncodeJpeg(image, kLevelQuality), b = EncodeJpeg(image, kLevelQuality);
  EXPECT_EQ(a, b);
  auto back = DecodeJpeg(a);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->width, 40);
  EXPECT_FALSE(DecodeJpeg(Bytes(a.begin(), a.begin() + 20)).has_value())
      << "a cut file is refused, not a crash";
}

TEST(Generator, TheFontLayoutIsTheDefaultTable) {
  const auto s = FontLayout::Signs();
  ASSERT_EQ(s.size(), 121u);
  for (auto [i, sign] : {std::pair<size_t, const char*>{0, ""},
                         {1, "0"},
                         {10, "9"},
                         {11, "A"},
                         {36, "Z"},
                         {44, "a"},
                         {69, "z"},
                         {77, "."},
                         {82, "\""},
                         {85, "\\"},
                         {88, "="},
                         {89, "("},
                         {104, "@"}})
    EXPECT_EQ(s[i], sign) << i;
  for (size_t i = 37; i <= 120; i += i == 43 ? 62 : 1) EXPECT_EQ(s[i], "") << i;  // 37 to 43, 105 to 120
  EXPECT_EQ(std::pair(FontLayout::CellX(11), FontLayout::CellY(11)), std::pair(1, 24));
  EXPECT_EQ(std::pair(FontLayout::CellX(104), FontLayout::CellY(104)), std::pair(116, 208));
}

TEST(Generator, EditsChangeOneObjectInTheWayTheirKindSays) {
  auto themes = AllThemes();
  for (const auto& theme : themes) {
    SCOPED_TRACE(theme->PackName());
    Rng rng(7);
    const Scene scene = theme->Compose(1, rng);
    EXPECT_GE(scene.items.size(), 24u) << "dozens of objects";
    std::set<uint64_t> seeds;
    for (const Item& item : scene.items) seeds.insert(item.seed);
    EXPECT_EQ(seeds.size(), scene.items.size()) << "objects are told apart by their seeds";
    for (int k = 0; k < kChangeKinds; ++k) {
      const Change change = static_cast<Change>(k);
      auto edit = ProposeEdit(*theme, scene, change, rng);
      if (!edit) continue;
      const Scene changed = ApplyEdit(scene, *edit);
      const size_t expected = scene.items.size() + (change == Change::Added) - (change == Change::Removed);
      EXPECT_EQ(changed.items.size(), expected) << ChangeName(change);
      size_t same = 0;
      for (const Item& a : changed.items)
        for (const Item& b : scene.items)
          if (a.seed == b.seed && a.x == b.x && a.size == b.size && a.flip == b.flip && a.count == b.count)
            ++same;
      EXPECT_GE(same, scene.items.size() - 1) << ChangeName(change) << " leaves the other objects alone";
      if (edit->result && edit->target != 0) {
        EXPECT_FALSE(edit->result->scenery);
        if (change == Change::Mirrored) {
          EXPECT_TRUE(theme->Mirrorable(*edit->result));
        }
      }
    }
  }
}

TEST(Generator, ALevelIsTheSameForTheSameSeedAndItsRectanglesCoverWholeBlocks) {
  auto themes = AllThemes();
  const Theme& theme = *themes.front();
  const LevelPictures a = MakeLevel(theme, 2, 99), b = MakeLevel(theme, 2, 99), c = MakeLevel(theme, 2, 100);
  EXPECT_TRUE(a.original == b.original && a.modified == b.modified);
  EXPECT_NE(a.original, c.original) << "another seed, another picture";
  ASSERT_EQ(a.rects.size(), 5u);
  std::set<Change> kinds;
  for (const DiffRect& r : a.rects) {
    kinds.insert(r.change);
    EXPECT_EQ(std::pair(r.left % 8, r.top % 8), std::pair(0, 0));
    EXPECT_TRUE((r.right + 1) % 8 == 0 || r.right == theme.Width() - 1);
    EXPECT_TRUE((r.bottom + 1) % 8 == 0 || r.bottom == theme.Height() - 1);
  }
  EXPECT_GE(kinds.size(), 4u) << "differences of varied kinds";
}

TEST(Generator, InterfacePicturesDependOnlyOnTheSeed) {
  auto first = InterfacePictureJobs(5), second = InterfacePictureJobs(5);
  ASSERT_EQ(first.size(), 25u);
  for (size_t i : {0u, 3u, 12u, 24u}) EXPECT_EQ(first[i].make(), second[i].make()) << first[i].name;
}

TEST(Generator, TheMusicLoopsSeamlessly) {
  const Pcm a = ComposeMusic(3);
  ASSERT_EQ(a.channels, 2);
  EXPECT_GE(a.Seconds(), 60.0);
  // Sample by sample, the end runs on into the start: the last step is no larger than the
  // piece's ordinary steps between neighbouring samples.
  double typical = 0;
  for (size_t i = 2; i < a.samples.size(); i += 2)
    typical = std::max(typical, static_cast<double>(std::fabs(a.samples[i] - a.samples[i - 2])));
  const double wrap = std::fabs(static_cast<double>(a.samples[0]) - a.samples[a.samples.size() - 2]);
  EXPECT_LE(wrap, typical);
  auto rms = [&](size_t from, size_t frames) {
    double sum = 0;
    for (size_t i = from; i < from + frames; ++i) sum += a.samples[2 * i] * a.samples[2 * i];
    return std::sqrt(sum / static_cast<double>(frames));
  };
  const size_t frames = a.samples.size() / 2;
  const double start = rms(0, 44100), end = rms(frames - 44100, 44100);
  EXPECT_LT(std::max(start, end) / std::min(start, end), 2.0);
}
