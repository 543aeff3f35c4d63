#include "platform/FrameScaler.h"

#include <pixman.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tovak2d::platform::video::compositor {
namespace {

// Weights have 7 bits, as pixman's bilinear filter has them: a widened channel is at most
// 255 * 128, which a 16-bit lane (even a signed one) holds, and a blended one at most
// 255 * 128 * 128, shifted down by 14 bits at the end.
constexpr int kWeightBits = 7;
constexpr int kWeightOne = 1 << kWeightBits;
constexpr uint16_t kOpaqueWidened = 255 * kWeightOne;

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
    target[x] = pixel;
  }
}

#if defined(__SSE2__)
// Four pixels at a time: the two rows' lanes interleaved, so that one multiply-add gives each
// channel's blend in 32 bits.
int BlendRowVector(const uint16_t* upper, const uint16_t* lower, int lowerWeight, uint32_t* target,
                   int width) {
  const __m128i weights = _mm_set1_epi32(lowerWeight << 16 | (kWeightOne - lowerWeight));
  auto blend = [&](__m128i up, __m128i down) {
    const __m128i low = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(up, down), weights), 14);
    const __m128i high = _mm_srli_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(up, down), weights), 14);
    return _mm_packs_epi32(low, high);
  };
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const __m128i* up = reinterpret_cast<const __m128i*>(upper + 4 * x);
    const __m128i* down = reinterpret_cast<const __m128i*>(lower + 4 * x);
    const __m128i first = blend(_mm_loadu_si128(up), _mm_loadu_si128(down));
    const __m128i second = blend(_mm_loadu_si128(up + 1), _mm_loadu_si128(down + 1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + x), _mm_packus_epi16(first, second));
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
  planned_ = true;
  return true;
}

// One source row at the target's width, each channel times 128 (weights summing to 128), its
// alpha that of an opaque pixel whatever the source's.
void FrameScaler::Widen(const uint32_t* row, uint16_t* widened) const {
  int x = 0;
#if defined(__SSE2__)
  // Two pixels at a time: each loads its two source pixels at once and multiplies them by its
  // weights; the halves added give its four channels.
  const __m128i zero = _mm_setzero_si128();
  const __m128i colours = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
  const __m128i opaque = _mm_set_epi16(kOpaqueWidened, 0, 0, 0, kOpaqueWidened, 0, 0, 0);
  const __m128i* weights = reinterpret_cast<const __m128i*>(columnWeights_.data());
  for (; x + 2 <= targetWidth_; x += 2) {
    const __m128i left = _mm_mullo_epi16(
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + columns_[x])), zero),
        _mm_loadu_si128(weights + x));
    const __m128i right = _mm_mullo_epi16(
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + columns_[x + 1])), zero),
        _mm_loadu_si128(weights + x + 1));
    const __m128i sum = _mm_add_epi16(_mm_unpacklo_epi64(left, right), _mm_unpackhi_epi64(left, right));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(widened + 4 * x),
                     _mm_or_si128(_mm_and_si128(sum, colours), opaque));
  }
#endif
  for (; x < targetWidth_; ++x) {
    const uint32_t left = row[columns_[x]], right = row[columns_[x] + 1];
    const uint32_t leftWeight = columnWeights_[8 * x], rightWeight = columnWeights_[8 * x + 4];
    for (int c = 0; c < 3; ++c)
      widened[4 * x + c] =
          uint16_t(((left >> (8 * c)) & 0xFF) * leftWeight + ((right >> (8 * c)) & 0xFF) * rightWeight);
    widened[4 * x + 3] = kOpaqueWidened;
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
    x = BlendRowVector(up, down, rowWeights_[y], out, targetWidth);
#endif
    BlendRow(up, down, rowWeights_[y], out, x, targetWidth);
  }
  return true;
}

}  // namespace tovak2d::platform::video::compositor
