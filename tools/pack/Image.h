// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace varnel::pack {

using Colour = std::array<uint8_t, 3>;

// A picture as plain 8-bit RGB rows, top row first.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;

  Image() = default;
  Image(int w, int h, Colour fill = {0, 0, 0});
  uint8_t* At(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
  const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// A rectangle of whole pixels; both edges belong to it.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  bool operator==(const PixelRect&) const = default;
};

// Decodes a JPEG, PNG or BMP file; nothing (with the decoder's reason) when it cannot.
std::optional<Image> LoadImage(const std::filesystem::path& file, std::string* error);
bool SaveJpeg(const Image& image, const std::filesystem::path& file, int quality, std::string* error);
bool SavePng(const Image& image, const std::filesystem::path& file, std::string* error);
bool SaveBmp(const Image& image, const std::filesystem::path& file, std::string* error);

// Scales the picture so that it covers width x height and cuts away what sticks out on both sides
// alike: the middle of the picture stays, nothing is stretched.
Image ScaleToCover(const Image& image, int width, int height);

void FillRect(Image& image, PixelRect rect, Colour colour);
void DrawOutline(Image& image, PixelRect rect, Colour colour, int thickness);
void Blit(Image& target, const Image& source, int x, int y);
// Decimal digits in a small block font, each digit 3 x 5 blocks of scale pixels.
void DrawNumber(Image& image, int x, int y, int number, int scale, Colour colour);

}  // namespace varnel::pack
