// SPDX-License-Identifier: Zlib
#include "PhotoEdits.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <opencv2/photo.hpp>

namespace varnel::pack {
namespace {

double Unit(std::mt19937& random) {
  return static_cast<double>(random()) / 4294967296.0;
}

// The spot with a margin of context around it (as far as the photo reaches), and where the spot
// lies inside that larger area.
struct WithContext {
  cv::Rect area;
  cv::Rect spot;  // relative to area
};

WithContext AddContext(const cv::Mat& photo, cv::Rect spot, int margin) {
  const cv::Rect area =
      cv::Rect(spot.x - margin, spot.y - margin, spot.width + 2 * margin, spot.height + 2 * margin) &
      cv::Rect(0, 0, photo.cols, photo.rows);
  return {area, cv::Rect(spot.x - area.x, spot.y - area.y, spot.width, spot.height)};
}

// A soft-edged ellipse filling fraction of the spot, zero at its border: blending through it
// leaves no hard seam and never touches the spot's outer pixels.
cv::Mat SoftEllipse(cv::Size size, double fraction) {
  cv::Mat alpha(size, CV_32F, cv::Scalar(0));
  const cv::Point centre(size.width / 2, size.height / 2);
  const cv::Size axes(static_cast<int>(size.width * fraction / 2),
                      static_cast<int>(size.height * fraction / 2));
  cv::ellipse(alpha, centre, axes, 0, 0, 360, cv::Scalar(1), cv::FILLED);
  cv::GaussianBlur(alpha, alpha, cv::Size(0, 0), 1.5);
  return alpha;
}

cv::Mat Blend(const cv::Mat& changed, const cv::Mat& original, const cv::Mat& alpha) {
  cv::Mat result(original.size(), original.type());
  for (int y = 0; y < original.rows; ++y)
    for (int x = 0; x < original.cols; ++x) {
      const float a = alpha.at<float>(y, x);
      const auto& c = changed.at<cv::Vec3b>(y, x);
      const auto& o = original.at<cv::Vec3b>(y, x);
      for (int k = 0; k < 3; ++k)
        result.at<cv::Vec3b>(y, x)[k] = cv::saturate_cast<uint8_t>(a * c[k] + (1 - a) * o[k]);
    }
  return result;
}

// The detail's outlines near the middle of the spot are painted over from their surroundings.
cv::Mat Remove(const EditContext& context) {
  const WithContext region = AddContext(context.photo, context.spot, 8);
  const cv::Mat area = context.photo(region.area);
  cv::Mat grey, edges;
  cv::cvtColor(area, grey, cv::COLOR_RGB2GRAY);
  cv::GaussianBlur(grey, grey, cv::Size(5, 5), 1.2);
  cv::Canny(grey, edges, 40, 120);
  cv::dilate(edges, edges, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(7, 7)));
  cv::Mat inside(area.size(), CV_8U, cv::Scalar(0));
  const cv::Rect& s = region.spot;
  cv::ellipse(inside, cv::Point(s.x + s.width / 2, s.y + s.height / 2),
              cv::Size(s.width * 7 / 20, s.height * 7 / 20), 0, 0, 360, cv::Scalar(255), cv::FILLED);
  cv::Mat mask = edges & inside;
  if (cv::countNonZero(mask) < s.area() / 12) return {};
  cv::Mat filled;
  cv::inpaint(area, mask, filled, 5, cv::INPAINT_TELEA);
  return filled(s).clone();
}

// A coherent region around the middle (similar colour, joined) takes another hue, or another
// brightness when it has too little colour to turn.
cv::Mat Recolour(const EditContext& context) {
  const cv::Mat patch = context.photo(context.spot);
  cv::Mat smooth;
  cv::GaussianBlur(patch, smooth, cv::Size(3, 3), 0);
  const cv::Size size = patch.size();
  cv::Mat barrier(size.height + 2, size.width + 2, CV_8U, cv::Scalar(1));
  cv::ellipse(barrier, cv::Point(size.width / 2 + 1, size.height / 2 + 1),
              cv::Size(size.width * 2 / 5, size.height * 2 / 5), 0, 0, 360, cv::Scalar(0), cv::FILLED);
  const int inside = static_cast<int>(cv::countNonZero(barrier == 0));
  cv::Mat best;
  int bestArea = 0;
  for (int sy = 1; sy <= 3; ++sy)
    for (int sx = 1; sx <= 3; ++sx) {
      cv::Mat mask = barrier.clone();
      const cv::Point seed(size.width * (2 + sx) / 8, size.height * (2 + sy) / 8);
      const int area =
          cv::floodFill(smooth, mask, seed, cv::Scalar(), nullptr, cv::Scalar::all(18), cv::Scalar::all(18),
                        8 | cv::FLOODFILL_MASK_ONLY | cv::FLOODFILL_FIXED_RANGE | (2 << 8));
      if (area > bestArea && area < inside * 7 / 10) {
        bestArea = area;
        best = mask(cv::Rect(1, 1, size.width, size.height)) == 2;
      }
    }
  if (bestArea < inside / 8) return {};

  cv::Mat alpha;
  best.convertTo(alpha, CV_32F, 1.0 / 255);
  cv::GaussianBlur(alpha, alpha, cv::Size(3, 3), 0.8);
  cv::Mat hsv;
  patch.convertTo(hsv, CV_32FC3, 1.0 / 255);
  cv::cvtColor(hsv, hsv, cv::COLOR_RGB2HSV);
  const cv::Scalar mean = cv::mean(hsv, best);
  const bool turnHue = mean[1] > 0.25 && mean[2] > 0.2;
  const double direction = context.random() % 2 ? 1 : -1;
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width; ++x) {
      auto& pixel = hsv.at<cv::Vec3f>(y, x);
      if (turnHue) {
        pixel[0] =
            static_cast<float>(std::fmod(pixel[0] + 360 + direction * context.strength.hueTurn, 360.0));
      } else {
        const double push = context.strength.brightness / 255.0;
        pixel[2] =
            static_cast<float>(std::clamp(mean[2] > 0.5 ? pixel[2] - push : pixel[2] + push, 0.0, 1.0));
      }
    }
  cv::cvtColor(hsv, hsv, cv::COLOR_HSV2RGB);
  cv::Mat changed;
  hsv.convertTo(changed, CV_8UC3, 255);
  return Blend(changed, patch, alpha);
}

