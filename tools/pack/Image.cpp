// SPDX-License-Identifier: Zlib
#include "Image.h"

#include "PhotoFiles.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace varnel::pack {
namespace {

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

void EnsureDecoders() {
  static const bool started = [] {
    IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
    return true;
  }();
  (void)started;
}

// The image's rows as an SDL surface that borrows its pixels.
Surface Borrow(const Image& image) {
  return Surface(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(image.rgb.data()), image.width,
                                                    image.height, 24, image.width * 3,
                                                    SDL_PIXELFORMAT_RGB24));
}

// One output pixel of a resampled line: the source pixels it takes and their weights.
struct Taps {
  int first = 0;
  std::vector<float> weights;
};

// Enlarging interpolates between the two nearest source pixels; shrinking averages every source
// pixel the output pixel covers, weighted by how much of it is covered, so that no detail is
// skipped (a difference of one pixel must not vanish from the picture).
std::vector<Taps> LineTaps(int sourceSize, int outputSize, double scale, double offset) {
  std::vector<Taps> line(static_cast<size_t>(outputSize));
  for (int i = 0; i < outputSize; ++i) {
    Taps& taps = line[static_cast<size_t>(i)];
    const double centre = (i + 0.5) / scale + offset;
    if (scale >= 1) {
      const double position = std::clamp(centre - 0.5, 0.0, sourceSize - 1.0);
      taps.first = std::min(static_cast<int>(position), std::max(sourceSize - 2, 0));
      const auto fraction = static_cast<float>(position - taps.first);
      taps.weights = {1 - fraction};
      if (sourceSize > 1) taps.weights.push_back(fraction);
      continue;
    }
    const double from = std::max(0.0, centre - 0.5 / scale);
    const double to = std::min(static_cast<double>(sourceSize), centre + 0.5 / scale);
    taps.first = static_cast<int>(from);
    const int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(to)) - 1);
    double total = 0;
    for (int j = taps.first; j <= last; ++j) {
      const double covered = std::min<double>(j + 1, to) - std::max<double>(j, from);
      taps.weights.push_back(static_cast<float>(std::max(covered, 0.0)));
      total += std::max(covered, 0.0);
    }
    for (float& w : taps.weights) w = static_cast<float>(w / total);
  }
  return line;
}

uint8_t ToByte(float value) {
  return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// Glyphs of the digits 0 to 9, five rows of three bits each, top row first.
constexpr std::array<std::array<uint8_t, 5>, 10> kDigits = {{
    {7, 5, 5, 5, 7},
    {2, 6, 2, 2, 7},
    {7, 1, 7, 4, 7},
    {7, 1, 7, 1, 7},
    {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7},
    {7, 4, 7, 5, 7},
    {7, 1, 1, 1, 1},
    {7, 5, 7, 5, 7},
    {7, 5, 7, 1, 7},
}};

}  // namespace

Image::Image(int w, int h, Colour fill) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3) {
  for (size_t i = 0; i < rgb.size(); i += 3) std::memcpy(&rgb[i], fill.data(), 3);
}

std::optional<Image> LoadImage(const std::filesystem::path& file, std::string* error) {
  EnsureDecoders();
  char signature[8] = {};
  if (std::FILE* in = std::fopen(file.c_str(), "rb")) {
    const size_t got = std::fread(signature, 1, sizeof signature, in);
    std::fclose(in);
    std::string why;
    if (got == sizeof signature && std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8) == 0 &&
        !PngIntact(file, &why)) {
      if (error) *error = why;
      return std::nullopt;
    }
  }
  Surface loaded(IMG_Load(file.c_str()));
  if (!loaded) {
    if (error) *error = IMG_GetError();
    return std::nullopt;
  }
  Surface rgb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB24, 0));
  if (!rgb || rgb->w <= 0 || rgb->h <= 0) {
    if (error) *error = rgb ? "the picture is empty" : SDL_GetError();
    return std::nullopt;
  }
  Image image(rgb->w, rgb->h);
  SDL_LockSurface(rgb.get());
  const auto* pixels = static_cast<const uint8_t*>(rgb->pixels);
  for (int y = 0; y < image.height; ++y)
    std::memcpy(image.At(0, y), pixels + static_cast<ptrdiff_t>(y) * rgb->pitch,
                static_cast<size_t>(image.width) * 3);
  SDL_UnlockSurface(rgb.get());
  return image;
}

// The library's message, and the system's cause when it left one ("Couldn't open ..." alone does
// not say that the disk is full).
static std::string SaveError(const char* message, int cause) {
  std::string text = message;
  if (cause != 0 && text.find(std::strerror(cause)) == std::string::npos)
    text += std::string(": ") + std::strerror(cause);
  return text;
}

