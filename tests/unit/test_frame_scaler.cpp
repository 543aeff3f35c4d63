// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>
#include <pixman.h>

#include <cstdint>
#include <random>
#include <vector>

#include "DrawingSupport.h"
#include "platform/FrameScaler.h"

using drawing_test::LargestDifference;
using tovak2d::platform::video::compositor::FrameScaler;

namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

// What the compositor drew before: pixman's bilinear SRC of a scale transform, padded edges, from
// the frame taken as x8r8g8b8.
Picture PixmanScaled(Picture source, int width, int height) {
  Picture out{width, height, std::vector<uint32_t>(size_t(width) * height, 0xDEADBEEF)};
  pixman_image_t* from = pixman_image_create_bits_no_clear(PIXMAN_x8r8g8b8, source.width, source.height,
                                                           source.pixels.data(), source.width * 4);
  pixman_image_t* to =
      pixman_image_create_bits_no_clear(PIXMAN_a8r8g8b8, width, height, out.pixels.data(), width * 4);
  pixman_transform_t transform;
  pixman_transform_init_scale(&transform, pixman_double_to_fixed(double(source.width) / width),
                              pixman_double_to_fixed(double(source.height) / height));
  pixman_image_set_transform(from, &transform);
  pixman_image_set_filter(from, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(from, PIXMAN_REPEAT_PAD);
  pixman_image_composite32(PIXMAN_OP_SRC, from, nullptr, to, 0, 0, 0, 0, 0, 0, width, height);
  pixman_image_unref(from);
  pixman_image_unref(to);
  return out;
}

// Scaled into a wider buffer, so that a write past the target's width would show.
Picture Scaled(FrameScaler& scaler, const Picture& source, int width, int height) {
  const int pitch = width + 3;
  std::vector<uint32_t> buffer(size_t(pitch) * height, 0xDEADBEEF);
  EXPECT_TRUE(scaler.Scale(source.pixels.data(), source.width, source.height, source.width * 4, buffer.data(),
                           width, height, pitch * 4));
  Picture out{width, height, {}};
  for (int y = 0; y < height; ++y) {
    out.pixels.insert(out.pixels.end(), buffer.begin() + y * pitch, buffer.begin() + y * pitch + width);
    for (int x = width; x < pitch; ++x) EXPECT_EQ(buffer[y * pitch + x], 0xDEADBEEFu) << "past row " << y;
  }
  return out;
}

Picture Random(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  Picture picture{width, height, std::vector<uint32_t>(size_t(width) * height)};
  for (auto& pixel : picture.pixels) pixel = uint32_t(random());
  return picture;
}

// Black and white with one-pixel lines, a checkerboard corner and bright edge rows and columns:
// every sample there sits next to a jump of the whole range.
Picture SharpEdges(int width, int height) {
  Picture picture{width, height, std::vector<uint32_t>(size_t(width) * height)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      bool white = x % 7 == 3 || y % 5 == 1;
      if (x < 40 && y < 40) white = (x + y) % 2;
      if (x == 0 || y == 0) white = true;
      if (x == width - 1 || y == height - 1) white = !white;
      picture.pixels[size_t(y) * width + x] = white ? 0x00FFFFFF : 0xFF000000;
    }
  return picture;
}

TEST(FrameScaler, MatchesPixmansBilinearScaleWithinALevel) {
  const struct {
    int width, height, targetWidth, targetHeight;
  } sizes[] = {
      {800, 600, 1440, 1080}, {800, 600, 1366, 1024}, {800, 600, 1024, 768}, {800, 600, 1250, 600},
      {800, 600, 800, 777},   {800, 600, 800, 600},   {333, 257, 1001, 777}, {800, 600, 640, 480},
  };
  FrameScaler scaler;  // one for all: no row of an earlier frame may stay
  for (const auto& size : sizes) {
    SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " -> " << size.targetWidth << "x"
                                    << size.targetHeight);
    const Picture pictures[] = {Random(size.width, size.height, 7), SharpEdges(size.width, size.height)};
    for (const auto& source : pictures) {
      const Picture expected = PixmanScaled(source, size.targetWidth, size.targetHeight);
      const Picture scaled = Scaled(scaler, source, size.targetWidth, size.targetHeight);
      // Alpha included: the frame is taken as x8r8g8b8, so it comes out opaque.
      EXPECT_LE(LargestDifference(expected.pixels, scaled.pixels), 1);
    }
  }
}

}  // namespace
