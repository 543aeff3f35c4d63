// SPDX-License-Identifier: Zlib
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Image.h"
#include "PackCheck.h"
#include "TestFiles.h"
#include "tovak2d/Engine.h"
#include "tovak2d/Extra.h"

// Packs, pictures and runs of the tool, made fresh by each test.
namespace packtest {

namespace fs = std::filesystem;
using varnel::pack::Image;
using varnel::pack::PixelRect;

using namespace testsupport;
using Entries = ArchiveEntries;

// What the game's check reads from a pack file.
inline varnel::packs::PackReport CheckedPack(const fs::path& pack) {
  TempFolder app;
  tovak2d::Engine engine;
  engine.Tovak2D_Start_OnlySound(nullptr, app.path().string());
  tovak2d::Extra extra;
  auto report = varnel::packs::CheckPack(extra, "Z:" + pack.string(), "~t-", app.path());
  engine.Tovak2D_Unload();
  return report;
}

// One picinfo.ini section with the five rectangles.
inline std::string PicInfoSection(int level, const std::vector<PixelRect>& rects,
                                  const std::string& caption = "") {
  std::string text = "[" + std::to_string(level) + "]\r\n";
  for (size_t d = 0; d < rects.size(); ++d)
    text += RectKeys(static_cast<int>(d + 1), std::to_string(rects[d].left), std::to_string(rects[d].right),
                     std::to_string(rects[d].top), std::to_string(rects[d].bottom));
  return text + "PicInfo=" + caption + "\r\n";
}

// Five separate rectangles that fit a picture of 256 x 256 or more.
inline std::vector<PixelRect> FiveRects() {
  return {
      {10, 12, 40, 45}, {120, 20, 150, 50}, {200, 100, 230, 140}, {30, 180, 70, 210}, {140, 200, 180, 240}};
}

// Grey noise with some blur, like the texture of a photograph.
inline Image NoisyPicture(int width, int height, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> noise(90, 170);
  Image raw(width, height);
  for (auto& byte : raw.rgb) byte = static_cast<uint8_t>(noise(random));
  Image picture = raw;
  for (int y = 1; y + 1 < height; ++y)
    for (int x = 1; x + 1 < width; ++x)
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) sum += raw.At(x + dx, y + dy)[c];
        picture.At(x, y)[c] = static_cast<uint8_t>(sum / 9);
      }
  return picture;
}

// The picture with each rectangle filled in a strong colour of its own.
inline Image WithDifferences(Image picture, const std::vector<PixelRect>& rects) {
  static const varnel::pack::Colour kColours[] = {{230, 30, 30}, {30, 30, 230},   {240, 240, 20},
                                                  {20, 200, 40}, {250, 250, 250}, {20, 20, 20},
                                                  {200, 30, 200}};
  for (size_t i = 0; i < rects.size(); ++i) varnel::pack::FillRect(picture, rects[i], kColours[i % 7]);
  return picture;
}

inline std::string Encode(const Image& image, const fs::path& scratch, bool jpeg) {
  std::string error;
  const bool saved = jpeg ? varnel::pack::SaveJpeg(image, scratch, 92, &error)
                          : varnel::pack::SavePng(image, scratch, &error);
  if (!saved) return {};
  std::string bytes = ReadFile(scratch);
  fs::remove(scratch);
  return bytes;
}

// Runs varnel-pack in folder.
inline ToolRun RunTool(const std::vector<std::string>& arguments, const fs::path& folder) {
  return testsupport::RunTool(VARNEL_PACK_BINARY, arguments, folder);
}

// A test with a folder of its own, in which varnel-pack runs.
struct InWorkFolder : ::testing::Test {
  ToolRun Tool(const std::vector<std::string>& arguments) { return RunTool(arguments, work.path()); }
  TempFolder work;
};

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A broken palette PNG of 93 bytes that sends the PNG decoder into an endless loop of warnings.
inline const std::string kBrokenPalettePng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x01\xc3\x00\x00\x01\x2c\x08\x03"
    "\x00\x00\x00\x88\x4a\x28\xbb\x00\x00\x00\x04\x67\x41\x4d\x41\x00\x00\xb1\x8f\x0b\xfc\x61\x05\x00\x00\x00"
    "\x20\x63\x48\x52\x4d\x00\x00\x7a\x26\x00\x00\x80\x84\x00\x00\xfa\x00\x00\x00\x80\xe8\x00\x00\x75\x30\x00"
    "\x00\xea\x60\x00\x00\x3a\x98\x00\x00\x17\x70\x9c\xba\x51\x3c",
    93);

}  // namespace packtest
