// SPDX-License-Identifier: Zlib
#pragma once

#include <opencv2/core.hpp>
#include <random>
#include <vector>

// The kinds of change that turn a spot of a photo into a difference. Each edit reads the whole
// photo but returns new pixels for its spot only, so nothing beyond the spot can change.
namespace varnel::pack {

enum class EditKind { kRemoved, kColour, kMirrored, kResized, kMoved, kCopiedIn };
inline constexpr int kEditKinds = 6;

const char* EditName(EditKind kind);

// How strong the changes are: the middle size of the spots' sides in pixels (a multiple of 8), how
// far a colour is turned or a brightness pushed, how much a detail grows, how many pixels of a spot
// of that middle size must visibly change, and how strong the change must stay once both pictures
// are blurred (see BlurredChange).
struct EditStrength {
  int spot = 40;
  double hueTurn = 80;  // degrees
  int brightness = 65;  // levels of 255
  double zoom = 1.45;
  int minVisible = 120;  // pixels differing by at least kVisibleStep in some channel
  double minBlurred = 24;  // levels of 255
};
inline constexpr int kVisibleStep = 48;

// What an edit needs: the photo (8-bit, 3 channels), the spot, spots elsewhere with detail (for
// copying in) and the random numbers of this level.
struct EditContext {
  const cv::Mat& photo;
  cv::Rect spot;
  const std::vector<cv::Rect>& detailSpots;
  const EditStrength& strength;
  std::mt19937& random;
};

// The spot's new pixels, or an empty matrix when the kind cannot make a visible change there.
cv::Mat ApplyEdit(EditKind kind, const EditContext& context);

// Pixels of the two (same-sized) pictures that differ by at least kVisibleStep in some channel.
int VisiblePixels(const cv::Mat& a, const cv::Mat& b);

// How much of a change survives blurring: the photo and the photo with pixels in place of its spot
// are both blurred (Gaussian, sigma kBlurSigma), and the 95th percentile, over the spot, of each
// pixel's largest channel difference is returned. A mirrored or moved patch of a repeating texture
// (fur, foliage, wallpaper) changes many pixels, yet blurs to almost the same picture: a player
// sees no difference there.
inline constexpr double kBlurSigma = 3;
double BlurredChange(const cv::Mat& photo, const cv::Rect& spot, const cv::Mat& pixels);

}  // namespace varnel::pack
