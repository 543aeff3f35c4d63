// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <algorithm>
#include <opencv2/imgproc.hpp>

#include "PackFixtures.h"
#include "PhotoFiles.h"

// Packs made from real photographs: the sample photos Debian ships with scikit-image.
namespace {

using namespace packtest;

const fs::path kPhotos = "/usr/lib/python3/dist-packages/skimage/data";

bool Inside(const varnel::packs::Rect& r, int x, int y) {
  const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
  return fx >= r.Left && fx <= r.Right && fy >= r.Top && fy <= r.Bottom;
}

// What a change leaves once both pictures are blurred (Gaussian, sigma 3): the 95th percentile,
// inside r, of each pixel's largest channel difference.
double BlurredChange(const Image& a, const Image& b, const varnel::packs::Rect& r) {
  cv::Mat blurred[2], difference;
  for (int i = 0; i < 2; ++i) {
    const Image& p = i ? b : a;
    cv::Mat(p.height, p.width, CV_8UC3, const_cast<uint8_t*>(p.rgb.data())).convertTo(blurred[i], CV_32FC3);
    cv::GaussianBlur(blurred[i], blurred[i], cv::Size(0, 0), 3);
  }
  cv::absdiff(blurred[0], blurred[1], difference);
  std::vector<double> values;
  for (auto y = static_cast<int>(r.Top); y <= static_cast<int>(r.Bottom); ++y)
    for (auto x = static_cast<int>(r.Left); x <= static_cast<int>(r.Right); ++x)
      values.push_back(cv::norm(difference.at<cv::Vec3f>(y, x), cv::NORM_INF));
  std::sort(values.begin(), values.end());
  return values[(values.size() - 1) * 95 / 100];
}

class PhotoPack : public InWorkFolder {
 protected:
  void AddPhotos(const std::string& folder, const std::vector<std::string>& names) {
    fs::create_directories(work / folder);
    for (const std::string& name : names) fs::copy_file(kPhotos / name, work / folder / name);
  }

  // ImageMagick turns a sample photo into another encoding of it.
  void Convert(const std::string& from, const std::string& options, const fs::path& to) {
    ASSERT_TRUE(
        RunCommand("convert " + Quote((kPhotos / from).string()) + " " + options + " " + Quote(to.string())))
        << from << " " << options;
  }
};

TEST_F(PhotoPack, EveryLevelHoldsFiveVisibleDifferencesAndTheSeedRepeatsThePack) {
  // Fur and grass too: repeating textures where a mirrored or moved patch would not be seen.
  AddPhotos("holiday", {"astronaut.png", "chelsea.png", "coffee.png", "grass.png", "rocket.jpg"});
  const ToolRun made = Tool({"photos", "--seed", "7", "--title", "Holiday", "holiday", "Holiday.vnl"});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_TRUE(Contains(made.out, "5 levels, horizontal")) << made.out;

  const ToolRun verified = Tool({"verify", "Holiday.vnl"});
  EXPECT_EQ(verified.status, 0) << verified.out << verified.err;

  // Pixel by pixel: each rectangle holds a visible change, outside them the decoded pictures agree
  // exactly.
  ASSERT_EQ(Tool({"extract", "Holiday.vnl", "open"}).status, 0);
  const auto levels = CheckedPack(work / "Holiday.vnl").levels;
  ASSERT_EQ(levels.size(), 5U);
  EXPECT_EQ(levels[4].caption, "rocket") << "caption from the file name";
  for (size_t level = 1; level <= levels.size(); ++level) {
    const auto& boxes = levels[level - 1].rects;
    std::string error;
    const std::string n = std::to_string(level);
    auto original = varnel::pack::LoadImage(work / "open" / (n + ".jpg"), &error);
    auto modified = varnel::pack::LoadImage(work / "open" / (n + "x.jpg"), &error);
    ASSERT_TRUE(original && modified) << error;
    ASSERT_TRUE(original->width == 380 && original->height == 256) << original->width;
    int strayPixels = 0;
    std::vector<int> visible(boxes.size(), 0);
    for (int y = 0; y < original->height; ++y)
      for (int x = 0; x < original->width; ++x) {
        int largest = 0;
        for (int c = 0; c < 3; ++c)
          largest = std::max(largest, std::abs(original->At(x, y)[c] - modified->At(x, y)[c]));
        bool inside = false;
        for (size_t d = 0; d < boxes.size(); ++d)
          if (Inside(boxes[d], x, y)) {
            inside = true;
            visible[d] += largest >= 48 ? 1 : 0;
          }
        strayPixels += !inside && largest > 0 ? 1 : 0;
      }
    EXPECT_EQ(strayPixels, 0) << "level " << level;
    std::vector<float> areas;
    for (size_t d = 0; d < boxes.size(); ++d) {
      EXPECT_GE(visible[d], 25) << "level " << level << " rectangle " << d + 1;
      // 9.86: the weakest difference of the game's own packs (City Nights, Green Valley, Kitchen Table,
      // Under the Sea, generated with seed 20240611) by this measure, taken once with SciPy
      // (gaussian_filter, sigma 3, mirrored edges; numpy's 95th percentile): Under the Sea, level 12.
      EXPECT_GE(BlurredChange(*original, *modified, boxes[d]), 9.86) << level << "/" << d + 1;
      areas.push_back((boxes[d].Right - boxes[d].Left + 1) * (boxes[d].Bottom - boxes[d].Top + 1));
    }
    const auto [smallest, largest] = std::minmax_element(areas.begin(), areas.end());
    EXPECT_GE(*largest, 1.5F * *smallest) << "level " << level << ": spots of one size";
  }

  ASSERT_EQ(Tool({"photos", "--seed", "7", "--title", "Holiday", "holiday", "Again.vnl"}).status, 0);
  EXPECT_TRUE(ReadFile(work / "Again.vnl") == ReadFile(work / "Holiday.vnl"))
      << "the same seed, another pack";
  ASSERT_EQ(Tool({"photos", "--seed", "8", "--title", "Holiday", "holiday", "Other.vnl"}).status, 0);
  EXPECT_FALSE(ReadFile(work / "Other.vnl") == ReadFile(work / "Holiday.vnl"))
      << "another seed, the same pack";
}

TEST_F(PhotoPack, LayoutFollowsThePhotosAndDifficultySetsTheSizeOfTheDifferences) {
  // rocket.jpg stands upright; alone it makes a vertical pack.
  AddPhotos("tall", {"rocket.jpg"});
  Convert("rocket.jpg", "-rotate 90", work / "tall" / "rocket.jpg.tmp.png");
  fs::rename(work / "tall" / "rocket.jpg.tmp.png", work / "tall" / "rocket-upright.png");
  fs::remove(work / "tall" / "rocket.jpg");
  auto area = [&](const std::string& difficulty, const std::string& pack) {
    const ToolRun run = Tool({"photos", "--difficulty", difficulty, "tall/", pack});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "vertical")) << run.out;
    EXPECT_EQ(Tool({"verify", pack}).status, 0) << difficulty;
    fs::remove_all(work / "open");
    EXPECT_EQ(Tool({"extract", pack, "open"}).status, 0);
    EXPECT_TRUE(Contains(ReadFile(work / "open" / "packinfo.ini"), "Title=tall\r\n"))
        << "the folder names the pack";
    float total = 0;
    const auto report = CheckedPack(work / pack);
    for (const auto& r : report.levels.at(0).rects) total += (r.Right - r.Left + 1) * (r.Bottom - r.Top + 1);
    return total;
  };
  const float easy = area("easy", "Easy.vnl");
  const float hard = area("hard", "Hard.vnl");
  EXPECT_GT(easy, hard * 3 / 2) << "easy " << easy << ", hard " << hard;

  const ToolRun wide = Tool({"photos", "--layout", "horizontal", "--difficulty", "extreme", "tall", "X.vnl"});
  EXPECT_EQ(wide.status, 2);
  EXPECT_TRUE(Contains(wide.err, "--difficulty must be easy, normal or hard")) << wide.err;
}

