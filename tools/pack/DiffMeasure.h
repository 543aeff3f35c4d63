// SPDX-License-Identifier: Zlib
#pragma once

#include <vector>

#include "Image.h"

// Where two pictures differ: the measurement behind finding a level's differences and behind
// checking that its rectangles hold them.
namespace varnel::pack {

struct DiffSettings {
  // A pixel differs when one of its colour channels differs by at least this much; JPEG noise
  // stays well below it, a difference a player can see does not.
  int threshold = 40;
  // Connected differing pixels fewer than this are noise, not a difference.
  int minPixels = 5;
  // Regions this close (in pixels, between their boxes) are parts of one difference.
  int mergeDistance = 6;
  // Added around a found difference, so a click on its edge still counts.
  int padding = 2;
  // How far beyond its rectangle a difference may spill (JPEG blurs edges) before it counts as
  // lying outside.
  int tolerance = 3;
};

struct Region {
  PixelRect box;
  int pixels = 0;
};

// 1 where the pictures (of the same size) differ, 0 elsewhere, row by row.
std::vector<uint8_t> DifferenceMask(const Image& a, const Image& b, int threshold);

// The 8-connected regions of the mask's set pixels.
std::vector<Region> ConnectedRegions(const std::vector<uint8_t>& mask, int width, int height);

// Joins regions whose boxes lie within distance of each other, until no two do.
std::vector<Region> MergeNearby(std::vector<Region> regions, int distance);

// The differences between two pictures of the same size as padded rectangles inside the picture,
// top to bottom, left to right.
std::vector<PixelRect> FindDifferences(const Image& a, const Image& b, const DiffSettings& settings = {});

struct Measurement {
  std::vector<int> pixelsInside;   // per rectangle: the differing pixels inside it
  std::vector<PixelRect> outside;  // differences lying beyond every rectangle
};

// Checks rectangles against the pictures: what differs inside each, and what differs elsewhere.
Measurement Measure(const Image& a, const Image& b, const std::vector<PixelRect>& rects,
                    const DiffSettings& settings = {});

}  // namespace varnel::pack
