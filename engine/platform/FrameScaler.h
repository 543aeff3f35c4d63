// SPDX-License-Identifier: Zlib
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The CPU compositor's frame scaled smoothly into the window, in two passes: each source row is
// widened once to the target's width, and each target row blends the two widened rows it falls
// between. Its pixels are those of pixman's bilinear SRC of a scale transform with padded edges
// from an x8r8g8b8 frame (same sample positions, same 7-bit weights, same rounding), at a fraction
// of the cost, since a widened row serves about two target rows.
namespace tovak2d::platform::video::compositor {

// Whether the compositor's loops take eight pixels at a time with AVX2: where the machine has it,
// unless TOVAK2D_NO_AVX2 is set. Both ways give the same pixels; tests switch it to compare them
// (switching it on does nothing on a machine without AVX2).
bool WideSimd();
void UseWideSimd(bool on);

// Writes each pixel of the width x height source as a block of factor x factor target pixels, its
// alpha 0xFF (pitches in bytes): the frame at a whole multiple of its size, sharp. At twice the
// size, each source row is read once and written into both target rows four pixels at a time.
void ScaleWhole(const uint32_t* source, int width, int height, size_t sourcePitch, uint32_t* target, int factor,
                size_t targetPitch);

class FrameScaler {
 public:
  // Scales the width x height source into the targetWidth x targetHeight target (pitches in
  // bytes), its alpha 0xFF. False, with nothing written, for sizes it leaves to pixman: either
  // side under 2 pixels, or a step pixman's 16.16 fixed point cannot hold.
  bool Scale(const uint32_t* source, int width, int height, size_t sourcePitch, uint32_t* target,
             int targetWidth, int targetHeight, size_t targetPitch);

 private:
  // The sample positions for these sizes, kept while the sizes stay.
  bool Plan(int width, int height, int targetWidth, int targetHeight);
  void Widen(const uint32_t* row, uint16_t* widened) const;

  int width_ = 0, height_ = 0, targetWidth_ = 0, targetHeight_ = 0;
  bool planned_ = false;
  // The machine has AVX2: the blends take eight pixels at a time.
  bool avx2_ = false;
  // For each target column: the left of the two source columns it blends, and the weights of
  // both, four times each (one per channel), as the widening multiplies them.
  std::vector<int32_t> columns_;
  std::vector<uint16_t> columnWeights_;
  // For each target row: the upper of the two source rows it blends, and the lower one's weight.
  std::vector<int32_t> rows_;
  std::vector<uint16_t> rowWeights_;
  // Two widened rows, 16 bits per channel, each holding source row widenedRow_[i] (or -1).
  std::vector<uint16_t> widened_[2];
  int widenedRow_[2] = {-1, -1};
};

}  // namespace tovak2d::platform::video::compositor
