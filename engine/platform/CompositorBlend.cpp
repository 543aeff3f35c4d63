// SPDX-License-Identifier: Zlib
#include "platform/CompositorBlend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>

#include "platform/FrameScaler.h"

namespace tovak2d::platform::video::compositor {
namespace {

#if defined(__x86_64__)
// The blends below eight pixels at a time where WideSimd() allows: the same arithmetic as the
// four-at-a-time loops, lane for lane, so the results are the same to the bit.
__attribute__((target("avx2"))) inline __m256i Div255Avx2(__m256i x) {
  return _mm256_mulhi_epu16(_mm256_add_epi16(x, _mm256_set1_epi16(1)), _mm256_set1_epi16(257));
}

// Each pixel's alpha (the fourth of its four 16-bit channels) in all four.
__attribute__((target("avx2"))) inline __m256i SpreadAlpha(__m256i x) {
  return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(x, 0xFF), 0xFF);
}

// Eight pixels at a time while eight are left, as BlendFours does four. Returns how many were done.
template <typename Half>
__attribute__((target("avx2"))) int BlendEights(uint32_t* frame, const uint32_t* texels, int count,
                                                const Half& half, bool skipClear) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i alphaByte = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i texel = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + i));
    if (skipClear && _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_srli_epi32(texel, 24), zero)) == -1) continue;
    __m256i* out = reinterpret_cast<__m256i*>(frame + i);
    const __m256i below = _mm256_loadu_si256(out);
    const __m256i mixed =
        _mm256_packus_epi16(half(_mm256_unpacklo_epi8(texel, zero), _mm256_unpacklo_epi8(below, zero)),
                            half(_mm256_unpackhi_epi8(texel, zero), _mm256_unpackhi_epi8(below, zero)));
    _mm256_storeu_si256(out, _mm256_or_si256(mixed, alphaByte));
  }
  return i;
}

__attribute__((target("avx2"))) int BlendPlainAvx2(uint32_t* frame, const uint32_t* texels, int count) {
  const __m256i zero = _mm256_setzero_si256(), full = _mm256_set1_epi16(255);
  const __m256i opaque = _mm256_set1_epi32(255), alphaByte = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  auto half = [&](__m256i t, __m256i f) __attribute__((target("avx2"))) {
    const __m256i a = SpreadAlpha(t);
    return _mm256_add_epi16(_mm256_srli_epi16(_mm256_mullo_epi16(t, a), 8),
                            _mm256_srli_epi16(_mm256_mullo_epi16(f, _mm256_sub_epi16(full, a)), 8));
  };
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i texel = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + i));
    const __m256i alpha = _mm256_srli_epi32(texel, 24);
    const __m256i clear = _mm256_cmpeq_epi32(alpha, zero), solid = _mm256_cmpeq_epi32(alpha, opaque);
    if (_mm256_movemask_epi8(clear) == -1) continue;
    __m256i* out = reinterpret_cast<__m256i*>(frame + i);
    if (_mm256_movemask_epi8(solid) == -1) {
      _mm256_storeu_si256(out, texel);
      continue;
    }
    const __m256i below = _mm256_loadu_si256(out);
    __m256i mixed =
        _mm256_packus_epi16(half(_mm256_unpacklo_epi8(texel, zero), _mm256_unpacklo_epi8(below, zero)),
                            half(_mm256_unpackhi_epi8(texel, zero), _mm256_unpackhi_epi8(below, zero)));
    mixed = _mm256_or_si256(mixed, alphaByte);
    mixed = _mm256_blendv_epi8(mixed, texel, solid);
    mixed = _mm256_blendv_epi8(mixed, below, clear);
    _mm256_storeu_si256(out, mixed);
  }
  return i;
}

__attribute__((target("avx2"))) int BlendTintedAvx2(uint32_t* frame, const uint32_t* texels, int count,
                                                    Rgba color) {
  const __m256i full = _mm256_set1_epi16(255);
  const __m256i times = _mm256_setr_epi16(color.b, color.g, color.r, color.a, color.b, color.g, color.r, color.a,
                                          color.b, color.g, color.r, color.a, color.b, color.g, color.r, color.a);
  auto half = [&](__m256i t, __m256i f) __attribute__((target("avx2"))) {
    const __m256i tinted = Div255Avx2(_mm256_mullo_epi16(t, times));
    const __m256i a = SpreadAlpha(tinted);
    return _mm256_add_epi16(Div255Avx2(_mm256_mullo_epi16(tinted, a)),
                            Div255Avx2(_mm256_mullo_epi16(f, _mm256_sub_epi16(full, a))));
  };
  return BlendEights(frame, texels, count, half, true);
}