// The middle of the spot turned over, left to right or top to bottom.
cv::Mat Mirror(const EditContext& context) {
  const cv::Mat patch = context.photo(context.spot);
  cv::Mat flipped;
  cv::flip(patch, flipped, context.random() % 2 ? 1 : 0);
  return Blend(flipped, patch, SoftEllipse(patch.size(), 0.85));
}

// The middle of the spot enlarged about its centre.
cv::Mat Enlarge(const EditContext& context) {
  const cv::Mat patch = context.photo(context.spot);
  const cv::Point2f centre(static_cast<float>(patch.cols) / 2, static_cast<float>(patch.rows) / 2);
  cv::Mat grown;
  cv::warpAffine(patch, grown, cv::getRotationMatrix2D(centre, 0, context.strength.zoom), patch.size(),
                 cv::INTER_LINEAR, cv::BORDER_REFLECT);
  return Blend(grown, patch, SoftEllipse(patch.size(), 0.8));
}

// What lies beside the middle of the spot slides into it: the detail there moves over.
cv::Mat Move(const EditContext& context) {
  const int shift = std::min(context.spot.width, context.spot.height) * 3 / 10;
  const WithContext region = AddContext(context.photo, context.spot, shift);
  const double angle = Unit(context.random) * 2 * CV_PI;
  cv::Mat transform = (cv::Mat_<double>(2, 3) << 1, 0, std::round(shift * std::cos(angle)), 0, 1,
                       std::round(shift * std::sin(angle)));
  cv::Mat moved;
  cv::warpAffine(context.photo(region.area), moved, transform, region.area.size(), cv::INTER_NEAREST,
                 cv::BORDER_REFLECT);
  const cv::Mat patch = context.photo(context.spot);
  return Blend(moved(region.spot), patch, SoftEllipse(patch.size(), 0.75));
}

