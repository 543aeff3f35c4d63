// SPDX-License-Identifier: Zlib
#include "PhotoLevel.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "DiffMeasure.h"
#include "Jpeg.h"

namespace varnel::pack {
namespace {

constexpr int kBlock = 8;     // the JPEG block: edits keep to whole blocks of their spot
constexpr int kPadding = 2;   // around the changed pixels, so a click on their edge counts
constexpr int kAttempts = 3;  // fresh random choices before a photo is given up
// The share of a change's blurred strength that must survive the JPEG encoding.
constexpr double kEncodedShare = 0.9;
constexpr size_t kFive = packs::kDifferencesPerLevel;
// Spots tried before a photo counts as too flat or too noisy: the best ones come first, so a photo whose best
// spots all fail has nothing better further down, and a hopeless photo costs no more than this.
constexpr int kSpotBudget = 150;

// A spot's share of edge pixels: below the lower bound it is flat (sky, a wall), above the upper
// one it is noise or fine texture where a change would not read as a change.
constexpr double kMinEdges = 0.05;
constexpr double kMaxEdges = 0.40;
// How much a spot's gradients agree in direction (0: none, 1: one straight edge), measured over
// at least kCoherenceWindow pixels square. Noise has edges everywhere but they agree in nothing:
// below 0.03 in every window of a noise picture, above it in most spots of a photo with detail.
constexpr double kMinCoherence = 0.03;
constexpr int kCoherenceWindow = 64;

struct Candidate {
  cv::Rect spot;
  double edges = 0;  // share of edge pixels inside the spot
  double fit = 0;    // how well the spot holds its detail: more edges inside than just around it
};

struct Placed {
  cv::Rect spot;
  EditKind kind;
  cv::Mat pixels;
  int minVisible;  // as fitted to the spot's size
};

double Unit(std::mt19937& random) {
  return static_cast<double>(random()) / 4294967296.0;
}

cv::Mat Wrap(const Image& image) {
  return cv::Mat(image.height, image.width, CV_8UC3, const_cast<uint8_t*>(image.rgb.data()));
}

template <typename T>
double BoxSum(const cv::Mat& sums, const cv::Rect& box) {
  return static_cast<double>(sums.at<T>(box.y + box.height, box.x + box.width) -
                             sums.at<T>(box.y, box.x + box.width) - sums.at<T>(box.y + box.height, box.x) +
                             sums.at<T>(box.y, box.x));
}

// The spot shapes of a level: sides of about three quarters, one and three halves of the middle size
// (multiples of the block, none below three blocks), squares and oblongs up to 7:4, so that a small
// detail gets a small spot and a large or long one a spot that holds it whole.
std::vector<cv::Size> SpotShapes(int middle) {
  auto toBlock = [](int side) { return std::max(3 * kBlock, (side + kBlock / 2) / kBlock * kBlock); };
  const int sides[] = {toBlock(middle * 3 / 4), middle, toBlock(middle * 3 / 2)};
  std::vector<cv::Size> shapes;
  for (int w : sides)
    for (int h : sides)
      if (4 * std::max(w, h) <= 7 * std::min(w, h) &&
          std::find(shapes.begin(), shapes.end(), cv::Size(w, h)) == shapes.end())
        shapes.emplace_back(w, h);
  return shapes;
}

// Block-aligned spots of every shape whose edges (of the lightly blurred photo, so that sensor noise
// does not count) fall within the bounds and whose gradients are coherent enough to be structure
// rather than noise, with their share of edge pixels and how well they fit the detail: a spot
// with dense edges inside and few in the block-wide ring around it encloses its detail, one with
// as many around as inside (a repeating texture, a spot cut from a larger object) does not.
std::vector<Candidate> DetailSpots(const cv::Mat& photo, int middle) {
  cv::Mat grey, edges, sums;
  cv::cvtColor(photo, grey, cv::COLOR_RGB2GRAY);
  cv::GaussianBlur(grey, grey, cv::Size(5, 5), 1.4);
  cv::Canny(grey, edges, 40, 120);
  cv::integral(edges / 255, sums, CV_32S);
  cv::Mat gx, gy, xx, yy, xy;
  cv::Sobel(grey, gx, CV_32F, 1, 0);
  cv::Sobel(grey, gy, CV_32F, 0, 1);
  cv::integral(gx.mul(gx), xx, CV_64F);
  cv::integral(gy.mul(gy), yy, CV_64F);
  cv::integral(gx.mul(gy), xy, CV_64F);

  std::vector<Candidate> candidates;
  const cv::Rect whole(0, 0, photo.cols, photo.rows);
  for (const cv::Size& shape : SpotShapes(middle)) {
    const double area = shape.area();
    const int growX = std::max(0, (kCoherenceWindow - shape.width) / 2);
    const int growY = std::max(0, (kCoherenceWindow - shape.height) / 2);
    for (int y = 0; y + shape.height <= photo.rows; y += kBlock)
      for (int x = 0; x + shape.width <= photo.cols; x += kBlock) {
        const cv::Rect spot(cv::Point(x, y), shape);
        const double inside = BoxSum<int>(sums, spot);
        const double share = inside / area;
        if (share < kMinEdges || share > kMaxEdges) continue;
        const cv::Rect window =
            cv::Rect(x - growX, y - growY, shape.width + 2 * growX, shape.height + 2 * growY) & whole;
        const double a = BoxSum<double>(xx, window), b = BoxSum<double>(yy, window),
                     c = BoxSum<double>(xy, window);
        const double coherence = a + b > 0 ? ((a - b) * (a - b) + 4 * c * c) / ((a + b) * (a + b)) : 0;
        if (coherence < kMinCoherence) continue;
        const cv::Rect ring =
            cv::Rect(x - kBlock, y - kBlock, shape.width + 2 * kBlock, shape.height + 2 * kBlock) & whole;
        const double ringArea = ring.area() - area;
        const double around = ringArea > 0 ? (BoxSum<int>(sums, ring) - inside) / ringArea : 0;
        candidates.push_back({spot, share, share - around});
      }
  }
  return candidates;
}

// Spots keep a block of untouched picture between them, so their rectangles never overlap, and
// keep spacing between their centres, so the differences spread over the picture.
bool Conflicts(const cv::Rect& spot, const std::vector<Placed>& placed, double spacing) {
  const cv::Rect grown(spot.x - kBlock, spot.y - kBlock, spot.width + 2 * kBlock, spot.height + 2 * kBlock);
  for (const Placed& other : placed) {
    if ((grown & other.spot).area() > 0) return true;
    const double dx = (spot.tl() + spot.br() - other.spot.tl() - other.spot.br()).x / 2.0,
                 dy = (spot.tl() + spot.br() - other.spot.tl() - other.spot.br()).y / 2.0;
    if (std::hypot(dx, dy) < spacing) return true;
  }
  return false;
}

// The kinds to try at the next spot: those used least first, none used twice already, so a level
// gets as many kinds as its spots allow.
std::vector<EditKind> KindsToTry(const std::array<int, kEditKinds>& used, std::mt19937& random) {
  std::vector<EditKind> kinds;
  for (int k = 0; k < kEditKinds; ++k) kinds.push_back(static_cast<EditKind>(k));
  for (size_t i = kinds.size() - 1; i > 0; --i) std::swap(kinds[i], kinds[random() % (i + 1)]);
  std::stable_sort(kinds.begin(), kinds.end(), [&](EditKind a, EditKind b) {
    return used[static_cast<size_t>(a)] < used[static_cast<size_t>(b)];
  });
  kinds.erase(std::remove_if(kinds.begin(), kinds.end(),
                             [&](EditKind k) { return used[static_cast<size_t>(k)] >= 2; }),
              kinds.end());
  return kinds;
}

// Spots of at least two sizes: the largest holds this many times the area of the smallest.
constexpr double kSizeSpread = 1.75;

bool TwoSizes(const std::vector<Placed>& placed, const cv::Rect& next) {
  int smallest = next.area(), largest = next.area();
  for (const Placed& other : placed) {
    smallest = std::min(smallest, other.spot.area());
    largest = std::max(largest, other.spot.area());
  }
  return largest >= kSizeSpread * smallest;
}

std::vector<Placed> PlaceEdits(const cv::Mat& photo, const EditStrength& strength, std::mt19937& random) {
  std::vector<Candidate> candidates = DetailSpots(photo, strength.spot);
  std::vector<cv::Rect> sources;
  for (const Candidate& candidate : candidates) sources.push_back(candidate.spot);
  // Spots with more detail that fit it better come first, shuffled enough that the seed chooses
  // among good ones. Small spots have denser edges by nature, so the score leans a little towards
  // the larger ones, which a player sees more easily.
  std::vector<std::pair<double, size_t>> order;
  const double middle = strength.spot * strength.spot;
  for (size_t i = 0; i < candidates.size(); ++i) {
    const Candidate& c = candidates[i];
    const double size = std::pow(c.spot.area() / middle, 0.25);
    order.emplace_back(-(c.edges + c.fit) * size * (0.6 + 0.8 * Unit(random)), i);
  }
  std::sort(order.begin(), order.end());

  std::vector<Placed> placed;
  std::vector<bool> failed(candidates.size(), false);
  std::array<int, kEditKinds> used{};
  int tried = 0;
  const double shortSide = std::min(photo.cols, photo.rows);
  const int fewestVisible = StrengthOf(Difficulty::kHard).minVisible;
  for (double spacing : {0.45 * shortSide, 0.32 * shortSide, 0.2 * shortSide, 0.0}) {
    for (const auto& [score, index] : order) {
      if (placed.size() == kFive) return placed;
      const cv::Rect spot = candidates[index].spot;
      if (failed[index] || Conflicts(spot, placed, spacing)) continue;
      // The last spot is of another size than the others when they are all alike.
      if (placed.size() == kFive - 1 && !TwoSizes(placed, spot)) continue;
      if (tried++ == kSpotBudget) return placed;
      // A smaller spot has fewer pixels to change, a larger one must change more.
      EditStrength fitted = strength;
      fitted.minVisible =
          std::max(fewestVisible, strength.minVisible * spot.area() / (strength.spot * strength.spot));
      const EditContext context{photo, spot, sources, fitted, random};
      for (EditKind kind : KindsToTry(used, random)) {
        cv::Mat pixels = ApplyEdit(kind, context);
        if (pixels.empty()) continue;
        placed.push_back({spot, kind, pixels, fitted.minVisible});
        ++used[static_cast<size_t>(kind)];
        break;
      }
      if (placed.empty() || placed.back().spot != spot) failed[index] = true;
    }
  }
  return placed;
}

datagen::RgbImage ToRgb(const cv::Mat& picture) {
  datagen::RgbImage image;
  image.width = picture.cols;
  image.height = picture.rows;
  image.pixels.assign(picture.data, picture.data + picture.total() * 3);
  return image;
}

Image ToImage(const datagen::RgbImage& rgb) {
  Image image(rgb.width, rgb.height);
  std::copy(rgb.pixels.begin(), rgb.pixels.end(), image.rgb.begin());
  return image;
}

// The pair encoded, its rectangles measured on the decoded pictures; nothing when a difference
// did not survive the encoding visibly.
std::optional<PhotoLevel> Encode(const cv::Mat& photo, const std::vector<Placed>& placed,
                                 const EditStrength& strength) {
  cv::Mat modified = photo.clone();
  for (const Placed& edit : placed) edit.pixels.copyTo(modified(edit.spot));
  const datagen::Bytes originalJpeg = datagen::EncodeJpeg(ToRgb(photo), kPhotoJpegQuality);
  const datagen::Bytes modifiedJpeg = datagen::EncodeJpeg(ToRgb(modified), kPhotoJpegQuality);
  auto originalDecoded = datagen::DecodeJpeg(originalJpeg);
  auto modifiedDecoded = datagen::DecodeJpeg(modifiedJpeg);
  if (!originalDecoded || !modifiedDecoded) return std::nullopt;
  const Image before = ToImage(*originalDecoded), after = ToImage(*modifiedDecoded);
  const cv::Mat a = Wrap(before), b = Wrap(after);

  PhotoLevel level;
  level.originalJpeg.assign(originalJpeg.begin(), originalJpeg.end());
  level.modifiedJpeg.assign(modifiedJpeg.begin(), modifiedJpeg.end());
  for (size_t i = 0; i < placed.size(); ++i) {
    const cv::Rect& spot = placed[i].spot;
    if (VisiblePixels(a(spot), b(spot)) < placed[i].minVisible / 2) return std::nullopt;
    // The encoding softens a change a little, never so much that a blur would hide it.
    if (BlurredChange(a, spot, b(spot)) < kEncodedShare * strength.minBlurred) return std::nullopt;
    cv::Mat difference;
    cv::absdiff(a(spot), b(spot), difference);
    // Any change at all counts here, however faint: the rectangle must hold every changed pixel.
    cv::Mat any;
    cv::transform(difference, any, cv::Matx13f(1, 1, 1));
    const cv::Rect box = cv::boundingRect(any > 0);
    level.rects[i] = {std::max(spot.x + box.x - kPadding, 0), std::max(spot.y + box.y - kPadding, 0),
                      std::min(spot.x + box.x + box.width - 1 + kPadding, photo.cols - 1),
                      std::min(spot.y + box.y + box.height - 1 + kPadding, photo.rows - 1)};
    level.kinds[i] = placed[i].kind;
  }
  // The check the pack's verification makes, so a level that would fail it is never written.
  const std::vector<PixelRect> rects(level.rects.begin(), level.rects.end());
  const Measurement measured = Measure(before, after, rects);
  if (!measured.outside.empty()) return std::nullopt;
  for (int pixels : measured.pixelsInside)
    if (pixels < DiffSettings().minPixels) return std::nullopt;
  return level;
}

}  // namespace

EditStrength StrengthOf(Difficulty difficulty) {
  switch (difficulty) {
    case Difficulty::kEasy:
      return {56, 120, 90, 1.6, 260, 36};
    case Difficulty::kHard:
      return {32, 55, 50, 1.3, 50, 26};
    case Difficulty::kNormal:
      break;
  }
  return {40, 80, 65, 1.45, 120, 30};
}

std::optional<PhotoLevel> MakePhotoLevel(const Image& photo, Difficulty difficulty, uint32_t seed,
                                         std::string* error) {
  const cv::Mat picture = Wrap(photo);
  EditStrength strength = StrengthOf(difficulty);
  const int smallest = StrengthOf(Difficulty::kHard).spot;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::mt19937 random(seed + static_cast<uint32_t>(attempt) * 7919U);
    std::vector<Placed> placed = PlaceEdits(picture, strength, random);
    // A photo with little room for large spots (much sky around its detail) gets smaller ones
    // rather than no level; the strength of each change stays as the difficulty sets it.
    while (placed.size() < kFive && strength.spot > smallest) {
      strength.spot -= kBlock;
      strength.minVisible = std::max(StrengthOf(Difficulty::kHard).minVisible,
                                     strength.minVisible * strength.spot * strength.spot /
                                         ((strength.spot + kBlock) * (strength.spot + kBlock)));
      placed = PlaceEdits(picture, strength, random);
    }
    if (placed.size() < kFive) {
      *error = "too flat or too noisy to hide five differences (room for " + std::to_string(placed.size()) +
               " among its spots with detail)";
      return std::nullopt;
    }
    if (auto level = Encode(picture, placed, strength)) return level;
  }
  *error = "no five differences stayed visible once the pictures were encoded";
  return std::nullopt;
}

}  // namespace varnel::pack