__attribute__((target("avx2"))) int BlendFadedAvx2(uint32_t* frame, const uint32_t* texels, int count,
                                                   uint32_t alpha) {
  const __m256i over = _mm256_set1_epi16(static_cast<int16_t>(alpha));
  const __m256i under = _mm256_set1_epi16(static_cast<int16_t>(255 - alpha));
  auto half = [&](__m256i t, __m256i f) __attribute__((target("avx2"))) {
    return _mm256_add_epi16(Div255Avx2(_mm256_mullo_epi16(t, over)), Div255Avx2(_mm256_mullo_epi16(f, under)));
  };
  return BlendEights(frame, texels, count, half, false);
}

// Runs the AVX2 loop where the machine has it, and moves the pointers and the count past the
// pixels it did.
#define TOVAK2D_AVX2_FIRST(call)                  \
  if (WideSimd()) {                                \
    const int done = call;                        \
    frame += done, texels += done, count -= done; \
  }
#else
#define TOVAK2D_AVX2_FIRST(call)
#endif

// Texels blend into the frame with the arithmetic of SDL's software blitters, to the bit, so that
// a screen made of many see-through layers comes out as it does there: a plain texel gives
// texel * alpha / 256 + frame * (255 - alpha) / 256, each part cut to a whole level; a tinted or
// faded one is first multiplied by the tint
// and its alpha, each step cut to a whole level, and then laid over (255 - alpha) / 255 of the
// frame.
void BlendPlain(uint32_t* frame, const uint32_t* texels, int count) {
  TOVAK2D_AVX2_FIRST(BlendPlainAvx2(frame, texels, count))
  int i = 0;
#if defined(__SSE2__)
  // Four pixels at a time, each channel in 16 bits; texels wholly opaque or wholly clear are taken
  // or left as they are, as SDL does.
  const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255), opaque = _mm_set1_epi32(255);
  const __m128i alphaByte = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; i + 4 <= count; i += 4) {
    const __m128i texel = _mm_loadu_si128(reinterpret_cast<const __m128i*>(texels + i));
    const __m128i alpha = _mm_srli_epi32(texel, 24);
    const __m128i clear = _mm_cmpeq_epi32(alpha, zero), solid = _mm_cmpeq_epi32(alpha, opaque);
    if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
    __m128i* out = reinterpret_cast<__m128i*>(frame + i);
    if (_mm_movemask_epi8(solid) == 0xFFFF) {
      _mm_storeu_si128(out, texel);
      continue;
    }
    const __m128i below = _mm_loadu_si128(out);
    auto half = [&](__m128i t, __m128i f) {
      const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(t, 0xFF), 0xFF);
      return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(t, a), 8),
                           _mm_srli_epi16(_mm_mullo_epi16(f, _mm_sub_epi16(full, a)), 8));
    };
    __m128i mixed = _mm_packus_epi16(half(_mm_unpacklo_epi8(texel, zero), _mm_unpacklo_epi8(below, zero)),
                                     half(_mm_unpackhi_epi8(texel, zero), _mm_unpackhi_epi8(below, zero)));
    mixed = _mm_or_si128(mixed, alphaByte);
    mixed = _mm_or_si128(_mm_and_si128(solid, texel), _mm_andnot_si128(solid, mixed));
    mixed = _mm_or_si128(_mm_and_si128(clear, below), _mm_andnot_si128(clear, mixed));
    _mm_storeu_si128(out, mixed);
  }
#endif
  for (; i < count; ++i) {
    const uint32_t texel = texels[i], alpha = texel >> 24;
    if (alpha == 0) continue;
    if (alpha == 255) {
      frame[i] = texel;
      continue;
    }
    const uint32_t below = frame[i];
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
      const uint32_t t = (texel >> shift) & 0xFF, f = (below >> shift) & 0xFF;
      out |= ((t * alpha >> 8) + (f * (255 - alpha) >> 8)) << shift;
    }
    frame[i] = out;
  }
}

#if defined(__SSE2__)
// x / 255 cut to a whole number, for x up to 255 * 255, in each 16-bit lane.
inline __m128i Div255(__m128i x) {
  return _mm_mulhi_epu16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_set1_epi16(257));
}
#endif

#if defined(__SSE2__)
// Four pixels at a time while four are left, each channel of two pixels in 16 bits given to half
// with the frame's below it; texels wholly clear are skipped when asked. Returns how many were done.
template <typename Half>
int BlendFours(uint32_t* frame, const uint32_t* texels, int count, const Half& half, bool skipClear) {
  const __m128i zero = _mm_setzero_si128(), alphaByte = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i texel = _mm_loadu_si128(reinterpret_cast<const __m128i*>(texels + i));
    if (skipClear && _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(texel, 24), zero)) == 0xFFFF) continue;
    __m128i* out = reinterpret_cast<__m128i*>(frame + i);
    const __m128i below = _mm_loadu_si128(out);
    const __m128i mixed =
        _mm_packus_epi16(half(_mm_unpacklo_epi8(texel, zero), _mm_unpacklo_epi8(below, zero)),
                         half(_mm_unpackhi_epi8(texel, zero), _mm_unpackhi_epi8(below, zero)));
    _mm_storeu_si128(out, _mm_or_si128(mixed, alphaByte));
  }
  return i;
}
#endif

