// SPDX-License-Identifier: Zlib
#include "platform/FrameScaler.h"

#include <pixman.h>

#include <algorithm>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

namespace tovak2d::platform::video::compositor {
namespace {

bool MachineHasAvx2() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

bool wideSimd = MachineHasAvx2() && !std::getenv("TOVAK2D_NO_AVX2");

}  // namespace

bool WideSimd() {
  return wideSimd;
}

void UseWideSimd(bool on) {
  wideSimd = on && MachineHasAvx2();
}

namespace {

// Weights have 7 bits, as pixman's bilinear filter has them: a widened channel is at most
// 255 * 128, which a 16-bit lane (even a signed one) holds, and a blended one at most
// 255 * 128 * 128, shifted down by 14 bits at the end.
constexpr int kWeightBits = 7;
constexpr int kWeightOne = 1 << kWeightBits;

// The source pixel each target pixel's centre falls on along one axis, as pixman places it for a
// scale transform: the step is the ratio in 16.16 (truncated), the first centre is half a step
// (rounded) less half a pixel, and each next one a step further. Each position becomes the
// nearer-to-the-origin of its two source pixels and the weight of the other; positions before
// the first or past the last pixel take that pixel whole (padded edges). Left to pixman when the
// step does not fit its fixed point.
bool PlaceAxis(int size, int targetSize, std::vector<int32_t>& first, std::vector<uint16_t>& weight) {
  const double ratio = double(size) / targetSize;
  if (!(ratio < 32767.0)) return false;
  const int64_t step = pixman_double_to_fixed(ratio);
  if (step <= 0) return false;
  const int64_t half = pixman_fixed_1 / 2;
  int64_t position = ((step * half + half) >> 16) - half;
  first.resize(targetSize);
  weight.resize(targetSize);
  for (int i = 0; i < targetSize; ++i, position += step) {
    int64_t index = position >> 16;
    int w = int(position >> (16 - kWeightBits)) & (kWeightOne - 1);
    if (index < 0) {
      index = 0;
      w = 0;
    } else if (index >= size - 1) {
      index = size - 2;
      w = kWeightOne;
    }
    first[i] = int32_t(index);
    weight[i] = uint16_t(w);
  }
  return true;
}

// Target pixels [from, width) of a row blended from two widened rows.
void BlendRow(const uint16_t* upper, const uint16_t* lower, int lowerWeight, uint32_t* target, int from,
              int width) {
  const uint32_t upperWeight = kWeightOne - lowerWeight;
  for (int x = from; x < width; ++x) {
    uint32_t pixel = 0;
    for (int c = 0; c < 4; ++c) {
      const uint32_t value =
          (upper[4 * x + c] * upperWeight + lower[4 * x + c] * uint32_t(lowerWeight)) >> (2 * kWeightBits);
      pixel |= value << (8 * c);
    }
    target[x] = pixel | 0xFF000000;
  }
}

#if defined(__SSE2__)
// Target pixels [from, width) of a widened row, two at a time (returns where it stopped): each
// loads its two source pixels at once and multiplies them by its weights; the halves added give
// its four channels.
int WidenVector(const uint32_t* row, const int32_t* columns, const uint16_t* columnWeights, uint16_t* widened,
                int from, int width) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i* weights = reinterpret_cast<const __m128i*>(columnWeights);
  int x = from;
  for (; x + 2 <= width; x += 2) {
    const __m128i left = _mm_mullo_epi16(
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + columns[x])), zero),
        _mm_loadu_si128(weights + x));
    const __m128i right = _mm_mullo_epi16(
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + columns[x + 1])), zero),
        _mm_loadu_si128(weights + x + 1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(widened + 4 * x),
                     _mm_add_epi16(_mm_unpacklo_epi64(left, right), _mm_unpackhi_epi64(left, right)));
  }
  return x;
}