TEST_F(PhotoPack, PhotosInEveryCommonEncodingDecodeUpright) {
  std::string error;
  auto reference = varnel::pack::LoadImage(kPhotos / "chelsea.png", &error);
  ASSERT_TRUE(reference) << error;
  // Mean difference per channel to the reference, after turning by the given orientation.
  auto distance = [&](const fs::path& file, int orientation, bool grey) {
    std::string why;
    auto header = varnel::pack::ReadPhotoHeader(file, &why);
    EXPECT_TRUE(header) << file << ": " << why;
    if (!header) return 255.0;
    auto photo = varnel::pack::LoadPhoto(file, *header, 4000, 4000, &why);
    EXPECT_TRUE(photo) << file << ": " << why;
    if (!photo) return 255.0;
    const Image expected = varnel::pack::Orient(*reference, orientation);
    if (photo->width != expected.width || photo->height != expected.height) return 255.0;
    double sum = 0;
    for (int y = 0; y < expected.height; ++y)
      for (int x = 0; x < expected.width; ++x)
        for (int c = 0; c < 3; ++c) {
          const uint8_t* e = expected.At(x, y);
          const int want = grey ? (e[0] * 299 + e[1] * 587 + e[2] * 114) / 1000 : e[c];
          sum += std::abs(photo->At(x, y)[c] - want);
        }
    return sum / (expected.width * expected.height * 3.0);
  };
  Convert("chelsea.png", "-colorspace CMYK -quality 95", work / "cmyk.jpg");
  Convert("chelsea.png", "-colorspace Gray -quality 95", work / "grey.jpg");
  Convert("chelsea.png", "", "PNG48:" + (work / "deep.png").string());
  Convert("chelsea.png", "-colors 256", "PNG8:" + (work / "palette.png").string());
  // Stored turned a quarter to the left, with an EXIF block whose orientation 6 turns it back.
  Convert("chelsea.png", "-rotate -90 -quality 95", work / "stored.jpg");
  const std::string exif(
      "\xFF\xE1\x00\x22"
      "Exif\0\0"
      "MM\0\x2A\0\0\0\x08"
      "\0\x01"
      "\x01\x12\0\x03\0\0\0\x01\0\x06\0\0"
      "\0\0\0\0",
      36);
  const std::string stored = ReadFile(work / "stored.jpg");
  WriteFile(work / "turned.jpg", stored.substr(0, 2) + exif + stored.substr(2));
  EXPECT_LT(distance(work / "cmyk.jpg", 1, false), 6.0);
  EXPECT_LT(distance(work / "grey.jpg", 1, true), 6.0);
  EXPECT_LT(distance(work / "deep.png", 1, false), 1.0);
  EXPECT_LT(distance(work / "palette.png", 1, false), 12.0);
  EXPECT_LT(distance(work / "turned.jpg", 1, false), 6.0);
}