void BlendTinted(uint32_t* frame, const uint32_t* texels, int count, Rgba color) {
  TOVAK2D_AVX2_FIRST(BlendTintedAvx2(frame, texels, count, color))
  int i = 0;
#if defined(__SSE2__)
  const __m128i full = _mm_set1_epi16(255);
  const __m128i times =
      _mm_setr_epi16(color.b, color.g, color.r, color.a, color.b, color.g, color.r, color.a);
  // The texel times the tint leaves the faded alpha in the alpha lane; a faded alpha of 0 leaves
  // the frame as it was, and one of 255 the tinted texel, with no special case.
  auto half = [&](__m128i t, __m128i f) {
    const __m128i tinted = Div255(_mm_mullo_epi16(t, times));
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(tinted, 0xFF), 0xFF);
    return _mm_add_epi16(Div255(_mm_mullo_epi16(tinted, a)),
                         Div255(_mm_mullo_epi16(f, _mm_sub_epi16(full, a))));
  };
  i = BlendFours(frame, texels, count, half, true);
#endif
  const uint32_t tint[3] = {color.b, color.g, color.r};
  for (; i < count; ++i) {
    const uint32_t texel = texels[i], alpha = (texel >> 24) * color.a / 255;
    if (alpha == 0) continue;
    const uint32_t below = frame[i];
    uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
      const int shift = 8 * c;
      const uint32_t t = ((texel >> shift) & 0xFF) * tint[c] / 255 * alpha / 255;
      out |= (t + (255 - alpha) * ((below >> shift) & 0xFF) / 255) << shift;
    }
    frame[i] = out;
  }
}

// Opaque texels under a white tint faded to alpha: BlendTinted's arithmetic, whose tint multiply
// leaves such texels as they are and whose faded alpha is the tint's, with the alpha held fixed.
// The turning sky, a faded photo over the whole frame, is drawn this way every frame.
void BlendFaded(uint32_t* frame, const uint32_t* texels, int count, uint32_t alpha) {
  TOVAK2D_AVX2_FIRST(BlendFadedAvx2(frame, texels, count, alpha))
  int i = 0;
#if defined(__SSE2__)
  const __m128i over = _mm_set1_epi16(static_cast<int16_t>(alpha));
  const __m128i under = _mm_set1_epi16(static_cast<int16_t>(255 - alpha));
  auto half = [&](__m128i t, __m128i f) {
    return _mm_add_epi16(Div255(_mm_mullo_epi16(t, over)), Div255(_mm_mullo_epi16(f, under)));
  };
  i = BlendFours(frame, texels, count, half, false);
#endif
  for (; i < count; ++i) {
    const uint32_t texel = texels[i], below = frame[i];
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8)
      out |= (((texel >> shift) & 0xFF) * alpha / 255 + (255 - alpha) * ((below >> shift) & 0xFF) / 255) << shift;
    frame[i] = out;
  }
}

}  // namespace

void Blend(uint32_t* frame, const uint32_t* texels, int count, Rgba color, bool opaque) {
  const bool white = color.r == 255 && color.g == 255 && color.b == 255;
  if (white && color.a == 255 && opaque)
    std::copy_n(texels, count, frame);
  else if (white && color.a == 255)
    BlendPlain(frame, texels, count);
  else if (white && opaque)
    BlendFaded(frame, texels, count, color.a);
  else
    BlendTinted(frame, texels, count, color);
}


#if defined(__x86_64__)
__attribute__((target("avx2"))) int GatherAvx2(uint32_t* out, const uint32_t* texels, int32_t pitch, int32_t u,
                                               int32_t v, int32_t uBy, int32_t vBy, int count) {
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  __m256i us = _mm256_add_epi32(_mm256_set1_epi32(u), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(uBy)));
  __m256i vs = _mm256_add_epi32(_mm256_set1_epi32(v), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(vBy)));
  // Past the last group the positions may leave the range; they are never used there.
  const __m256i uStep = _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(uBy) * 8u));
  const __m256i vStep = _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(vBy) * 8u));
  const __m256i rowLength = _mm256_set1_epi32(pitch);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i at = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(vs, 16), rowLength),
                                        _mm256_srai_epi32(us, 16));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_i32gather_epi32(reinterpret_cast<const int*>(texels), at, 4));
    us = _mm256_add_epi32(us, uStep);
    vs = _mm256_add_epi32(vs, vStep);
  }
  return i;
}
#endif

}  // namespace tovak2d::platform::video::compositor
