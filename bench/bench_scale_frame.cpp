// SPDX-License-Identifier: Zlib
// The CPU compositor's full-screen step: an 800 x 600 frame scaled smoothly into its 1440 x 1080
// place in a 1920 x 1080 window, by pixman's bilinear filter as before and by FrameScaler; and the
// windowed step on a desktop at scale 2: the frame written sharp as 2 x 2 blocks into 1600 x 1200.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/FrameScaler.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kWindowWidth = 1920, kWindowHeight = 1080;
constexpr int kViewX = 240, kViewWidth = 1440, kViewHeight = 1080;

std::vector<uint32_t> Frame() {
  std::mt19937 random(3);
  std::vector<uint32_t> frame(size_t(kWidth) * kHeight);
  for (auto& pixel : frame) pixel = uint32_t(random()) | 0xFF000000;
  return frame;
}

// As the compositor did it: the frame (a8r8g8b8) scaled with SRC into an X11 window's x8r8g8b8.
void BM_ScaleFrame_Pixman(benchmark::State& state) {
  std::vector<uint32_t> frame = Frame(), window(size_t(kWindowWidth) * kWindowHeight);
  pixman_image_t* source =
      pixman_image_create_bits_no_clear(PIXMAN_a8r8g8b8, kWidth, kHeight, frame.data(), kWidth * 4);
  for (auto _ : state) {
    pixman_image_t* target = pixman_image_create_bits_no_clear(PIXMAN_x8r8g8b8, kWindowWidth, kWindowHeight,
                                                               window.data(), kWindowWidth * 4);
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, pixman_double_to_fixed(double(kWidth) / kViewWidth),
                                pixman_double_to_fixed(double(kHeight) / kViewHeight));
    pixman_image_set_transform(source, &transform);
    pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
    pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, target, 0, 0, 0, 0, kViewX, 0, kViewWidth,
                             kViewHeight);
    pixman_image_set_transform(source, nullptr);
    pixman_image_set_filter(source, PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_set_repeat(source, PIXMAN_REPEAT_NONE);
    pixman_image_unref(target);
    benchmark::DoNotOptimize(window.data());
  }
  pixman_image_unref(source);
}
BENCHMARK(BM_ScaleFrame_Pixman)->Unit(benchmark::kMillisecond);

void BM_ScaleFrame_Separable(benchmark::State& state) {
  std::vector<uint32_t> frame = Frame(), window(size_t(kWindowWidth) * kWindowHeight);
  tovak2d::platform::video::compositor::FrameScaler scaler;
  for (auto _ : state) {
    scaler.Scale(frame.data(), kWidth, kHeight, kWidth * 4, window.data() + kViewX, kViewWidth, kViewHeight,
                 kWindowWidth * 4);
    benchmark::DoNotOptimize(window.data());
  }
}
BENCHMARK(BM_ScaleFrame_Separable)->Unit(benchmark::kMillisecond);

// As the compositor did it: each pixel filled as a block into a row, and the row copied.
void BM_ScaleWhole_FillAndCopy(benchmark::State& state) {
  std::vector<uint32_t> frame = Frame(), window(size_t(kWidth) * kHeight * 4);
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) {
      uint32_t* row = window.data() + size_t(y) * 2 * 2 * kWidth;
      for (int x = 0; x < kWidth; ++x) std::fill_n(row + 2 * x, 2, frame[size_t(y) * kWidth + x] | 0xFF000000u);
      std::copy_n(row, 2 * kWidth, row + 2 * kWidth);
    }
    benchmark::DoNotOptimize(window.data());
  }
}
BENCHMARK(BM_ScaleWhole_FillAndCopy)->Unit(benchmark::kMillisecond);

void BM_ScaleWhole(benchmark::State& state) {
  std::vector<uint32_t> frame = Frame(), window(size_t(kWidth) * kHeight * 4);
  for (auto _ : state) {
    tovak2d::platform::video::compositor::ScaleWhole(frame.data(), kWidth, kHeight, kWidth * 4, window.data(), 2,
                                                     kWidth * 2 * 4);
    benchmark::DoNotOptimize(window.data());
  }
}
BENCHMARK(BM_ScaleWhole)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