// Pixels [from, width) four at a time from a 16-byte boundary of the target (returns where it
// stopped): the two rows' lanes interleaved, so that one multiply-add gives each channel's blend
// in 32 bits. The stores bypass the cache: the frame is far larger than it, and read next by the
// display server, not by us.
int BlendRowVector(const uint16_t* upper, const uint16_t* lower, int lowerWeight, uint32_t* target, int from,
                   int width) {
  const __m128i weights = _mm_set1_epi32(lowerWeight << 16 | (kWeightOne - lowerWeight));
  const __m128i opaque = _mm_set1_epi32(int(0xFF000000));
  auto blend = [&](__m128i up, __m128i down) {
    const __m128i low = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(up, down), weights), 14);
    const __m128i high = _mm_srli_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(up, down), weights), 14);
    return _mm_packs_epi32(low, high);
  };
  int x = from;
  for (; x + 4 <= width; x += 4) {
    const __m128i* up = reinterpret_cast<const __m128i*>(upper + 4 * x);
    const __m128i* down = reinterpret_cast<const __m128i*>(lower + 4 * x);
    const __m128i first = blend(_mm_loadu_si128(up), _mm_loadu_si128(down));
    const __m128i second = blend(_mm_loadu_si128(up + 1), _mm_loadu_si128(down + 1));
    _mm_stream_si128(reinterpret_cast<__m128i*>(target + x),
                     _mm_or_si128(_mm_packus_epi16(first, second), opaque));
  }
  return x;
}
#endif

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define TOVAK2D_SCALER_AVX2 1
// The same eight pixels at a time, on machines with AVX2. The packs work within each half of the
// register, so the last step puts the four 64-bit quarters back in order.
__attribute__((target("avx2"))) int BlendRowAvx2(const uint16_t* upper, const uint16_t* lower,
                                                 int lowerWeight, uint32_t* target, int from, int width) {
  const __m256i weights = _mm256_set1_epi32(lowerWeight << 16 | (kWeightOne - lowerWeight));
  const __m256i opaque = _mm256_set1_epi32(int(0xFF000000));
  auto blend = [&](__m256i up, __m256i down) __attribute__((target("avx2"))) {
    const __m256i low = _mm256_srli_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(up, down), weights), 14);
    const __m256i high = _mm256_srli_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(up, down), weights), 14);
    return _mm256_packs_epi32(low, high);
  };
  int x = from;
  for (; x + 8 <= width; x += 8) {
    const __m256i* up = reinterpret_cast<const __m256i*>(upper + 4 * x);
    const __m256i* down = reinterpret_cast<const __m256i*>(lower + 4 * x);
    const __m256i first = blend(_mm256_loadu_si256(up), _mm256_loadu_si256(down));
    const __m256i second = blend(_mm256_loadu_si256(up + 1), _mm256_loadu_si256(down + 1));
    _mm256_stream_si256(
        reinterpret_cast<__m256i*>(target + x),
        _mm256_or_si256(_mm256_permute4x64_epi64(_mm256_packus_epi16(first, second), 0xD8), opaque));
  }
  return x;
}
// Four target pixels at a time, on machines with AVX2: two pixels' source pairs in each half of
// the register.
__attribute__((target("avx2"))) int WidenAvx2(const uint32_t* row, const int32_t* columns,
                                              const uint16_t* columnWeights, uint16_t* widened, int width) {
  auto pairs = [&](int x) __attribute__((target("avx2"))) {
    return _mm256_cvtepu8_epi16(
        _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + columns[x])),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + columns[x + 1]))));
  };
  auto weights = [&](int x) __attribute__((target("avx2"))) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columnWeights + 8 * x));
  };
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const __m256i first = _mm256_mullo_epi16(pairs(x), weights(x));
    const __m256i second = _mm256_mullo_epi16(pairs(x + 2), weights(x + 2));
    const __m256i sum =
        _mm256_add_epi16(_mm256_unpacklo_epi64(first, second), _mm256_unpackhi_epi64(first, second));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(widened + 4 * x), _mm256_permute4x64_epi64(sum, 0xD8));
  }
  return x;
}
#endif

}  // namespace

bool FrameScaler::Plan(int width, int height, int targetWidth, int targetHeight) {
  if (planned_ && width == width_ && height == height_ && targetWidth == targetWidth_ &&
      targetHeight == targetHeight_)
    return true;
  planned_ = false;
  width_ = width;
  height_ = height;
  targetWidth_ = targetWidth;
  targetHeight_ = targetHeight;
  std::vector<uint16_t> weights;
  if (width < 2 || height < 2 || targetWidth < 1 || targetHeight < 1 ||
      !PlaceAxis(width, targetWidth, columns_, weights) ||
      !PlaceAxis(height, targetHeight, rows_, rowWeights_))
    return false;
  columnWeights_.resize(size_t(targetWidth) * 8);
  for (int x = 0; x < targetWidth; ++x)
    for (int c = 0; c < 4; ++c) {
      columnWeights_[8 * x + c] = uint16_t(kWeightOne - weights[x]);
      columnWeights_[8 * x + 4 + c] = weights[x];
    }
  for (auto& row : widened_) row.assign(size_t(targetWidth) * 4, 0);
#if defined(TOVAK2D_SCALER_AVX2)
  avx2_ = WideSimd();
#endif
  planned_ = true;
  return true;
}