TEST_F(PhotoPack, UnusablePhotosAreNamedWithTheReasonAndSkipped) {
  fs::create_directories(work / "mixed");
  fs::copy_file(kPhotos / "coffee.png", work / "mixed" / "a-good.png");
  Convert("coffee.png", "-resize 100x66", work / "mixed" / "b-tiny.png");
  Convert("coffee.png", "-fill '#6a8fc0' -colorize 100", work / "mixed" / "c-flat.png");
  ASSERT_TRUE(RunCommand("convert -size 600x400 xc:gray50 +noise Random " +
                         Quote((work / "mixed" / "c-noise.png").string())));
  WriteFile(work / "mixed" / "d-text.jpg", "Dear diary, today we went to the sea.\n");
  const std::string coffeeJpeg = (work / "coffee.jpg").string();
  Convert("coffee.png", "-quality 90", coffeeJpeg);
  const std::string jpeg = ReadFile(coffeeJpeg);
  WriteFile(work / "mixed" / "e-cut.jpg", jpeg.substr(0, jpeg.size() / 2));
  // A PNG whose header claims 20000 x 20000 pixels and nothing more.
  WriteFile(work / "mixed" / "f-huge.png",
            std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x4e\x20\0\0\x4e\x20\x08\x02\0\0\0", 29) +
                std::string("\0\0\0\0", 4));
  // The same claim in a JPEG frame header.
  WriteFile(work / "mixed" / "f-huge.jpg",
            std::string(
                "\xFF\xD8\xFF\xC0\x00\x11\x08\x4E\x20\x4E\x20\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00", 21));
  const std::string png = ReadFile(kPhotos / "chelsea.png");
  WriteFile(work / "mixed" / "g-cut.png", png.substr(0, png.size() / 2));
  // A broken palette PNG of 93 bytes that sent the PNG decoder into an endless loop of warnings.
  WriteFile(work / "mixed" / "h-broken.png", kBrokenPalettePng);

  const ToolRun run = Tool({"photos", "mixed", "Mixed.vnl"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "1 levels")) << run.out;
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"b-tiny.png", "skipped, too small ("},
      {"c-flat.png", "skipped, too flat or too noisy to hide five differences"},
      {"c-noise.png", "skipped, too flat or too noisy to hide five differences"},
      {"d-text.jpg", "skipped, not a JPEG or PNG picture"},
      {"e-cut.jpg", "skipped, cannot be read (the file is cut short)"},
      {"f-huge.png", "skipped, too large (20000 x 20000 pixels; at most 60 megapixels)"},
      {"f-huge.jpg", "skipped, too large (20000 x 20000 pixels; at most 60 megapixels)"},
      {"g-cut.png", "skipped, cannot be read (the file is cut short)"},
      {"h-broken.png", "skipped, cannot be read (the file is cut short)"},
  };
  for (const auto& [file, message] : expected) {
    bool named = false;
    for (const std::string& line : Lines(run.err))
      named = named || (Contains(line, file) && Contains(line, message));
    EXPECT_TRUE(named) << file << " without \"" << message << "\" in:\n" << run.err;
  }
  EXPECT_EQ(Tool({"verify", "Mixed.vnl"}).status, 0);

  // Nothing usable: status 1, nothing written, and an existing pack is kept without --force.
  fs::remove(work / "mixed" / "a-good.png");
  const ToolRun none = Tool({"photos", "mixed", "None.vnl"});
  EXPECT_EQ(none.status, 1);
  EXPECT_TRUE(Contains(none.err, "no usable photo in mixed; nothing written")) << none.err;
  EXPECT_FALSE(fs::exists(work / "None.vnl"));
  const std::string before = ReadFile(work / "Mixed.vnl");
  const ToolRun kept = Tool({"photos", "mixed", "Mixed.vnl"});
  EXPECT_EQ(kept.status, 1);
  EXPECT_TRUE(Contains(kept.err, "already exists (--force replaces it)")) << kept.err;
  EXPECT_EQ(ReadFile(work / "Mixed.vnl"), before);
  for (const auto& entry : fs::directory_iterator(work.path()))
    EXPECT_FALSE(Contains(entry.path().filename().string(), "None")) << "left behind: " << entry.path();
}

}  // namespace