// A detail from a spot far away, blended in by gradient-domain cloning so its edges take the
// light of its new place.
cv::Mat CopyIn(const EditContext& context) {
  const cv::Rect& spot = context.spot;
  std::vector<cv::Rect> far;
  for (const cv::Rect& other : context.detailSpots) {
    const double dx = other.x - spot.x, dy = other.y - spot.y;
    if (other.size() == spot.size() && std::hypot(dx, dy) > 2.5 * spot.width) far.push_back(other);
  }
  if (far.empty()) return {};
  const cv::Mat patch = context.photo(spot);
  const cv::Mat source = context.photo(far[context.random() % far.size()]);
  cv::Mat mask(patch.size(), CV_8U, cv::Scalar(0));
  cv::ellipse(mask, cv::Point(patch.cols / 2, patch.rows / 2),
              cv::Size(patch.cols * 3 / 8, patch.rows * 3 / 8), 0, 0, 360, cv::Scalar(255), cv::FILLED);
  cv::Mat cloned;
  cv::seamlessClone(source, patch, mask, cv::Point(patch.cols / 2, patch.rows / 2), cloned, cv::NORMAL_CLONE);
  return cloned;
}

// Each kind of edit with its name and what makes it, in the order of the kinds.
struct EditRow {
  EditKind kind;
  const char* name;
  cv::Mat (*apply)(const EditContext& context);
};
constexpr EditRow kEditRows[kEditKinds] = {
    {EditKind::kRemoved, "removed", Remove},   {EditKind::kColour, "colour", Recolour},
    {EditKind::kMirrored, "mirrored", Mirror}, {EditKind::kResized, "resized", Enlarge},
    {EditKind::kMoved, "moved", Move},         {EditKind::kCopiedIn, "copied in", CopyIn},
};

const EditRow* RowOf(EditKind kind) {
  for (const EditRow& row : kEditRows)
    if (row.kind == kind) return &row;
  return nullptr;
}

}  // namespace

const char* EditName(EditKind kind) {
  const EditRow* row = RowOf(kind);
  return row ? row->name : "?";
}

int VisiblePixels(const cv::Mat& a, const cv::Mat& b) {
  cv::Mat difference;
  cv::absdiff(a, b, difference);
  std::vector<cv::Mat> channels;
  cv::split(difference, channels);
  cv::Mat largest = cv::max(cv::max(channels[0], channels[1]), channels[2]);
  return cv::countNonZero(largest >= kVisibleStep);
}

double BlurredChange(const cv::Mat& photo, const cv::Rect& spot, const cv::Mat& pixels) {
  // The blur reaches four sigmas; beyond that margin the two pictures agree and need no blurring.
  const int margin = static_cast<int>(std::ceil(4 * kBlurSigma));
  const WithContext region = AddContext(photo, spot, margin);
  cv::Mat before, after;
  photo(region.area).convertTo(before, CV_32FC3);
  after = before.clone();
  pixels.convertTo(after(region.spot), CV_32FC3);
  // The photo's own edge is mirrored, as the blur of the whole photo would do there.
  cv::GaussianBlur(before, before, cv::Size(0, 0), kBlurSigma, kBlurSigma, cv::BORDER_REFLECT_101);
  cv::GaussianBlur(after, after, cv::Size(0, 0), kBlurSigma, kBlurSigma, cv::BORDER_REFLECT_101);
  cv::Mat difference;
  cv::absdiff(before(region.spot), after(region.spot), difference);
  std::vector<cv::Mat> channels;
  cv::split(difference, channels);
  const cv::Mat largest = cv::max(cv::max(channels[0], channels[1]), channels[2]);
  std::vector<float> values(largest.begin<float>(), largest.end<float>());
  const auto at = values.begin() + static_cast<std::ptrdiff_t>((values.size() - 1) * 95 / 100);
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

cv::Mat ApplyEdit(EditKind kind, const EditContext& context) {
  const EditRow* row = RowOf(kind);
  cv::Mat result = row ? row->apply(context) : cv::Mat();
  if (result.empty() || VisiblePixels(result, context.photo(context.spot)) < context.strength.minVisible ||
      BlurredChange(context.photo, context.spot, result) < context.strength.minBlurred)
    return {};
  return result;
}

}  // namespace varnel::pack