bool SaveJpeg(const Image& image, const std::filesystem::path& file, int quality, std::string* error) {
  EnsureDecoders();
  Surface surface = Borrow(image);
  errno = 0;
  if (surface && IMG_SaveJPG(surface.get(), file.c_str(), quality) == 0) return true;
  if (error) *error = SaveError(IMG_GetError(), errno);
  return false;
}

bool SavePng(const Image& image, const std::filesystem::path& file, std::string* error) {
  EnsureDecoders();
  Surface surface = Borrow(image);
  errno = 0;
  if (surface && IMG_SavePNG(surface.get(), file.c_str()) == 0) return true;
  if (error) *error = SaveError(IMG_GetError(), errno);
  return false;
}

bool SaveBmp(const Image& image, const std::filesystem::path& file, std::string* error) {
  Surface surface = Borrow(image);
  errno = 0;
  if (surface && SDL_SaveBMP(surface.get(), file.c_str()) == 0) return true;
  if (error) *error = SaveError(SDL_GetError(), errno);
  return false;
}

Image ScaleToCover(const Image& image, int width, int height) {
  if (image.width == width && image.height == height) return image;
  const double scale =
      std::max(static_cast<double>(width) / image.width, static_cast<double>(height) / image.height);
  const double offsetX = (image.width - width / scale) / 2;
  const double offsetY = (image.height - height / scale) / 2;
  const std::vector<Taps> columns = LineTaps(image.width, width, scale, offsetX);
  const std::vector<Taps> rows = LineTaps(image.height, height, scale, offsetY);

  // Across first, into a float buffer of full source height, then down.
  std::vector<float> across(static_cast<size_t>(width) * image.height * 3);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < width; ++x) {
      const Taps& taps = columns[static_cast<size_t>(x)];
      float* out = &across[(static_cast<size_t>(y) * width + x) * 3];
      for (size_t k = 0; k < taps.weights.size(); ++k) {
        const uint8_t* in = image.At(taps.first + static_cast<int>(k), y);
        for (int c = 0; c < 3; ++c) out[c] += taps.weights[k] * in[c];
      }
    }
  Image scaled(width, height);
  for (int y = 0; y < height; ++y) {
    const Taps& taps = rows[static_cast<size_t>(y)];
    for (int x = 0; x < width; ++x) {
      float sum[3] = {0, 0, 0};
      for (size_t k = 0; k < taps.weights.size(); ++k) {
        const float* in = &across[((static_cast<size_t>(taps.first) + k) * width + x) * 3];
        for (int c = 0; c < 3; ++c) sum[c] += taps.weights[k] * in[c];
      }
      uint8_t* out = scaled.At(x, y);
      for (int c = 0; c < 3; ++c) out[c] = ToByte(sum[c]);
    }
  }
  return scaled;
}

void FillRect(Image& image, PixelRect rect, Colour colour) {
  const int left = std::max(rect.left, 0), right = std::min(rect.right, image.width - 1);
  const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, image.height - 1);
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) std::memcpy(image.At(x, y), colour.data(), 3);
}

void DrawOutline(Image& image, PixelRect rect, Colour colour, int thickness) {
  for (int t = 0; t < thickness; ++t) {
    const PixelRect ring{rect.left - t, rect.top - t, rect.right + t, rect.bottom + t};
    FillRect(image, {ring.left, ring.top, ring.right, ring.top}, colour);
    FillRect(image, {ring.left, ring.bottom, ring.right, ring.bottom}, colour);
    FillRect(image, {ring.left, ring.top, ring.left, ring.bottom}, colour);
    FillRect(image, {ring.right, ring.top, ring.right, ring.bottom}, colour);
  }
}

void Blit(Image& target, const Image& source, int x, int y) {
  for (int row = 0; row < source.height; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= target.height) continue;
    for (int column = 0; column < source.width; ++column) {
      const int tx = x + column;
      if (tx >= 0 && tx < target.width) std::memcpy(target.At(tx, ty), source.At(column, row), 3);
    }
  }
}

void DrawNumber(Image& image, int x, int y, int number, int scale, Colour colour) {
  if (number < 0) return;
  const std::string digits = std::to_string(number);
  for (char digit : digits) {
    const auto& glyph = kDigits[static_cast<size_t>(digit - '0')];
    for (int row = 0; row < 5; ++row)
      for (int column = 0; column < 3; ++column)
        if (glyph[static_cast<size_t>(row)] & (4 >> column))
          FillRect(
              image,
              {x + column * scale, y + row * scale, x + (column + 1) * scale - 1, y + (row + 1) * scale - 1},
              colour);
    x += 4 * scale;
  }
}

}  // namespace varnel::pack