// One source row at the target's width, each channel times 128 (weights summing to 128).
void FrameScaler::Widen(const uint32_t* row, uint16_t* widened) const {
  int x = 0;
#if defined(TOVAK2D_SCALER_AVX2)
  if (avx2_) x = WidenAvx2(row, columns_.data(), columnWeights_.data(), widened, targetWidth_);
#endif
#if defined(__SSE2__)
  x = WidenVector(row, columns_.data(), columnWeights_.data(), widened, x, targetWidth_);
#endif
  for (; x < targetWidth_; ++x) {
    const uint32_t left = row[columns_[x]], right = row[columns_[x] + 1];
    const uint32_t leftWeight = columnWeights_[8 * x], rightWeight = columnWeights_[8 * x + 4];
    for (int c = 0; c < 4; ++c)
      widened[4 * x + c] =
          uint16_t(((left >> (8 * c)) & 0xFF) * leftWeight + ((right >> (8 * c)) & 0xFF) * rightWeight);
  }
}

bool FrameScaler::Scale(const uint32_t* source, int width, int height, size_t sourcePitch, uint32_t* target,
                        int targetWidth, int targetHeight, size_t targetPitch) {
  if (!source || !target || !Plan(width, height, targetWidth, targetHeight)) return false;
  auto sourceRow = [&](int y) {
    return reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(source) +
                                             size_t(y) * sourcePitch);
  };
  // A new frame: no widened row holds any of it yet.
  widenedRow_[0] = widenedRow_[1] = -1;
  for (int y = 0; y < targetHeight; ++y) {
    const int upper = rows_[y];
    // Rows y and y + 1 take different places in the ring, so both stay while the target rows
    // between them are blended.
    for (int row = upper; row <= upper + 1; ++row) {
      if (widenedRow_[row & 1] == row) continue;
      Widen(sourceRow(row), widened_[row & 1].data());
      widenedRow_[row & 1] = row;
    }
    uint32_t* out = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(target) + size_t(y) * targetPitch);
    const uint16_t* up = widened_[upper & 1].data();
    const uint16_t* down = widened_[(upper + 1) & 1].data();
    int x = 0;
#if defined(__SSE2__)
    if (reinterpret_cast<uintptr_t>(out) % 4 == 0) {
      const int alignment = avx2_ ? 32 : 16;
      x = std::min(int((alignment - reinterpret_cast<uintptr_t>(out) % alignment) % alignment / 4),
                   targetWidth);
      BlendRow(up, down, rowWeights_[y], out, 0, x);
#if defined(TOVAK2D_SCALER_AVX2)
      if (avx2_) x = BlendRowAvx2(up, down, rowWeights_[y], out, x, targetWidth);
#endif
      x = BlendRowVector(up, down, rowWeights_[y], out, x, targetWidth);
    }
#endif
    BlendRow(up, down, rowWeights_[y], out, x, targetWidth);
  }
#if defined(__SSE2__)
  _mm_sfence();
#endif
  return true;
}

namespace {

uint32_t* RowAt(uint32_t* image, size_t pitch, size_t row) {
  return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(image) + row * pitch);
}

// One source row at twice its width into two target rows. The window's memory is only written
// here (the display server reads it), so aligned rows take stores that bypass the cache.
void DoubleRow(const uint32_t* from, int width, uint32_t* upper, uint32_t* lower) {
  int x = 0;
#if defined(__SSE2__)
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  auto put = [](uint32_t* at, __m128i pixels, bool aligned) {
    if (aligned)
      _mm_stream_si128(reinterpret_cast<__m128i*>(at), pixels);
    else
      _mm_storeu_si128(reinterpret_cast<__m128i*>(at), pixels);
  };
  const bool aligned = (reinterpret_cast<uintptr_t>(upper) | reinterpret_cast<uintptr_t>(lower)) % 16 == 0;
  for (; x + 4 <= width; x += 4) {
    const __m128i four = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x)), opaque);
    const __m128i left = _mm_unpacklo_epi32(four, four), right = _mm_unpackhi_epi32(four, four);
    put(upper + 2 * x, left, aligned);
    put(upper + 2 * x + 4, right, aligned);
    put(lower + 2 * x, left, aligned);
    put(lower + 2 * x + 4, right, aligned);
  }
#endif
  for (; x < width; ++x) upper[2 * x] = upper[2 * x + 1] = lower[2 * x] = lower[2 * x + 1] = from[x] | 0xFF000000u;
}

}  // namespace

void ScaleWhole(const uint32_t* source, int width, int height, size_t sourcePitch, uint32_t* target, int factor,
                size_t targetPitch) {
  for (int y = 0; y < height; ++y) {
    const auto* from = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(source) + size_t(y) * sourcePitch);
    uint32_t* row = RowAt(target, targetPitch, size_t(y) * size_t(factor));
    if (factor == 2) {
      DoubleRow(from, width, row, RowAt(row, targetPitch, 1));
      continue;
    }
    for (int x = 0; x < width; ++x) std::fill_n(row + size_t(x) * size_t(factor), factor, from[x] | 0xFF000000u);
    for (int copy = 1; copy < factor; ++copy)
      std::copy_n(row, size_t(width) * size_t(factor), RowAt(row, targetPitch, size_t(copy)));
  }
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

}  // namespace tovak2d::platform::video::compositor
