// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "Bmp.h"
#include "Differences.h"
#include "GameFolder.h"
#include "Illustrator.h"
#include "Interface.h"
#include "Level.h"
#include "TempAppFolder.h"
#include "Themes.h"
#include "Wav.h"
#include "platform/Wav.h"

// The generator's pieces whose faults the generated folder would not show plainly. What the painters
// draw is checked on the generated folder itself (tests/data/test_pack_data.cpp and
// test_interface_data.cpp) and by the game tests.
using namespace datagen;

namespace {

uint32_t Word(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

PixelDiff Box(int left, int top, int right, int bottom) {
  PixelDiff d;
  std::tie(d.left, d.top, d.right, d.bottom) = std::tuple(left, top, right, bottom);
  d.changed = d.strong = (right - left + 1) * (bottom - top + 1);
  return d;
}

bool OnGrid(const DiffRect& r, int width, int height) {
  return r.left % 8 == 0 && r.top % 8 == 0 && ((r.right + 1) % 8 == 0 || r.right == width - 1) &&
         ((r.bottom + 1) % 8 == 0 || r.bottom == height - 1);
}

}  // namespace

// The game reads bitmaps bottom-up; the test decoder reads what the encoder wrote, so the row order
// and the colour key are checked on the bytes.
TEST(Generator, BitmapsWriteTheColourKeyForEveryClearPixel) {
  Canvas c(8, 4);
  cairo_rectangle(c.cr(), 0, 0, 4, 1);
  cairo_set_source_rgba(c.cr(), 0.2, 0.4, 0.6, 1);
  cairo_fill(c.cr());
  cairo_rectangle(c.cr(), 4, 0, 1, 4);
  cairo_set_source_rgba(c.cr(), 1, 1, 1, 0.5);
  cairo_fill(c.cr());
  const Bytes bmp = EncodeBmp32(c);
  // The file size, the pixels right after the V4 header, its size, and bit fields.
  for (auto [at, value] : {std::pair<size_t, size_t>{2, bmp.size()}, {10, 14 + 108}, {14, 108}, {30, 3}})
    EXPECT_EQ(Word(bmp, at), value) << at;
  // The last row of the file is the top of the picture.
  const size_t top = bmp.size() - 32;
  EXPECT_EQ(Word(bmp, top), 0xFF336699u);
  EXPECT_EQ(Word(bmp, top + 16) >> 24, 128u) << "soft edges keep their alpha";
  EXPECT_EQ(Word(bmp, top + 20), kColourKey);
  EXPECT_EQ(Word(bmp, 14 + 108), kColourKey) << "the bottom-left pixel is clear";
}

TEST(Generator, WaveFilesClampAndTheEngineReadsThem) {
  Pcm pcm;
  pcm.samples = {0.0f, 0.5f, 2.0f, -2.0f, -0.25f};
  const Bytes wav = EncodeWav(pcm);
  std::string error;
  auto decoded = tovak2d::platform::wav::Decode(
      std::string_view(reinterpret_cast<const char*>(wav.data()), wav.size()), &error);
  ASSERT_TRUE(decoded.has_value()) << error;
  EXPECT_EQ(decoded->rate, 44100);
  EXPECT_EQ(decoded->samples, (std::vector<int16_t>{0, 16384, 32767, -32767, -8192}))
      << "clamped, never wrapped";
}

// The same seed gives the same data, byte for byte, so a build can be repeated.
TEST(Generator, LevelsAndInterfacePicturesAreTheSameForTheSameSeed) {
  auto themes = AllThemes();
  const Theme& theme = *themes.front();
  const LevelPictures a = MakeLevel(theme, 2, 99), b = MakeLevel(theme, 2, 99), c = MakeLevel(theme, 2, 100);
  EXPECT_TRUE(a.original == b.original && a.modified == b.modified);
  EXPECT_NE(a.original, c.original) << "another seed, another picture";
  ASSERT_EQ(a.rects.size(), 5u);
  std::set<Change> kinds;
  for (const DiffRect& r : a.rects) kinds.insert(r.change);
  EXPECT_GE(kinds.size(), 4u) << "differences of varied kinds";

  auto first = InterfacePictureJobs(5), second = InterfacePictureJobs(5);
  ASSERT_EQ(first.size(), 25u);
  for (size_t i : {0u, 3u, 12u, 24u}) EXPECT_EQ(first[i].make(), second[i].make()) << first[i].name;
}

// The one thing the generated folder never shows: a file the archive format cannot hold.
TEST(GameFolderWriter, AFileTheArchiveCannotHoldStopsTheGenerator) {
  testsupport::TempAppFolder app;
  GameFolder folder(app.path());
  const std::string marker = "`*[S-P-L-I-T]*`!";
  EXPECT_THROW(folder.WriteInterfaceArchive({{"cut.jpg", Bytes(marker.begin(), marker.end())}}),
               std::runtime_error);
}

// How a change becomes its rectangle at the picture's corners and edges, which generated levels seldom
// reach (the rectangles of the generated folder are checked against its pictures in test_pack_data.cpp).
TEST(LevelRules, RectanglesCoverTheChangeOnWholeBlocksAndAreAtLeastSixteenWide) {
  struct Case {
    PixelDiff d;
    int width, height;
  };
  const Case cases[] = {
      {Box(0, 0, 3, 3), 256, 380},          // in the top-left corner
      {Box(375, 250, 379, 255), 380, 256},  // in the bottom-right corner of a wide picture
      {Box(250, 372, 255, 379), 256, 380},  // at the bottom of an upright picture
      {Box(37, 41, 90, 77), 380, 256},      // an ordinary object in the middle
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.d.left) + "," + std::to_string(c.d.top));
    const DiffRect r = RectAround(c.d, c.width, c.height, Change::Moved);
    EXPECT_EQ(r.change, Change::Moved);
    EXPECT_TRUE(r.left <= c.d.left && r.top <= c.d.top && r.right >= c.d.right && r.bottom >= c.d.bottom)
        << "covers the change";
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right < c.width && r.bottom < c.height)
        << "inside the picture";
    EXPECT_GE(std::min(r.Width(), r.Height()), 16);
    EXPECT_TRUE(OnGrid(r, c.width, c.height));
  }
  // A little room around the change, so its anti-aliased edge is inside too.
  const DiffRect r = RectAround(Box(40, 40, 47, 47), 256, 380, Change::Added);
  EXPECT_LT(r.left, 40);
  EXPECT_GT(r.right, 47);
}
